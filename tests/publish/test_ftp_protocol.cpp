// Reading replies, the server type, the texts taken from replies, the error
// numbers and the messages the user is shown.
#include "ftp_messages.h"
#include "ftp_protocol.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using namespace morvel::ftp;

namespace {

std::vector<std::string> repliesOf(ReplyReader& reader) {
  std::vector<std::string> out;
  std::string reply;
  while (reader.next(reply)) out.push_back(reply);
  return out;
}

}  // namespace

TEST(FtpReplies, AMultiLineReplyComesOutOnceAsItsClosingLine) {
  ReplyReader reader;
  reader.append("220-Welcome\r\n220-to the server\r\n 220 indented, still inside\r\n220 Ready\r\n");
  EXPECT_EQ(repliesOf(reader), std::vector<std::string>{"220 Ready"});

  // Inside a multi-line reply another code's closing line does not end it.
  reader.append("211-Features\r\n230 not this one\r\n211 End\r\n331 next\r\n");
  EXPECT_EQ(repliesOf(reader), (std::vector<std::string>{"211 End", "331 next"}));
}

TEST(FtpReplies, LinesArriveInPiecesAndWithOrWithoutCarriageReturn) {
  ReplyReader reader;
  reader.append("22");
  EXPECT_TRUE(repliesOf(reader).empty());
  reader.append("0 Hej\r");
  EXPECT_TRUE(repliesOf(reader).empty());
  reader.append("\n331 Password\n230-a");
  EXPECT_EQ(repliesOf(reader), (std::vector<std::string>{"220 Hej", "331 Password"}));
  reader.append("\r\n230 in\r\n");
  EXPECT_EQ(repliesOf(reader), std::vector<std::string>{"230 in"});
  reader.append("500 half");
  reader.reset();
  reader.append("200 ok\r\n");
  EXPECT_EQ(repliesOf(reader), std::vector<std::string>{"200 ok"});
}

TEST(FtpReplies, ALineLongerThanTheBoundEndsTheReading) {
  const size_t bound = LineSplitter::kMaxLine;
  EXPECT_EQ(bound, 64u * 1024u);
  LineSplitter lines;
  std::string line;
  // A line of the bound's length, arriving in small pieces, is a line.
  lines.append("226 ");
  const std::string piece(1000, 'a');
  for (size_t sent = 4; sent < bound; sent += piece.size()) {
    lines.append(std::string_view(piece).substr(0, std::min(piece.size(), bound - sent)));
    EXPECT_FALSE(lines.next(line));
  }
  lines.append("\r\nnext");
  ASSERT_TRUE(lines.next(line));
  EXPECT_EQ(line.size(), bound);
  EXPECT_FALSE(lines.next(line));
  EXPECT_FALSE(lines.overlong());

  // One byte more, with or without its line end: nothing more comes out.
  for (bool ended : {false, true}) {
    LineSplitter longer;
    longer.append(std::string(bound + 1, 'x') + (ended ? "\n200 ok\n" : ""));
    EXPECT_FALSE(longer.next(line)) << ended;
    EXPECT_TRUE(longer.overlong()) << ended;
    longer.append("200 ok\n");
    EXPECT_FALSE(longer.next(line)) << ended;
    EXPECT_EQ(longer.takeRest(), "");
    // Cleared for the next listing, it reads again.
    longer.append("200 ok\n");
    ASSERT_TRUE(longer.next(line));
    EXPECT_EQ(line, "200 ok");
  }

  // The replies before the long one still come out.
  ReplyReader reader;
  reader.append("220 Ready\r\n" + std::string(bound + 2, 'y'));
  EXPECT_EQ(repliesOf(reader), std::vector<std::string>{"220 Ready"});
  EXPECT_TRUE(reader.overlong());
  reader.reset();
  EXPECT_FALSE(reader.overlong());
}

TEST(FtpReplies, NonsenseLinesAreRepliesOfNoKnownClass) {
  ReplyReader reader;
  reader.append("hello there\r\n\r\nab\r\n");
  EXPECT_EQ(repliesOf(reader), (std::vector<std::string>{"hello there", "", "ab"}));
  EXPECT_EQ(replyClass("hello"), 'h');
  EXPECT_EQ(replyClass(""), 0);
}

