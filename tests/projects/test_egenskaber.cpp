// The properties window of a page, a picture and other files, its filters,
// copying, printing and sorting; where the main window and the project
// tree open it; the media files of a project's file list; and the project
// tree's hand-offs to publishing and the search.
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "mainwindow/kestrin.h"
#include "pdf_reader.h"
#include "picture_files.h"
#include "program_run.h"
#include "projects/egenskaber.h"
#include "projects/prj_filer.h"
#include "projects/project_tree.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;

class Egenskaber : public ::testing::Test {
 protected:
  Egenskaber() {
    run.environment.set("MORVEL_HOME", run.dir.path());
    site = run.dir.filePath(QStringLiteral("site"));
    QDir().mkpath(site);
    run.restart();
  }

  TKestrin& k() { return run.kestrin(); }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = QDir(site).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  static QStringList column(const QTreeWidget* list, int c) {
    QStringList texts;
    for (int k = 0; k < list->topLevelItemCount(); ++k) texts << list->topLevelItem(k)->text(c);
    return texts;
  }
  static QStringList tabs(const TfrmEgenskaber& form) {
    QStringList texts;
    for (int k = 0; k < form.PageControl1->count(); ++k) texts << form.PageControl1->tabText(k);
    return texts;
  }

  app_test::ProgramRun run;
  QString site;
};

const std::string kPage =
    "<HTML><HEAD><TITLE>Forsiden</TITLE></HEAD>\r\n"
    "<FRAMESET><FRAME SRC=\"menu.htm\" NAME=\"menu\"><FRAME SRC=\"http://x.dk/\" NAME=\"ude\"></FRAMESET>\r\n"
    "<BODY><A HREF=\"http://www.dr.dk/\">DR</A> <A HREF=\"om.htm\">Om os</A> <A HREF=\"#bund\">Bund</A>\r\n"
    "<A HREF=\"mailto:a@b.dk\">Skriv</A><IMG SRC=\"logo.gif\" ALT=\"Logo\"><EMBED SRC=\"lyd.wav\">\r\n"
    "<APPLET CODE=\"Ur.class\"></APPLET><OBJECT CLASSID=\"clsid:9\"></OBJECT></BODY></HTML>\r\n";

TEST_F(Egenskaber, APageShowsItsLinksAndTheFiltersPickTheirKind) {
  const QString page = write(QStringLiteral("Index.HTM"), kPage);
  TfrmEgenskaber form(k(), TfrmEgenskaber::Mode::Properties);
  form.showFile(page);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Egenskaber for ") + page);
  EXPECT_EQ(tabs(form), (QStringList{"Forbindelser", "Overførselstid", "Generelt"}));
  EXPECT_EQ(column(form.lwForbindelser, 0),
            (QStringList{"menu.htm", "http://x.dk/", "http://www.dr.dk/", "om.htm", "#bund", "mailto:a@b.dk",
                         "logo.gif", "lyd.wav", "Ur.class", "clsid:9"}));
  EXPECT_EQ(column(form.lwForbindelser, 1),
            (QStringList{"menu", "ude", "DR", "Om os", "Bund", "Skriv", "Logo", "", "", ""}));
  EXPECT_EQ(column(form.lwForbindelser, 2), (QStringList{"Ramme (l)", "Ramme (w)", "Web", "Lokal", "Intern", "E-mail",
                                                         "Grafik", "Embed", "Java", "ActiveX"}));
  EXPECT_EQ(form.lblTitel->text(), QStringLiteral("Forsiden"));
  EXPECT_EQ(form.lblOprettet->text(), QStringLiteral("-"));
  EXPECT_EQ(form.lblSidstAabnet->text(), QStringLiteral("-"));
  EXPECT_EQ(form.lblFilnavn->text(), QStringLiteral("Index.HTM"));
  EXPECT_EQ(form.lblAdresse->text(), site);

  form.Knap[4]->click();
  EXPECT_TRUE(form.lwForbindelser->isHidden());
  EXPECT_EQ(column(form.lwUddrag, 0), (QStringList{"menu.htm", "http://x.dk/"}));
  EXPECT_TRUE(form.popForbindelser->findChild<QAction*>(QStringLiteral("popFilter4"))->isChecked());
  form.popForbindelser->findChild<QAction*>(QStringLiteral("popFilter3"))->trigger();
  EXPECT_TRUE(form.Knap[3]->isChecked());
  EXPECT_EQ(column(form.lwUddrag, 0), QStringList{"#bund"});
  form.Knap[0]->click();
  EXPECT_FALSE(form.lwForbindelser->isHidden());
  EXPECT_TRUE(form.lwUddrag->isHidden());
}

