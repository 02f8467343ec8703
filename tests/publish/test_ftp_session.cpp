// The publishing window's work with a real FTP server, without the window:
// what the user would see in the status panel, the list and the progress
// window, and what ends up on the server and on the disk.
#include "ftp_session.h"
#include "scripted_server.h"

#include "projects/archive_flag.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <memory>

using namespace morvel;
using namespace morvel::ftp;

namespace {

// Everything the session tells the window.
struct Shown {
  QStringList statuses;
  QStringList captions;
  std::vector<FtpErrorMessage> errors;
  std::vector<bool> progressWindow;  // opened (true) and closed (false)
  int progressReports = 0;
  int beeps = 0;
  QStringList published;
  std::vector<bool> connected;
};

void show(FtpSession& session, Shown& shown) {
  session.OnStatus = [&shown](const QString& text) { shown.statuses << text; };
  session.OnProgressCaption = [&shown](const QString& caption) { shown.captions << caption; };
  session.OnError = [&shown](const FtpErrorMessage& m) { shown.errors.push_back(m); };
  session.OnProgressWindow = [&shown](bool open) { shown.progressWindow.push_back(open); };
  session.OnProgress = [&shown](const ProgressTexts&) { ++shown.progressReports; };
  session.OnBeep = [&shown] { ++shown.beeps; };
  session.OnPublished = [&shown](const QStringList& files) { shown.published += files; };
  session.OnConnected = [&shown](bool on) { shown.connected.push_back(on); };
}

std::vector<FtpListRow> rowsNamed(const FtpSession& session, const QStringList& wanted) {
  std::vector<FtpListRow> rows;
  for (const FtpListRow& row : session.rows())
    if (wanted.contains(row.name)) rows.push_back(row);
  return rows;
}

// A connection to the server on loopback as the connections stored before
// FTPS read: plain FTP, active mode, the password asked for.
FtpConnection plainSite(const QString& user, const QString& startFolder = {}) {
  FtpConnection c;
  c.server = "127.0.0.1";
  c.startFolder = startFolder;
  c.user = user;
  c.savePassword = false;
  c.secure = false;
  c.passive = false;
  return c;
}

// The statuses but the running count of a listing's bytes.
QStringList steps(const QStringList& statuses) {
  QStringList kept;
  for (const QString& s : statuses)
    if (!s.startsWith("Opdaterer filoversigt: ")) kept << s;
  return kept;
}

QStringList rowNames(const FtpSession& session) {
  QStringList names;
  for (const FtpListRow& row : session.rows()) names << row.name;
  return names;
}

// Files below a folder, as relative paths, folders with a "/" at the end.
QStringList tree(const QString& root) {
  QStringList found;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root.toStdString())) {
    const QString relative = QDir(root).relativeFilePath(QString::fromStdString(e.path().string()));
    found << (e.is_directory() ? relative + '/' : relative);
  }
  found.sort();
  return found;
}

class Session : public FtpServerTest {
 protected:
  void SetUp() override {
    FtpServerTest::SetUp();
    session_ = std::make_unique<FtpSession>(ftp_);
    ftp_.setFtpPort(port_);
    show(*session_, shown_);
  }

  bool waitUntilIdle() {
    return runUntil([&] { return !session_->busy(); });
  }
  void connect(const QString& startFolder = {}) {
    session_->connect(plainSite(kUser, startFolder), kPassword);
    ASSERT_TRUE(waitUntilIdle());
    ASSERT_TRUE(session_->connected());
  }

  std::unique_ptr<FtpSession> session_;
  Shown shown_;
};

}  // namespace

