// The edit-element command as a user gives it (F4 in a page): the element
// around the caret opens in its dialog, and OK rebuilds it in place.
#include "dialog_run.h"

#include "dialogs/element_dialogs.h"
#include "settings/indstillinger.h"

#include <QTabWidget>
#include <QTest>

namespace {

using dialog_test::control;
using dialog_test::field;
using dialog_test::setField;

class EditElement : public dialog_test::DialogRun {
 protected:
  void pressF4() {
    k().show();
    QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_F4);
  }
  void keepUnknownAttributes(bool on) {
    run.changeSettings([on](morvel::Settings& s) { s.keepUnknownAttributes = on; });
  }
  std::string caret() {
    e().GetSelection();
    return std::to_string(e().EndLine()) + ":" + std::to_string(e().EndPos()) +
           (e().SelLength() ? " with a selection" : "");
  }
};

TEST_F(EditElement, ALinkIsRebuiltInUpperCaseWithItsUnknownAttributesKeptOnlyWhenTheSettingSaysSo) {
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    keepUnknownAttributes(keep);
    setPage("<P>\r\n<a href=\"x.htm\" onMouseOver=\"f()\">Her| er</a>\r\n</P>");
    confirmNextForm([](QDialog& form) {
      EXPECT_EQ(form.windowTitle(), "Henvisning - rediger");
      EXPECT_EQ(field(form, "txtAdresse"), "x.htm");
      EXPECT_EQ(field(form, "txtBeskriv"), "Her er");
      setField(form, "txtAdresse", "y.htm");
    });
    pressF4();
    const std::string kept = keep ? " onMouseOver=\"f()\"" : "";
    EXPECT_EQ(page(), "<P>\r\n<A HREF=\"y.htm\"" + kept + ">Her er</A>\r\n</P>");
    // The caret is back on the element's line, in its column (or at the end
    // of the shorter line), with nothing selected.
    EXPECT_EQ(caret(), keep ? "2:37" : "2:26");
  }
}

TEST_F(EditElement, ALinkTextOverSeveralLinesStaysAsItWasUnlessTypedOver) {
  setPage("<A HREF=a.htm NAME=n|>en\r\nto</A>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(field(form, "txtBeskriv"), "(markeret tekst/objekt)");
    EXPECT_EQ(field(form, "txtNavn"), "n");
  });
  pressF4();
  EXPECT_EQ(page(), "<A HREF=\"a.htm\" NAME=\"n\">en\r\nto</A>");
}

TEST_F(EditElement, CancellingLeavesThePageAsItWas) {
  const std::string text = "<A HREF=\"x.htm\" TARGET=\"_top\">|x</A>";
  setPage(text);
  cancelNextForm([](QDialog& form) { EXPECT_EQ(control<QComboBox>(form, "cmbMaal")->currentText(), "_top"); });
  pressF4();
  EXPECT_EQ(page(), "<A HREF=\"x.htm\" TARGET=\"_top\">x</A>");
  EXPECT_FALSE(e().CanUndo());
}

TEST_F(EditElement, ADialogOpenedAfterAnEditStartsWithANewElement) {
  keepUnknownAttributes(true);
  setPage("<A HREF=\"x.htm\" TARGET=_top class=k|>Her</A>");
  cancelNextForm();
  pressF4();
  setPage("ny |tekst");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Henvisning");
    EXPECT_EQ(field(form, "txtAdresse"), "");
    EXPECT_EQ(control<QComboBox>(form, "cmbMaal")->currentText(), "");
    setField(form, "txtAdresse", "y.htm");
  });
  k().command(QStringLiteral("linkDialog"))->trigger();
  // Neither the edited link's target nor its kept attribute.
  EXPECT_EQ(page(), "ny <A HREF=\"y.htm\"></A>tekst");
}