TEST(FtpServerType, FromTheSystReply) {
  using enum TFTPServerType;
  EXPECT_EQ(serverTypeFromSyst("215 UNIX Type: L8"), ftpstUNIX);
  EXPECT_EQ(serverTypeFromSyst("215 VMS MultiNet V4.0"), ftpstVmsMultinet);
  EXPECT_EQ(serverTypeFromSyst("215 VMS"), ftpstVmsUcx);
  EXPECT_EQ(serverTypeFromSyst("500 unknown command"), ftpstDefault);
  EXPECT_EQ(serverTypeFromSyst("215 Windows_NT"), ftpstDefault);
  EXPECT_EQ(serverTypeFromSyst("215 ultrix unix"), ftpstULTRIX);  // later rules win, any case
  EXPECT_EQ(serverTypeFromSyst("215 VM/ESA VPS"), ftpstVMVPS);
  EXPECT_EQ(serverTypeFromSyst("215 VM/CMS"), ftpstVM);
  EXPECT_EQ(serverTypeFromSyst("215 MVS is the operating system"), ftpstMVS);
  EXPECT_EQ(serverTypeFromSyst("215 NCSA Telnet"), ftpstNCSA);
  // The code itself is not searched: "UNIX" must follow it.
  EXPECT_EQ(serverTypeFromSyst("UNIX"), ftpstDefault);
}

TEST(FtpReplyTexts, ArgumentsThatWouldEndTheCommandLine) {
  EXPECT_TRUE(isSendable("ny mappe"));
  EXPECT_TRUE(
      isSendable("\xe6"
                 "ble.htm"));
  EXPECT_TRUE(isSendable(""));
  EXPECT_FALSE(isSendable("ny\r\nDELE index.htm"));
  EXPECT_FALSE(isSendable("ny\nDELE index.htm"));
  EXPECT_FALSE(isSendable("ny\r"));
  EXPECT_FALSE(isSendable(std::string("ny\0x", 4)));
  EXPECT_EQ(errorMessage(FtpError::UnsendableName, "", "").title, "Ugyldigt navn");
  EXPECT_FALSE(isFatal(FtpError::UnsendableName));
}

TEST(FtpReplyTexts, PortArgumentSizeAndQuotedFolder) {
  EXPECT_EQ(portArgument(0xC0A80105, 1036), "192,168,1,5,4,12");
  EXPECT_EQ(portArgument(0x7F000001, 65535), "127,0,0,1,255,255");
  EXPECT_EQ(announcedSize("150 Opening BINARY mode data connection for a.gif (1234 bytes)."), "1234");
  EXPECT_EQ(announcedSize("150 Opening data connection."), "");
  EXPECT_EQ(announcedSize("150 x (77"), "77");
  EXPECT_EQ(quotedText("257 \"/public_html/grafik\" is the current directory."), "/public_html/grafik");
  EXPECT_EQ(quotedText("257 no quotes"), "");
  EXPECT_EQ(quotedText("257 \"unclosed"), "");
}

TEST(FtpErrors, SocketErrorNumbersAndWeights) {
  struct Case {
    int socketError;
    FtpError error;
  };
  for (const Case& c : {Case{10013, FtpError::InvalidAddress},
                        Case{10024, FtpError::OutOfSockets},
                        Case{10049, FtpError::AddressNotAvailable},
                        Case{10050, FtpError::NetworkDown},
                        Case{10051, FtpError::NetworkUnreachable},
                        Case{10052, FtpError::SocketFailure},
                        Case{10055, FtpError::SocketFailure},
                        Case{10053, FtpError::ConnectionAborted},
                        Case{10054, FtpError::ConnectionReset},
                        Case{10060, FtpError::TimedOut},
                        Case{10061, FtpError::ConnectionRefused},
                        Case{10065, FtpError::HostUnreachable},
                        Case{10093, FtpError::NoSocketLibrary},
                        Case{11001, FtpError::LookupFailed},
                        Case{11004, FtpError::LookupFailed},
                        Case{10048, FtpError::Internal},
                        Case{10057, FtpError::Internal},
                        Case{10004, FtpError::Internal},
                        Case{10035, FtpError::UnknownSocketError},
                        Case{11005, FtpError::UnknownSocketError}})
    EXPECT_EQ(ftpErrorFromSocketError(c.socketError), c.error) << c.socketError;

  for (FtpError light :
       {FtpError::NoSocketLibrary, FtpError::NoServerName, FtpError::LocalFileOpen, FtpError::LocalFileWrite,
        FtpError::LocalFileRead, FtpError::NoRemoteFile, FtpError::LoginRefused})
    EXPECT_FALSE(isFatal(light)) << static_cast<int>(light);
  for (FtpError fatal : {FtpError::QuitRefused, FtpError::TimedOut, FtpError::UnexpectedReply,
                         FtpError::GreetingRefused, FtpError::DataConnection, FtpError::ConnectionReset})
    EXPECT_TRUE(isFatal(fatal)) << static_cast<int>(fatal);
}

