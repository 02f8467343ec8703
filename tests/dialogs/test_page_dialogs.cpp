// New pages as a user makes them: from a template (Ctrl+N and the "Nyt
// dokument" button), with the page base dialog, with meta information; and
// the templates kept, made, changed and deleted.
#include "dialog_run.h"

#include "common_dialogs.h"
#include "dialogs/template_dialog.h"
#include "dialogs/web_colour_dialog.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

namespace {

using dialog_test::control;
using dialog_test::field;
using dialog_test::picture;
using dialog_test::setField;

namespace st = morvel::settings;

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PageDialogs : public dialog_test::DialogRun {
 protected:
  void trigger(const char* name) { k().command(QString::fromLatin1(name))->trigger(); }
  void pressF4() {
    k().show();
    QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
    keys->setFocus();
    QTest::keyClick(keys, Qt::Key_F4);
  }
  std::string caret() {
    e().GetSelection();
    return std::to_string(e().EndLine()) + ":" + std::to_string(e().EndPos());
  }
  QString tab(int i) { return k().TabControl1()->tabText(i); }
  static bool checked(QDialog& form, const char* name) { return control<QAbstractButton>(form, name)->isChecked(); }
  static morvel::ColorValue colour(QDialog& form, const char* name) {
    return control<TWebColorButton>(form, name)->Color();
  }
  static QListWidget* templates(QDialog& form) { return control<QListWidget>(form, "lwSkabelon"); }
  static QStringList names(QDialog& form) {
    QStringList shown;
    for (int i = 0; i < templates(form)->count(); ++i) shown << templates(form)->item(i)->text();
    return shown;
  }
  static void choose(QDialog& form, const QString& name) {
    const QList<QListWidgetItem*> found = templates(form)->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    templates(form)->setCurrentItem(found.first());
  }
  static bool enabled(QDialog& form, const char* name) { return control<QWidget>(form, name)->isEnabled(); }
  QString own(const QString& name) { return run.dir.filePath(QStringLiteral("Skabeloner/") + name); }
  // The next open-file request chooses `path`.
  void chooseFileNext(const QString& path) {
    responder.answer([path](platform::Request& r) {
      EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
      static_cast<platform::FileDialogRequest*>(r.data)->chosen = {path};
      return 1;
    });
  }
  void nameNext(const QString& name) {
    confirmNextForm([name](QDialog& box) {
      EXPECT_EQ(box.windowTitle(), "Ny skabelon");
      setField(box, "txtKode", name);
    });
  }
};

// ---------------------------------------------------------------------------
// Templates

TEST_F(PageDialogs, CtrlNWithTheDefaultSettingsStartsAPageFromATemplate) {
  k().show();
  k().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&k()));
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Nyt HTML-dokument");
    // The empty page first and chosen, then the installed templates.
    EXPECT_EQ(names(form), (QStringList{"Tomt dokument", "Almindelig side", "Kontaktside", "Side med menu"}));
    EXPECT_EQ(templates(form)->currentRow(), 0);
    EXPECT_TRUE(enabled(form, "cmdOk"));
    EXPECT_FALSE(enabled(form, "cmdSletSkabelon"));
    EXPECT_FALSE(enabled(form, "cmdRedigerSkabelon"));
    choose(form, "Kontaktside");
    EXPECT_TRUE(enabled(form, "cmdRedigerSkabelon"));
    // Installed templates belong to the program.
    EXPECT_FALSE(enabled(form, "cmdSletSkabelon"));
    EXPECT_FALSE(control<QMenu>(form, "popSkabelon")->actions().at(1)->isEnabled());
    picture(form, "skabeloner");
  });
  QWidget* keys = e().focusProxy() ? e().focusProxy() : &e();
  QTest::keyClick(keys, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(responder.seen().size(), 1u);
  // The untouched first page takes it, without a file of its own.
  EXPECT_EQ(k().documentCount(), 1);
  EXPECT_EQ(k().fileName(0), "");
  EXPECT_EQ(page(), fileBytes(TSkabelon::installedFolder() + "/Kontaktside.mvs").toStdString());
  EXPECT_NE(page().find("&Aring;bningstider"), std::string::npos);
  EXPECT_EQ(tab(0), "Kontakt");
  EXPECT_FALSE(e().Modified());
  // The status counts the page's characters, not the empty page's.
  EXPECT_EQ(k().statusText(1), QString::number(page().size()) + " tegn");
}

