// The publishing window's plain logic: the stored passwords and connections,
// the listing's rows, the progress figures, the texts the user reads, what an
// upload sends where, and the delete chain's questions.
#include "ftp_certificate.h"
#include "ftp_connections.h"
#include "ftp_listing_view.h"
#include "ftp_messages.h"
#include "ftp_password.h"
#include "ftp_progress.h"
#include "ftp_session.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <string>
#include <vector>

using namespace morvel;
using namespace morvel::ftp;

namespace {

bool allDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

FtpListEntry entry(std::string name, bool folder, std::string size = "0", std::string date = "01-01-2003 ") {
  FtpListEntry e;
  e.name = std::move(name);
  e.isDirectory = folder;
  e.size = std::move(size);
  e.date = std::move(date);
  return e;
}

FtpConnection connection(const QString& server, const QString& user, const QString& password, bool savePassword = true,
                         const QString& startFolder = {}) {
  FtpConnection c;
  c.server = server;
  c.startFolder = startFolder;
  c.user = user;
  c.password = password;
  c.savePassword = savePassword;
  return c;
}

QStringList names(const std::vector<FtpListRow>& rows) {
  QStringList list;
  for (const FtpListRow& r : rows) list << r.name;
  return list;
}

}  // namespace

TEST(FtpPassword, KnownPasswordsComeBackAsTheyWere) {
  // Two words per pair of bytes, the length byte first, the password repeated
  // as filler up to ten bytes.
  EXPECT_EQ(scramblePassword("abc", 0), "7766678273780167776278273");
  EXPECT_EQ(scramblePassword("hemmelig", 0), "7946380836787967981979558");
  for (const std::string& password :
       std::vector<std::string>{"a", "ab", "abc", "hemmelig", "0123456789", "0123456789a", "med mellemrum", "æøå",
                                "Kø€", std::string(255, 'x'), std::string(254, 'y')}) {
    const std::string stored = scramblePassword(password, 4711);
    EXPECT_TRUE(allDigits(stored)) << password;
    EXPECT_GE(stored.size(), 25u) << password;
    EXPECT_EQ(unscramblePassword(stored), password) << password;
  }
  // A high byte from 0xB8 up makes a word of six digits, which is read whole.
  EXPECT_EQ(scramblePassword("æ", 0), "102753102917102917102917102917");
  EXPECT_EQ(unscramblePassword("102753102917102917102917102917"), "æ");
  // Longer than a short string holds: cut at 255 bytes, where a letter begins.
  const std::string longer = "a" + std::string(200, 'b') + std::string(60, 'c') + "æøå";
  EXPECT_EQ(unscramblePassword(scramblePassword(longer, 0)), longer.substr(0, 255));
  const std::string letters =
      "a" + std::string(127, 'b') + "æææææææææææææææææææææææææææææææææææææææææææææææææææææææææææææææææ";
  const std::string cut = unscramblePassword(scramblePassword(letters, 0));
  EXPECT_EQ(cut.size(), 254u);
  EXPECT_EQ(cut, letters.substr(0, 254));
}

TEST(FtpPassword, AnEmptyPasswordLooksLikeAnyOtherAndReadsBackEmpty) {
  const std::string one = scramblePassword("", 123456789);
  EXPECT_EQ(one, "6537565937664516696567479");
  const std::string other = scramblePassword("", 987);
  EXPECT_NE(one, other);
  for (const std::string& stored : {one, other}) {
    EXPECT_TRUE(allDigits(stored));
    EXPECT_GE(stored.size(), 25u);
    EXPECT_EQ(unscramblePassword(stored), "");
  }
  // A missing or damaged value is no password, not 32 spaces.
  for (const char* damaged : {"", "12", "7766678273x", "abcde", "776667827"})
    EXPECT_EQ(unscramblePassword(damaged), "");
}

