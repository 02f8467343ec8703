// TMeta: inserts <META> lines into the head of the page, chosen from a
// fixed list of meta names, each with a content the user can keep as its
// default. It is made once and kept by ElementDialogs, so the contents
// typed stay while the program runs.
#pragma once

#include "dialogs/page_codes.h"

#include <QDialog>
#include <QString>

#include <array>

class DynamicHelp;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TMeta : public QDialog {
 public:
  explicit TMeta(morvel::DocumentHost& host, QWidget* parent = nullptr);

  QListWidget* cklNavn = nullptr;
  QLineEdit* txtNavn = nullptr;
  QLineEdit* memIndhold = nullptr;
  QPushButton* btnGemSomStandard = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void showEntry(int i);
  void saveAsDefault();
  void confirm();

  morvel::DocumentHost& host_;
  std::array<QString, morvel::kMetaEntries> contents_;
  // The meta name the user gives the last entry, "Andet...".
  QString otherName_;
};
