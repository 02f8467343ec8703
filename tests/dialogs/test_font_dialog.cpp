// The font dialog driven through the main window: what it shows of the
// markup round and inside the selection, and the markup it writes.
#include "dialog_run.h"

#include "settings/indstillinger.h"

#include <QAction>
#include <QToolButton>

namespace {

using dialog_test::control;

class FontDialog : public dialog_test::DialogRun {
 protected:
  void openFontDialog() { k().command(QStringLiteral("fontDialog"))->trigger(); }
  static QComboBox* combo(QDialog& form, const char* name) { return control<QComboBox>(form, name); }
  // The selected text as the editor reports it.
  std::string selected() { return e().SelTextBytes(); }
};

TEST_F(FontDialog, BoldSwitchedOffInsideBoldClosesAndReopensIt) {
  setPage("<B>ab|cd|ef</B>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Skrifttype");
    EXPECT_EQ(combo(form, "cmbTypografi")->currentText(), "fed");
    EXPECT_EQ(control<QLabel>(form, "lblBlandetInf")->text(), "Ingen");
    combo(form, "cmbTypografi")->setCurrentText(QStringLiteral("normal"));
  });
  openFontDialog();
  EXPECT_EQ(page(), "<B>ab</B>cd<B>ef</B>");
  EXPECT_EQ(selected(), "cd");
}

TEST_F(FontDialog, ANewFontReplacesTheFontTagsInsideAndLeavesMixedStylesAlone) {
  setPage("x|a<FONT COLOR=\"RED\">b</FONT><I>c</I><U>d</U>|y");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(control<QLabel>(form, "lblBlandetInf")->text(), "kursiv, understreget");
    EXPECT_EQ(combo(form, "cmbTypografi")->currentIndex(), -1);
    EXPECT_EQ(control<QCheckBox>(form, "chkUnder")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(control<QCheckBox>(form, "chkFarve")->isChecked());
    combo(form, "cmbSkrift")->setEditText(QStringLiteral("Verdana, Arial, Helvetica"));
    combo(form, "cmbTegn")->setCurrentText(QStringLiteral("+"));
    combo(form, "cmbStoerrelse")->setEditText(QStringLiteral("2"));
    EXPECT_EQ(control<QLabel>(form, "lblVis")->text(), "AaBbYyZz");
  });
  openFontDialog();
  EXPECT_EQ(page(), "x<FONT FACE=\"Verdana, Arial, Helvetica\" SIZE=\"+2\">ab<I>c</I><U>d</U></FONT>y");
  EXPECT_EQ(selected(), "ab<I>c</I><U>d</U>");
}

TEST_F(FontDialog, AColourFromTheGridInsideAnEnclosingFontSaysOnlyWhatDiffers) {
  setPage("<FONT FACE=\"Arial\" COLOR=\"#FF0000\">a|b|c</FONT>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(combo(form, "cmbSkrift")->currentText(), "Arial");
    EXPECT_TRUE(control<QCheckBox>(form, "chkFarve")->isChecked());
    control<QToolButton>(form, "ColorGrid1_blue")->click();
  });
  openFontDialog();
  EXPECT_EQ(page(), "<FONT FACE=\"Arial\" COLOR=\"#FF0000\">a<FONT COLOR=\"Blue\">b</FONT>c</FONT>");
}

TEST_F(FontDialog, AnEditedFontIsRebuiltWithItsOwnValues) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage("<P><font si|ze=\"-1\" class=\"k\">a<B>b</B></font> x</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Skrifttype - redigering");
    EXPECT_EQ(combo(form, "cmbTegn")->currentText(), "-");
    EXPECT_EQ(combo(form, "cmbStoerrelse")->currentText(), "1");
    EXPECT_EQ(control<QLabel>(form, "lblBlandetInf")->text(), "fed");
    combo(form, "cmbStoerrelse")->setEditText(QStringLiteral("2"));
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<P><FONT SIZE=\"-2\" class=\"k\">a<B>b</B></FONT> x</P>");
}

TEST_F(FontDialog, ACancelledDialogChangesNothing) {
  setPage("|ab|");
  cancelNextForm([](QDialog& form) { combo(form, "cmbTypografi")->setCurrentText(QStringLiteral("fed")); });
  openFontDialog();
  EXPECT_EQ(page(), "ab");
}

}  // namespace
