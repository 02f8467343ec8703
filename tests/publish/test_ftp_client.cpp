// The client against a real FTP server.
#include "ftp_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

using Client = FtpServerTest;

TEST_F(Client, LogsInListsTheFolderAndQuits) {
  QDir(serverRoot_.path()).mkdir("public_html");
  writeFile(serverPath("forside.htm"), "<HTML></HTML>");
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(ftp_.ServerType(), TFTPServerType::ftpstUNIX);
  EXPECT_TRUE(r_.hasInfo(FtpInfo::Connected, "127.0.0.1"));
  EXPECT_TRUE(r_.hasInfo(FtpInfo::LoggedIn, "Logged in"));
  EXPECT_EQ(r_.commands, (QStringList{"USER morvel", "PASS hemmelig", "SYST"}));
  EXPECT_EQ(r_.events, (std::vector<std::string>{"ready", "LoggedIn"}));
  EXPECT_FALSE(ftp_.Busy());

  r_.clear();
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(r_.commands.size(), 4);
  EXPECT_EQ(r_.commands.value(0), "PWD");
  EXPECT_EQ(r_.commands.value(1), "TYPE A");
  EXPECT_TRUE(r_.commands.value(2).startsWith("PORT 127,0,0,1,"));
  EXPECT_EQ(r_.commands.value(3), "LIST");
  EXPECT_EQ(ftp_.InitialDirectory(), "/");
  EXPECT_EQ(ftp_.DirectoryNames(), QStringList{"public_html"});
  EXPECT_EQ(ftp_.FileNames(), QStringList{"forside.htm"});
  EXPECT_EQ(ftp_.ListingLines().size(), 2);
  ASSERT_EQ(ftp_.ListingEntries().size(), 2u);
  for (const auto& e : ftp_.ListingEntries()) {
    if (!e.isDirectory) {
      EXPECT_EQ(e.size, "13");
    }
  }
  EXPECT_EQ(r_.countInfo(FtpInfo::ListingLine), 2);
  EXPECT_TRUE(r_.hasInfo(FtpInfo::ListingReady, "Listing ready"));
  EXPECT_TRUE(r_.hasInfo(FtpInfo::TransferDone, "Transfer done"));

  r_.clear();
  ftp_.Quit();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.commands, QStringList{"QUIT"});
  EXPECT_TRUE(r_.hasInfo(FtpInfo::Disconnected, "Disconnected"));
  EXPECT_TRUE(r_.errors.empty());
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());

  // Without a connection a call does nothing but say so.
  r_.clear();
  ftp_.List();
  EXPECT_TRUE(r_.hasInfo(FtpInfo::Disconnected, ""));
  EXPECT_TRUE(r_.commands.isEmpty());
}

TEST_F(Client, AWrongPasswordIsRefusedAndTheClientSaysGoodbye) {
  ftp_.setUserPassword("forkert");
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::LoginRefused});
  EXPECT_EQ(r_.commands.last(), "QUIT");
  EXPECT_FALSE(ftp_.Success());
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());
  EXPECT_EQ(r_.countEvent("LoggedIn"), 1);
}

TEST_F(Client, AnEmptyPasswordIsAskedFor) {
  ftp_.setUserPassword("");
  std::vector<TFtpInfoNeeded> asked;
  ftp_.OnFtpNeedInfo = [&](TStarFtp&, TFtpInfoNeeded need, QString& value) {
    asked.push_back(need);
    value = kPassword;
  };
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_EQ(asked, std::vector<TFtpInfoNeeded>{TFtpInfoNeeded::niPassword});
  EXPECT_TRUE(ftp_.Success());
}

TEST_F(Client, AHostNameIsLookedUpAndAStartFolderEntered) {
  QDir(serverRoot_.path()).mkpath("public_html/grafik");
  ftp_.setFtpServer("localhost");
  ftp_.setTimeOutArp(20);
  ftp_.setTimeOutConnect(30);
  ftp_.setInitialDirectory("public_html/grafik");
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_TRUE(r_.hasInfo(FtpInfo::LookingUp, "localhost"));
  EXPECT_TRUE(r_.hasInfo(FtpInfo::Resolved, "127.0.0.1"));
  EXPECT_EQ(r_.commands.last(), "CWD public_html/grafik");
  EXPECT_TRUE(ftp_.Success());
  r_.clear();
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_EQ(ftp_.InitialDirectory(), "/public_html/grafik");
}