TEST(FtpErrors, TheUserReadsADanishMessage) {
  const FtpErrorMessage nonsense = errorMessage(FtpError::UnexpectedReply, "ftp.example.dk", "");
  EXPECT_EQ(nonsense.title, "Uventet svar");
  EXPECT_EQ(nonsense.text, "Uventet svar fra server. Tjek, om serveren anvender port 21.");

  const FtpErrorMessage lookup = errorMessage(FtpError::LookupFailed, "ftp.example.dk", "");
  EXPECT_EQ(lookup.title, "Adressefejl");
  EXPECT_TRUE(lookup.text.startsWith("Morvel kan ikke finde ftp.example.dk . Tjek, at du"));
  EXPECT_TRUE(lookup.closesWindow);

  EXPECT_EQ(errorMessage(FtpError::TimedOut, "ftp.example.dk", "").text,
            "Morvel kunne ikke få forbindelse til ftp.example.dk.");
  EXPECT_EQ(errorMessage(FtpError::LoginRefused, "", "").title, "Adgang nægtet");

  // File errors go to the status panel, with the local file.
  const FtpErrorMessage write = errorMessage(FtpError::LocalFileWrite, "", "/tmp/side.htm");
  EXPECT_TRUE(write.title.isEmpty());
  EXPECT_EQ(write.text, "Fejl under skrivning til /tmp/side.htm");
  EXPECT_EQ(errorMessage(FtpError::NoRemoteFile, "", "a.htm").text, "Fejl under åbning af a.htm");
}

TEST(FtpReplyTexts, ThePortOfAPassiveReply) {
  EXPECT_EQ(extendedPassivePort("229 Entering Extended Passive Mode (|||6446|)"), 6446);
  EXPECT_EQ(extendedPassivePort("229 Entering Extended Passive Mode (!!!65535!)."), 65535);
  for (const char* bad : {"229 Entering Extended Passive Mode", "229 (|||0|)", "229 (|||65536|)", "229 (|||12a|)",
                          "229 (|||6446)", "229 (||6446|)", "229 (11164461)", "229 ("})
    EXPECT_FALSE(extendedPassivePort(bad)) << bad;

  // The address in a PASV reply is not used; the port is.
  EXPECT_EQ(passivePort("227 Entering Passive Mode (192,168,1,5,4,12)."), 1036);
  EXPECT_EQ(passivePort("227 Entering Passive Mode 10,0,0,1,255,255"), 65535);
  EXPECT_EQ(passivePort("227 =127,0,0,1,0,21"), 21);
  for (const char* bad : {"227 Entering Passive Mode", "227 (127,0,0,1,0,0)", "227 (127,0,0,1,256,1)",
                          "227 (127,0,0,1,4)", "227 (127,0,0,1,4,x)", "227 (1277,0,0,1,4,1)"})
    EXPECT_FALSE(passivePort(bad)) << bad;
}

TEST(FtpReplies, WhatArrivesBehindTheLastReplyIsSeen) {
  ReplyReader reader;
  reader.append("234 Go ahead\r\n");
  std::string reply;
  ASSERT_TRUE(reader.next(reply));
  EXPECT_FALSE(reader.pending());
  reader.append("220 injected");
  EXPECT_FALSE(reader.next(reply));
  EXPECT_TRUE(reader.pending());
  reader.reset();
  reader.append("234-Go\r\n");
  EXPECT_FALSE(reader.next(reply));
  EXPECT_TRUE(reader.pending());  // inside a multi-line reply
}

TEST(FtpErrors, SecuredConnectionsFailWithADanishMessage) {
  for (FtpError e :
       {FtpError::TlsRefused, FtpError::TlsFailed, FtpError::CertificateRefused, FtpError::CertificateChanged}) {
    EXPECT_TRUE(isFatal(e)) << static_cast<int>(e);
    const FtpErrorMessage m = errorMessage(e, "ftp.example.dk", "");
    EXPECT_FALSE(m.title.isEmpty()) << static_cast<int>(e);
    EXPECT_TRUE(m.text.contains("ftp.example.dk")) << static_cast<int>(e);
  }
  EXPECT_EQ(errorMessage(FtpError::CertificateChanged, "ftp.example.dk", "").title, "Certifikat ændret");
  EXPECT_EQ(errorMessage(FtpError::TlsRefused, "ftp.example.dk", "").text,
            "Ftp-serveren ftp.example.dk kan ikke oprette den sikre forbindelse (FTPS), som forbindelsen kræver. "
            "Forbindelsen er afbrudt.");

  const FtpQuestion whole = plainFallbackQuestion(true, "ftp.example.dk");
  EXPECT_EQ(whole.title, "Usikker forbindelse");
  EXPECT_TRUE(whole.text.contains("kodeord og dine filer sendes ukrypteret"));
  EXPECT_EQ(plainFallbackQuestion(false, "ftp.example.dk").title, "Usikker overførsel");
}