TEST_F(PageDialogs, APageWithTextGetsANewDocumentAndEntityCodesBecomeLettersWhenTheSettingSaysSo) {
  run.changeSettings([](morvel::Settings& s) { s.danishLetterCodes = true; });
  setPage("min tekst|");
  confirmNextForm([](QDialog& form) { choose(form, "Kontaktside"); });
  trigger("newFromTemplate");
  ASSERT_EQ(k().documentCount(), 2);
  EXPECT_EQ(k().editor(0)->TextBytes(), "min tekst");
  EXPECT_EQ(k().activeDocument(), 1);
  EXPECT_NE(page().find("\xC5"
                        "bningstider"),
            std::string::npos);
  EXPECT_EQ(page().find("&Aring;"), std::string::npos);

  // "Tomt dokument" on a page with text gives an empty new page.
  confirmNextForm();
  trigger("newFromTemplate");
  EXPECT_EQ(k().documentCount(), 3);
  EXPECT_EQ(page(), "");
}

TEST_F(PageDialogs, TheNewDocumentButtonOpensTheTemplatesOnlyWhenTheSettingSaysSo) {
  cancelNextForm([](QDialog& form) { EXPECT_EQ(form.objectName(), "TSkabelon"); });
  trigger("newDocumentButton");
  EXPECT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(k().documentCount(), 1);
  run.changeSettings([](morvel::Settings& s) { s.templateDialogOnNew = false; });
  trigger("newDocumentButton");
  EXPECT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(k().documentCount(), 2);
  EXPECT_EQ(tab(1), "Nyt dokument 2");
}

