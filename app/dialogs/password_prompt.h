// TfrmKode, the small prompt that asks for a password ("Skriv kodeord"), for
// a connection whose password is not kept. The typed characters show as
// "*".
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLineEdit;
class QPushButton;

class TfrmKode : public QDialog {
 public:
  explicit TfrmKode(QWidget* parent = nullptr);

  // Asks through the interaction seam: the password typed, or nothing when
  // the user cancelled. An empty password is an answer too.
  static std::optional<QString> ask(QWidget* parent);

  QLineEdit* txtKode = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;
};