class FtpConnectionStore : public ::testing::Test {
 protected:
  std::string file() const { return dir_.filePath("Morvel.ini").toStdString(); }
  QByteArray fileText() {
    store_.UpdateFile();
    QFile f(QString::fromStdString(file()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
  RegIniFile store_{file()};
  FtpConnections connections_{store_};
};

TEST_F(FtpConnectionStore, SavedConnectionsComeBackInListOrder) {
  EXPECT_TRUE(connections_.titles().isEmpty());
  FtpConnection site = connection("ftp.eksempel.dk", "bruger", "hemmelig", true, "public_html");
  ASSERT_TRUE(connections_.save("Min side", site, 1));
  ASSERT_TRUE(connections_.save("Klubben", connection("ftp.klub.dk", "klub", "", false), 2));
  EXPECT_EQ(connections_.titles(), (QStringList{"Min side", "Klubben"}));
  EXPECT_EQ(store_.ReadString("Ftp", "Ftp1", ""), "Min side");
  EXPECT_EQ(store_.ReadString("Ftp", "Ftp2", ""), "Klubben");

  const FtpConnection back = connections_.load("Min side");
  EXPECT_EQ(back.server, "ftp.eksempel.dk");
  EXPECT_EQ(back.startFolder, "public_html");
  EXPECT_EQ(back.user, "bruger");
  EXPECT_EQ(back.password, "hemmelig");
  EXPECT_TRUE(back.savePassword);
  EXPECT_FALSE(connections_.load("Klubben").savePassword);
  EXPECT_EQ(connections_.load("Klubben").password, "");

  // The password never stands in the file as typed, and the file is the
  // user's alone.
  const QByteArray text = fileText();
  EXPECT_FALSE(text.contains("hemmelig"));
  EXPECT_TRUE(text.contains(QByteArray::fromStdString(scramblePassword("hemmelig", 0))));
  struct stat info {};
  ASSERT_EQ(stat(file().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600);

  // Saved again under the same title in another case: still one connection.
  site.server = "ftp.nyt.dk";
  ASSERT_TRUE(connections_.save("MIN SIDE", site, 3));
  EXPECT_EQ(connections_.titles().size(), 2);
  EXPECT_EQ(connections_.load("Min side").server, "ftp.nyt.dk");

  // "Gem kode" reads as set when the store has no word on it.
  store_.DeleteValue("Klubben", "GemKode");
  EXPECT_TRUE(connections_.load("Klubben").savePassword);

  EXPECT_EQ(connections_.indexForProject("klubben"), 1);
  EXPECT_EQ(connections_.indexForProject("KLUBBEN"), 1);
  EXPECT_EQ(connections_.indexForProject("Andet"), -1);
}

TEST_F(FtpConnectionStore, DeletingRenumbersTheList) {
  for (const char* title : {"En", "To", "Tre"}) ASSERT_TRUE(connections_.save(title, connection("s", "u", "p"), 0));
  ASSERT_TRUE(connections_.remove("to"));
  EXPECT_EQ(connections_.titles(), (QStringList{"En", "Tre"}));
  EXPECT_FALSE(store_.SectionExists("To"));
  EXPECT_EQ(store_.ReadString("Ftp", "Ftp2", ""), "Tre");
  EXPECT_FALSE(store_.ValueExists("Ftp", "Ftp3"));
  EXPECT_TRUE(connections_.remove("findes ikke"));
  EXPECT_EQ(connections_.titles().size(), 2);
}

TEST_F(FtpConnectionStore, TitlesThatNameTheProgramsOwnSectionsAreRefused) {
  store_.WriteInteger("Start", "Bredde", 630);
  store_.WriteString("Indstillinger", "Font", "Courier New");
  for (const char* title :
       {"FTP", "ftp", "Filer", "KODER", "Start", "indstillinger", "Editor", "Bokse", "UserColors", " Ftp "}) {
    EXPECT_EQ(checkConnectionTitle(title), TitleCheck::Reserved) << title;
    EXPECT_FALSE(connections_.save(title, connection("ftp.eksempel.dk", "u", "p"), 0)) << title;
  }
  EXPECT_EQ(checkConnectionTitle("  "), TitleCheck::Empty);
  EXPECT_FALSE(connections_.save("", connection("s", "u", "p"), 0));
  EXPECT_EQ(checkConnectionTitle("Ftp-side"), TitleCheck::Usable);
  EXPECT_EQ(kReservedTitleText, "Denne titel er reserveret. Vælg en anden.");
  // Nothing was written over the program's own settings.
  EXPECT_TRUE(connections_.titles().isEmpty());
  EXPECT_FALSE(store_.ValueExists("Start", "Server"));
  EXPECT_EQ(store_.ReadString("Indstillinger", "Font", ""), "Courier New");
}

TEST_F(FtpConnectionStore, TheWindowsOwnSettings) {
  const FtpWindowSettings fresh = readWindowSettings(store_);
  EXPECT_EQ(fresh.width, 430);
  EXPECT_EQ(fresh.view, 3);
  EXPECT_EQ(fresh.connection, 0);
  writeWindowSettings(store_, {520, 4, 2});
  const FtpWindowSettings back = readWindowSettings(store_);
  EXPECT_EQ(back.width, 520);
  EXPECT_EQ(back.view, 4);
  EXPECT_EQ(back.connection, 2);
  EXPECT_EQ(store_.ReadInteger("Start", "FtpBredde", 0), 520);
}

TEST(FtpListRows, SizesTypesAndTheOrderOfTheList) {
  EXPECT_EQ(listingSizeText("0"), "1 KB");
  EXPECT_EQ(listingSizeText("1023"), "1 KB");
  EXPECT_EQ(listingSizeText("2047"), "1 KB");
  EXPECT_EQ(listingSizeText("2048"), "2 KB");
  EXPECT_EQ(listingSizeText("5368709120"), "5242880 KB");
  for (const char* odd : {"", "?", "12/15", "-4", "1k"}) EXPECT_EQ(listingSizeText(odd), "? KB") << odd;

  for (const char* html : {"a.htm", "a.html", "a.shtml", "a.phtml", "a.asp"})
    EXPECT_EQ(fileTypeText(html), "HTML-dokument");
  EXPECT_EQ(fileTypeText("a.HTM"), "Fil");
  EXPECT_EQ(fileTypeText("lyd.wav"), "Wave-lyd");
  EXPECT_EQ(fileTypeText("sang.mid"), "MIDI-sekvens");
  for (const char* picture : {"a.gif", "a.jpg", "a.jpeg"}) EXPECT_EQ(fileTypeText(picture), "Grafikfil");
  EXPECT_EQ(fileTypeText("arkiv.zip"), "Zip-fil");
  EXPECT_EQ(fileTypeText("setup.exe"), "Program");
  EXPECT_EQ(fileTypeText("læs.txt"), "Tekstdokument");
  EXPECT_EQ(fileTypeText("stil.css"), "Fil");
  EXPECT_EQ(fileTypeText("README"), "Fil");

  const std::vector<FtpListEntry> entries = {entry(".", true),  entry("b.htm", false, "4096"), entry("grafik", true),
                                             entry("..", true), entry("a.gif", false, "x"),    entry("arkiv", true)};
  const std::vector<FtpListRow> rows = listingRows(entries);
  EXPECT_EQ(names(rows), (QStringList{"grafik", "arkiv", "b.htm", "a.gif"}));
  EXPECT_EQ(rows[0].type, "Filmappe");
  EXPECT_EQ(rows[0].size, "");
  EXPECT_EQ(rows[2].size, "4 KB");
  EXPECT_EQ(rows[3].size, "? KB");
  EXPECT_EQ(objectCountText(rows), "4 objekt(er)");
  EXPECT_EQ(totalSizeText(entries), "4,0 KB");
  EXPECT_EQ(totalSizeText({}), "0,0 KB");
}

TEST(FtpListRows, SortingKeepsTheFoldersInPlace) {
  std::vector<FtpListRow> rows =
      listingRows({entry("zeta", true), entry("b.htm", false, "4096", "05-03-2003 10:00"), entry("alfa", true),
                   entry("C.gif", false, "500", "?"), entry("a.htm", false, "4000", "05-03-2003 09:59"),
                   entry("d.txt", false, "?", "01-12-2002 ")});
  sortRows(rows, FtpSortColumn::Name, true);
  EXPECT_EQ(names(rows), (QStringList{"zeta", "alfa", "a.htm", "b.htm", "C.gif", "d.txt"}));
  sortRows(rows, FtpSortColumn::Name, false);
  EXPECT_EQ(names(rows), (QStringList{"zeta", "alfa", "d.txt", "C.gif", "b.htm", "a.htm"}));
  // By the number of kilobytes; equal numbers by the name; "? KB" first.
  sortRows(rows, FtpSortColumn::Size, true);
  EXPECT_EQ(names(rows), (QStringList{"zeta", "alfa", "d.txt", "C.gif", "a.htm", "b.htm"}));
  sortRows(rows, FtpSortColumn::Type, true);
  EXPECT_EQ(names(rows), (QStringList{"zeta", "alfa", "C.gif", "a.htm", "b.htm", "d.txt"}));
  // Dates as dates, not as texts; a date that is none comes first.
  sortRows(rows, FtpSortColumn::Date, true);
  EXPECT_EQ(names(rows), (QStringList{"zeta", "alfa", "C.gif", "d.txt", "a.htm", "b.htm"}));
  sortRows(rows, FtpSortColumn::Date, false);
  EXPECT_EQ(names(rows), (QStringList{"zeta", "alfa", "b.htm", "a.htm", "d.txt", "C.gif"}));
}

TEST(FtpListRows, TheFolderList) {
  const QStringList items = folderListItems("ftp.eksempel.dk", "/public_html/grafik", TFTPServerType::ftpstUNIX);
  EXPECT_EQ(items, (QStringList{"ftp.eksempel.dk", "public_html", "grafik"}));
  EXPECT_EQ(folderOfItem(items, 0), "/");
  EXPECT_EQ(folderOfItem(items, 1), "/public_html");
  EXPECT_EQ(folderOfItem(items, 2), "/public_html/grafik");
  EXPECT_EQ(folderListItems("vms.eksempel.dk", "DISK$USER:[WEB]", TFTPServerType::ftpstVmsUcx),
            QStringList{"vms.eksempel.dk"});
  EXPECT_EQ(folderListItems("s", "/", TFTPServerType::ftpstUNIX), QStringList{"s"});
}

TEST(FtpProgressFigures, ThisFileAndAllFiles) {
  EXPECT_EQ(durationText(0), " 0:00:00");
  EXPECT_EQ(durationText(3725), " 1:02:05");
  EXPECT_EQ(durationText(36000), "10:00:00");

  TransferProgress progress;
  ProgressTexts t = progress.report(512, 1024, 2500);
  EXPECT_EQ(t.bar, 50);
  EXPECT_EQ(t.fileBytes, "512 bytes");
  EXPECT_EQ(t.fileTime, " 0:00:02");
  EXPECT_EQ(t.fileTimeLeft, " 0:00:02");
  EXPECT_EQ(t.allBytes, "512 bytes");
  EXPECT_EQ(t.rate, "256 bytes/sek.");  // 2 tenths of a kilobyte a second over whole seconds

  progress.fileDone(1024 * 1024, 9000);
  t = progress.report(1024 * 1024, 4 * 1024 * 1024, 1000);
  EXPECT_EQ(t.bar, 25);
  EXPECT_EQ(t.fileTimeLeft, " 0:00:03");
  EXPECT_EQ(t.allBytes, "2097152 bytes");
  EXPECT_EQ(t.allTime, " 0:00:10");
  EXPECT_EQ(t.rate, "204.8 KB/sek.");

  // What cannot be told yet is shown as unknown, never divided by zero.
  TransferProgress fresh;
  t = fresh.report(0, 0, 0);
  EXPECT_EQ(t.bar, 0);
  EXPECT_EQ(t.fileTimeLeft, " - - ");
  EXPECT_EQ(t.rate, " - - ");
  EXPECT_EQ(fresh.report(100, 0, 5000).fileTimeLeft, " - - ");  // no size announced
  EXPECT_EQ(fresh.report(2048, 1024, 5000).bar, 100);           // more came than announced
  EXPECT_EQ(fresh.report(2048, 1024, 5000).fileTimeLeft, " 0:00:00");
  EXPECT_EQ(fresh.report(50, 100, 10000).rate, " - - ");  // below a tenth of a kilobyte a second
  // Large files do not overflow the arithmetic.
  EXPECT_EQ(fresh.report(3'000'000'000LL, 6'000'000'000LL, 3'600'000).fileTimeLeft, " 1:00:00");

  EXPECT_EQ(progressCaption(true, "index.htm", 1234), "Sender index.htm (1234 bytes)");
  EXPECT_EQ(progressCaption(false, "logo.gif", 0), "Modtager logo.gif (0 bytes)");
}

TEST(FtpTexts, StatusPanelAndMarks) {
  EXPECT_EQ(infoStatusText(FtpInfo::Connected, "10.0.0.1"), "Forbundet til 10.0.0.1");
  EXPECT_EQ(infoStatusText(FtpInfo::Resolved, "10.0.0.1"), "Forbundet til 10.0.0.1");
  EXPECT_EQ(infoStatusText(FtpInfo::Disconnected, "Disconnected"), "Forbindelsen afbrudt");
  EXPECT_EQ(infoStatusText(FtpInfo::LookingUp, "ftp.eksempel.dk"), "Søger ftp.eksempel.dk");
  EXPECT_EQ(infoStatusText(FtpInfo::LoggedIn, "Logged in"), "Logget ind");
  for (FtpInfo quiet : {FtpInfo::ControlData, FtpInfo::SendingCommand, FtpInfo::NegativeReply, FtpInfo::ListingLine})
    EXPECT_EQ(infoStatusText(quiet, "x"), "") << static_cast<int>(quiet);

  EXPECT_EQ(markedStatusText({"index.htm"}), "index.htm  markeret til overførsel til ftp-server");
  EXPECT_EQ(markedStatusText({"a.htm", "b.htm", "c.gif"}), "3  fil(er) markeret til overførsel til ftp-server");

  // Every error the user is shown in a box has a title and a text.
  for (int code = 0; code <= 28; ++code) {
    const FtpErrorMessage m = errorMessage(static_cast<FtpError>(code), "ftp.eksempel.dk", "/tmp/a.htm");
    if (!m.title.isEmpty()) {
      EXPECT_FALSE(m.text.isEmpty()) << code;
    }
  }
  EXPECT_EQ(errorMessage(FtpError::ConnectionRefused, "", "").text,
            "Serveren afviser at forbinde.Kontroller at forbindelsens egenskaber er korrekte.");
  EXPECT_EQ(errorMessage(FtpError::DataConnection, "", "").title, "Dataoverførselsfejl");
  EXPECT_EQ(errorMessage(FtpError::NetworkUnreachable, "", "").text, "Netværket er nede.");
  EXPECT_EQ(errorMessage(FtpError::OutOfSockets, "", "").title, "Out of Sockets-fejl");
}

TEST(FtpUploadQueue, WhereEachMarkedFileGoes) {
  // Files of a pane or the active document go by their file name.
  std::vector<TransferItem> items = uploadQueue("/public_html", {{"/home/a/sider/index.htm", "/tmp/æble.htm"}, {}});
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].remote, "/public_html/index.htm");
  EXPECT_EQ(items[0].local, "/home/a/sider/index.htm");
  EXPECT_EQ(items[1].remote, "/public_html/æble.htm");

  // A project's documents keep their places below the root folder, also
  // those that climb out of it.
  items = uploadQueue(
      "/", {{"index.htm", "sider/om os.htm", "sider\\kontakt.htm", "../fælles/stil.css"}, "/home/a/projekt"});
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].remote, "/index.htm");
  EXPECT_EQ(items[0].local, "/home/a/projekt/index.htm");
  EXPECT_EQ(items[1].remote, "/sider/om os.htm");
  EXPECT_EQ(items[1].local, "/home/a/projekt/sider/om os.htm");
  EXPECT_EQ(items[2].remote, "/sider/kontakt.htm");
  EXPECT_EQ(items[2].local, "/home/a/projekt/sider/kontakt.htm");
  EXPECT_EQ(items[3].remote, "/../fælles/stil.css");
  EXPECT_EQ(items[3].local, "/home/a/fælles/stil.css");
  EXPECT_TRUE(uploadQueue("/", {}).empty());
}

