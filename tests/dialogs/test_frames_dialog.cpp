// The frames dialog as a user drives it: the layout and its preview boxes,
// the frame set it inserts, the text for browsers without frames through
// the text dialog, and a single frame taken apart by F4 and rebuilt.
#include "dialog_run.h"

#include "dialogs/frames_dialog.h"

#include <QAction>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

using dialog_test::control;
using dialog_test::picture;

const std::string kDefaultFrameSet =
    "<FRAMESET FRAMEBORDER=\"1\" FRAMESPACING=\"5\" BORDER=\"5\" ROWS=\"50%,*\" COLS=\"100%\">\r\n"
    "\t<FRAME SRC=\"\" NAME=\"Ramme 1.1\" SCROLLING=\"AUTO\">\r\n"
    "\t<FRAME SRC=\"\" NAME=\"Ramme 2.1\" SCROLLING=\"AUTO\">\r\n"
    "</FRAMESET>";

class FramesDialog : public dialog_test::DialogRun {
 protected:
  void openFrames() { k().command(QStringLiteral("framesDialog"))->trigger(); }
  static TRammer& frames(QDialog& form) { return static_cast<TRammer&>(form); }
  static QSpinBox* number(QDialog& form, const char* name) { return control<QSpinBox>(form, name); }
  static QColor boxColour(QDialog& form, int division, int frame) {
    return frames(form).layoutBox(division, frame)->palette().color(QPalette::Base);
  }
  // The names the preview boxes show, row by row.
  static QString boxes(QDialog& form) {
    QStringList names;
    const morvel::FrameLayout& layout = frames(form).layout();
    for (int d = 0; d < layout.divisionCount(); ++d) {
      QStringList row;
      for (int f = 0; f < layout.frameCount(d); ++f) row << frames(form).layoutBox(d, f)->text();
      names << row.join(QLatin1Char(','));
    }
    return names.join(QLatin1Char('|'));
  }
};

TEST_F(FramesDialog, TheDefaultLayoutIsInsertedAsTwoRows) {
  setPage("|");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Rammer");
    EXPECT_EQ(number(form, "updAntal")->value(), 2);
    EXPECT_EQ(number(form, "updKant")->value(), 5);
    EXPECT_EQ(boxes(form), "Ramme 1.1|Ramme 2.1");
    // Row 1 is half the preview's height and the whole of its width.
    const QRect first = frames(form).layoutBox(0, 0)->geometry();
    const QRect second = frames(form).layoutBox(1, 0)->geometry();
    EXPECT_EQ(first.top(), 0);
    EXPECT_EQ(second.top(), first.height());
    EXPECT_NEAR(first.width(), 8 * first.height() / 3, 2);
  });
  openFrames();
  EXPECT_EQ(page(), kDefaultFrameSet);
}

