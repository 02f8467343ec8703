// The forms dialog: open beside the page, inserting one element after
// another, and run modally to rebuild a form element's start tag.
#include "dialog_run.h"

#include "dialogs/element_dialogs.h"
#include "dialogs/forms_dialog.h"

#include <QAction>
#include <QToolButton>

namespace {

using dialog_test::control;
using dialog_test::setField;

class FormsDialog : public dialog_test::DialogRun {
 protected:
  TFormular& open() {
    k().command(QStringLiteral("formDialog"))->trigger();
    auto* forms = dynamic_cast<TFormular*>(k().elementDialogs().formsDialog());
    EXPECT_NE(forms, nullptr);
    return *forms;
  }
};

TEST_F(FormsDialog, StaysOpenInsertingElementByElementAndBlocksEditingMeanwhile) {
  setPage("<P>|Hej|</P>");
  TFormular& forms = open();
  EXPECT_TRUE(forms.isVisible());
  EXPECT_FALSE(forms.isModal());
  EXPECT_EQ(forms.windowTitle(), "Formular");
  EXPECT_EQ(forms.cmdOk->text(), "&Indsæt");
  EXPECT_EQ(forms.cmdAnnuller->text(), "Luk");

  // A new form encloses the selection and leaves the caret before its end tag.
  forms.cmbMetode->setEditText(QStringLiteral("POST"));
  forms.txtTekst->setText(QStringLiteral("svar.cgi"));
  forms.cmdOk->click();
  EXPECT_EQ(page(), "<P><FORM ACTION=\"svar.cgi\" METHOD=\"POST\">Hej</FORM></P>");
  EXPECT_TRUE(forms.isVisible());
  e().setSelText(QStringLiteral("|"));
  EXPECT_EQ(page(), "<P><FORM ACTION=\"svar.cgi\" METHOD=\"POST\">Hej|</FORM></P>");

  // Choosing a kind clears what the last one held and shows its own fields.
  forms.btn[6]->click();
  EXPECT_EQ(forms.cmbObjekt->currentText(), "Tjekboks");
  EXPECT_TRUE(forms.txtTekst->text().isEmpty());
  EXPECT_TRUE(forms.cmbMetode->currentText().isEmpty());
  EXPECT_FALSE(forms.cmbMetode->isVisibleTo(&forms));
  EXPECT_TRUE(forms.chkAfkrydset->isVisibleTo(&forms));
  EXPECT_FALSE(forms.txtStoerrelse->isVisibleTo(&forms));
  setPage("|");
  forms.txtNavn->setText(QStringLiteral("a"));
  forms.chkAfkrydset->setChecked(true);
  forms.txtDiverse->setText(QStringLiteral("onClick=\"f()\""));
  forms.cmdOk->click();
  EXPECT_EQ(page(), "<INPUT TYPE=\"CHECKBOX\" NAME=\"a\" onClick=\"f()\" CHECKED>");

  responder.answer(IDOK);
  k().elementDialogs().editElement();
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.seen()[0].text, "Luk formular-dialogboksen, før du redigerer.");

  forms.cmdAnnuller->click();
  EXPECT_FALSE(forms.isVisible());
  // Opened again, it is the same dialog, emptied.
  EXPECT_EQ(&open(), &forms);
  EXPECT_TRUE(forms.txtNavn->text().isEmpty());
  forms.cmdAnnuller->click();
}

TEST_F(FormsDialog, AnEditedInputShowsItsKindAndTickAndIsRebuilt) {
  run.changeSettings([](morvel::Settings& s) { s.keepUnknownAttributes = true; });
  setPage("x <input type=checkbox na|me=a checked class=k> y");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Tjekboks - redigering");
    EXPECT_EQ(control<QPushButton>(form, "cmdOk")->text(), "&OK");
    EXPECT_EQ(control<QComboBox>(form, "cmbObjekt")->currentText(), "Tjekboks");
    EXPECT_TRUE(control<QCheckBox>(form, "chkAfkrydset")->isChecked());
    EXPECT_EQ(dialog_test::field(form, "txtDiverse"), " class=k");
    setField(form, "txtTekst", QStringLiteral("ja"));
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "x <INPUT TYPE=\"CHECKBOX\" NAME=\"a\" VALUE=\"ja\" class=k CHECKED> y");
  EXPECT_FALSE(k().elementDialogs().formsDialog()->isVisible());
}

// With the default settings (unknown attributes not kept).
TEST_F(FormsDialog, AnEditedInputKeepsItsTickAndAnUnknownType) {
  setPage("x <input type=checkbox na|me=a checked> y");
  confirmNextForm([](QDialog& form) { EXPECT_TRUE(control<QCheckBox>(form, "chkAfkrydset")->isChecked()); });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "x <INPUT TYPE=\"CHECKBOX\" NAME=\"a\" CHECKED> y");

  setPage("<INPUT TYPE=\"button\" na|me=\"b\" VALUE=\"Klik\">");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Tekstfelt - redigering");
    setField(form, "txtTekst", QStringLiteral("Tryk"));
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<INPUT TYPE=\"button\" NAME=\"b\" VALUE=\"Tryk\">");
}

TEST_F(FormsDialog, AnEditedFormKeepsItsContentAndEndTag) {
  setPage("<FORM METHOD=get act|ion=\"a.cgi\">\r\n<INPUT NAME=\"n\">\r\n</FORM>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Formular-element - redigering");
    EXPECT_EQ(control<QComboBox>(form, "cmbMetode")->currentText(), "get");
    control<QComboBox>(form, "cmbMetode")->setEditText(QStringLiteral("POST"));
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(page(), "<FORM ACTION=\"a.cgi\" METHOD=\"POST\">\r\n<INPUT NAME=\"n\">\r\n</FORM>");
}

}  // namespace