TEST(FtpDeleteChain, TheQuestionsDecideWhatGoes) {
  std::vector<FtpListRow> selected = listingRows({entry("gammel", true), entry("a.htm", false), entry("b.gif", false)});
  struct Asked {
    QString title, text;
  };
  std::vector<Asked> asked;
  std::vector<bool> answers;
  const AskYesNo ask = [&](const QString& title, const QString& text) {
    asked.push_back({title, text});
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  };

  // Yes to the files: the folders go after them, without a second question.
  answers = {true};
  Deletions d = chooseDeletions("/public_html", selected, ask);
  EXPECT_EQ(d.files, (QStringList{"/public_html/a.htm", "/public_html/b.gif"}));
  EXPECT_EQ(d.folders, QStringList{"/public_html/gammel"});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].title, "Slet filer på Internet");
  EXPECT_EQ(asked[0].text, "Ønsker du at slette de markerede filer??");

  // No to the files: the folders are asked about on their own.
  asked.clear();
  answers = {false, true};
  d = chooseDeletions("/", selected, ask);
  EXPECT_TRUE(d.files.isEmpty());
  EXPECT_EQ(d.folders, QStringList{"/gammel"});
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].title, "Slet mapper på Internet");
  EXPECT_EQ(asked[1].text, "Ønsker du at slette de markerede mapper??");

  answers = {false, false};
  d = chooseDeletions("/", selected, ask);
  EXPECT_TRUE(d.files.isEmpty() && d.folders.isEmpty());

  // Folders alone: "Yes" to the files question deletes nothing yet.
  asked.clear();
  answers = {true, true};
  d = chooseDeletions("/", {selected[0]}, ask);
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(d.folders, QStringList{"/gammel"});
  EXPECT_TRUE(answers.empty());
}

