// The link dialog as a user fills it: links from the selection and the
// fields, the remembered target and the frame names of the open pages,
// addresses from a page file, from favourites and from bookmarks.
#include "dialog_run.h"

#include "common_dialogs.h"
#include "projects/egenskaber.h"
#include "settings/indstillinger.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using dialog_test::control;
using dialog_test::field;
using dialog_test::setField;
using testing_support::ScriptedResponder;
namespace st = morvel::settings;

class LinkDialog : public dialog_test::DialogRun {
 protected:
  void openLinkDialog() { k().command(QStringLiteral("linkDialog"))->trigger(); }
  QString write(const QString& name, const QByteArray& content = {}) {
    const QString path = run.dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }
  // The next open-file request chooses these files.
  void chooseFiles(const QStringList& files, std::function<void(platform::FileDialogRequest&)> look = {}) {
    responder.answer([files, look](platform::Request& r) {
      EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
      auto* choice = static_cast<platform::FileDialogRequest*>(r.data);
      if (look) look(*choice);
      choice->chosen = files;
      return 1;
    });
  }
  QStringList targets(QDialog& form) {
    QStringList items;
    auto* box = control<QComboBox>(form, "cmbMaal");
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }
};

TEST_F(LinkDialog, ASelectedTextBecomesTheLinkTextAndANewTargetIsRemembered) {
  setPage("<P>|N\xE6ste|</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(form.windowTitle(), "Henvisning");
    EXPECT_EQ(field(form, "txtBeskriv"), "Næste");
    setField(form, "txtAdresse", "side.htm");
    control<QComboBox>(form, "cmbMaal")->setCurrentText("hoved");
  });
  openLinkDialog();
  EXPECT_EQ(page(), "<P><A HREF=\"side.htm\" TARGET=\"hoved\">N\xE6ste</A></P>");
  EXPECT_EQ(st::read(run.store(), st::bokse::Target), "hoved");

  setPage("|");
  confirmNextForm([this](QDialog& form) {
    EXPECT_EQ(targets(form), (QStringList{"hoved", "_blank", "_self", "_parent", "_top"}));
    EXPECT_EQ(control<QComboBox>(form, "cmbMaal")->currentText(), "");
  });
  openLinkDialog();
  // All fields empty.
  EXPECT_EQ(page(), "<A></A>");
}

TEST_F(LinkDialog, ASelectionOverSeveralLinesGoesIntoTheLinkAsItIs) {
  setPage("<P>|<IMG SRC=a.gif>\r\nBillede|</P>");
  confirmNextForm([](QDialog& form) {
    EXPECT_EQ(field(form, "txtBeskriv"), "(markeret tekst/objekt)");
    setField(form, "txtAdresse", "stor.htm");
  });
  openLinkDialog();
  EXPECT_EQ(page(), "<P><A HREF=\"stor.htm\"><IMG SRC=a.gif>\r\nBillede</A></P>");
}

TEST_F(LinkDialog, TheFramesOfEveryOpenPageAreTargets) {
  setPage("<frameset cols=\"*,*\">\r\n<frame name=top src=a.htm>\r\n<FRAME SRC=b.htm NAME=\"menu\">|");
  k().newDocument();
  setPage("|");
  cancelNextForm([this](QDialog& form) {
    EXPECT_EQ(targets(form), (QStringList{"menu", "top", "_blank", "_self", "_parent", "_top"}));
  });
  openLinkDialog();
  EXPECT_EQ(page(), "");
}

TEST_F(LinkDialog, ABrowsedPageGivesItsAddressFromThisPageAndItsNameAsText) {
  const QString here = write(QStringLiteral("site/index.htm"));
  const QString there = write(QStringLiteral("site/om/kontakt.htm"));
  ASSERT_TRUE(k().openFile(here));
  setPage("|");
  confirmNextForm([this, there](QDialog& form) {
    chooseFiles({there}, [](platform::FileDialogRequest& choice) {
      EXPECT_EQ(choice.title, "HTML-dokumenter");
      EXPECT_EQ(choice.filters.value(0).second, (QStringList{"*.htm*", "*.shtml", "*.phtml", "*.asp"}));
    });
    control<QPushButton>(form, "cmd1")->click();
    EXPECT_EQ(field(form, "txtAdresse"), "om/kontakt.htm");
  });
  openLinkDialog();
  EXPECT_EQ(page(), "<A HREF=\"om/kontakt.htm\">kontakt.htm</A>");
}

