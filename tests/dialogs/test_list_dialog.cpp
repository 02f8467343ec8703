// The list dialog: the list code built from its items, selected lines and
// existing lists taken apart into items, and the grid edited through the
// text field.
#include "dialog_run.h"

#include "dialogs/list_codes.h"

#include <QAction>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

using dialog_test::control;
using dialog_test::field;

std::vector<std::string> items(std::string_view text) { return morvel::listFromText(text).items; }
using Items = std::vector<std::string>;

TEST(ListCode, BulletsAndNumbersWithTheirTypes) {
  morvel::ListFields list;
  list.items = {
      "\xC6"
      "ble",
      "P\xE6re"};
  EXPECT_EQ(morvel::listCode(list, ""),
            "<UL>\r\n\t<LI>\xC6"
            "ble\r\n\t<LI>P\xE6re\r\n</UL>");
  list.type = 1;
  list.items = {"x"};
  EXPECT_EQ(morvel::listCode(list, " CLASS=\"k\""), "<UL TYPE=\"SQUARE\" CLASS=\"k\">\r\n\t<LI>x\r\n</UL>");
  list.numbered = true;
  list.type = 0;
  EXPECT_EQ(morvel::listCode(list, ""), "<OL TYPE=\"1\">\r\n\t<LI>x\r\n</OL>");
  list.type = 2;
  EXPECT_EQ(morvel::listCode(list, ""), "<OL TYPE=\"i\">\r\n\t<LI>x\r\n</OL>");

  EXPECT_EQ(morvel::listTypeIndex(false, "square"), 1);
  EXPECT_EQ(morvel::listTypeIndex(false, "disc"), 0);
  EXPECT_EQ(morvel::listTypeIndex(true, "a"), 4);
  EXPECT_EQ(morvel::listTypeIndex(true, "A"), 3);
  EXPECT_EQ(morvel::listTypeIndex(true, "I"), 1);
  EXPECT_EQ(morvel::listTypeIndex(true, ""), 0);
}

TEST(ListCode, LinesAndListsTakenApartIntoItems) {
  EXPECT_EQ(items("a\r\nb\r\nc\r\n"), (Items{"a", "b", "c"}));
  // A list's own lines, in any letter case, give no item.
  const morvel::ListFields list = morvel::listFromText("<ol type=\"A\">\r\n\t<li> et \r\n  <LI>to\r\n</ol>");
  EXPECT_TRUE(list.numbered);
  EXPECT_EQ(list.items, (Items{"et", "to"}));
  EXPECT_FALSE(morvel::listFromText("<UL>\r\n<LI>x\r\n</UL>").numbered);
  EXPECT_EQ(items("<UL>\r\n<LI>x\r\n</UL>"), Items{"x"});
  // The items stand after the start tag wherever they are: on its line, or
  // several on one line, with the end tag behind the last.
  EXPECT_EQ(items("<UL><LI>a\r\n<LI>b\r\n</UL>"), (Items{"a", "b"}));
  EXPECT_EQ(items("<UL><LI>a<LI>b</UL>"), (Items{"a", "b"}));
  EXPECT_EQ(items("<ol type=\"i\"><li value=\"3\">tre <li>fire</ol>"), (Items{"tre", "fire"}));
  EXPECT_EQ(items("<UL>"), Items{});
  // "<LI>" further in is part of the text.
  EXPECT_EQ(items("tekst <LI>x\r\n"), Items{"tekst <LI>x"});
  // Neither a blank line nor a short last line loses what follows or
  // what it holds.
  EXPECT_EQ(items("a\r\n\r\n   \r\nb\r\nc"), (Items{"a", "b", "c"}));
  EXPECT_EQ(items(""), Items{});
}

class ListDialog : public dialog_test::DialogRun {
 protected:
  void openListDialog() { k().command(QStringLiteral("listDialog"))->trigger(); }
  static QTableWidget* grid(QDialog& form) { return control<QTableWidget>(form, "StringGrid1"); }
  static QString item(QDialog& form, int row) { return grid(form)->item(row, 1)->text(); }
  static QString type(QDialog& form) { return control<QComboBox>(form, "cmbType")->currentText(); }
};

