// The element dialogs on a small host of their own, without the main window:
// what they read of the documents and the settings, and what they change.
#include "fake_host.h"

#include "commands/code_insertion.h"
#include "dialogs/edited_element.h"
#include "dialogs/link_dialog.h"
#include "dialogs/text_dialog.h"
#include "markup/text_position.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

using dialog_test::FakeHost;
using morvel::ElementKind;

// Selects the bytes [from, to) of a one-line page.
void selectBytes(TTivra& editor, int from, int to) { morvel::select(editor, {1, from}, {1, to}); }

TEST(DialogOnAHost, TheLinkDialogTakesTargetsFromEveryPageAndLinksTheSelection) {
  FakeHost host;
  host.addPage("<FRAMESET><FRAME NAME=\"indhold\" SRC=\"a.htm\"></FRAMESET>");
  TTivra& page = host.addPage("Se forsiden her");
  selectBytes(page, 3, 11);
  THenvisning dialog(host, morvel::newElement());
  EXPECT_EQ(dialog.parentWidget(), host.dialogParent());
  EXPECT_EQ(dialog.windowTitle(), "Henvisning");
  EXPECT_EQ(dialog.txtBeskriv->text(), "forsiden");
  EXPECT_GE(dialog.cmbMaal->findText(QStringLiteral("indhold")), 0);
  dialog.txtAdresse->setText(QStringLiteral("index.htm"));
  dialog.cmbMaal->setCurrentText(QStringLiteral("indhold"));
  dialog.cmdOk->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(page.TextBytes(), "Se <A HREF=\"index.htm\" TARGET=\"indhold\">forsiden</A> her");
  EXPECT_EQ(host.store().ReadString("Bokse", "Target", ""), "indhold");
  EXPECT_EQ(host.editor(0)->TextBytes(), "<FRAMESET><FRAME NAME=\"indhold\" SRC=\"a.htm\"></FRAMESET>");
}

TEST(DialogOnAHost, AnEditedLinkComesInAsATypedValueAndKeepsItsOtherAttributes) {
  FakeHost host;
  const std::string text = "<A HREF=\"a.htm\" TARGET=\"_top\" id=\"k\">Her</A>";
  TTivra& page = host.addPage(text);
  const morvel::ElementToEdit found = morvel::findElementToEdit(text, 3, true);
  ASSERT_EQ(found.result, morvel::ElementSearch::Found);
  morvel::select(page, morvel::positionAt(text, found.replaceBegin), morvel::positionAt(text, found.replaceEnd));
  THenvisning dialog(host, found.element);
  EXPECT_EQ(dialog.windowTitle(), "Henvisning - rediger");
  EXPECT_EQ(dialog.txtAdresse->text(), "a.htm");
  EXPECT_EQ(dialog.cmbMaal->currentText(), "_top");
  EXPECT_EQ(dialog.txtBeskriv->text(), "Her");
  dialog.txtAdresse->setText(QStringLiteral("b.htm"));
  dialog.cmdOk->click();
  EXPECT_EQ(page.TextBytes(), "<A HREF=\"b.htm\" TARGET=\"_top\" id=\"k\">Her</A>");
}

TEST(DialogOnAHost, TheEmailDialogStartsFromTheHostsSettings) {
  FakeHost host;
  host.changeableSettings().emailAddress = QStringLiteral("post@firma.dk");
  host.changeableSettings().emailDescription = QStringLiteral("Skriv til os");
  TTivra& page = host.addPage("");
  TDialog dialog(host, morvel::newElement(ElementKind::Email));
  EXPECT_EQ(dialog.txt1->text(), "post@firma.dk");
  EXPECT_EQ(dialog.txt2->text(), "Skriv til os");
  dialog.cmdOk->click();
  EXPECT_EQ(page.TextBytes(), "<A HREF=\"mailto:post@firma.dk\">Skriv til os</A>");
}

TEST(DialogOnAHost, ANewTitleBringsTheHostsCaptionsUpToDate) {
  FakeHost host;
  TTivra& page = host.addPage("<HTML><HEAD><TITLE>Gammel</TITLE></HEAD></HTML>");
  TDialog dialog(host, morvel::newElement(ElementKind::Title));
  EXPECT_EQ(dialog.txt1->text(), "Gammel");
  dialog.txt1->setText(QStringLiteral("Ny"));
  dialog.cmdOk->click();
  EXPECT_EQ(page.TextBytes(), "<HTML><HEAD><TITLE>Ny</TITLE></HEAD></HTML>");
  EXPECT_EQ(host.captionRefreshes, 1);
}

TEST(DialogOnAHost, TheTextDialogsOwnJobsOnlyGatherTheirTexts) {
  FakeHost host;
  TTivra& page = host.addPage("intet her");
  TDialog userCode(host, morvel::newElement(ElementKind::UserCode));
  EXPECT_EQ(userCode.windowTitle(), "Tilføj HTML-kode");
  userCode.txt1->setText(QStringLiteral("Fed"));
  userCode.cmdOk->click();
  EXPECT_EQ(userCode.result(), QDialog::Accepted);
  EXPECT_EQ(userCode.kind(), ElementKind::UserCode);
  EXPECT_EQ(page.TextBytes(), "intet her");
}

}  // namespace
