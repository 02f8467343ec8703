// Publishing from the main window: a project of three documents sent
// through the publishing window to a real FTP server, then only what
// changed; the main window's other roads to the window.
#include "../app/program_run.h"
#include "controls/status_bar.h"
#include "ftp_fixture.h"
#include "ftp_list.h"
#include "ftp_window.h"
#include "mainwindow/file_panes.h"
#include "projects/archive_flag.h"
#include "projects/prj_filer.h"
#include "projects/project_tree.h"
#include "publish/publishing.h"
#include "scripted_responder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

using testing_support::ScriptedResponder;

namespace {

class PublishingTest : public FtpServerTest {
 protected:
  void SetUp() override {
    FtpServerTest::SetUp();
    run_ = std::make_unique<app_test::ProgramRun>();
    run_->environment.set("MORVEL_HOME", run_->dir.path());
    run_->restart();
    site_ = run_->dir.filePath("site/");
    QDir().mkpath(site_ + "sider");
  }
  void TearDown() override {
    run_.reset();
    FtpServerTest::TearDown();
  }

  TKestrin& k() { return run_->kestrin(); }
  ProjectTree& projects() { return k().projects(); }
  TfrmFtp* w() { return k().publishing().window(); }
  bool waitUntilIdle() {
    return runUntil([&] { return w() && !w()->busy(); });
  }
  QTreeWidgetItem* project() { return projects().topNode()->child(0); }
  bool marked(const QTreeWidgetItem* node) { return node->font(0).bold(); }
  // The project's documents the tree shows as changed since publishing.
  QStringList changedDocuments() {
    QStringList names;
    for (QTreeWidgetItem* d : ProjectTree::documentNodes(project()))
      if (marked(d)) names << d->text(0);
    return names;
  }
  // "Opdater projekt på Internet...": the project's file list says how many
  // files it checked, and OK goes on; `then` answers what follows.
  void publishProject(ScriptedResponder& responder, const QString& expectedStatus, std::optional<int> then = {}) {
    projects().tree()->setCurrentItem(project());
    responder.answer([expectedStatus](platform::Request& r) {
      auto* files = dynamic_cast<TfrmPrjFiler*>(r.form);
      EXPECT_NE(files, nullptr);
      if (files) {
        EXPECT_EQ(files->StatusBar1->PanelText(1), expectedStatus);
      }
      return int(QDialog::Accepted);
    });
    if (then) responder.answer(*then);
    projects().tree()->findChild<QAction*>("popOpdaterProjekt")->trigger();
  }