TEST_F(Session, ConnectingListsTheStartFolder) {
  QDir(serverRoot_.path()).mkpath("public_html/grafik");
  writeFile(serverPath("public_html/index.htm"), QByteArray(3000, 'x'));
  writeFile(serverPath("public_html/logo.gif"), "GIF89a");
  connect("public_html");
  EXPECT_EQ(shown_.connected, std::vector<bool>{true});
  EXPECT_TRUE(shown_.statuses.contains("Forbundet til 127.0.0.1"));
  EXPECT_TRUE(shown_.statuses.contains("Logget ind"));
  EXPECT_TRUE(shown_.statuses.contains("Opdaterer filoversigt..."));
  EXPECT_EQ(shown_.statuses.last(), "Klar");
  EXPECT_EQ(session_->currentFolder(), "/public_html");
  EXPECT_EQ(rowNames(*session_), (QStringList{"grafik", "index.htm", "logo.gif"}));
  EXPECT_EQ(session_->rows()[1].size, "2 KB");
  EXPECT_EQ(session_->rows()[1].type, "HTML-dokument");
  EXPECT_EQ(session_->rows()[2].type, "Grafikfil");
  EXPECT_EQ(session_->folderItems(), (QStringList{"127.0.0.1", "public_html"}));

  session_->changeDir("grafik");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(session_->currentFolder(), "/public_html/grafik");
  EXPECT_EQ(session_->folderItems(), (QStringList{"127.0.0.1", "public_html", "grafik"}));
  EXPECT_TRUE(session_->rows().empty());
  session_->changeDir(folderOfItem(session_->folderItems(), 0));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(session_->currentFolder(), "/");
  EXPECT_EQ(rowNames(*session_), QStringList{"public_html"});

  // While one command runs, another is not started.
  session_->changeDir("public_html");
  session_->makeDir("ny");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_FALSE(QFileInfo::exists(serverPath("ny")));
  EXPECT_EQ(session_->currentFolder(), "/public_html");

  session_->disconnect();
  ASSERT_TRUE(runUntil([&] { return !session_->connected() && shown_.connected.back() == false; }));
  EXPECT_EQ(shown_.statuses.last(), "Klar");
  EXPECT_TRUE(shown_.statuses.contains("Forbindelsen afbrudt"));
  EXPECT_TRUE(shown_.errors.empty());
}

TEST_F(Session, FoldersAreMadeAndFilesRenamedWithTheListingFetchedAfter) {
  writeFile(serverPath("side.htm"), "x");
  connect();
  session_->makeDir("ny mappe");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(shown_.statuses.contains("Opretter mappe ny mappe"));
  EXPECT_EQ(rowNames(*session_), (QStringList{"ny mappe", "side.htm"}));

  shown_.statuses.clear();
  session_->rename("side.htm", "forside.htm");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(shown_.statuses.first(), "Omdøber fil");
  EXPECT_EQ(rowNames(*session_), (QStringList{"ny mappe", "forside.htm"}));

  // A refused command is listed again too, and the list stays true.
  shown_.statuses.clear();
  session_->rename("findes-ikke.htm", "b.htm");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(steps(shown_.statuses), (QStringList{"Omdøber fil", "Opdaterer filoversigt...", "Klar"}));
  EXPECT_EQ(rowNames(*session_), (QStringList{"ny mappe", "forside.htm"}));
  EXPECT_TRUE(session_->connected());
}

TEST_F(Session, TheDeleteChainRemovesTheFilesThenTheFolders) {
  QDir root(serverRoot_.path());
  root.mkdir("gammel");
  root.mkdir("tom");
  for (const char* name : {"a.htm", "b.gif", "c.htm"}) writeFile(serverPath(name), name);
  connect();
  const Deletions d =
      chooseDeletions(session_->currentFolder(), rowsNamed(*session_, {"a.htm", "b.gif", "gammel", "tom"}),
                      [](const QString&, const QString&) { return true; });
  shown_.statuses.clear();
  session_->remove(d);
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(steps(shown_.statuses), (QStringList{"Sletter /a.htm", "Sletter /b.gif", "Sletter mappen /gammel",
                                                 "Sletter mappen /tom", "Opdaterer filoversigt...", "Klar"}));
  EXPECT_EQ(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"c.htm"});
  EXPECT_EQ(rowNames(*session_), QStringList{"c.htm"});
}