TEST_F(Client, NoServerAndRefusedConnections) {
  ftp_.setFtpServer("");
  ftp_.Connect();
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::NoServerName});
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_FALSE(ftp_.Busy());

  server_.kill();
  server_.waitForFinished();
  r_.clear();
  ftp_.setFtpServer("127.0.0.1");
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::ConnectionRefused});
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());
}

TEST_F(Client, AnUnknownHostAndAServerThatNeverAnswersTheConnect) {
  ftp_.setFtpServer("findes-ikke.invalid");
  ftp_.setTimeOutArp(20);
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::LookupFailed});
  EXPECT_TRUE(r_.hasInfo(FtpInfo::LookingUp, "findes-ikke.invalid"));
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());

  // A port whose queue of waiting connections is full: the connect is never
  // answered.
  QTcpServer full;
  full.setListenBacklogSize(0);
  ASSERT_TRUE(full.listen(QHostAddress::LocalHost, 0));
  full.pauseAccepting();
  std::vector<std::unique_ptr<QTcpSocket>> queue;
  for (int i = 0; i < 3; ++i) {
    queue.push_back(std::make_unique<QTcpSocket>());
    queue.back()->connectToHost(QHostAddress::LocalHost, full.serverPort());
  }
  runUntil([] { return false; }, 200);
  r_.clear();
  ftp_.setFtpServer("127.0.0.1");
  ftp_.setFtpPort(full.serverPort());
  ftp_.setTimeOutConnect(1);
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TimedOut});
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());
}