TEST_F(FramesDialog, ThePreviewFollowsTheLayoutAndTheSelectedFrame) {
  setPage("|");
  confirmNextForm([](QDialog& form) {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TRammer& f = frames(form);
    const QColor tip = form.palette().color(QPalette::ToolTipBase);
    const QColor field = form.palette().color(QPalette::Base);
    EXPECT_EQ(boxColour(form, 0, 0), tip);
    EXPECT_EQ(boxColour(form, 1, 0), field);
    // Clicking a box selects its frame.
    QTest::mouseClick(f.layoutBox(1, 0), Qt::LeftButton);
    EXPECT_EQ(f.currentDivision(), 1);
    EXPECT_EQ(control<QLineEdit>(form, "txtRaekkeInf")->text(), "2");
    EXPECT_EQ(control<QLineEdit>(form, "txtNavn")->text(), "Ramme 2.1");
    EXPECT_EQ(boxColour(form, 1, 0), tip);
    EXPECT_EQ(boxColour(form, 0, 0), field);
    // Typing in the box renames the frame, and the name field writes into
    // the box.
    QTest::keyClick(f.layoutBox(1, 0), Qt::Key_End);
    QTest::keyClicks(f.layoutBox(1, 0), "x");
    EXPECT_EQ(control<QLineEdit>(form, "txtNavn")->text(), "Ramme 2.1x");
    QTest::keyClick(control<QLineEdit>(form, "txtNavn"), Qt::Key_Backspace);
    QTest::keyClicks(control<QLineEdit>(form, "txtNavn"), "y");
    EXPECT_EQ(f.layoutBox(1, 0)->text(), "Ramme 2.1y");

    // Three rows: the new one is 10 % and becomes the current one.
    number(form, "updAntal")->setValue(3);
    EXPECT_EQ(boxes(form), "Ramme 1.1|Ramme 2.1y|Ramme 3.1");
    EXPECT_EQ(control<QLineEdit>(form, "txtRaekkeInf")->text(), "3");
    EXPECT_EQ(number(form, "updHoejde")->value(), 10);
    EXPECT_EQ(f.layout().division(1).size.percent, 40);
    // Two frames in the first row, side by side.
    QTest::mouseClick(f.layoutBox(0, 0), Qt::LeftButton);
    number(form, "updAntalRammer")->setValue(2);
    EXPECT_EQ(boxes(form), "Ramme 1.1,Ramme 1.2|Ramme 2.1y|Ramme 3.1");
    EXPECT_EQ(f.layoutBox(0, 1)->objectName(), "txtLayout21");
    EXPECT_EQ(f.layoutBox(0, 1)->geometry().top(), 0);
    EXPECT_GT(f.layoutBox(0, 1)->geometry().left(), f.layoutBox(0, 0)->geometry().left());
    // The last frame of the row is selected; its size can be set, a lone
    // frame's cannot.
    EXPECT_EQ(f.currentFrame(), 1);
    EXPECT_TRUE(number(form, "updBredde")->isEnabled());
    number(form, "updBredde")->setValue(30);
    EXPECT_EQ(f.layout().frame(0, 0).size.percent, 70);
    QTest::mouseClick(f.layoutBox(2, 0), Qt::LeftButton);
    EXPECT_FALSE(number(form, "updBredde")->isEnabled());
    control<QLineEdit>(form, "txtAdresse")->setText("bund.htm");
    control<QRadioButton>(form, "optNej")->setChecked(true);
    picture(form, "rammer");
  });
  openFrames();
  EXPECT_EQ(page(),
            "<FRAMESET FRAMEBORDER=\"1\" FRAMESPACING=\"5\" BORDER=\"5\" ROWS=\"50%,40%,*\" COLS=\"100%\">\r\n"
            "\t<FRAMESET COLS=\"70%,*\">\r\n"
            "\t\t<FRAME SRC=\"\" NAME=\"Ramme 1.1\" SCROLLING=\"AUTO\">\r\n"
            "\t\t<FRAME SRC=\"\" NAME=\"Ramme 1.2\" SCROLLING=\"AUTO\">\r\n"
            "\t</FRAMESET>\r\n"
            "\t<FRAME SRC=\"\" NAME=\"Ramme 2.1y\" SCROLLING=\"AUTO\">\r\n"
            "\t<FRAME SRC=\"bund.htm\" NAME=\"Ramme 3.1\" SCROLLING=\"NO\">\r\n"
            "</FRAMESET>");
}

TEST_F(FramesDialog, ColumnsSwapTheCaptionsAndAPixelRowIsWrittenInPixels) {
  setPage("|");
  confirmNextForm([](QDialog& form) {
    control<QRadioButton>(form, "optKolonner")->setChecked(true);
    EXPECT_EQ(control<QLabel>(form, "lblHoejde")->text(), "Bre&dde:");
    EXPECT_EQ(control<QLabel>(form, "lblBredde")->text(), QStringLiteral("H&øjde:"));
    EXPECT_EQ(control<QGroupBox>(form, "grpOpdeling")->title(), "Opdeling af kolonner:");
    EXPECT_EQ(control<QLabel>(form, "lblNummer")->text(), "Ko&lonne nummer:");
    // In pixels a column is 8 a percent.
    control<QCheckBox>(form, "chkProcent1")->setChecked(false);
    EXPECT_EQ(number(form, "updHoejde")->value(), 400);
    EXPECT_EQ(number(form, "updHoejde")->singleStep(), 10);
    number(form, "updHoejde")->setValue(240);
    control<QCheckBox>(form, "chkKant")->setChecked(false);
    number(form, "updKant")->setValue(0);
  });
  openFrames();
  EXPECT_EQ(page().substr(0, page().find("\r\n")),
            "<FRAMESET FRAMEBORDER=\"0\" FRAMESPACING=\"0\" BORDER=\"0\" COLS=\"240,*\" ROWS=\"100%\">");
}