TEST_F(Session, PublishingAProjectSendsOnlyWhatChanged) {
  QDir(serverRoot_.path()).mkdir("sider");
  QTemporaryDir project;
  QDir(project.path()).mkdir("sider");
  const QStringList documents{"index.htm", "om.htm", "sider/kontakt.htm"};
  for (const QString& d : documents) writeFile(project.filePath(d), testBytes(5000 + d.size(), d.size()));
  const auto changed = [&] {
    QStringList marks;
    for (const QString& d : documents)
      if (hasArchiveFlag(project.filePath(d).toStdString())) marks << d;
    return marks;
  };
  ASSERT_EQ(changed(), documents);
  connect();
  session_->setClearArchiveFlags(true);
  session_->upload(uploadQueue(session_->currentFolder(), {changed(), project.path()}));
  ASSERT_TRUE(waitUntilIdle());
  for (const QString& d : documents)
    EXPECT_EQ(readFile(serverPath(d)), readFile(project.filePath(d))) << d.toStdString();
  EXPECT_TRUE(changed().isEmpty());
  EXPECT_EQ(shown_.published.size(), 3);
  EXPECT_EQ(shown_.progressWindow, (std::vector<bool>{true, false}));
  EXPECT_EQ(shown_.beeps, 1);
  EXPECT_GE(shown_.progressReports, 3);
  EXPECT_TRUE(shown_.captions.contains("Sender index.htm (5009 bytes)"));
  EXPECT_TRUE(shown_.statuses.contains("Starter overførsel af kontakt.htm"));
  EXPECT_EQ(shown_.statuses.last(), "Klar");
  EXPECT_EQ(rowNames(*session_), (QStringList{"sider", "index.htm", "om.htm"}));

  // One document changes: only it is sent again.
  writeFile(serverPath("index.htm"), "serverens egen");
  writeFile(project.filePath("om.htm"), "ny tekst om os");
  std::filesystem::last_write_time(project.filePath("om.htm").toStdString(),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::seconds(2));
  ASSERT_EQ(changed(), QStringList{"om.htm"});
  shown_ = Shown();
  show(*session_, shown_);
  session_->upload(uploadQueue(session_->currentFolder(), {changed(), project.path()}));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(readFile(serverPath("om.htm")), "ny tekst om os");
  EXPECT_EQ(readFile(serverPath("index.htm")), "serverens egen");
  EXPECT_EQ(shown_.published, QStringList{project.filePath("om.htm")});
  EXPECT_TRUE(changed().isEmpty());

  // A file the server refuses stays marked as changed, and the batch says so.
  QDir(project.path()).mkdir("nyt");
  writeFile(project.filePath("nyt/side.htm"), "ny side");
  shown_ = Shown();
  show(*session_, shown_);
  session_->upload(uploadQueue(session_->currentFolder(), {{"nyt/side.htm", "om.htm"}, project.path()}));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(hasArchiveFlag(project.filePath("nyt/side.htm").toStdString()));
  EXPECT_EQ(shown_.published, QStringList{project.filePath("om.htm")});
  EXPECT_EQ(shown_.statuses.last(), "Ikke overført: side.htm");
  EXPECT_TRUE(session_->connected());
}