TEST(FtpCertificateChoice, AcceptedAskedOrRefused) {
  FtpCertificate good;
  good.fingerprint = "AB:CD:EF:01";
  FtpCertificate own = good;
  own.problem = CertificateProblem::SelfSigned;

  EXPECT_EQ(judgeCertificate(good, {}), CertificateVerdict::Accept);
  EXPECT_EQ(judgeCertificate(good, "99:99"), CertificateVerdict::Accept);  // checks out: nothing to pin
  EXPECT_EQ(judgeCertificate(own, {}), CertificateVerdict::Ask);
  EXPECT_EQ(judgeCertificate(own, "ab:cd:ef:01"), CertificateVerdict::Accept);
  EXPECT_EQ(judgeCertificate(own, "ABCDEF01"), CertificateVerdict::Accept);
  EXPECT_EQ(judgeCertificate(own, "AB:CD:EF:02"), CertificateVerdict::RefuseChanged);
  EXPECT_EQ(judgeCertificate(own, " : "), CertificateVerdict::Ask);  // nothing stored but separators
  EXPECT_FALSE(sameFingerprint("", ""));

  own.problem = CertificateProblem::WrongHost;
  EXPECT_EQ(problemText(own, "ftp.eksempel.dk"), "Certifikatet er udstedt til et andet navn end ftp.eksempel.dk.");
  own.problem = CertificateProblem::Expired;
  EXPECT_EQ(problemText(own, ""), "Certifikatet er udløbet.");
  own.problem = CertificateProblem::Other;
  own.detail = "certificate revoked";
  EXPECT_EQ(problemText(own, ""), "Certifikatet kunne ikke godkendes (certificate revoked).");
  EXPECT_TRUE(problemText(good, "").isEmpty());
}

