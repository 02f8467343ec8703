// TBasis: writes the skeleton of a new page (document type, HTML, HEAD
// with its TITLE, BODY with its colours and background picture), or
// rebuilds the <BODY> tag the edit-element command took apart. It is made
// for each use.
#pragma once

#include "dialogs/edited_element.h"
#include "dialogs/page_codes.h"

#include <QDialog>

#include <array>

class DynamicHelp;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TWebColorButton;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TBasis : public QDialog {
 public:
  TBasis(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QCheckBox* chkDocType = nullptr;
  QComboBox* cmbDocType = nullptr;
  QLineEdit* txtTitel = nullptr;
  QCheckBox* chkBody = nullptr;
  QLineEdit* txt2 = nullptr;  // the background picture
  QPushButton* cmd6 = nullptr;
  QCheckBox* chkFarver = nullptr;
  // Text, link, visited link, active link, background.
  TWebColorButton* col1 = nullptr;
  TWebColorButton* col2 = nullptr;
  TWebColorButton* col3 = nullptr;
  TWebColorButton* col4 = nullptr;
  TWebColorButton* col5 = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  bool editing() const { return element_.editMode; }
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void showPage(const morvel::PageBase& page);
  morvel::PageBase page() const;
  void enableControls();
  void browsePicture();
  void confirm();

  morvel::DocumentHost& host_;
  const morvel::EditedElement element_;
};
