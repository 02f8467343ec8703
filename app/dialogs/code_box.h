// TKodeboks, the code box: a list of ready-made codes, entity codes and the
// user's own codes that stays open on top beside the editor. A code is
// inserted into the active document by its cell, or round the selection by
// its row; the user's own codes are added, changed, deleted and moved here
// and kept in the settings store.
//
// Rows are numbered as the code table numbers them (code_box_codes.h): row
// 0 is the grid's header, user code n is row 68 + n.
#pragma once

#include "dialogs/code_box_codes.h"

#include <QDialog>

#include <functional>

class DynamicHelp;
class QLabel;
class QPushButton;
class QTableWidget;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TKodeboks : public QDialog {
 public:
  explicit TKodeboks(morvel::DocumentHost& host, QWidget* parent = nullptr);

  QTableWidget* StringGrid1 = nullptr;
  QPushButton* cmdOK = nullptr;  // "&Indsæt"
  QPushButton* cmdLuk = nullptr;
  QPushButton* cmdBrugerkoder = nullptr;
  QPushButton* cmdSpecialtegn = nullptr;
  QPushButton* cmdTilfoej = nullptr;
  QPushButton* cmdRediger = nullptr;
  QPushButton* cmdSlet = nullptr;
  QPushButton* cmdOp = nullptr;
  QPushButton* cmdNed = nullptr;
  QLabel* lblHjaelp = nullptr;

  // The selected cell and the grid's size, in the table's row numbers.
  int Row() const;
  int Col() const;
  int RowCount() const;
  int TopRow() const;
  void selectCell(int row, int column);
  morvel::UserCode rowCells(int row) const;

  // The selected cell's code into the active document.
  void insertSelected();

  // The box was closed (the main window releases its toggle).
  std::function<void()> OnClose;
  // The user codes in the store changed (the menu's codes follow them).
  std::function<void()> OnUserCodesChanged;

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void addHelpTexts();
  void fillGrid();
  void appendRow(const morvel::UserCode& cells);
  void setRowCells(int row, const morvel::UserCode& cells);
  void scrollToTop(int row);
  void updateButtons();
  void showGridHelp(int x);
  void jumpToUserCodes();
  void jumpToSpecialCharacters();
  void addUserCode();
  void editUserCode();
  void deleteUserCode();
  void moveUserCode(int direction);
  void userCodesChanged();

  morvel::DocumentHost& host_;
  DynamicHelp* help_ = nullptr;
};