TEST_F(FtpConnectionStore, SecurityChoicesAndATrustedCertificate) {
  // A connection stored before these choices existed stays plain FTP in
  // active mode.
  store_.WriteString("Gammel", "Server", "ftp.gammel.dk");
  store_.WriteString("Ftp", "Ftp1", "Gammel");
  const FtpConnection old = connections_.load("Gammel");
  EXPECT_FALSE(old.secure);
  EXPECT_FALSE(old.passive);
  EXPECT_TRUE(old.trustedFingerprint.isEmpty());

  // A new one is secured, insists and is passive; the choices come back.
  FtpConnection site = connection("ftp.eksempel.dk", "u", "p");
  EXPECT_TRUE(site.secure && site.requireSecure && site.passive);
  site.requireSecure = false;
  ASSERT_TRUE(connections_.save("Ny", site, 0));
  FtpConnection back = connections_.load("Ny");
  EXPECT_TRUE(back.secure);
  EXPECT_FALSE(back.requireSecure);
  EXPECT_TRUE(back.passive);

  // A trusted certificate is kept with the connection, survives saving the
  // fields again, and goes when the server changes.
  EXPECT_FALSE(connections_.trustFingerprint("Findes ikke", "AB:CD"));
  ASSERT_TRUE(connections_.trustFingerprint("ny", "AB:CD"));
  EXPECT_EQ(connections_.load("Ny").trustedFingerprint, "AB:CD");
  EXPECT_TRUE(fileText().contains("Fingeraftryk"));
  ASSERT_TRUE(connections_.save("Ny", site, 0));
  EXPECT_EQ(connections_.load("Ny").trustedFingerprint, "AB:CD");
  ASSERT_TRUE(connections_.trustFingerprint("Ny", {}));
  EXPECT_TRUE(connections_.load("Ny").trustedFingerprint.isEmpty());
  ASSERT_TRUE(connections_.trustFingerprint("Ny", "AB:CD"));
  site.server = "ftp.andet.dk";
  ASSERT_TRUE(connections_.save("Ny", site, 0));
  EXPECT_TRUE(connections_.load("Ny").trustedFingerprint.isEmpty());
}
