// TTabel: builds a whole table from its attributes and the cell texts typed
// into a grid, or rebuilds the start tag of the table the edit-element
// command took apart. It is made once and kept by ElementDialogs, so its
// grid, title and settings are there again at the next use.
//
// TTabelcelle: rebuilds the start tag of a table cell (<TD>) or row (<TR>)
// the edit-element command took apart. It is made for each use.
#pragma once

#include "dialogs/edited_element.h"
#include "dialogs/table_codes.h"

#include <QDialog>

class DynamicHelp;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TWebColorButton;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TTabel : public QDialog {
 public:
  TTabel(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  // Readies the kept dialog for its next use: a new table, or the table
  // the edit-element command took apart.
  void prepare(const morvel::EditedElement& element);

  QLineEdit* txtTitel = nullptr;
  QCheckBox* chkBredde = nullptr;
  QSpinBox* updBredde = nullptr;
  QCheckBox* chkBreddeProcent = nullptr;
  QCheckBox* chkHoejde = nullptr;
  QSpinBox* updHoejde = nullptr;
  QCheckBox* chkHoejdeProcent = nullptr;
  QSpinBox* updraekker = nullptr;
  QSpinBox* updKolonner = nullptr;
  QSpinBox* updSpacing = nullptr;
  QSpinBox* updPadding = nullptr;
  QComboBox* cmbJustHV = nullptr;
  QComboBox* cmbJustTB = nullptr;
  QSpinBox* updRamme = nullptr;
  QCheckBox* chkFarve = nullptr;
  TWebColorButton* colFarve = nullptr;
  QComboBox* cmbOmloeb = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QPlainTextEdit* txtData = nullptr;
  QPushButton* cmdNulstil = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void showFields(const morvel::TableFields& table);
  morvel::TableFields fields() const;
  morvel::TableCells cells() const;
  // The grid: one more row and column than the table, the first of each
  // holding the numbers.
  void resizeGrid();
  void selectCell(int row, int column);
  void cellTextTyped();
  void reset();
  void confirm();

  morvel::DocumentHost& host_;
  morvel::EditedElement element_;
  // An alignment of the edited table that the flow list cannot show.
  std::string otherAlign_;
  // The parts of the dialog a new table has and an edited one has not.
  QList<QWidget*> newTableOnly_;
};

class TTabelcelle : public QDialog {
 public:
  TTabelcelle(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QComboBox* cmbJustTB = nullptr;
  QComboBox* cmbJustHV = nullptr;
  QSpinBox* updRaekker = nullptr;
  QSpinBox* updKolonner = nullptr;
  QCheckBox* chkBredde = nullptr;
  QSpinBox* updBredde = nullptr;
  QCheckBox* chkProcentB = nullptr;
  QCheckBox* chkHoejde = nullptr;
  QSpinBox* updHoejde = nullptr;
  QCheckBox* chkProcentH = nullptr;
  QCheckBox* chkFarve = nullptr;
  TWebColorButton* colFarve = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 private:
  bool isCell() const { return element_.kind == morvel::ElementKind::TableCell; }
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void showFields(const morvel::CellFields& cell);
  morvel::CellFields fields() const;
  void confirm();

  morvel::DocumentHost& host_;
  const morvel::EditedElement element_;
  QList<QWidget*> cellOnly_;
};