TEST_F(Egenskaber, APageOfThreeKilobytesWithAPictureOfTwelveAndAHalf) {
  const std::string start = "<IMG SRC=\"billede.gif\">";
  const QString page = write(QStringLiteral("side.htm"), start + std::string(3072 - start.size(), ' '));
  write(QStringLiteral("billede.gif"), std::string(12800, 'g'));
  TfrmEgenskaber form(k(), TfrmEgenskaber::Mode::Properties);
  EXPECT_EQ(form.lblIAlt->text(), QStringLiteral("0,0 KB"));
  EXPECT_EQ(form.lblModem144->text(), QStringLiteral("0 sek."));
  form.showFile(page);
  EXPECT_EQ(column(form.lwTid, 0), QStringList{"billede.gif"});
  EXPECT_EQ(column(form.lwTid, 1), QStringList{"12,5 KB"});
  EXPECT_EQ(form.lblManuskript->text(), QStringLiteral("3,0 KB "));
  EXPECT_EQ(form.lblFiler->text(), QStringLiteral("12,5 KB "));
  EXPECT_EQ(form.lblIAlt->text(), QStringLiteral("15,5 KB "));
  EXPECT_EQ(form.lblModem144->text(), QStringLiteral("10 sek."));
  EXPECT_EQ(form.lblModem288->text(), QStringLiteral("5 sek."));
  EXPECT_EQ(form.lblISDN->text(), QStringLiteral("2 sek."));
  form.PageControl1->setCurrentWidget(form.TabSheet2);
  EXPECT_EQ(form.lwTid->columnWidth(1), form.logicalDpiX() >= 120 ? 78 : 60);
}

TEST_F(Egenskaber, TheAddressesAreCopiedAndPrintedSelectedOrAll) {
  const QString page = write(QStringLiteral("side.htm"), kPage);
  TfrmEgenskaber form(k(), TfrmEgenskaber::Mode::Properties);
  form.showFile(page);
  form.Knap[4]->click();
  EXPECT_EQ(form.addressLines(), QStringLiteral("menu.htm\r\nhttp://x.dk/"));
  form.copyAddresses();
  EXPECT_EQ(QGuiApplication::clipboard()->text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
            QStringLiteral("menu.htm\nhttp://x.dk/"));
  form.Knap[0]->click();
  form.lwForbindelser->topLevelItem(3)->setSelected(true);
  form.lwForbindelser->topLevelItem(6)->setSelected(true);
  EXPECT_EQ(form.addressLines(), QStringLiteral("om.htm\r\nlogo.gif"));

  const QString pdf = run.dir.filePath(QStringLiteral("adresser.pdf"));
  ScriptedResponder responder;
  responder.answer([pdf](platform::Request& r) {
    QPrinter* printer = static_cast<platform::PrintDialogRequest*>(r.data)->printer;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    return 1;
  });
  form.printAddresses();
  ASSERT_TRUE(QFile::exists(pdf));
  if (!testing_support::pdfToolsPresent()) GTEST_SKIP() << "pdftotext not installed: PDF contents not checked";
  const QString printed = testing_support::pdfPages(pdf).join(QString());
  EXPECT_TRUE(printed.contains(QStringLiteral("om.htm")));
  EXPECT_TRUE(printed.contains(QStringLiteral("logo.gif")));
  EXPECT_FALSE(printed.contains(QStringLiteral("Ur.class")));
}

TEST_F(Egenskaber, AColumnHeaderSortsByItsColumnAndTurnsTheOrder) {
  TfrmEgenskaber form(k(), TfrmEgenskaber::Mode::Properties);
  form.showFile(write(QStringLiteral("side.htm"), kPage));
  emit form.lwForbindelser->header()->sectionClicked(2);
  const QStringList types = column(form.lwForbindelser, 2);
  EXPECT_EQ(types.first(), QStringLiteral("ActiveX"));
  EXPECT_EQ(types.last(), QStringLiteral("Web"));
  emit form.lwForbindelser->header()->sectionClicked(2);
  EXPECT_EQ(column(form.lwForbindelser, 2).first(), QStringLiteral("Web"));
  emit form.lwForbindelser->header()->sectionClicked(0);
  EXPECT_EQ(column(form.lwForbindelser, 0).first(), QStringLiteral("#bund"));
}