TEST_F(PageDialogs, ANewTemplateIsMadeFromAFileAndTheUsersOwnCanBeDeleted) {
  const QString source = run.dir.filePath(QStringLiteral("nyhedsbrev.htm"));
  const QByteArray bytes = "<HTML><HEAD><TITLE>Nyt</TITLE></HEAD><BODY>\xE6</BODY></HTML>\r\n";
  {
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  setPage("|");
  cancelNextForm([this, &source](QDialog& form) {
    chooseFileNext(source);
    confirmNextForm([](QDialog& box) {
      EXPECT_EQ(box.windowTitle(), "Ny skabelon");
      EXPECT_EQ(field(box, "txtKode"), "nyhedsbrev");
      EXPECT_EQ(box.findChild<QLabel*>()->text(), "Angiv skabelonens navn:");
      setField(box, "txtKode", "  Mit brev ");
    });
    control<QPushButton>(form, "cmdNySkabelon")->click();
    EXPECT_EQ(responder.seen().at(1).caption, QStringLiteral("Vælg den fil skabelonen skal baseres på"));
    EXPECT_EQ(names(form),
              (QStringList{"Tomt dokument", "Almindelig side", "Kontaktside", "Mit brev", "Side med menu"}));
    EXPECT_EQ(templates(form)->currentItem()->text(), "Mit brev");
    // The user's own can be deleted and changed.
    EXPECT_TRUE(enabled(form, "cmdSletSkabelon"));
    EXPECT_TRUE(enabled(form, "cmdRedigerSkabelon"));

    // A name that would put the file elsewhere is refused.
    chooseFileNext(source);
    nameNext("../ude");
    responder.answer(IDOK);
    control<QPushButton>(form, "cmdNySkabelon")->click();
    EXPECT_EQ(responder.last().text,
              QStringLiteral("\"../ude\" kan ikke bruges som navn på en skabelon. Navnet må ikke indeholde \"/\"."));

    // Deleting asks first.
    responder.answer(IDNO);
    control<QPushButton>(form, "cmdSletSkabelon")->click();
    EXPECT_EQ(responder.last().caption, "Slet skabelon");
    EXPECT_EQ(responder.last().text, QStringLiteral("Ønsker du at slette Mit brev?"));
    EXPECT_EQ(responder.last().flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(names(form).size(), 5);
    responder.answer(IDYES);
    control<QPushButton>(form, "cmdSletSkabelon")->click();
    EXPECT_EQ(names(form).size(), 4);
  });
  trigger("newFromTemplate");
  EXPECT_FALSE(QFile::exists(own("Mit brev.mvs")));
  EXPECT_FALSE(QFile::exists(run.dir.filePath(QStringLiteral("ude.mvs"))));

  // Made again, it is there the next time, as the file's bytes.
  cancelNextForm([this, &source](QDialog& form) {
    chooseFileNext(source);
    nameNext("Mit brev");
    control<QPushButton>(form, "cmdNySkabelon")->click();
  });
  trigger("newFromTemplate");
  EXPECT_EQ(fileBytes(own("Mit brev.mvs")), bytes);
  confirmNextForm([](QDialog& form) {
    EXPECT_TRUE(names(form).contains("Mit brev"));
    choose(form, "Mit brev");
  });
  trigger("newFromTemplate");
  EXPECT_EQ(page(), bytes.toStdString());
}

TEST_F(PageDialogs, ATemplateThatCannotBeCopiedIsReportedAndNotListed) {
  // A file where the folder of the user's templates should be.
  {
    QFile blocker(run.dir.filePath(QStringLiteral("Skabeloner")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }
  const QString source = run.dir.filePath(QStringLiteral("a.htm"));
  {
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<HTML></HTML>");
  }
  cancelNextForm([this, &source](QDialog& form) {
    chooseFileNext(source);
    nameNext("Ny");
    responder.answer(IDOK);
    control<QPushButton>(form, "cmdNySkabelon")->click();
    EXPECT_TRUE(responder.last().text.startsWith(QStringLiteral("Skabelonen ")));
    EXPECT_TRUE(responder.last().text.endsWith(QStringLiteral("Ny.mvs kunne ikke oprettes.")));
    EXPECT_FALSE(names(form).contains("Ny"));
  });
  trigger("newFromTemplate");
}

TEST_F(PageDialogs, EditingAnInstalledTemplateOpensAnOwnCopyThatThenTakesItsPlace) {
  cancelNextForm([](QDialog& form) {
    choose(form, "Side med menu");
    control<QPushButton>(form, "cmdRedigerSkabelon")->click();
  });
  trigger("newFromTemplate");
  const QString copy = own("Side med menu.mvs");
  EXPECT_EQ(k().fileName(k().activeDocument()), copy);
  EXPECT_EQ(fileBytes(copy), fileBytes(TSkabelon::installedFolder() + "/Side med menu.mvs"));
  cancelNextForm([](QDialog& form) {
    EXPECT_EQ(names(form).count("Side med menu"), 1);
    choose(form, "Side med menu");
    EXPECT_TRUE(enabled(form, "cmdSletSkabelon"));
  });
  trigger("newFromTemplate");
}

TEST_F(PageDialogs, TheTemplateWindowKeepsItsSize) {
  cancelNextForm([](QDialog& form) {
    EXPECT_EQ(form.size(), QSize(370, 280));
    form.resize(500, 330);
  });
  trigger("newFromTemplate");
  EXPECT_EQ(st::read(run.store(), st::start::SkabBredde), 500);
  EXPECT_EQ(st::read(run.store(), st::start::SkabHoejde), 330);
  cancelNextForm([](QDialog& form) { EXPECT_EQ(form.size(), QSize(500, 330)); });
  trigger("newFromTemplate");
}

// ---------------------------------------------------------------------------
// The page base

TEST_F(PageDialogs, ANewPageWithItsTitleAndTheCaretInTheBody) {
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Basiskoder");
    EXPECT_EQ(field(form, "txtTitel"), "Nyt dokument 1");
    EXPECT_TRUE(checked(form, "chkDocType"));
    EXPECT_TRUE(checked(form, "chkBody"));
    EXPECT_FALSE(checked(form, "chkFarver"));
    EXPECT_FALSE(control<QWidget>(form, "col1")->isEnabled());
    control<QCheckBox>(form, "chkFarver")->setChecked(true);
    EXPECT_TRUE(control<QWidget>(form, "col1")->isEnabled());
    control<QCheckBox>(form, "chkFarver")->setChecked(false);
    setField(form, "txtTitel", "Forside");
    picture(form, "basiskoder");
  });
  trigger("baseCodes");
  EXPECT_EQ(page(),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<HTML>\r\n<HEAD>\r\n\t<TITLE>Forside</TITLE>"
            "\r\n</HEAD>\r\n<BODY>\r\n\r\n\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(caret(), "7:0");
  EXPECT_EQ(tab(0), "Forside");
}

TEST_F(PageDialogs, ANewPageWithoutBodyHasThreeEmptyLines) {
  confirmNextForm([](QDialog& form) {
    control<QCheckBox>(form, "chkBody")->setChecked(false);
    EXPECT_FALSE(control<QWidget>(form, "txt2")->isEnabled());
    EXPECT_FALSE(control<QWidget>(form, "chkFarver")->isEnabled());
    control<QCheckBox>(form, "chkDocType")->setChecked(false);
    EXPECT_FALSE(control<QWidget>(form, "cmbDocType")->isEnabled());
    setField(form, "txtTitel", "Uden");
  });
  trigger("baseCodes");
  EXPECT_EQ(page(), "<HTML>\r\n<HEAD>\r\n\t<TITLE>Uden</TITLE>\r\n</HEAD>\r\n\r\n\r\n\r\n</HTML>\r\n");
  // The first empty line.
  EXPECT_EQ(caret(), "5:0");
}

TEST_F(PageDialogs, F4OnTheBodyOpensThePageBaseAndOkWritesAllFiveColours) {
  setPage(
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<HTML>\r\n<body bgcolor=\"#FFFFFF\" text=black|>"
      "\r\n</HTML>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.objectName(), "TBasis");
    EXPECT_EQ(form.windowTitle(), "Basiskoder - redigering");
    EXPECT_TRUE(checked(form, "chkFarver"));
    EXPECT_EQ(colour(form, "col5"), morvel::colorFromRgb(255, 255, 255));
    EXPECT_EQ(colour(form, "col1"), morvel::colorFromRgb(0, 0, 0));
    EXPECT_EQ(colour(form, "col3"), morvel::colorFromRgb(0x66, 0, 0x66));
    EXPECT_EQ(control<QComboBox>(form, "cmbDocType")->currentText(),
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">");
    for (const char* off : {"txtTitel", "cmbDocType", "chkBody"})
      EXPECT_FALSE(control<QWidget>(form, off)->isEnabled());
  });
  pressF4();
  EXPECT_EQ(page(),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<HTML>\r\n<BODY BGCOLOR=\"White\" TEXT=\"Black\" "
            "LINK=\"Blue\" VLINK=\"#660066\" ALINK=\"Red\">\r\n</HTML>");
}

TEST_F(PageDialogs, RenamingTheTitleOfAPageWithoutHeadOpensThePageBaseWithThatTitle) {
  confirmNextForm([this](QDialog& form) {
    setField(form, "txt1", "Om os");
    confirmNextForm([](QDialog& base) {
      EXPECT_EQ(base.objectName(), "TBasis");
      EXPECT_EQ(field(base, "txtTitel"), "Om os");
      control<QCheckBox>(base, "chkDocType")->setChecked(false);
    });
  });
  k().elementDialogs().open(ElementDialog::RenameTitle);
  EXPECT_EQ(page(),
            "<HTML>\r\n<HEAD>\r\n\t<TITLE>Om os</TITLE>\r\n</HEAD>\r\n<BODY>\r\n\r\n\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(tab(0), "Om os");
}

// ---------------------------------------------------------------------------
// Meta information

class MetaDialog : public PageDialogs {
 protected:
  static QListWidget* entries(QDialog& form) { return control<QListWidget>(form, "cklNavn"); }
  static void tick(QDialog& form, int i) {
    entries(form)->item(i)->setCheckState(Qt::Checked);
    entries(form)->setCurrentRow(i);
  }
  static void typeContent(QDialog& form, const QString& text) {
    form.show();
    QLineEdit* content = control<QLineEdit>(form, "memIndhold");
    content->selectAll();
    QTest::keyClicks(content, text);
  }
};

TEST_F(MetaDialog, CheckedEntriesGoBeforeTheEndOfTheHeadOrAtTheStart) {
  setPage("<HTML><HEAD>\r\n<TITLE>x</TITLE>\r\n</head>\r\n<BODY>|</BODY></HTML>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Meta-information");
    EXPECT_EQ(entries(form)->count(), 12);
    EXPECT_EQ(entries(form)->item(5)->text(), QStringLiteral("Indlæs"));
    tick(form, 5);
    EXPECT_EQ(field(form, "txtNavn"), "Refresh");
    EXPECT_TRUE(control<QLineEdit>(form, "txtNavn")->isReadOnly());
    EXPECT_EQ(field(form, "memIndhold"), "10; URL=http://www.example.com/");
    typeContent(form, "5; URL=ny.htm");
    tick(form, 0);
    picture(form, "meta");
  });
  trigger("metaDialog");
  EXPECT_EQ(page(),
            "<HTML><HEAD>\r\n<TITLE>x</TITLE>\r\n<META NAME=\"Description\" CONTENT=\"Danish software\">\r\n"
            "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"5; URL=ny.htm\">\r\n</head>\r\n<BODY></BODY></HTML>");

  // The dialog is kept: its ticks and contents are there the next time. A
  // page without a head end gets the lines at its start.
  setPage("<P>tekst|</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(entries(form)->item(5)->checkState(), Qt::Checked);
    entries(form)->item(0)->setCheckState(Qt::Unchecked);
    // "Andet..." is named by the user.
    tick(form, 11);
    EXPECT_FALSE(control<QLineEdit>(form, "txtNavn")->isReadOnly());
    QTest::keyClicks(control<QLineEdit>(form, "txtNavn"), "Sprog");
    typeContent(form, "da");
  });
  trigger("metaDialog");
  EXPECT_EQ(page(),
            "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"5; URL=ny.htm\">\r\n<META NAME=\"Sprog\" CONTENT=\"da\">\r\n"
            "<P>tekst</P>");
}

TEST_F(MetaDialog, ASavedDefaultIsTheContentOfTheNextRun) {
  setPage("|");
  cancelNextForm([](QDialog& form) {
    entries(form)->setCurrentRow(1);
    typeContent(form, QStringLiteral("Søren"));
    control<QPushButton>(form, "btnGemSomStandard")->click();
  });
  trigger("metaDialog");
  EXPECT_EQ(run.store().ReadString(st::kMeta, "1", ""), "S\xC3\xB8ren");
  run.restart();
  setPage("</HEAD>|");
  confirmNextForm([](QDialog& form) {
    entries(form)->setCurrentRow(1);
    EXPECT_EQ(field(form, "memIndhold"), QStringLiteral("Søren"));
    tick(form, 1);
  });
  trigger("metaDialog");
  EXPECT_EQ(page(), "<META NAME=\"Author\" CONTENT=\"S\xF8ren\">\r\n</HEAD>");
}

}  // namespace
