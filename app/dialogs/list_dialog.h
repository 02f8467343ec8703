// TPunktopstilling: builds a bulleted or numbered list from item texts
// typed one by one, or turns the selected lines or an existing list into a
// list.
#pragma once

#include "dialogs/edited_element.h"

#include <QDialog>

class DynamicHelp;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace morvel {
class DocumentHost;
struct ListFields;
}  // namespace morvel

class TPunktopstilling : public QDialog {
 public:
  TPunktopstilling(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent = nullptr);

  QRadioButton* optPunkter = nullptr;
  QRadioButton* optTal = nullptr;
  QComboBox* cmbType = nullptr;
  QSpinBox* updAntal = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QLineEdit* txtData = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  void fillTypes();
  void setCount(int count);
  void selectItem(int row);
  void takeSelection();
  void confirm();

  morvel::DocumentHost& host_;
  // A new element, or the one the edit-element command took apart.
  const morvel::EditedElement element_;
};
