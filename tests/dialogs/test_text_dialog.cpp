// The text dialog's jobs opened from the menus: e-mail links, sounds, the
// page title, and the no-frames text that its owner reads.
#include "dialog_run.h"

#include "common_dialogs.h"
#include "dialogs/text_dialog.h"
#include "settings/indstillinger.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

namespace {

using dialog_test::control;
using dialog_test::field;
using dialog_test::setField;

class TextDialog : public dialog_test::DialogRun {
 protected:
  void trigger(const char* name) { k().command(QString::fromLatin1(name))->trigger(); }
};

TEST_F(TextDialog, ANewEmailLinkStartsFromTheSettingsOrTheSelection) {
  run.changeSettings([](morvel::Settings& s) {
    s.emailAddress = QStringLiteral("post@firma.dk");
    s.emailDescription = QStringLiteral("Skriv til os");
  });
  setPage("<P>|</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "E-mail");
    EXPECT_EQ(field(form, "txt1"), "post@firma.dk");
    EXPECT_EQ(field(form, "txt2"), "Skriv til os");
  });
  trigger("emailDialog");
  EXPECT_EQ(page(), "<P><A HREF=\"mailto:post@firma.dk\">Skriv til os</A></P>");

  setPage("<P>|Kontakt \xE6|</P>");
  confirmNextForm([](QDialog& form) { EXPECT_EQ(field(form, "txt2"), "Kontakt æ"); });
  trigger("emailDialog");
  EXPECT_EQ(page(), "<P><A HREF=\"mailto:post@firma.dk\">Kontakt \xE6</A></P>");
}

TEST_F(TextDialog, ASoundIsChosenByItsAddressFromThePage) {
  QDir(run.dir.path()).mkpath(QStringLiteral("side/lyd"));
  const QString pagePath = run.dir.filePath(QStringLiteral("side/index.htm"));
  const QString sound = run.dir.filePath(QStringLiteral("side/lyd/tromme.wav"));
  for (const QString& path : {pagePath, sound}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(k().openFile(pagePath));
  setPage("<BODY>|</BODY>");
  confirmNextForm([this, sound](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Baggrundslyd");
    responder.answer([sound](platform::Request& r) {
      EXPECT_EQ(r.caption, "Lydfiler");
      auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
      EXPECT_EQ(choice->filters.value(0).second, (QStringList{"*.wav", "*.au", "*.mid"}));
      choice->chosen = QStringList{sound};
      return 1;
    });
    control<QPushButton>(form, "cmd1")->click();
    EXPECT_EQ(field(form, "txt1"), "lyd/tromme.wav");
  });
  trigger("soundDialog");
  EXPECT_EQ(page(), "<BODY><EMBED SRC=\"lyd/tromme.wav\" AUTOSTART=\"TRUE\" LOOP=\"0\"></BODY>");
}

TEST_F(TextDialog, RenamingTheTitleOfAPageWithoutOneAddsItToTheHeadAndKeepsTheSelection) {
  setPage("<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>|tekst|</BODY>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Titel - rediger");
    EXPECT_EQ(field(form, "txt1"), "");
    setField(form, "txt1", "Forside");
  });
  trigger("renameTitle");
  EXPECT_EQ(page(), "<HTML>\r\n<HEAD>\r\n\t<TITLE>Forside</TITLE>\r\n</HEAD>\r\n<BODY>tekst</BODY>");
  EXPECT_EQ(e().SelTextBytes(), "tekst");
  EXPECT_TRUE(k().TabControl1()->tabText(0).contains("Forside"));
}

TEST_F(TextDialog, ATitleWithoutItsEndCodeIsReportedAndLeftAlone) {
  setPage("<HEAD><TITLE>Halv|");
  confirmNextForm([this](QDialog& form) {
    setField(form, "txt1", "Ny");
    responder.answer(IDOK);
  });
  trigger("renameTitle");
  EXPECT_EQ(responder.last().text, "Der er fejl i titelkoden.");
  EXPECT_EQ(page(), "<HEAD><TITLE>Halv");
}

TEST_F(TextDialog, TheNoFramesTextIsTakenWithEnter) {
  TDialog dialog(k(), morvel::newElement(morvel::ElementKind::NoFrames));
  EXPECT_EQ(dialog.windowTitle(), "Rammer - alternativ tekst");
  auto* memo = control<QPlainTextEdit>(dialog, "Memo1");
  memo->setPlainText(QStringLiteral("Din browser kan ikke vise rammer."));
  QTest::keyClick(memo, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(memo->toPlainText(), "Din browser kan ikke vise rammer.");
}

TEST_F(TextDialog, TheUserCodeKindShowsThreeFieldsForTheCodeBox) {
  TDialog dialog(k(), morvel::newElement(morvel::ElementKind::UserCode));
  EXPECT_EQ(dialog.windowTitle(), "Tilføj HTML-kode");
  for (const char* name : {"txt1", "txt2", "txt3"}) EXPECT_FALSE(control<QLineEdit>(dialog, name)->isHidden()) << name;
  EXPECT_EQ(control<QLabel>(dialog, "lbl3")->text(), "Sl&utkode:");
  EXPECT_TRUE(control<QPushButton>(dialog, "cmd1")->isHidden());
}

}  // namespace
