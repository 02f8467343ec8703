// TfrmKode: the small password prompt the publishing window shows when a
// connection's password is not kept ("Gem kode" unchecked).
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class TfrmKode : public QDialog {
 public:
  explicit TfrmKode(QWidget* parent = nullptr);

  // Empties the field and asks; the password typed, or false on Cancel.
  bool ask(QString& password);

  QLineEdit* txtKode = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdAnnuller = nullptr;
};
