// TfrmGrafik: builds a picture code (<IMG>) from a picture file, its
// alternative text, size, border, text alignment and margins, or rebuilds
// the picture code the edit-element command took apart. A picture chosen
// through the dialog is shown and gives its width and height.
#pragma once

#include "dialogs/edited_element.h"

#include <QDialog>
#include <QPixmap>

class DynamicHelp;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TfrmGrafik : public QDialog {
 public:
  TfrmGrafik(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QLineEdit* txtFil = nullptr;
  QPushButton* cmdFil = nullptr;
  QLineEdit* txtAltTekst = nullptr;
  QSpinBox* updBredde = nullptr;
  QCheckBox* chkBredde = nullptr;
  QSpinBox* updHoejde = nullptr;
  QCheckBox* chkHoejde = nullptr;
  QSpinBox* updRamme = nullptr;
  QComboBox* cmbJust = nullptr;
  QSpinBox* updMarginTB = nullptr;
  QSpinBox* updMarginHV = nullptr;
  QScrollArea* srlBillede = nullptr;
  QLabel* imgBillede = nullptr;
  QCheckBox* chkTilpas = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void fill();
  void browse();
  bool loadPreview(const QString& path);
  void showPreview();
  void confirm();
  QString pageFolder() const;

  morvel::DocumentHost& host_;
  // A new element, or the one the edit-element command took apart.
  const morvel::EditedElement element_;
  QPixmap picture_;
};