TEST_F(LinkDialog, PickingThreeFavouritesInsertsThreeLinksWithTheSameTarget) {
  QStringList files;
  for (const char* name : {"Avis", "Radio", "Vejret"}) {
    const QString url = QStringLiteral("http://www.%1.dk/").arg(QString::fromLatin1(name).toLower());
    files << write(QStringLiteral("home/Favorites/%1.url").arg(QLatin1String(name)),
                   "[InternetShortcut]\r\nURL=" + url.toLatin1() + "  \r\n");
  }
  setPage("<P>|</P>");
  confirmNextForm([this, files](QDialog& form) {
    chooseFiles(files, [this](platform::FileDialogRequest& choice) {
      EXPECT_EQ(choice.title, "Internet Stifinder Foretrukne");
      EXPECT_TRUE(choice.multiSelect);
      EXPECT_EQ(choice.folder, QDir(run.home()).filePath("Favorites"));
    });
    control<QPushButton>(form, "cmdMSIE")->click();
    EXPECT_EQ(field(form, "txtAdresse"), "http://www.avis.dk/");
    EXPECT_EQ(field(form, "txtBeskriv"), "Avis");
    control<QComboBox>(form, "cmbMaal")->setCurrentText("_blank");
  });
  openLinkDialog();
  EXPECT_EQ(page(),
            "<P><A HREF=\"http://www.avis.dk/\" TARGET=\"_blank\">Avis</A>\r\n"
            "<A HREF=\"http://www.radio.dk/\" TARGET=\"_blank\">Radio</A>\r\n"
            "<A HREF=\"http://www.vejret.dk/\" TARGET=\"_blank\">Vejret</A></P>");

  // Favourites picked in a dialog that was cancelled are not inserted later.
  setPage("|");
  cancelNextForm([this, files](QDialog& form) {
    chooseFiles(files);
    control<QPushButton>(form, "cmdMSIE")->click();
  });
  openLinkDialog();
  confirmNextForm([](QDialog& form) { setField(form, "txtAdresse", "a.htm"); });
  openLinkDialog();
  EXPECT_EQ(page(), "<A HREF=\"a.htm\"></A>");
}

TEST_F(LinkDialog, BookmarksNeedTheBrowserAndItsBookmarkFile) {
  const QString noBrowser =
      QStringLiteral("Netscape skal være installeret under \"Funktioner, Indstillinger, browser\".");
  const QString noBookmarks = QStringLiteral(
      "Morvel kan ikke finde Netscape Bookmarks. Kontroller at\n1) Netscape er installeret under \"Funktioner, "
      "Indstillinger, browser\".\n2) Filen \"bookmark.htm\" befinder sig i en af Netscapes mapper.");
  const QString program = write(QStringLiteral("Netscape/Program/netscape.exe"));
  setPage("|");
  cancelNextForm([&](QDialog& form) {
    responder.answer(IDOK);
    control<QPushButton>(form, "cmdNetscape")->click();
    EXPECT_EQ(responder.last().text, noBrowser);

    run.store().WriteString(st::kIndstillinger, st::browserPath(1), program.toStdString());
    run.store().WriteString(st::kIndstillinger, st::browserName(1), "Netscape");
    run.dialog().Load();
    responder.answer(IDOK);
    control<QPushButton>(form, "cmdNetscape")->click();
    EXPECT_EQ(responder.last().text, noBookmarks);
  });
  openLinkDialog();
}

// The link-picking window that comes next: its title and first page's
// caption are kept, the rows `rows` (by place) chosen and OK pressed.
ScriptedResponder::Handler pickRows(QList<int> rows, QString* title = nullptr, QString* heading = nullptr,
                                    QStringList* addresses = nullptr) {
  return [=](platform::Request& r) {
    auto* picker = dynamic_cast<TfrmEgenskaber*>(r.form);
    EXPECT_NE(picker, nullptr);
    if (!picker) return 0;
    if (title) *title = picker->windowTitle();
    if (heading) *heading = picker->PageControl1->tabText(0);
    EXPECT_EQ(picker->PageControl1->count(), 1) << "no transfer time or general facts in a picker";
    EXPECT_TRUE(picker->Knap[0]->isHidden());
    EXPECT_EQ(picker->cmdLuk->text(), "Annuller");
    for (int k = 0; k < picker->lwForbindelser->topLevelItemCount(); ++k) {
      if (addresses) *addresses << picker->lwForbindelser->topLevelItem(k)->text(0);
      picker->lwForbindelser->topLevelItem(k)->setSelected(rows.contains(k));
    }
    picker->cmdOK->click();
    return picker->result();
  };
}