TEST_F(EditElement, WhatCannotBeEditedIsToldAndNothingChanges) {
  struct Case {
    const char* page;
    QString message;
  };
  const QString unknown = QStringLiteral("Morvel kan ikke automatisk redigere denne HTML-kode.");
  const Case cases[] = {
      {"<TABLE>\r\n</TA|BLE>", unknown},
      {"ingen| kode", unknown},
      {"<FONT SIZE=2>te|kst", QStringLiteral("Morvel kan ikke finde en slut-kode, </FONT>, der hører til den "
                                             "fontkode, du har klikket i.\nKontroller din HTML-kode, før du "
                                             "fortsætter. Tast F9 for at få hjælp til at finde eventuelle fejl.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    setPage(c.page);
    const std::string before = page();
    const std::string where = caret();
    responder.answer(IDOK);
    pressF4();
    EXPECT_EQ(responder.last().text, c.message);
    EXPECT_EQ(page(), before);
    EXPECT_EQ(caret(), where);
  }
}

TEST_F(EditElement, AnOpenFormsDialogStopsTheCommand) {
  setPage("<A HREF=x|>x</A>");
  k().elementDialogs().open(ElementDialog::Form);
  QDialog* forms = k().elementDialogs().formsDialog();
  ASSERT_NE(forms, nullptr);
  ASSERT_TRUE(forms->isVisible());
  responder.answer(IDOK);
  k().elementDialogs().editElement();
  EXPECT_EQ(responder.last().text, "Luk formular-dialogboksen, før du redigerer.");
  EXPECT_EQ(page(), "<A HREF=x>x</A>");
  forms->hide();
}

TEST_F(EditElement, AnEmailLinkKeepsItsUnknownAttributeBeforeTheTagsEnd) {
  keepUnknownAttributes(true);
  setPage("<a href=\"mailto:a@b.dk\" class=\"m\">Skriv| til os</a>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "E-mailadresse - rediger");
    EXPECT_EQ(field(form, "txt1"), "a@b.dk");
    EXPECT_EQ(field(form, "txt2"), "Skriv til os");
    setField(form, "txt1", "c@d.dk");
  });
  pressF4();
  EXPECT_EQ(page(), "<A HREF=\"mailto:c@d.dk\" class=\"m\">Skriv til os</A>");
}

TEST_F(EditElement, ABackgroundSoundBecomesAnEmbeddedSound) {
  setPage("<BODY>\r\n<BGSOUND SRC=\"lyd.mid\"|>\r\n</BODY>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Baggrundslyd - rediger");
    EXPECT_EQ(field(form, "txt1"), "lyd.mid");
  });
  pressF4();
  EXPECT_EQ(page(), "<BODY>\r\n<EMBED SRC=\"lyd.mid\" AUTOSTART=\"TRUE\" LOOP=\"0\">\r\n</BODY>");
}

TEST_F(EditElement, AFrameSetWithOnlyRowsKeepsThemAndGetsNoBorder) {
  setPage("<FRAMESET ROWS=\"*,*\"|>\r\n<FRAME SRC=a.htm>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Rammer - rediger antal og størrelse");
    EXPECT_FALSE(control<QLineEdit>(form, "txt2")->isEnabled());
    EXPECT_EQ(form.findChild<QCheckBox*>(QStringLiteral("chkSynlig")), nullptr);
  });
  pressF4();
  EXPECT_EQ(page(), "<FRAMESET ROWS=\"*,*\">\r\n<FRAME SRC=a.htm>");
}

TEST_F(EditElement, AFrameSetWithRowsAndColumnsGetsItsBorderBack) {
  setPage("<FRAMESET ROWS=\"20%,*\" COLS=\"100,*\" FRAMEBORDER=\"no\" BORDER=3|>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(field(form, "txtKantTyk"), "3");
    QCheckBox* visible = control<QCheckBox>(form, "chkSynlig");
    EXPECT_FALSE(visible->isChecked());
    visible->setChecked(true);
    setField(form, "txtKantTyk", "5");
  });
  pressF4();
  EXPECT_EQ(page(), "<FRAMESET FRAMEBORDER=\"1\" FRAMESPACING=\"5\" BORDER=\"5\" ROWS=\"20%,*\" COLS=\"100,*\">");
}

TEST_F(EditElement, TheTitleOpensTheTitleDialogAndChangesTheTabsCaption) {
  setPage("<HTML><HEAD><TITLE>Gam|mel</TITLE></HEAD></HTML>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Titel - rediger");
    EXPECT_EQ(field(form, "txt1"), "Gammel");
    setField(form, "txt1", "Ny side");
  });
  pressF4();
  EXPECT_EQ(page(), "<HTML><HEAD><TITLE>Ny side</TITLE></HEAD></HTML>");
  EXPECT_TRUE(k().TabControl1()->tabText(0).contains("Ny side"));
}

TEST_F(EditElement, ACancelledElementDialogChangesNothing) {
  setPage("<HR SIZE=3| WIDTH=50%>");
  cancelNextForm();
  pressF4();
  EXPECT_EQ(page(), "<HR SIZE=3 WIDTH=50%>");
  EXPECT_EQ(caret(), "1:10");
}

}  // namespace
