// THenvisning: builds a link (<A>) from an address, a target frame, an
// anchor name and a link text, or rebuilds the link the edit-element
// command took apart. Addresses can come from a page file, from internet
// shortcut files (favourites) and from bookmark files.
#pragma once

#include <QDialog>

#include "dialogs/edited_element.h"

#include <string>
#include <utility>
#include <vector>

class DynamicHelp;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class THenvisning : public QDialog {
 public:
  THenvisning(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QLineEdit* txtAdresse = nullptr;
  QPushButton* cmd1 = nullptr;
  QPushButton* cmdNetscape = nullptr;
  QPushButton* cmdMSIE = nullptr;
  QPushButton* cmdHTML = nullptr;
  QPushButton* cmdInterne = nullptr;
  QComboBox* cmbMaal = nullptr;
  QLineEdit* txtNavn = nullptr;
  QLineEdit* txtBeskriv = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void fill();
  void addTargetOnTop(const QString& target);
  void browsePage();
  void pickNetscapeBookmarks();
  void pickFavourites();
  void pickFromPage();
  void pickAnchors();
  // Address and text pairs from the link-picking window: the first into
  // the fields, all of them into the link list.
  void takePicked(const std::vector<std::pair<std::string, std::string>>& picked);
  void confirm();

  morvel::DocumentHost& host_;
  const morvel::EditedElement element_;
  // Address and text pairs picked from bookmarks or favourites: the first
  // goes in the fields, the others become links of their own.
  std::vector<std::string> linkList_;
  // The link text a one-line field stands for when it spans lines.
  std::string originalText_;
};
