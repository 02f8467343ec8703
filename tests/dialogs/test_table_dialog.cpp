// The table and cell dialogs as a user drives them: a new table from the
// grid, the dialog kept between uses, and tables, cells and rows taken
// apart by the edit-element command (F4) and rebuilt.
#include "dialog_run.h"

#include "dialogs/web_colour_dialog.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

using dialog_test::control;
using dialog_test::picture;

class TableDialogs : public dialog_test::DialogRun {
 protected:
  void openTable() { k().command(QStringLiteral("tableDialog"))->trigger(); }
  void pressF4() {
    k().show();
    QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_F4);
  }
  static QSpinBox* number(QDialog& form, const char* name) { return control<QSpinBox>(form, name); }
  static QComboBox* list(QDialog& form, const char* name) { return control<QComboBox>(form, name); }
  static bool checked(QDialog& form, const char* name) { return control<QAbstractButton>(form, name)->isChecked(); }
  static QTableWidget* grid(QDialog& form) { return control<QTableWidget>(form, "StringGrid1"); }
  static QString cell(QDialog& form, int column, int row) { return grid(form)->item(row, column)->text(); }
  static QString headers(QDialog& form) {
    QTableWidget* g = grid(form);
    QStringList numbers;
    for (int c = 1; c < g->columnCount(); ++c) numbers << g->item(0, c)->text();
    numbers << "|";
    for (int r = 1; r < g->rowCount(); ++r) numbers << g->item(r, 0)->text();
    return numbers.join(QLatin1Char(' '));
  }
  // Types into the cell text and presses Enter there.
  static void typeCell(QDialog& form, const QString& text) {
    auto* data = control<QPlainTextEdit>(form, "txtData");
    data->setPlainText(text);
    QTest::keyClick(data, Qt::Key_Return);
  }
  // The web colour window that a colour button opens, confirmed with a
  // colour.
  void pickColourNext(morvel::ColorValue colour) {
    responder.answer([colour](platform::Request& r) {
      static_cast<TWebCol*>(r.form)->showColour(colour);
      r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
      return r.form->result();
    });
  }
};

TEST_F(TableDialogs, TheDefaultTableIsInsertedAtTheCaretByteForByte) {
  setPage("<P>|</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Tabel");
    EXPECT_EQ(list(form, "cmbOmloeb")->currentText(), "Ingen");
    EXPECT_EQ(list(form, "cmbJustHV")->currentText(), "Venstrestillet");
    EXPECT_EQ(list(form, "cmbJustTB")->currentText(), "Midten");
    EXPECT_EQ(number(form, "updSpacing")->value(), 2);
    EXPECT_EQ(number(form, "updPadding")->value(), 1);
    EXPECT_FALSE(checked(form, "chkBredde"));
    // One more row and column than the table, numbered.
    EXPECT_EQ(grid(form)->rowCount(), 3);
    EXPECT_EQ(grid(form)->columnCount(), 3);
    EXPECT_EQ(headers(form), "1 2 | 1 2");
    EXPECT_EQ(grid(form)->columnWidth(1), 180);
    EXPECT_EQ(grid(form)->rowHeight(1), 20);
  });
  openTable();
  EXPECT_EQ(page(),
            "<P><TABLE BORDER=\"0\">\r\n<TR>\r\n\t<TD></TD>\r\n\t<TD></TD>\r\n</TR>\r\n<TR>\r\n\t<TD></TD>\r\n\t<TD>"
            "</TD>\r\n</TR>\r\n</TABLE>\r\n</P>");
}