TEST_F(Egenskaber, APictureIsShownWithItsDimensionsAndOtherFilesHaveTheirFactsOnly) {
  const QString picture = QDir(site).filePath(QStringLiteral("logo.gif"));
  ASSERT_TRUE(testing_support::writeGif(picture.toStdString(), 64, 9));
  TfrmEgenskaber form(k(), TfrmEgenskaber::Mode::Properties);
  form.showFile(picture);
  EXPECT_EQ(tabs(form), (QStringList{"Billedfremviser", "Generelt"}));
  EXPECT_EQ(form.lblTitelTekst->text(), QStringLiteral("Dimensioner:"));
  EXPECT_EQ(form.lblTitel->text(), QStringLiteral("64 x 9 (bredde x højde i pixels)"));
  EXPECT_EQ(form.imgBillede->pixmap().size(), QSize(64, 9));
  EXPECT_FALSE(form.srlBillede->isHidden());

  TfrmEgenskaber broken(k(), TfrmEgenskaber::Mode::Properties);
  broken.showFile(write(QStringLiteral("skadet.GIF"), "GIF89a"));
  EXPECT_EQ(broken.imgBillede->text(), QStringLiteral("Morvel kan ikke vise denne gif-fil"));

  TfrmEgenskaber other(k(), TfrmEgenskaber::Mode::Properties);
  other.showFile(write(QStringLiteral("pakke.zip"), std::string(1234, 'z')));
  EXPECT_EQ(tabs(other), QStringList{"Generelt"});
  EXPECT_EQ(other.lblStoerrelse->text(), QStringLiteral("1,2 KB (1.234 bytes)"));

  TfrmEgenskaber missing(k(), TfrmEgenskaber::Mode::Properties);
  missing.showFile(QDir(site).filePath(QStringLiteral("mangler.htm")));
  EXPECT_EQ(missing.lwForbindelser->topLevelItemCount(), 0);
  EXPECT_EQ(missing.lblIAlt->text(), QStringLiteral("0,0 KB "));
}

// The properties window opened next: its title, then closed.
ScriptedResponder::Handler seeProperties(QString* title) {
  return [title](platform::Request& r) {
    EXPECT_NE(dynamic_cast<TfrmEgenskaber*>(r.form), nullptr);
    if (r.form) *title = r.form->windowTitle();
    return int(QDialog::Rejected);
  };
}

TEST_F(Egenskaber, TheMainMenuTheTabsAndTheProjectTreeOpenThePropertiesOfTheirFile) {
  const QString page = write(QStringLiteral("index.htm"), kPage);
  QMenu* file = k().findChild<QMenu*>(QStringLiteral("fileMenu"));
  emit file->aboutToShow();
  EXPECT_FALSE(k().command(QStringLiteral("properties"))->isEnabled()) << "a page without a file has none";
  ASSERT_TRUE(k().openFile(page));
  emit file->aboutToShow();
  emit k().popUmarkTekst()->aboutToShow();
  ASSERT_TRUE(k().command(QStringLiteral("properties"))->isEnabled());
  ASSERT_TRUE(k().command(QStringLiteral("documentProperties"))->isEnabled());
  ScriptedResponder responder;
  QString title;
  responder.answer(seeProperties(&title));
  k().command(QStringLiteral("properties"))->trigger();
  EXPECT_EQ(title, QStringLiteral("Egenskaber for ") + page);

  std::ofstream(run.dir.filePath(QStringLiteral("projekt.mvp")).toStdString(), std::ios::binary)
      << "Morvel-projekter\r\n P\r\n  - " << site.toStdString() << "/\r\n  index.htm\r\n";
  k().loadProjectTree();
  QTreeWidgetItem* document = k().projects().projectNodes().at(0)->child(1);
  k().projects().tree()->setCurrentItem(document);
  title.clear();
  responder.answer(seeProperties(&title));
  k().projects().popProjekt()->findChild<QAction*>(QStringLiteral("popEgenskaber"))->trigger();
  EXPECT_EQ(title, QStringLiteral("Egenskaber for ") + page);
  // The page belongs to the project: its pages are in the project's folder.
  EXPECT_EQ(QDir::cleanPath(k().pagesFolder()), site);
}

