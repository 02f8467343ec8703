// TRammer: divides the browser window into rows or columns and those into
// frames, with a preview of one box per frame, and inserts the whole frame
// set; or rebuilds the single <FRAME> tag the edit-element command took
// apart. It is made for each use; the text for browsers without frames
// belongs to its owner and outlives it.
#pragma once

#include "dialogs/edited_element.h"
#include "dialogs/frame_layout.h"

#include <QDialog>

#include <string>
#include <vector>

class DynamicHelp;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TRammer : public QDialog {
 public:
  // `noFramesText` is the program's text for browsers without frames; the
  // dialog's "no frames" button changes it.
  TRammer(morvel::DocumentHost& host, const morvel::EditedElement& element, std::string& noFramesText,
          QWidget* parent = nullptr);

  const morvel::FrameLayout& layout() const { return layout_; }
  // The selected division and frame, from 0.
  int currentDivision() const { return division_; }
  int currentFrame() const { return frame_; }
  // The preview box of a frame, named "txtLayout" + frame + division (from 1).
  QLineEdit* layoutBox(int division, int frame) const;

  QRadioButton* optRaekker = nullptr;
  QRadioButton* optKolonner = nullptr;
  QSpinBox* updAntal = nullptr;
  QLabel* lblHoejde = nullptr;
  QSpinBox* updHoejde = nullptr;  // the division's size
  QCheckBox* chkProcent1 = nullptr;
  QGroupBox* grpOpdeling = nullptr;
  QLabel* lblNummer = nullptr;
  QLineEdit* txtRaekkeInf = nullptr;
  QSpinBox* updAntalRammer = nullptr;
  QLabel* lblBredde = nullptr;
  QSpinBox* updBredde = nullptr;  // the frame's size
  QCheckBox* chkProcent2 = nullptr;
  QGroupBox* grpRamme = nullptr;
  QLineEdit* txtNavn = nullptr;
  QLineEdit* txtAdresse = nullptr;
  QPushButton* cmdAdresse = nullptr;
  QSpinBox* updTopBund = nullptr;
  QSpinBox* updHVenstre = nullptr;
  QRadioButton* optAuto = nullptr;
  QRadioButton* optJa = nullptr;
  QRadioButton* optNej = nullptr;
  QCheckBox* chkTilpasning = nullptr;
  QCheckBox* chkKant = nullptr;
  QSpinBox* updKant = nullptr;
  QPushButton* cmdNoFrames = nullptr;
  QWidget* fraLayout = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool editing() const { return element_.editMode; }
  void buildControls();
  QWidget* buildLayoutGroups();
  QGroupBox* buildFrameGroup();
  void addHelpTexts(DynamicHelp& help);
  void connectControls();
  // Selects a frame: its controls show it and its box is marked.
  void selectFrame(int division, int frame);
  // After a change of the layout: the last frame of the current division.
  void layoutChanged();
  void showLayout();
  void showFrame();
  void buildPreview();
  void markSelectedBox();
  void renameFrame(int division, int frame, const QString& name);
  morvel::FrameSettings& frameSettings() { return layout_.settings(division_, frame_); }
  void browseAddress();
  void editNoFramesText();
  void confirm();

  morvel::DocumentHost& host_;
  const morvel::EditedElement element_;
  std::string& noFramesText_;
  morvel::FrameLayout layout_;
  int division_ = 0;
  int frame_ = 0;
  // Set while the controls are being filled from the layout, so that their
  // signals do not change it back.
  bool showing_ = false;
  std::vector<QLineEdit*> boxes_;
};
