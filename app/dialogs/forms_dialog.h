// TFormular: inserts form elements one at a time while it stays open beside
// the page, or, run modally by the edit-element command, rebuilds the
// <FORM>, <INPUT>, <TEXTAREA> or <SELECT> start tag around the caret. It is
// made once and kept by ElementDialogs.
#pragma once

#include <string>

#include <QDialog>

#include <array>

class DynamicHelp;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace morvel {
class DocumentHost;
struct EditedElement;
struct FormFields;
}  // namespace morvel

class TFormular : public QDialog {
 public:
  explicit TFormular(morvel::DocumentHost& host);

  // Cleared for a new element, with the kind list focused.
  void prepareNew();
  // Filled from the element the edit-element command took apart.
  void prepareEdit(const morvel::EditedElement& element);

  QComboBox* cmbObjekt = nullptr;
  std::array<QToolButton*, 10> btn{};
  QLineEdit* txtNavn = nullptr;
  QLineEdit* txtTekst = nullptr;
  QComboBox* cmbMetode = nullptr;
  QComboBox* cmbFormat = nullptr;
  QCheckBox* chkAfkrydset = nullptr;
  QLineEdit* txtStoerrelse = nullptr;
  QLineEdit* txtMax = nullptr;
  QLineEdit* txtDiverse = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  void buildControls();
  void chooseKind(int kind);
  void showFields(const morvel::FormFields& fields);
  morvel::FormFields fields() const;
  void insertElement();

  morvel::DocumentHost& host_;
  DynamicHelp* help_ = nullptr;
  QButtonGroup* kinds_ = nullptr;
  QLabel* lblTekst_ = nullptr;
  QLabel* lblStoerrelse_ = nullptr;
  QLabel* lblMax_ = nullptr;
  bool editing_ = false;
  // The TYPE of the <INPUT> being edited when the dialog does not know it:
  // written back while it stays a text field.
  std::string editedType_;
};
