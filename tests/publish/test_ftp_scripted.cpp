// The client against scripted servers: replies a real server seldom gives,
// nonsense, and the order in which the two connections end a transfer.
#include "ftp_messages.h"
#include "scripted_server.h"

using Scripted = ScriptedTest;

TEST_F(Scripted, AMultiLineGreetingAndALoginWithoutPassword) {
  ScriptedServer server("220-Welcome\r\n220-to the test server\r\n220 Ready\r\n");
  server.answer = usualAnd({{"USER", "230 No password needed\r\n"}, {"SYST", "215 VMS MultiNet V4.0\r\n"}});
  start(server);
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_EQ(server.commands, (QStringList{"USER u", "SYST"}));
  EXPECT_EQ(ftp_.ServerType(), TFTPServerType::ftpstVmsMultinet);
  EXPECT_TRUE(ftp_.Success());
}

TEST_F(Scripted, AnAccountIsSentWhenThePasswordAsksForOne) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"PASS", "332 Account?\r\n"}, {"ACCT", "230 In\r\n"}, {"SYST", "500 unknown command\r\n"}});
  start(server);
  ftp_.setUserAccount("konto");
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_EQ(server.commands, (QStringList{"USER u", "PASS p", "ACCT konto", "SYST"}));
  EXPECT_EQ(ftp_.ServerType(), TFTPServerType::ftpstDefault);
}

TEST_F(Scripted, ANonsenseGreetingEndsTheConnection) {
  ScriptedServer server("hello there\r\n");
  start(server);
  ASSERT_TRUE(waitForQuit());
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::GreetingRefused});
  EXPECT_EQ(morvel::ftp::errorMessage(FtpError::GreetingRefused, "", "").text, "Ftp-serveren er nede.");
  EXPECT_TRUE(server.commands.isEmpty());
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());
}

TEST_F(Scripted, NonsenseInTheMiddleIsAnUnexpectedReplyAndLosesNothing) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"TYPE", "xyzzy \xff\xfe nonsense\r\n"}});
  start(server);
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  const QString local = local_.filePath("side.htm");
  writeFile(local, "min side");
  ftp_.setLocalFile(local);
  ftp_.setRemoteFile("side.htm");
  ftp_.Retrieve();
  ASSERT_TRUE(waitForQuit());
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::UnexpectedReply});
  const auto message = morvel::ftp::errorMessage(r_.errors[0], "127.0.0.1", local);
  EXPECT_EQ(message.title, "Uventet svar");
  EXPECT_EQ(message.text, "Uventet svar fra server. Tjek, om serveren anvender port 21.");
  EXPECT_EQ(readFile(local), "min side");
  EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files), QStringList{"side.htm"});
  EXPECT_FALSE(ftp_.Success());
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());
  // The nonsense itself was shown as it came.
  EXPECT_EQ(r_.countInfo(FtpInfo::ControlData) > 0, true);
}

TEST_F(Scripted, ADownloadEndsWhenBothConnectionsHaveEnded) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usual;
  start(server);
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  const QString local = local_.filePath("a.gif");
  for (bool replyFirst : {true, false}) {
    r_.clear();
    server.commands.clear();
    ftp_.setLocalFile(local);
    ftp_.setRemoteFile("a.gif");
    ftp_.Retrieve();
    ASSERT_TRUE(runUntil([&] { return !server.commands.isEmpty() && server.commands.last().startsWith("RETR"); }));
    server.reply("150 Opening BINARY mode data connection for a.gif (1234 bytes).\r\n");
    QTcpSocket& data = server.connectData();
    const QByteArray content = testBytes(1234, replyFirst ? 3 : 4);
    data.write(content);
    data.flush();
    if (replyFirst) {
      server.reply("226 Transfer complete\r\n");
      ASSERT_TRUE(runUntil([&] { return r_.hasInfo(FtpInfo::ControlData, "226 Transfer complete\r\n"); }));
      ASSERT_TRUE(runUntil([&] { return ftp_.BytesTransferred() == 1234; }));
      EXPECT_EQ(r_.countEvent("FileReceived"), 0);
      server.closeData();
    } else {
      server.closeData();
      ASSERT_TRUE(runUntil([&] { return r_.hasInfo(FtpInfo::TransferDone, "Transfer done"); }));
      EXPECT_EQ(r_.countEvent("FileReceived"), 0);
      server.reply("226 Transfer complete\r\n");
    }
    ASSERT_TRUE(waitForEvent("FileReceived")) << replyFirst;
    EXPECT_TRUE(ftp_.Success());
    EXPECT_TRUE(r_.hasInfo(FtpInfo::TransferSize, "1234"));
    EXPECT_EQ(readFile(local), content);
  }
}

TEST_F(Scripted, ListingLinesEndedByLineFeedsAloneAndALastLineWithoutEnd) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usual;
  start(server);
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  ftp_.List();
  ASSERT_TRUE(runUntil([&] { return !server.commands.isEmpty() && server.commands.last() == "LIST"; }));
  server.reply("150 Here comes the listing\r\n");
  QTcpSocket& data = server.connectData();
  data.write("total 2\ndrwxr-xr-x 2 u g 512 Jan 3 12:30 grafik\n-rw-r--r-- 1 u g 77 Feb 1 1999 sidst.htm");
  data.flush();
  server.closeData();
  server.reply("226 Done\r\n");
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(ftp_.ListingLines().size(), 3);
  EXPECT_EQ(ftp_.DirectoryNames(), QStringList{"grafik"});
  EXPECT_EQ(ftp_.FileNames(), QStringList{"sidst.htm"});
  EXPECT_EQ(r_.countInfo(FtpInfo::ListingLine), 3);
}

TEST_F(Scripted, AfterAnAbortTheNextCommandStandsAlone) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"RETR", "150 Opening\r\n"}, {"ABOR", "426 Aborted\r\n226 ABOR done\r\n"}});
  logIn(server);
  ftp_.OnFtpInfo = [&](TStarFtp& ftp, FtpInfo code, const QString&) {
    if (code == FtpInfo::DataProgress) ftp.Abort();
  };
  startRetrieve(server, "a.bin");
  QTcpSocket& data = server.connectData();
  data.write(testBytes(3000));
  data.flush();
  ASSERT_TRUE(runUntil([&] { return !server.commands.isEmpty() && server.commands.last().endsWith("ABOR"); }));
  server.closeData();
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_FALSE(ftp_.Success());
  ftp_.OnFtpInfo = nullptr;
  ftp_.MakeDir("ny");
  ASSERT_TRUE(runUntil(
      [&] { return server.commands.size() >= 2 && server.commands.at(server.commands.size() - 2).endsWith("ABOR"); }));
  // The interrupt goes before the ABOR, and nothing of it after.
  EXPECT_TRUE(server.rawCommands.at(server.rawCommands.size() - 2).startsWith("\xff\xf4"));
  EXPECT_EQ(server.rawCommands.last(), "MKD ny");
}