TEST_F(ListDialog, ItemsTypedOneByOneWithEnterGoingOnToTheNext) {
  setPage("<P>|</P>");
  confirmNextForm([](QDialog& form) {
    // Shown, so that an Enter let through would reach the OK button.
    form.show();
    EXPECT_EQ(form.windowTitle(), "Punktopstilling");
    EXPECT_EQ(type(form), "Runde");
    auto* count = control<QSpinBox>(form, "updAntal");
    EXPECT_EQ(count->value(), 2);
    count->setValue(3);
    EXPECT_EQ(grid(form)->rowCount(), 3);
    EXPECT_EQ(grid(form)->item(2, 0)->text(), "3");
    auto* text = control<QLineEdit>(form, "txtData");
    QTest::keyClicks(text, QStringLiteral("Æble"));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClicks(text, QStringLiteral("Pære"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Return);
    // From the last item back to the first, which shows its text.
    EXPECT_EQ(grid(form)->currentRow(), 0);
    EXPECT_EQ(field(form, "txtData"), "Æble");
    count->setValue(2);
    // The kind's first type is chosen whenever the kind changes.
    control<QComboBox>(form, "cmbType")->setCurrentIndex(1);
    control<QRadioButton>(form, "optTal")->setChecked(true);
    EXPECT_EQ(type(form), "1, 2, 3...");
    control<QRadioButton>(form, "optPunkter")->setChecked(true);
    EXPECT_EQ(type(form), "Runde");
  });
  openListDialog();
  EXPECT_EQ(page(),
            "<P><UL>\r\n\t<LI>\xC6"
            "ble\r\n\t<LI>P\xE6re\r\n</UL></P>");
}

TEST_F(ListDialog, SelectedLinesBecomeABulletedList) {
  setPage("|a\r\nb\r\nc\r\n|<P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Punktopstilling - redigering");
    EXPECT_EQ(control<QSpinBox>(form, "updAntal")->value(), 3);
    EXPECT_EQ(item(form, 2), "c");
    EXPECT_EQ(field(form, "txtData"), "a");
  });
  openListDialog();
  EXPECT_EQ(page(), "<UL>\r\n\t<LI>a\r\n\t<LI>b\r\n\t<LI>c\r\n</UL><P>");
}

TEST_F(ListDialog, AnEditedListIsReplacedUpToItsEndTag) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage("<P>\r\n<ol ty|pe=\"A\" start=\"3\">\r\n\t<LI>et\r\n\t<LI>to\r\n</ol>\r\n<P>slut");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Punktopstilling - redigering");
    EXPECT_TRUE(control<QRadioButton>(form, "optTal")->isChecked());
    EXPECT_EQ(type(form), "A, B, C...");
    EXPECT_EQ(grid(form)->rowCount(), 2);
    EXPECT_EQ(item(form, 1), "to");
    grid(form)->setCurrentCell(1, 1);
    QTest::keyClicks(control<QLineEdit>(form, "txtData"), QStringLiteral("tre"));
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<P>\r\n<OL TYPE=\"A\" start=\"3\">\r\n\t<LI>et\r\n\t<LI>totre\r\n</OL>\r\n<P>slut");
}

TEST_F(ListDialog, AnEditedOneLineListKeepsItsItems) {
  setPage("<P><U|L><LI>a<LI>b</UL></P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(grid(form)->rowCount(), 2);
    EXPECT_EQ(item(form, 0), "a");
    EXPECT_EQ(item(form, 1), "b");
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<P><UL>\r\n\t<LI>a\r\n\t<LI>b\r\n</UL></P>");
}

TEST_F(ListDialog, AnEditedListWithoutAnEndTagReplacesOnlyItsStartTag) {
  setPage("<UL TYPE=\"square\"|>\r\n<LI>x\r\n");
  confirmNextForm([](QDialog& form) { EXPECT_EQ(type(form), "Firkantede"); });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<UL TYPE=\"SQUARE\">\r\n\t<LI>\r\n</UL>\r\n<LI>x\r\n");
}

}  // namespace