TEST_F(Client, NamesWithSpacesAndDanishLetters) {
  QDir(serverRoot_.path()).mkdir("gamle sider");
  const QByteArray content = testBytes(5000, 11);
  writeFile(serverPath("æble og øl.htm"), content);
  logIn();
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_EQ(ftp_.DirectoryNames(), QStringList{"gamle sider"});
  EXPECT_EQ(ftp_.FileNames(), QStringList{"æble og øl.htm"});

  ftp_.setRemoteFile("æble og øl.htm");
  ftp_.setLocalFile(localPath("hentet side.htm"));
  ftp_.Retrieve();
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(localPath("hentet side.htm")), content);

  ftp_.RenameFile("æble og øl.htm", "gamle sider/pærer & æbler.htm");
  ASSERT_TRUE(waitForEvent("FileRenamed"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(serverPath("gamle sider/pærer & æbler.htm")), content);

  ftp_.ChangeDir("gamle sider");
  ASSERT_TRUE(waitForEvent("DirectoryChanged"));
  r_.clear();
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_EQ(ftp_.InitialDirectory(), "/gamle sider");
  EXPECT_EQ(ftp_.FileNames(), QStringList{"pærer & æbler.htm"});
  ftp_.DeleteFile("pærer & æbler.htm");
  ASSERT_TRUE(waitForEvent("FileDeleted"));
  EXPECT_TRUE(ftp_.Success());
  r_.clear();
  ftp_.ChangeDir("/");
  ASSERT_TRUE(waitForEvent("DirectoryChanged"));
  ftp_.RemoveDir("gamle sider");
  ASSERT_TRUE(waitForEvent("DirectoryDeleted"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(QDir(serverRoot_.path()).isEmpty());
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Client, FilesTravelByteForByteBothWays) {
  logIn();
  // Several blocks and a short last one, with every byte value.
  const QByteArray content = testBytes(3 * 100000 + 77);
  writeFile(localPath("billede.gif"), content);
  ftp_.setLocalFile(localPath("billede.gif"));
  ftp_.setRemoteFile("billede.gif");
  ftp_.Store();
  ASSERT_TRUE(waitForEvent("FileStored"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(serverPath("billede.gif")), content);
  EXPECT_TRUE(r_.hasInfo(FtpInfo::TransferSize, QString::number(content.size())));
  EXPECT_EQ(r_.commands.value(0), "TYPE I");
  EXPECT_EQ(r_.commands.value(2), "STOR billede.gif");
  EXPECT_EQ(ftp_.BytesTransferred(), content.size());

  r_.clear();
  ftp_.setLocalFile(localPath("hentet.gif"));
  ftp_.Retrieve();
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(localPath("hentet.gif")), content);
  EXPECT_EQ(r_.commands.value(2), "RETR billede.gif");
  EXPECT_TRUE(r_.hasInfo(FtpInfo::TransferDone, "Transfer done"));

  // An empty file, and a name with Danish letters.
  r_.clear();
  writeFile(localPath("tom.txt"), "");
  ftp_.setLocalFile(localPath("tom.txt"));
  ftp_.setRemoteFile("æble og øl.htm");
  ftp_.Store();
  ASSERT_TRUE(waitForEvent("FileStored"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(QFileInfo::exists(serverPath("æble og øl.htm")));
  EXPECT_EQ(readFile(serverPath("æble og øl.htm")), "");
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Client, FoldersAndFilesAreMadeRenamedAndDeleted) {
  logIn();
  writeFile(serverPath("gammel.htm"), "x");
  ftp_.MakeDir("arkiv");
  ASSERT_TRUE(waitForEvent("DirectoryCreated"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(QFileInfo(serverPath("arkiv")).isDir());

  ftp_.RenameFile("gammel.htm", "arkiv/ny.htm");
  ASSERT_TRUE(waitForEvent("FileRenamed"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(serverPath("arkiv/ny.htm")), "x");
  EXPECT_FALSE(QFileInfo::exists(serverPath("gammel.htm")));

  ftp_.ChangeDir("arkiv");
  ASSERT_TRUE(waitForEvent("DirectoryChanged"));
  EXPECT_EQ(ftp_.InitialDirectory(), "arkiv");
  ftp_.DeleteFile("ny.htm");
  ASSERT_TRUE(waitForEvent("FileDeleted"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_FALSE(QFileInfo::exists(serverPath("arkiv/ny.htm")));

  ftp_.ChangeDir("..");
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("DirectoryChanged") == 2; }));
  ftp_.RemoveDir("arkiv");
  ASSERT_TRUE(waitForEvent("DirectoryDeleted"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_FALSE(QFileInfo::exists(serverPath("arkiv")));
  EXPECT_EQ(r_.countEvent("ready"), 6);
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Client, ARefusedCommandEndsOnlyItsOperation) {
  logIn();
  struct Step {
    std::function<void()> call;
    const char* event;
  };
  const std::vector<Step> steps = {
      {[&] { ftp_.DeleteFile("findes-ikke.htm"); }, "FileDeleted"},
      {[&] { ftp_.RemoveDir("findes-ikke"); }, "DirectoryDeleted"},
      {[&] { ftp_.ChangeDir("findes-ikke"); }, "DirectoryChanged"},
      {[&] { ftp_.RenameFile("findes-ikke.htm", "b.htm"); }, "FileRenamed"},
      {[&] { ftp_.MakeDir("/"); }, "DirectoryCreated"},
  };
  for (const Step& step : steps) {
    r_.clear();
    step.call();
    ASSERT_TRUE(waitForEvent(step.event)) << step.event;
    EXPECT_FALSE(ftp_.Success()) << step.event;
    EXPECT_EQ(r_.countInfo(FtpInfo::NegativeReply), 1) << step.event;
    EXPECT_TRUE(r_.errors.empty()) << step.event;
    EXPECT_TRUE(ftp_.Connected()) << step.event;
  }
  r_.clear();
  ftp_.MakeDir("ny");
  ASSERT_TRUE(waitForEvent("DirectoryCreated"));
  EXPECT_TRUE(ftp_.Success());
}

TEST_F(Client, AFailedDownloadLeavesTheLocalFileAsItWas) {
  logIn();
  writeFile(localPath("side.htm"), "min egen side");
  ftp_.setLocalFile(localPath("side.htm"));
  ftp_.setRemoteFile("findes-ikke.htm");
  ftp_.Retrieve();
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_FALSE(ftp_.Success());
  EXPECT_EQ(r_.countInfo(FtpInfo::NegativeReply), 1);
  EXPECT_EQ(readFile(localPath("side.htm")), "min egen side");
  EXPECT_EQ(QDir(localDir_.path()).entryList(QDir::Files), QStringList{"side.htm"});
  EXPECT_TRUE(ftp_.Connected());
}

TEST_F(Client, MissingFileNamesAndBusyCallsAreRefused) {
  logIn();
  ftp_.setRemoteFile("");
  ftp_.setLocalFile(localPath("a.htm"));
  ftp_.Retrieve();
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::NoRemoteFile});
  ASSERT_TRUE(waitForEvent("FileReceived"));

  r_.clear();
  ftp_.setRemoteFile("a.htm");
  ftp_.setLocalFile(localPath("findes-ikke.htm"));
  ftp_.Store();
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::LocalFileOpen});
  ASSERT_TRUE(waitForEvent("FileStored"));
  EXPECT_FALSE(ftp_.Success());

  r_.clear();
  ftp_.setLocalFile(localPath("ingen-mappe/a.htm"));
  ftp_.Retrieve();
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::LocalFileOpen});
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(r_.commands.isEmpty());

  // A call while an operation runs is ignored.
  r_.clear();
  ftp_.List();
  ftp_.MakeDir("x");
  ftp_.Connect();
  EXPECT_EQ(r_.countInfo(FtpInfo::Busy), 2);
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_FALSE(QFileInfo::exists(serverPath("x")));
  EXPECT_EQ(r_.events, (std::vector<std::string>{"ready", "ListingDone"}));
}

TEST_F(Client, TheListingCanBeSavedToTheLocalFile) {
  logIn();
  writeFile(serverPath("a.htm"), "a");
  writeFile(serverPath("b.htm"), "bb");
  ftp_.setLocalFile(localPath("liste.txt"));
  ftp_.List(true);
  ASSERT_TRUE(waitForEvent("ListingDone"));
  const QByteArray saved = readFile(localPath("liste.txt"));
  EXPECT_EQ(saved, (ftp_.ListingLines().join("\r\n") + "\r\n").toUtf8());
  EXPECT_EQ(ftp_.FileNames().size(), 2);
}

TEST_F(Client, AnAbortedTransferLeavesTheConnectionReady) {
  logIn();
  const QByteArray big = testBytes(8 * 1024 * 1024, 7);
  writeFile(serverPath("stor.bin"), big);
  writeFile(localPath("stor.bin"), "det gamle indhold");
  bool aborted = false;
  ftp_.OnFtpInfo = [&](TStarFtp& ftp, FtpInfo code, const QString& text) {
    r_.infos.emplace_back(code, text);
    if (code == FtpInfo::DataProgress && !aborted) {
      aborted = true;
      ftp.Abort();
    }
  };
  ftp_.setLocalFile(localPath("stor.bin"));
  ftp_.setRemoteFile("stor.bin");
  ftp_.Retrieve();
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(aborted);
  EXPECT_FALSE(ftp_.Success());
  EXPECT_EQ(readFile(localPath("stor.bin")), "det gamle indhold");
  EXPECT_TRUE(ftp_.Connected());

  // Uploads stop too.
  aborted = false;
  writeFile(localPath("op.bin"), big);
  ftp_.setLocalFile(localPath("op.bin"));
  ftp_.setRemoteFile("op.bin");
  ftp_.Store();
  ASSERT_TRUE(waitForEvent("FileStored"));
  EXPECT_TRUE(aborted);
  EXPECT_FALSE(ftp_.Success());
  EXPECT_TRUE(ftp_.Connected());

  // The answers to the aborts are all taken: the next commands line up.
  ftp_.OnFtpInfo = nullptr;
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(ftp_.FileNames().contains("stor.bin"));
  EXPECT_EQ(ftp_.InitialDirectory(), "/");
  ftp_.MakeDir("efter");
  ASSERT_TRUE(waitForEvent("DirectoryCreated"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(r_.errors.empty());
}