TEST_F(TableDialogs, CellTextsAreTypedCellByCellWithEnterAndTheDialogKeepsThemForItsNextUse) {
  setPage("|Navn| og adresse");
  confirmNextForm([](QDialog& form) {
    // Shown, so that an Enter let through would reach the OK button.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The selected text is the first cell's.
    EXPECT_EQ(cell(form, 1, 1), "Navn");
    EXPECT_EQ(control<QPlainTextEdit>(form, "txtData")->toPlainText(), "Navn");
    number(form, "updraekker")->setValue(3);
    EXPECT_EQ(headers(form), "1 2 | 1 2 3");
    control<QLineEdit>(form, "txtTitel")->setText("Priser");
    // Enter goes down the first column, then to the top of the second.
    typeCell(form, "Vare");
    typeCell(form, QStringLiteral("Æg"));
    typeCell(form, QStringLiteral("Mælk"));
    EXPECT_EQ(grid(form)->currentRow(), 1);
    EXPECT_EQ(grid(form)->currentColumn(), 2);
    typeCell(form, "Pris");
    typeCell(form, "2");
    typeCell(form, "3");
    // From the last cell back to the first.
    EXPECT_EQ(grid(form)->currentRow(), 1);
    EXPECT_EQ(grid(form)->currentColumn(), 1);
    EXPECT_EQ(cell(form, 1, 2), QStringLiteral("Æg"));
    // A click on a cell shows its text.
    QTableWidget* g = grid(form);
    const QRect place = g->visualItemRect(g->item(3, 2));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_EQ(control<QPlainTextEdit>(form, "txtData")->toPlainText(), "3");
    list(form, "cmbOmloeb")->setCurrentIndex(2);
    list(form, "cmbJustHV")->setCurrentIndex(1);
    picture(form, "tabel");
  });
  openTable();
  EXPECT_EQ(page(),
            "<TABLE BORDER=\"0\" ALIGN=\"RIGHT\">\r\n\t<CAPTION>Priser</CAPTION>\r\n"
            "<TR ALIGN=\"CENTER\">\r\n\t<TD>Vare</TD>\r\n\t<TD>Pris</TD>\r\n</TR>\r\n"
            "<TR ALIGN=\"CENTER\">\r\n\t<TD>\xC6g</TD>\r\n\t<TD>2</TD>\r\n</TR>\r\n"
            "<TR ALIGN=\"CENTER\">\r\n\t<TD>M\xE6lk</TD>\r\n\t<TD>3</TD>\r\n</TR>\r\n</TABLE>\r\n og adresse");

  // The next time the title and the cells are there again (the first cell
  // takes the new selection), and the lists start over.
  setPage("ny |");
  cancelNextForm([](QDialog& form) {
    EXPECT_EQ(control<QLineEdit>(form, "txtTitel")->text(), "Priser");
    EXPECT_EQ(number(form, "updraekker")->value(), 3);
    EXPECT_EQ(cell(form, 2, 3), "3");
    EXPECT_EQ(cell(form, 1, 1), "");
    EXPECT_EQ(list(form, "cmbOmloeb")->currentText(), "Ingen");
    EXPECT_EQ(list(form, "cmbJustHV")->currentText(), "Venstrestillet");
  });
  openTable();
  EXPECT_EQ(page(), "ny ");
}

TEST_F(TableDialogs, ResetAsksFirstAndThenEmptiesTheTable) {
  setPage("|");
  confirmNextForm([this](QDialog& form) {
    form.show();
    number(form, "updKolonner")->setValue(4);
    typeCell(form, "x");
    control<QLineEdit>(form, "txtTitel")->setText("T");
    auto* reset = control<QPushButton>(form, "cmdNulstil");
    responder.answer(IDNO);
    reset->click();
    EXPECT_EQ(responder.last().caption, "Nulstil dialogboks");
    EXPECT_EQ(responder.last().text, QStringLiteral("Ønsker du at slette /nulstille alt i dialogboksen?"));
    EXPECT_EQ(responder.last().flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ(cell(form, 1, 1), "x");
    responder.answer(IDYES);
    reset->click();
    EXPECT_EQ(cell(form, 1, 1), "");
    EXPECT_EQ(control<QLineEdit>(form, "txtTitel")->text(), "");
    EXPECT_EQ(headers(form), "1 2 | 1 2");
    EXPECT_EQ(list(form, "cmbJustHV")->currentText(), "Centreret");
    EXPECT_EQ(number(form, "updSpacing")->value(), 0);
  });
  openTable();
  EXPECT_EQ(page(),
            "<TABLE BORDER=\"0\" CELLSPACING=\"0\" CELLPADDING=\"0\">\r\n<TR ALIGN=\"CENTER\">\r\n\t<TD></TD>\r\n\t<TD>"
            "</TD>\r\n</TR>\r\n<TR ALIGN=\"CENTER\">\r\n\t<TD></TD>\r\n\t<TD></TD>\r\n</TR>\r\n</TABLE>\r\n");
}

TEST_F(TableDialogs, AnEditedTableShowsOnlyItsStartTagsFieldsAndRebuildsIt) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage("<table width=\"80%\" border=1 align=left class=\"liste\"|>\r\n<TR><TD>x</TD></TR>\r\n</TABLE>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Tabel - redigering");
    EXPECT_TRUE(checked(form, "chkBredde"));
    EXPECT_EQ(number(form, "updBredde")->value(), 80);
    EXPECT_TRUE(checked(form, "chkBreddeProcent"));
    EXPECT_EQ(number(form, "updRamme")->value(), 1);
    EXPECT_EQ(list(form, "cmbOmloeb")->currentText(), QStringLiteral("Højre om"));
    for (const char* hidden : {"txtTitel", "StringGrid1", "txtData", "updraekker", "updKolonner", "cmbJustHV"})
      EXPECT_FALSE(control<QWidget>(form, hidden)->isVisibleTo(&form)) << hidden;
    number(form, "updRamme")->setValue(2);
  });
  pressF4();
  EXPECT_EQ(page(),
            "<TABLE WIDTH=\"80%\" BORDER=\"2\" ALIGN=\"LEFT\" class=\"liste\">\r\n<TR><TD>x</TD></TR>\r\n</TABLE>");

  // A pixel height above 100 is not cut down, and a new table afterwards
  // has its grid back.
  setPage("<TABLE HEIGHT=450 BORDER=0|>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(number(form, "updHoejde")->value(), 450);
    EXPECT_FALSE(checked(form, "chkHoejdeProcent"));
  });
  pressF4();
  EXPECT_EQ(page(), "<TABLE HEIGHT=\"450\" BORDER=\"0\">");
  setPage("|");
  cancelNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Tabel");
    EXPECT_TRUE(control<QWidget>(form, "StringGrid1")->isVisibleTo(&form));
  });
  openTable();
}

