// The line dialog: the <HR> code built from its fields, the stored defaults
// of a new line, and a line taken apart by the edit-element command and
// rebuilt.
#include "dialog_run.h"

#include "dialogs/line_codes.h"

#include <QAction>
#include <QRadioButton>
#include <QSpinBox>

namespace {

using dialog_test::control;

TEST(LineCode, APlainLineHasNoAttributesAndOthersOnlyWhatDiffers) {
  morvel::LineFields line;
  EXPECT_EQ(morvel::lineCode(line, ""), "<HR>");
  line.length = 50;
  line.percent = false;
  line.thickness = 4;
  line.align = morvel::kLineLeft;
  line.shadow = false;
  EXPECT_EQ(morvel::lineCode(line, ""), "<HR SIZE=\"4\" ALIGN=\"LEFT\" WIDTH=\"50\" NOSHADE>");
  line = {};
  line.length = 100;
  line.percent = false;
  line.align = morvel::kLineRight;
  EXPECT_EQ(morvel::lineCode(line, " ID=\"a\""), "<HR ALIGN=\"RIGHT\" WIDTH=\"100\" ID=\"a\">");
}

TEST(LineCode, AKeptNoShadeGivesWayToTheShadowField) {
  morvel::LineFields line;
  EXPECT_EQ(morvel::lineCode(line, " NOSHADE CLASS=\"x\""), "<HR CLASS=\"x\">");
  // Any letter case; a longer name that begins the same is another name.
  EXPECT_EQ(morvel::lineCode(line, " noshade"), "<HR>");
  EXPECT_EQ(morvel::lineCode(line, " NOSHADEX=\"1\""), "<HR NOSHADEX=\"1\">");
  line.shadow = false;
  EXPECT_EQ(morvel::lineCode(line, " ID=\"a\" NoShade"), "<HR NOSHADE ID=\"a\">");
}

TEST(LineCode, FieldsFromTheAttributesOfALine) {
  morvel::LineAttributes a;
  morvel::LineFields line = morvel::lineFields(a);
  EXPECT_EQ(morvel::lineCode(line, ""), "<HR>");
  a.size = "3";
  a.align = "right";
  a.width = {"300", false};
  a.noShade = true;
  line = morvel::lineFields(a);
  EXPECT_EQ(line.length, 300);
  EXPECT_FALSE(line.percent);
  EXPECT_EQ(line.thickness, 3);
  EXPECT_FALSE(line.shadow);
  EXPECT_EQ(line.align, morvel::kLineRight);
  // What is not a number keeps the plain line's value.
  a.size = "3px";
  a.width = {"", false};
  a.align = "center";
  line = morvel::lineFields(a);
  EXPECT_EQ(line.thickness, 2);
  EXPECT_EQ(line.length, 100);
  EXPECT_TRUE(line.percent);  // no width: the whole width
  EXPECT_EQ(line.align, morvel::kLineCentre);
}

class LineDialog : public dialog_test::DialogRun {
 protected:
  void openLineDialog() { k().command(QStringLiteral("lineDialog"))->trigger(); }
  static QSpinBox* number(QDialog& form, const char* name) { return control<QSpinBox>(form, name); }
  static bool checked(QDialog& form, const char* name) { return control<QAbstractButton>(form, name)->isChecked(); }
};

TEST_F(LineDialog, ANewLineStartsFromTheStoredDefaultsWhichTheButtonSaves) {
  setPage("<P>|</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Vandret linie");
    EXPECT_EQ(number(form, "updLaengde")->value(), 100);
    EXPECT_TRUE(checked(form, "chkProcent"));
    EXPECT_EQ(number(form, "updTykkelse")->value(), 2);
    EXPECT_TRUE(checked(form, "chk3D"));
    EXPECT_TRUE(checked(form, "optCenter"));
    // Without "%" the length may go beyond 100.
    control<QCheckBox>(form, "chkProcent")->setChecked(false);
    number(form, "updLaengde")->setValue(400);
    number(form, "updTykkelse")->setValue(4);
    control<QCheckBox>(form, "chk3D")->setChecked(false);
    control<QRadioButton>(form, "optVenstre")->setChecked(true);
    control<QPushButton>(form, "btnGemSomStandard")->click();
  });
  openLineDialog();
  EXPECT_EQ(page(), "<P><HR SIZE=\"4\" ALIGN=\"LEFT\" WIDTH=\"400\" NOSHADE></P>");

  setPage("|");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(number(form, "updLaengde")->value(), 400);
    EXPECT_FALSE(checked(form, "chkProcent"));
    EXPECT_TRUE(checked(form, "optVenstre"));
    // Back to "%", the length fits its new range.
    control<QCheckBox>(form, "chkProcent")->setChecked(true);
    EXPECT_EQ(number(form, "updLaengde")->value(), 100);
    control<QRadioButton>(form, "optHoejre")->setChecked(true);
  });
  openLineDialog();
  EXPECT_EQ(page(), "<HR SIZE=\"4\" ALIGN=\"RIGHT\" NOSHADE>");
  EXPECT_EQ(k().store().ReadInteger("Linie", "Justering", 0), morvel::kLineLeft);
}

TEST_F(LineDialog, ACancelledDialogLeavesThePageAndTheDefaults) {
  setPage("a|b");
  cancelNextForm([](QDialog& form) { number(form, "updTykkelse")->setValue(9); });
  openLineDialog();
  EXPECT_EQ(page(), "ab");
  EXPECT_EQ(k().store().ReadInteger("Linie", "Tykkelse", 2), 2);
}

TEST_F(LineDialog, AnEditedLineShowsItsAttributesAndIsRebuilt) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage("<P>x</P>\r\n<hr size=3 width=\"250\" no|shade class=\"a\">\r\n<P>y</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Vandret linie - redigering");
    EXPECT_EQ(number(form, "updLaengde")->value(), 250);
    EXPECT_FALSE(checked(form, "chkProcent"));
    EXPECT_EQ(number(form, "updTykkelse")->value(), 3);
    EXPECT_FALSE(checked(form, "chk3D"));
    EXPECT_TRUE(checked(form, "optCenter"));
    control<QCheckBox>(form, "chk3D")->setChecked(true);
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<P>x</P>\r\n<HR SIZE=\"3\" WIDTH=\"250\" class=\"a\">\r\n<P>y</P>");
}

}  // namespace