TEST_F(LinkDialog, WebsiderPicksAddressesFromAPageInTheProjectsFolder) {
  const QString here = write(QStringLiteral("site/sider/index.htm"));
  const QString links = write(QStringLiteral("site/links.htm"),
                              "<TITLE>Gode links</TITLE><A HREF=\"http://a.dk/\">A</A>\r\n<A HREF=\"b.htm\">B</A>"
                              "<A HREF=\"http://c.dk/\">C</A>");
  write(QStringLiteral("projekt.mvp"),
        "Morvel-projekter\r\n P\r\n  - " + run.dir.filePath("site").toUtf8() + "/\r\n  sider/index.htm\r\n");
  k().loadProjectTree();
  ASSERT_TRUE(k().openFile(here));
  setPage("<P>|</P>");
  QString title;
  QString heading;
  QStringList offered;
  confirmNextForm([&](QDialog& form) {
    chooseFiles({links}, [this](platform::FileDialogRequest& choice) {
      EXPECT_EQ(choice.title, "HTML-dokumenter");
      EXPECT_EQ(QDir::cleanPath(choice.folder), run.dir.filePath("site"));
      EXPECT_EQ(choice.filters.size(), 1);
    });
    responder.answer(pickRows({0, 2}, &title, &heading, &offered));
    control<QPushButton>(form, "cmdHTML")->click();
    EXPECT_EQ(field(form, "txtAdresse"), "http://a.dk/");
    EXPECT_EQ(field(form, "txtBeskriv"), "A");
  });
  openLinkDialog();
  EXPECT_EQ(title, "Henvisninger i " + links);
  EXPECT_EQ(heading, "Gode links");
  EXPECT_EQ(offered, (QStringList{"http://a.dk/", "b.htm", "http://c.dk/"}));
  EXPECT_EQ(page(), "<P><A HREF=\"http://a.dk/\">A</A>\r\n<A HREF=\"http://c.dk/\">C</A></P>");
}

TEST_F(LinkDialog, MaalPicksATargetOfTheActivePage) {
  setPage("<TITLE>Lang side</TITLE><A NAME=\"top\">Top</A><P>...</P><a name=\"slut\">Slut</a>\r\n|");
  QString title;
  QString heading;
  confirmNextForm([&](QDialog& form) {
    responder.answer(pickRows({1}, &title, &heading));
    control<QPushButton>(form, "cmdInterne")->click();
    EXPECT_EQ(field(form, "txtAdresse"), "#slut");
    setField(form, "txtBeskriv", "Til slut");
  });
  openLinkDialog();
  EXPECT_EQ(title, "Interne mål i Nyt dokument 1");
  EXPECT_EQ(heading, "Lang side");
  EXPECT_TRUE(page().find("<A HREF=\"#slut\">Til slut</A>") != std::string::npos);

  // Cancelled: the address stays as it was.
  setPage("<A NAME=\"a\">|");
  confirmNextForm([&](QDialog& form) {
    setField(form, "txtAdresse", "egen.htm");
    responder.answer(int(QDialog::Rejected));
    control<QPushButton>(form, "cmdInterne")->click();
    EXPECT_EQ(field(form, "txtAdresse"), "egen.htm");
  });
  openLinkDialog();
}

TEST_F(LinkDialog, BookmarksAreListedInTheLinkPickingWindow) {
  const QString program = write(QStringLiteral("Netscape/Program/netscape.exe"));
  const QString bookmarks = write(QStringLiteral("Netscape/Users/anne/bookmark.htm"),
                                  "<DL><DT><A HREF=\"http://nyheder.dk/\" ADD_DATE=\"1\">Nyheder</A>\r\n"
                                  "<DT><A HREF=\"http://vejr.dk/\">Vejret</A></DL>");
  run.store().WriteString(st::kIndstillinger, st::browserPath(1), program.toStdString());
  run.store().WriteString(st::kIndstillinger, st::browserName(1), "Netscape");
  run.dialog().Load();
  setPage("|");
  QString title;
  confirmNextForm([&](QDialog& form) {
    responder.answer(pickRows({1}, &title));
    control<QPushButton>(form, "cmdNetscape")->click();
    EXPECT_EQ(field(form, "txtAdresse"), "http://vejr.dk/");
  });
  openLinkDialog();
  EXPECT_EQ(title, "Henvisninger i " + bookmarks);
  EXPECT_EQ(page(), "<A HREF=\"http://vejr.dk/\">Vejret</A>");
}

}  // namespace
