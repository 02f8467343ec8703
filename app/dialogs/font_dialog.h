// TSkrift: puts a font (face, colour, size) and bold, italic and underline
// round the selection, or rebuilds the <FONT> element the edit-element
// command found, taking account of the markup round and inside the
// selection.
#pragma once

#include "dialogs/edited_element.h"

#include "dialogs/font_codes.h"

#include <QDialog>

#include <array>
#include <cstddef>

class DynamicHelp;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
class TWebColorButton;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TSkrift : public QDialog {
 public:
  TSkrift(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QComboBox* cmbSkrift = nullptr;
  QComboBox* cmbTypografi = nullptr;
  QCheckBox* chkUnder = nullptr;
  QComboBox* cmbTegn = nullptr;
  QComboBox* cmbStoerrelse = nullptr;
  QCheckBox* chkFarve = nullptr;
  QWidget* ColorGrid1 = nullptr;
  TWebColorButton* cbtFarve = nullptr;
  QLabel* lblVis = nullptr;
  QLabel* lblBlandetInf = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void readSelection();
  void fill();
  void showPreview();
  morvel::FontValues chosen() const;
  void confirm();

  morvel::DocumentHost& host_;
  // A new element, or the one the edit-element command took apart.
  const morvel::EditedElement element_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  // The values in force (in edit mode the element's own) and those of the
  // fonts round the selection.
  morvel::FontValues inForce_;
  morvel::FontValues enclosing_;
  std::array<morvel::StyleAround, 3> styles_;
  std::array<bool, 3> on_{};
};