TEST_F(FramesDialog, TheTextForBrowsersWithoutFramesIsKeptForTheWholeRun) {
  setPage("|");
  confirmNextForm([this](QDialog& form) {
    confirmNextForm([](QDialog& text) {
      EXPECT_EQ(text.windowTitle(), "Rammer - alternativ tekst");
      EXPECT_EQ(control<QPlainTextEdit>(text, "Memo1")->toPlainText(), "");
      control<QPlainTextEdit>(text, "Memo1")
          ->setPlainText(QStringLiteral("Din browser kan ikke vise rammer.\nSe "
                                        "<A HREF=\"menu.htm\">menuen</A>."));
    });
    control<QPushButton>(form, "cmdNoFrames")->click();
  });
  openFrames();
  EXPECT_EQ(page(), kDefaultFrameSet +
                        "\r\n\r\n<NOFRAMES>\r\nDin browser kan ikke vise rammer.\r\nSe <A HREF=\"menu.htm\">menuen</A>."
                        "\r\n</NOFRAMES>");

  // The next frames dialog has it too; emptied, no NOFRAMES is written.
  setPage("|");
  confirmNextForm([this](QDialog& form) {
    cancelNextForm([](QDialog& text) {
      EXPECT_EQ(control<QPlainTextEdit>(text, "Memo1")->toPlainText(),
                "Din browser kan ikke vise rammer.\nSe <A HREF=\"menu.htm\">menuen</A>.");
      control<QPlainTextEdit>(text, "Memo1")->clear();
    });
    control<QPushButton>(form, "cmdNoFrames")->click();
    confirmNextForm([](QDialog& text) { control<QPlainTextEdit>(text, "Memo1")->clear(); });
    control<QPushButton>(form, "cmdNoFrames")->click();
  });
  openFrames();
  EXPECT_EQ(page(), kDefaultFrameSet);
}

TEST_F(FramesDialog, F4OnAFrameEditsItAloneAndItsResizingReplacesTheOldOne) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage(
      "<FRAMESET ROWS=\"*,*\">\r\n<frame src=menu.htm name=menu marginwidth=4 scrolling=no noresize|>\r\n"
      "</FRAMESET>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Ramme - redigering");
    EXPECT_EQ(control<QLineEdit>(form, "txtNavn")->text(), "menu");
    EXPECT_EQ(control<QLineEdit>(form, "txtAdresse")->text(), "menu.htm");
    EXPECT_EQ(number(form, "updHVenstre")->value(), 4);
    EXPECT_EQ(number(form, "updTopBund")->value(), 10);
    EXPECT_TRUE(control<QRadioButton>(form, "optNej")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(form, "chkTilpasning")->isChecked());
    EXPECT_FALSE(control<QWidget>(form, "fraLayout")->isVisibleTo(&form));
    EXPECT_FALSE(control<QWidget>(form, "updAntal")->isVisibleTo(&form));
    EXPECT_TRUE(control<QWidget>(form, "grpRamme")->isVisibleTo(&form));
    control<QCheckBox>(form, "chkTilpasning")->setChecked(true);
    control<QLineEdit>(form, "txtNavn")->setText("venstre");
  });
  {
    k().show();
    QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_F4);
  }
  EXPECT_EQ(page(),
            "<FRAMESET ROWS=\"*,*\">\r\n<FRAME SRC=\"menu.htm\" NAME=\"venstre\" SCROLLING=\"NO\" "
            "MARGINWIDTH=\"4\">\r\n</FRAMESET>");
}

}  // namespace
