// TDialog: the small window with up to three text fields that serves
// several jobs, chosen by the element kind it is made for: a sound, an
// e-mail link, a frame set, a user code of the code box, the page title, and
// the no-frames text of the frames dialog. It is made for each use.
//
// The user code and no-frames kinds only gather their texts; OK accepts the
// dialog and their owners read the fields. The other kinds change the
// active document on OK.
#pragma once

#include <QDialog>

#include "dialogs/edited_element.h"

#include <string>

class DynamicHelp;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TUpDown;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TDialog : public QDialog {
 public:
  // The element's kind chooses the job; in edit mode its attributes fill
  // the fields.
  TDialog(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  morvel::ElementKind kind() const { return element_.kind; }
  QLineEdit* txt1 = nullptr;
  QLineEdit* txt2 = nullptr;
  QLineEdit* txt3 = nullptr;  // the user code's end code
  QLineEdit* txtKantTyk = nullptr;
  TUpDown* updKantTyk = nullptr;
  QCheckBox* chkSynlig = nullptr;   // "Kant, &synlig", with a frame set's border
  QPlainTextEdit* Memo1 = nullptr;  // the no-frames text
  QPushButton* cmd1 = nullptr;
  QPushButton* cmdFindNetscape = nullptr;
  QPushButton* cmdFindMSIE = nullptr;
  QLabel* lbl1 = nullptr;
  QLabel* lbl2 = nullptr;
  QLabel* lbl3 = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void arrangeForKind();
  void showSound();
  void showEmail();
  morvel::LinkAttributes emailLink() const;
  void showFrameSet();
  void showUserCode();
  void showTitle();
  void showNoFrames();
  void browseSound();
  void confirm();
  void renameTitle();
  void replaceSelection(const std::string& code);

  morvel::DocumentHost& host_;
  const morvel::EditedElement element_;
  const bool editing_;
  // The text a one-line field stands for when it spans lines.
  std::string originalText_;
  QGridLayout* grid_ = nullptr;
  DynamicHelp* help_ = nullptr;
};