TEST_F(Egenskaber, PublishingAndTheSearchGoWhereTheMainWindowSendsThem) {
  write(QStringLiteral("index.htm"), "x");
  std::ofstream(run.dir.filePath(QStringLiteral("projekt.mvp")).toStdString(), std::ios::binary)
      << "Morvel-projekter\r\n P\r\n  - " << site.toStdString() << "/\r\n  index.htm\r\n";
  k().loadProjectTree();
  ProjectTree& projects = k().projects();
  auto item = [&](const char* name) { return projects.popProjekt()->findChild<QAction*>(QString::fromLatin1(name)); };
  QToolBar* buttons = projects.tree()->parentWidget()->findChild<QToolBar*>(QStringLiteral("projectButtons"));
  QAction* send = buttons->findChild<QAction*>(QStringLiteral("btnFtp"));
  projects.tree()->setCurrentItem(projects.projectNodes().at(0));
  projects.menuOpening();
  // The main window's publishing window takes the files; the search is greyed.
  EXPECT_TRUE(item("popOpdaterProjekt")->isEnabled());
  EXPECT_TRUE(send->isEnabled());
  for (const char* name : {"popFindIProjekt", "popErstatIProjekt"}) EXPECT_FALSE(item(name)->isEnabled()) << name;

  QStringList sent;
  QString searched;
  projects.publishFiles = [&sent](const QStringList& files, const QString&) { sent = files; };
  projects.searchInProject = [&searched](const QString& project, bool) { searched = project; };
  projects.tree()->setCurrentItem(projects.projectNodes().at(0)->child(1));
  projects.menuOpening();
  EXPECT_TRUE(item("popPrjDokTilWWW")->isEnabled());
  EXPECT_TRUE(send->isEnabled());
  send->trigger();
  EXPECT_EQ(sent, QStringList{QDir(site).filePath(QStringLiteral("index.htm"))});
  projects.tree()->setCurrentItem(projects.projectNodes().at(0));
  projects.menuOpening();
  EXPECT_TRUE(item("popFindIProjekt")->isEnabled());
  item("popFindIProjekt")->trigger();
  EXPECT_EQ(searched, QStringLiteral("P"));
}

TEST_F(Egenskaber, AProjectsFileListHoldsTheFilesItsPagesBringAlong) {
  write(QStringLiteral("index.htm"),
        "<TITLE>Forside</TITLE><IMG SRC=\"img/a.gif\" ALT=\"A\"><A HREF=\"hent.zip\">Hent</A>"
        "<A HREF=\"http://x.dk/y.zip\">Ude</A><IMG SRC=\"IMG/A.GIF\"><A HREF=\"om.htm\">Om</A>");
  write(QStringLiteral("sider/galleri.htm"), "<IMG SRC=\"../img/b.gif\"><BODY BACKGROUND=\"baggrund.jpg\">");
  write(QStringLiteral("img/a.gif"), std::string(2048, 'a'));
  write(QStringLiteral("img/b.gif"), "b");
  write(QStringLiteral("hent.zip"), "z");
  TfrmPrjFiler list(k());
  list.prepare(TfrmPrjFiler::Mode::Publish, QStringLiteral("P"), site + QLatin1Char('/'),
               {QStringLiteral("index.htm"), QStringLiteral("sider/galleri.htm")}, {});
  EXPECT_EQ(column(list.lwPrjFiler, 0), (QStringList{"index.htm", "hent.zip", "img/a.gif", "sider/galleri.htm",
                                                     "img/b.gif", "sider/baggrund.jpg"}));
  EXPECT_EQ(column(list.lwPrjFiler, 1), (QStringList{"Forside", "Hent", "A", "", "", ""}));
  EXPECT_EQ(column(list.lwPrjFiler, 2), (QStringList{"0,1 KB", "0,1 KB", "2,0 KB", "0,1 KB", "0,1 KB", ""}));
  EXPECT_EQ(column(list.lwPrjFiler, 3), (QStringList{"HTML", "Lokal", "Grafik", "HTML", "Grafik", "Grafik"}));
  // The missing background is not offered for publishing.
  EXPECT_EQ(list.checkedCaptions(),
            (QStringList{"index.htm", "hent.zip", "img/a.gif", "sider/galleri.htm", "img/b.gif"}));
}

}  // namespace