TEST_F(TableDialogs, TheTableColourButtonChecksItsBoxAndTheUnitSetsTheRange) {
  setPage("|");
  confirmNextForm([this](QDialog& form) {
    EXPECT_FALSE(checked(form, "chkFarve"));
    pickColourNext(morvel::colorFromRgb(0x33, 0x66, 0x99));
    control<QPushButton>(form, "colFarve")->click();
    EXPECT_TRUE(checked(form, "chkFarve"));
    control<QCheckBox>(form, "chkBredde")->setChecked(true);
    control<QCheckBox>(form, "chkBreddeProcent")->setChecked(false);
    EXPECT_EQ(number(form, "updBredde")->maximum(), 1600);
    number(form, "updBredde")->setValue(640);
    number(form, "updraekker")->setValue(1);
    number(form, "updKolonner")->setValue(1);
  });
  openTable();
  EXPECT_EQ(page(),
            "<TABLE WIDTH=\"640\" BORDER=\"0\" BGCOLOR=\"#336699\">\r\n<TR>\r\n\t<TD></TD>\r\n</TR>\r\n</TABLE>\r\n");
}

TEST_F(TableDialogs, F4OnACellOpensTheCellDialogAndOkWritesTheNewColour) {
  setPage("<TABLE>\r\n<TR>\r\n<TD colspan=2 bgcolor=\"#FFFFFF\"|>x</TD>\r\n</TR>\r\n</TABLE>");
  confirmNextForm([this](QDialog& form) {
    EXPECT_EQ(form.objectName(), "TTabelcelle");
    EXPECT_EQ(form.windowTitle(), "Tabelcelle - redigering");
    EXPECT_EQ(number(form, "updKolonner")->value(), 2);
    EXPECT_EQ(number(form, "updRaekker")->value(), 1);
    EXPECT_TRUE(checked(form, "chkFarve"));
    // A size is set only while it is included.
    EXPECT_FALSE(number(form, "updBredde")->isEnabled());
    control<QCheckBox>(form, "chkBredde")->setChecked(true);
    EXPECT_TRUE(number(form, "updBredde")->isEnabled());
    EXPECT_EQ(number(form, "updBredde")->value(), 25);
    control<QCheckBox>(form, "chkProcentH")->setChecked(false);
    EXPECT_EQ(number(form, "updHoejde")->maximum(), 1200);
    pickColourNext(morvel::colorFromRgb(0xFF, 0xFF, 0));
    control<QPushButton>(form, "colFarve")->click();
    picture(form, "tabelcelle");
  });
  pressF4();
  EXPECT_EQ(page(),
            "<TABLE>\r\n<TR>\r\n<TD COLSPAN=\"2\" WIDTH=\"25%\" BGCOLOR=\"Yellow\">x</TD>\r\n</TR>\r\n</TABLE>");
}

TEST_F(TableDialogs, F4OnARowShowsOnlyTheAlignments) {
  setPage("<TABLE>\r\n<tr valign=top| align=right>\r\n</TABLE>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tabelrække - redigering"));
    EXPECT_EQ(list(form, "cmbJustTB")->currentText(), "Top");
    EXPECT_EQ(list(form, "cmbJustHV")->currentText(), QStringLiteral("Højrestillet"));
    for (const char* hidden : {"updRaekker", "updKolonner", "chkBredde", "chkFarve", "colFarve"})
      EXPECT_FALSE(control<QWidget>(form, hidden)->isVisibleTo(&form)) << hidden;
    list(form, "cmbJustTB")->setCurrentIndex(2);
  });
  pressF4();
  EXPECT_EQ(page(), "<TABLE>\r\n<TR VALIGN=\"BOTTOM\" ALIGN=\"RIGHT\">\r\n</TABLE>");
}

}  // namespace