TEST_F(Session, StoppingEndsTheWholeBatch) {
  const QByteArray big = testBytes(8 * 1024 * 1024, 3);
  writeFile(localPath("en.bin"), big);
  writeFile(localPath("to.bin"), big);
  connect();
  session_->OnProgress = [&](const ProgressTexts&) { session_->stop(); };
  session_->upload(uploadQueue("/", {{localPath("en.bin"), localPath("to.bin")}, {}}));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_FALSE(QFileInfo::exists(serverPath("to.bin")));
  EXPECT_TRUE(shown_.published.isEmpty());
  EXPECT_EQ(shown_.progressWindow, (std::vector<bool>{true, false}));
  EXPECT_EQ(shown_.statuses.last(), "Klar");
  EXPECT_TRUE(session_->connected());
  EXPECT_TRUE(shown_.errors.empty());

  // Disconnecting in the middle of a batch stops it and says goodbye.
  session_->OnProgress = [&](const ProgressTexts&) { session_->disconnect(); };
  session_->upload(uploadQueue("/", {{localPath("en.bin"), localPath("to.bin")}, {}}));
  ASSERT_TRUE(runUntil([&] { return !session_->connected() && !session_->busy(); }));
  EXPECT_FALSE(QFileInfo::exists(serverPath("to.bin")));
  EXPECT_TRUE(shown_.errors.empty());
}

TEST_F(Session, DownloadingFoldersRecreatesTheTree) {
  QDir(serverRoot_.path()).mkpath("site/grafik/ikoner");
  QDir(serverRoot_.path()).mkpath("site/tom");
  writeFile(serverPath("site/index.htm"), testBytes(7000, 1));
  writeFile(serverPath("site/grafik/logo.gif"), testBytes(3000, 2));
  writeFile(serverPath("site/grafik/ikoner/pil.gif"), testBytes(100, 3));
  writeFile(serverPath("læs mig.txt"), "hej");
  writeFile(serverPath("andet.htm"), "ikke valgt");
  connect();
  const QString target = localPath("hentet");
  session_->download(rowsNamed(*session_, {"site", "læs mig.txt"}), target);
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(tree(target),
            (QStringList{"læs mig.txt", "site/", "site/grafik/", "site/grafik/ikoner/", "site/grafik/ikoner/pil.gif",
                         "site/grafik/logo.gif", "site/index.htm", "site/tom/"}));
  for (const char* file : {"site/index.htm", "site/grafik/logo.gif", "site/grafik/ikoner/pil.gif", "læs mig.txt"})
    EXPECT_EQ(readFile(QDir(target).filePath(file)), readFile(serverPath(file))) << file;
  EXPECT_EQ(shown_.progressWindow, (std::vector<bool>{true, false}));
  EXPECT_EQ(shown_.beeps, 1);
  EXPECT_TRUE(shown_.captions.contains("Modtager pil.gif (100 bytes)"));
  EXPECT_EQ(shown_.statuses.last(), "Klar");
}

TEST_F(Session, ErrorsTheUserIsShown) {
  writeFile(localPath("findes.htm"), "x");
  connect();
  // A local file that is gone: a line in the status panel, and the batch
  // ends saying what was left.
  session_->upload(uploadQueue("/", {{localPath("væk.htm"), localPath("findes.htm")}, {}}));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(shown_.statuses.contains("Fejl under åbning af " + localPath("væk.htm")));
  EXPECT_EQ(shown_.statuses.last(), "Ikke overført: væk.htm");
  EXPECT_TRUE(QFileInfo::exists(serverPath("findes.htm")));
  EXPECT_TRUE(shown_.errors.empty());
  session_->disconnect();
  ASSERT_TRUE(runUntil([&] { return !session_->connected(); }));

  // A wrong password: a message box, and the window is ready again.
  shown_ = Shown();
  show(*session_, shown_);
  session_->connect(plainSite(kUser), "forkert");
  ASSERT_TRUE(runUntil([&] { return !shown_.connected.empty() && !session_->busy(); }));
  ASSERT_EQ(shown_.errors.size(), 1u);
  EXPECT_EQ(shown_.errors[0].title, "Adgang nægtet");
  EXPECT_EQ(shown_.errors[0].text, "Adgang nægtet. Tjek dit brugernavn og kodeord.");
  EXPECT_FALSE(session_->connected());
  EXPECT_EQ(shown_.statuses.last(), "Klar");

  // Nobody at the port.
  server_.kill();
  server_.waitForFinished();
  shown_ = Shown();
  show(*session_, shown_);
  session_->connect(plainSite(kUser), kPassword);
  ASSERT_TRUE(waitUntilIdle());
  ASSERT_EQ(shown_.errors.size(), 1u);
  EXPECT_EQ(shown_.errors[0].title, "Forbindelse afvist");
  EXPECT_EQ(shown_.connected, std::vector<bool>{false});
}

