// TLinie: builds a horizontal line (<HR>) from its length, thickness,
// shadow and alignment, or rebuilds the line the edit-element command took
// apart. The settings of a new line are the user's stored defaults.
#pragma once

#include "dialogs/edited_element.h"

#include <QDialog>

class DynamicHelp;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace morvel {
class DocumentHost;
struct LineFields;
}  // namespace morvel

class TLinie : public QDialog {
 public:
  TLinie(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QSpinBox* updLaengde = nullptr;
  QCheckBox* chkProcent = nullptr;
  QSpinBox* updTykkelse = nullptr;
  QCheckBox* chk3D = nullptr;
  QRadioButton* optVenstre = nullptr;
  QRadioButton* optCenter = nullptr;
  QRadioButton* optHoejre = nullptr;
  QPushButton* btnGemSomStandard = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void showLine(const morvel::LineFields& line);
  morvel::LineFields fields() const;
  void saveAsDefaults();
  void confirm();

  morvel::DocumentHost& host_;
  // A new element, or the one the edit-element command took apart.
  const morvel::EditedElement element_;
};