  std::unique_ptr<app_test::ProgramRun> run_;
  QString site_;
};

TEST_F(PublishingTest, AProjectIsPublishedAndThenOnlyWhatChanged) {
  const QStringList documents{"index.htm", "om.htm", "sider/kontakt.htm"};
  for (const QString& d : documents) writeFile(site_ + d, testBytes(40000 + d.size(), d.size()));
  std::ofstream(run_->dir.filePath("projekt.mvp").toStdString(), std::ios::binary)
      << "Morvel-projekter\r\n Hjemmeside\r\n  - " << site_.toStdString()
      << "\r\n  index.htm\r\n  om.htm\r\n  sider/kontakt.htm\r\n";
  k().loadProjectTree();
  run_->changeSettings([](morvel::Settings& s) { s.useArchiveFlag = true; });
  ASSERT_EQ(changedDocuments(), documents);
  ASSERT_TRUE(marked(project()));

  // No connection carries the project's name yet: the user is told to make
  // one, and the properties panel is open for it.
  ScriptedResponder responder;
  publishProject(responder, "3 fil(er) markeret til overførsel", IDOK);
  ASSERT_NE(w(), nullptr);
  EXPECT_TRUE(w()->isVisible());
  EXPECT_TRUE(responder.last().text.startsWith(
      "Du har endnu ikke oprettet en forbindelse, der skal gælde ved overførsel af projektet \"Hjemmeside\"."));
  EXPECT_FALSE(w()->panEgenskaber->isHidden());
  EXPECT_EQ(w()->StatusBar1->PanelText(2), "3 fil(er) markeret til overførsel");
  w()->txtServer->setText(QStringLiteral("127.0.0.1:%1").arg(port_));
  w()->chkSikker->setChecked(false);  // the test server speaks plain FTP
  w()->txtBruger->setText(kUser);
  w()->txtKode->setText(kPassword);
  QString proposed;
  responder.answer([&proposed](platform::Request& r) {
    auto* box = qobject_cast<QInputDialog*>(r.form);
    EXPECT_NE(box, nullptr);
    if (box) proposed = box->textValue();
    return int(QDialog::Accepted);
  });
  w()->command("btnGem")->trigger();
  EXPECT_EQ(proposed, "Hjemmeside");
  EXPECT_EQ(w()->cmbForbindelse->currentText(), "Hjemmeside");

  w()->command("btnTilslut")->trigger();
  ASSERT_TRUE(runUntil([&] { return w()->connected() && !w()->busy(); }));
  ASSERT_TRUE(w()->command("btnStart")->isEnabled());
  w()->command("btnStart")->trigger();
  ASSERT_TRUE(waitUntilIdle());
  for (const QString& d : documents) EXPECT_EQ(readFile(serverPath(d)), readFile(site_ + d)) << d.toStdString();
  EXPECT_TRUE(changedDocuments().isEmpty());
  EXPECT_FALSE(marked(project()));
  QStringList listed;
  for (const auto& row : w()->lwFTP->rows()) listed << row.name;
  EXPECT_EQ(listed, (QStringList{"sider", "index.htm", "om.htm"}));

  // One document changes; the server's copy of another is changed too, so
  // that a second sending of it would show.
  writeFile(serverPath("index.htm"), "serverens egen");
  writeFile(site_ + "om.htm", "ny tekst om os");
  std::filesystem::last_write_time((site_ + "om.htm").toStdString(),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::seconds(2));
  projects().refresh();
  ASSERT_EQ(changedDocuments(), QStringList{"om.htm"});
  publishProject(responder, "1 fil(er) markeret til overførsel", IDOK);
  EXPECT_TRUE(responder.last().text.startsWith("Da forbindelsen til serveren allerede er etableret"));
  w()->command("btnStart")->trigger();
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(readFile(serverPath("om.htm")), "ny tekst om os");
  EXPECT_EQ(readFile(serverPath("index.htm")), "serverens egen");
  EXPECT_EQ(readFile(serverPath("sider/kontakt.htm")), readFile(site_ + "sider/kontakt.htm"));
  EXPECT_TRUE(changedDocuments().isEmpty());

  // Next time the connection named as the project is chosen by itself.
  ASSERT_TRUE(w()->close());
  ASSERT_TRUE(runUntilDeleted([&] { return w() == nullptr; }));
  writeFile(site_ + "index.htm", "ændret");
  std::filesystem::last_write_time((site_ + "index.htm").toStdString(),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::seconds(4));
  projects().refresh();
  publishProject(responder, "1 fil(er) markeret til overførsel");
  ASSERT_NE(w(), nullptr);
  EXPECT_EQ(w()->cmbForbindelse->currentText(), "Hjemmeside");
  EXPECT_EQ(w()->txtServer->text(), QStringLiteral("127.0.0.1:%1").arg(port_));
  EXPECT_TRUE(w()->panEgenskaber->isHidden());
}

TEST_F(PublishingTest, TheMainWindowsCommandsOpenTheWindowWithTheirMarks) {
  for (const char* name : {"mnuWWW", "popTilWWW", "publishButton"})
    EXPECT_TRUE(k().command(QString::fromLatin1(name))->isEnabled()) << name;
  k().command("mnuWWW")->trigger();
  ASSERT_NE(w(), nullptr);
  TfrmFtp* first = w();
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->parentWidget(), &k());
  k().command("publishButton")->trigger();
  EXPECT_EQ(w(), first);  // at most one

  // A new document has no file to send.
  ScriptedResponder responder;
  responder.answer(IDOK);
  k().command("popTilWWW")->trigger();
  EXPECT_EQ(responder.last().text, "Gem dokumentet, før du overfører det til Internet.");
  EXPECT_FALSE(w()->hasMarks());

  const QString page = site_ + "forside.htm";
  writeFile(page, "<HTML></HTML>");
  ASSERT_TRUE(k().openFile(page));
  k().command("popTilWWW")->trigger();
  EXPECT_TRUE(w()->hasMarks());
  EXPECT_EQ(w()->StatusBar1->PanelText(2), "forside.htm  markeret til overførsel til ftp-server");

  // The file panes hand over their selected files.
  k().publishFiles({site_ + "a.htm", site_ + "b.htm"});
  EXPECT_EQ(w()->StatusBar1->PanelText(2), "2  fil(er) markeret til overførsel til ftp-server");

  // One document of a project keeps its place below the project's root.
  std::ofstream(run_->dir.filePath("projekt.mvp").toStdString(), std::ios::binary)
      << "Morvel-projekter\r\n Hjemmeside\r\n  - " << site_.toStdString() << "\r\n  sider/kontakt.htm\r\n";
  writeFile(site_ + "sider/kontakt.htm", "kontakt");
  k().loadProjectTree();
  projects().tree()->setCurrentItem(ProjectTree::documentNodes(project()).first());
  projects().tree()->findChild<QAction*>("popPrjDokTilWWW")->trigger();
  EXPECT_EQ(w()->StatusBar1->PanelText(2), "sider/kontakt.htm  markeret til overførsel til ftp-server");

  // Connected, "Start overførsel" sends it to the same place on the server.
  w()->txtServer->setText(QStringLiteral("127.0.0.1:%1").arg(port_));
  w()->chkSikker->setChecked(false);  // the test server speaks plain FTP
  w()->txtBruger->setText(kUser);
  w()->txtKode->setText(kPassword);
  w()->command("mnuTilslut")->trigger();
  ASSERT_TRUE(runUntil([&] { return w()->connected() && !w()->busy(); }));
  w()->command("mnuStart")->trigger();
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(readFile(serverPath("sider/kontakt.htm")), "kontakt");

  // Closing the main window closes the publishing window with it.
  k().close();
  EXPECT_TRUE(runUntilDeleted([&] { return w() == nullptr; }));
}

}  // namespace