// A listing whose names would lead out of the chosen folder, with a link
// back to the folder itself.
TEST(SessionAgainstAHostileServer, ListedNamesNeverLeaveTheChosenFolder) {
  ScriptedServer server("220 Ready\r\n");
  QString folder = "/";
  server.answer = [&folder](const QString& c) -> QByteArray {
    if (c.startsWith("CWD ")) {
      folder = c.mid(4);
      return "250 OK\r\n";
    }
    if (c.startsWith("PWD")) return "257 \"" + folder.toUtf8() + "\" is current\r\n";
    if (c.startsWith("LIST") || c.startsWith("RETR")) return "150 Here it comes\r\n";
    return usual(c);
  };
  TStarFtp ftp;
  FtpSession session(ftp);
  Shown shown;
  show(session, shown);
  ftp.setFtpPort(server.port());
  session.connect(plainSite("u"), "p");
  // Each listing and each file goes over a data connection of its own.
  int served = 0;
  const auto serve = [&](const QByteArray& bytes) {
    if (!runUntil([&] {
          return server.commands.size() > served && (server.lastCommandIs("LIST") || server.lastCommandStarts("RETR"));
        }))
      return false;
    served = static_cast<int>(server.commands.size());
    QTcpSocket& data = server.connectData();
    data.write(bytes);
    server.closeData();
    server.reply("226 Done\r\n");
    return true;
  };
  ASSERT_TRUE(serve("drwxr-xr-x 2 u g 512 Jan 1 2003 mappe\r\n"));
  ASSERT_TRUE(runUntil([&] { return !session.busy(); }));

  QTemporaryDir local;
  const QString target = local.filePath("hent");
  session.download(rowsNamed(session, {"mappe"}), target);
  const QByteArray nul("-rw-r--r-- 1 u g 4 Jan 1 2003 x\0y.htm\r\n", 39);
  ASSERT_TRUE(
      serve("-rw-r--r-- 1 u g 4 Jan 1 2003 ../../ondt.htm\r\n"
            "drwxr-xr-x 2 u g 512 Jan 1 2003 ..\r\n"
            "-rw-r--r-- 1 u g 4 Jan 1 2003 a/b.htm\r\n"
            "-rw-r--r-- 1 u g 4 Jan 1 2003 a\\b.htm\r\n" +
            nul +
            "lrwxrwxrwx 1 u g 1 Jan 1 2003 igen -> .\r\n"
            "-rw-r--r-- 1 u g 4 Jan 1 2003 god.htm\r\n"));
  ASSERT_TRUE(serve("godt"));
  ASSERT_TRUE(runUntil([&] { return !session.busy(); }));
  EXPECT_EQ(tree(local.path()), (QStringList{"hent/", "hent/mappe/", "hent/mappe/god.htm"}));
  EXPECT_EQ(readFile(QDir(target).filePath("mappe/god.htm")), "godt");
  EXPECT_TRUE(shown.statuses.contains("../../ondt.htm er sprunget over: navnet kan ikke bruges som filnavn"));
  EXPECT_TRUE(shown.statuses.contains("a/b.htm er sprunget over: navnet kan ikke bruges som filnavn"));
  EXPECT_TRUE(shown.statuses.last().startsWith("Ikke overført: ../../ondt.htm, a/b.htm, a\\b.htm, x"));
  const QStringList retrieved = server.commands.filter("RETR");
  EXPECT_EQ(retrieved, QStringList{"RETR /mappe/god.htm"});
}
