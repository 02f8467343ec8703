// The publishing window TfrmFtp as a user drives it: its stored connections,
// and its work against a real FTP server on 127.0.0.1, with every question
// and message answered through the interaction seam.
#include "../dialogs/fake_host.h"
#include "certificate_dialog.h"
#include "common_dialogs.h"
#include "controls/status_bar.h"
#include "dialogs/password_prompt.h"
#include "ftp_fixture.h"
#include "ftp_list.h"
#include "ftp_password.h"
#include "ftp_window.h"
#include "progress_window.h"
#include "scripted_responder.h"
#include "test_ca.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTest>
#include <QTreeView>

#include <filesystem>

using testing_support::ScriptedResponder;

namespace {

class FtpWindowTest : public FtpServerTest {
 protected:
  void SetUp() override {
    FtpServerTest::SetUp();
    window_ = new TfrmFtp(host_);
  }
  void TearDown() override {
    delete window_.data();
    FtpServerTest::TearDown();
  }

  TfrmFtp& w() { return *window_; }
  QAction* command(const char* name) {
    QAction* a = w().command(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  void trigger(const char* name) { command(name)->trigger(); }
  bool enabled(const char* name) { return command(name)->isEnabled(); }
  QString status(int panel) { return w().StatusBar1->PanelText(panel); }
  bool waitUntilIdle() {
    return runUntil([&] { return !w().busy(); });
  }

  // The fixture's server speaks plain FTP unless it was given a certificate.
  void fillFields(const QString& server, const QString& user, const QString& password, bool savePassword = true) {
    w().txtServer->setText(server);
    w().txtBruger->setText(user);
    w().txtKode->setText(password);
    w().chkGemKode->setChecked(savePassword);
    w().chkSikker->setChecked(!certificate_.isEmpty());
  }
  QString serverField() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
  void connectToServer(const QString& startFolder = {}) {
    fillFields(serverField(), kUser, kPassword);
    w().txtStartBib->setText(startFolder);
    trigger("btnTilslut");
    ASSERT_TRUE(waitUntilIdle());
    ASSERT_TRUE(w().connected());
  }

  QStringList listed() {
    QStringList names;
    for (const auto& row : w().lwFTP->rows()) names << row.name;
    return names;
  }
  QAbstractItemView* view() { return w().lwFTP->currentView(); }
  void select(const QStringList& names) {
    QAbstractItemView* v = view();
    v->clearSelection();
    for (int row = 0; row < v->model()->rowCount(); ++row) {
      const QModelIndex index = v->model()->index(row, 0);
      if (names.contains(index.data().toString()))
        v->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  // Types into the list's in-place editor and ends the edit with `key`.
  void typeName(const QString& text, Qt::Key key = Qt::Key_Return) {
    auto* editor = view()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, key);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  static ScriptedResponder::Handler title(const QString& text, QString* proposed = nullptr) {
    return [text, proposed](platform::Request& r) {
      auto* box = qobject_cast<QInputDialog*>(r.form);
      EXPECT_NE(box, nullptr);
      if (!box) return int(QDialog::Rejected);
      EXPECT_EQ(box->windowTitle(), "Forbindelse");
      EXPECT_EQ(box->labelText(), "Skriv forbindelsens titel:");
      if (proposed) *proposed = box->textValue();
      box->setTextValue(text);
      return int(QDialog::Accepted);
    };
  }

  dialog_test::FakeHost host_;
  QPointer<TfrmFtp> window_;
};

TEST_F(FtpWindowTest, ConnectionsAreSavedChosenAndDeleted) {
  morvel::RegIniFile& store = host_.store();
  EXPECT_EQ(w().windowTitle(), "Overførsel til Internet");
  EXPECT_EQ(w().cmbForbindelse->count(), 0);
  EXPECT_FALSE(enabled("btnSlet"));
  EXPECT_TRUE(w().panEgenskaber->isHidden());

  trigger("mnuNy");
  EXPECT_FALSE(w().panEgenskaber->isHidden());
  // A new connection is secured, insists on it, and uses passive mode.
  EXPECT_TRUE(w().chkSikker->isChecked());
  EXPECT_TRUE(w().optKraev->isChecked());
  EXPECT_TRUE(w().chkPassiv->isChecked());
  EXPECT_FALSE(w().cmdGlemCertifikat->isEnabled());
  fillFields("ftp.udbyder.dk", "jens", "hemmelig");
  w().txtStartBib->setText("public_html");
  ScriptedResponder responder;
  responder.answer(title("Min side"));
  trigger("btnGem");
  EXPECT_EQ(w().cmbForbindelse->currentText(), "Min side");
  EXPECT_TRUE(enabled("btnSlet"));
  EXPECT_EQ(store.ReadString("Ftp", "Ftp1", ""), "Min side");
  EXPECT_EQ(store.ReadString("Min side", "Server", ""), "ftp.udbyder.dk");
  EXPECT_EQ(store.ReadString("Min side", "StartBib", ""), "public_html");
  EXPECT_EQ(store.ReadString("Min side", "Bruger", ""), "jens");
  const std::string scrambled = store.ReadString("Min side", "Kodeord", "");
  EXPECT_EQ(scrambled.find("hemmelig"), std::string::npos);
  EXPECT_EQ(morvel::ftp::unscramblePassword(scrambled), "hemmelig");
  // What keeps it from other users is the store's mode.
  EXPECT_EQ(std::filesystem::status(store.FileName()).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  // A password the user does not want kept never reaches the store.
  trigger("mnuNy");
  fillFields("ftp.andet.dk", "ole", "topsecret", false);
  w().chkSikker->setChecked(true);
  w().optHvisMuligt->setChecked(true);
  w().chkPassiv->setChecked(false);
  responder.answer(title("Andet"));
  trigger("mnuGemsom");
  EXPECT_EQ(morvel::ftp::unscramblePassword(store.ReadString("Andet", "Kodeord", "")), "");
  EXPECT_FALSE(store.ReadBool("Andet", "GemKode", true));
  EXPECT_TRUE(store.ReadBool("Andet", "Sikker", false));
  EXPECT_FALSE(store.ReadBool("Andet", "KraevSikker", true));
  EXPECT_FALSE(store.ReadBool("Andet", "Passiv", true));
  EXPECT_FALSE(store.ReadBool("Min side", "Sikker", true));

  // Titles that name the program's own sections are refused; an empty one too.
  for (const char* reserved : {"FTP", "filer", "Koder"}) {
    responder.answer(title(reserved));
    responder.answer(IDOK);
    trigger("mnuGemsom");
    EXPECT_EQ(responder.last().text, "Denne titel er reserveret. Vælg en anden.");
  }
  responder.answer(title("   "));
  responder.answer(IDOK);
  trigger("mnuGemsom");
  EXPECT_EQ(store.ReadString("Ftp", "Ftp3", "none"), "none");

  // Choosing a connection loads its fields; saving under the proposed title
  // changes it in place.
  w().cmbForbindelse->setCurrentIndex(0);
  emit w().cmbForbindelse->activated(0);
  EXPECT_EQ(w().txtServer->text(), "ftp.udbyder.dk");
  EXPECT_EQ(w().txtKode->text(), "hemmelig");
  EXPECT_TRUE(w().chkGemKode->isChecked());
  EXPECT_FALSE(w().chkSikker->isChecked());
  EXPECT_FALSE(w().optKraev->isEnabled());
  emit w().cmbForbindelse->activated(1);
  EXPECT_TRUE(w().chkSikker->isChecked());
  EXPECT_TRUE(w().optHvisMuligt->isChecked());
  EXPECT_FALSE(w().chkPassiv->isChecked());
  w().cmbForbindelse->setCurrentIndex(0);
  emit w().cmbForbindelse->activated(0);
  w().txtBruger->setText("jens2");
  QString proposed;
  responder.answer(title("min SIDE", &proposed));
  trigger("mnuGemsom");
  EXPECT_EQ(proposed, "Min side");
  EXPECT_EQ(w().cmbForbindelse->count(), 2);
  EXPECT_EQ(store.ReadString("Min side", "Bruger", ""), "jens2");

  // Deleting asks; No keeps it, Yes takes it and loads the first left.
  w().cmbForbindelse->setCurrentIndex(1);
  emit w().cmbForbindelse->activated(1);
  responder.answer(IDNO);
  trigger("btnSlet");
  EXPECT_EQ(responder.last().caption, "Slet forbindelse");
  EXPECT_EQ(responder.last().text, "Ønsker du at slette Andet?");
  EXPECT_EQ(w().cmbForbindelse->count(), 2);
  responder.answer(IDYES);
  trigger("mnuSlet");
  EXPECT_EQ(w().cmbForbindelse->count(), 1);
  EXPECT_EQ(w().txtServer->text(), "ftp.udbyder.dk");
  EXPECT_EQ(store.ReadString("Andet", "Server", "gone"), "gone");
  EXPECT_EQ(store.ReadString("Ftp", "Ftp2", "gone"), "gone");
  responder.answer(IDYES);
  trigger("mnuSlet");
  EXPECT_EQ(w().cmbForbindelse->count(), 0);
  EXPECT_TRUE(w().txtServer->text().isEmpty());
  EXPECT_FALSE(enabled("btnSlet"));
}

TEST_F(FtpWindowTest, TheWindowKeepsItsWidthViewAndConnectionBetweenRuns) {
  ScriptedResponder responder;
  for (const char* t : {"Første", "Anden"}) {
    trigger("mnuNy");
    fillFields(QString::fromUtf8(t).toLower() + ".dk", "u", "p");
    responder.answer(title(QString::fromUtf8(t)));
    trigger("mnuGemsom");
  }
  trigger("mnuDetaljer");
  EXPECT_EQ(w().lwFTP->view(), TFtpList::Details);
  EXPECT_TRUE(command("btnDetaljer")->isChecked());
  w().resize(520, 400);
  ASSERT_TRUE(w().close());
  ASSERT_TRUE(runUntilDeleted([&] { return window_.isNull(); }));
  EXPECT_EQ(host_.store().ReadInteger("Start", "FtpBredde", 0), 520);
  EXPECT_EQ(host_.store().ReadInteger("Start", "FtpVisning", 0), 4);
  EXPECT_EQ(host_.store().ReadInteger("Start", "Forbindelse", -1), 1);

  window_ = new TfrmFtp(host_);
  EXPECT_EQ(w().width(), 520);
  EXPECT_EQ(w().lwFTP->view(), TFtpList::Details);
  EXPECT_EQ(w().cmbForbindelse->currentText(), "Anden");
  EXPECT_EQ(w().txtServer->text(), "anden.dk");
}

TEST_F(FtpWindowTest, ConnectingListsTheFolderAndTheFolderCommandsFollow) {
  QDir(serverRoot_.path()).mkpath("public_html/grafik/ikoner");
  writeFile(serverPath("public_html/index.htm"), QByteArray(3000, 'x'));
  writeFile(serverPath("public_html/grafik/logo.gif"), "GIF89a");
  EXPECT_TRUE(enabled("btnTilslut"));
  EXPECT_FALSE(enabled("btnAfbryd"));
  EXPECT_FALSE(enabled("btnNiveauOp"));
  connectToServer("public_html");

  EXPECT_EQ(listed(), (QStringList{"grafik", "index.htm"}));
  EXPECT_EQ(status(0), "2 objekt(er)");
  EXPECT_EQ(status(1), "2,9 KB");
  EXPECT_EQ(status(2), "Klar");
  EXPECT_EQ(w().cmbMappe->count(), 2);
  EXPECT_EQ(w().cmbMappe->itemText(0), "127.0.0.1");
  EXPECT_EQ(w().cmbMappe->currentText(), "public_html");
  EXPECT_FALSE(enabled("btnTilslut"));
  EXPECT_TRUE(enabled("btnAfbryd"));
  EXPECT_TRUE(enabled("btnNiveauOp"));
  EXPECT_TRUE(enabled("btnNyMappe"));
  EXPECT_FALSE(enabled("btnStart"));  // nothing is marked
  EXPECT_FALSE(enabled("btnStop"));

  // A double click on a folder goes into it.
  const QModelIndex folder = view()->model()->index(0, 0);
  emit view()->doubleClicked(folder);
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(w().cmbMappe->currentText(), "grafik");
  EXPECT_EQ(listed(), (QStringList{"ikoner", "logo.gif"}));
  EXPECT_EQ(w().lwFTP->rows()[1].type, "Grafikfil");

  // The folder list takes the user back to any folder above.
  emit w().cmbMappe->activated(0);
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(listed(), QStringList{"public_html"});
  EXPECT_EQ(w().cmbMappe->count(), 1);
  emit view()->doubleClicked(view()->model()->index(0, 0));
  ASSERT_TRUE(waitUntilIdle());
  trigger("btnNiveauOp");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(listed(), QStringList{"public_html"});

  // Disconnecting empties the list and the commands return.
  trigger("btnAfbryd");
  ASSERT_TRUE(runUntil([&] { return !w().connected(); }));
  EXPECT_TRUE(listed().isEmpty());
  EXPECT_EQ(status(0), "0 objekt(er)");
  EXPECT_TRUE(enabled("btnTilslut"));
  EXPECT_FALSE(enabled("btnNiveauOp"));
  EXPECT_EQ(status(2), "Klar");
}

TEST_F(FtpWindowTest, APasswordThatIsNotKeptIsAskedForEachTime) {
  fillFields(serverField(), kUser, QString(), false);
  ScriptedResponder responder;
  // Cancel ends the command: nothing is sent.
  responder.answer(int(QDialog::Rejected));
  trigger("btnTilslut");
  EXPECT_FALSE(w().busy());
  EXPECT_FALSE(w().connected());
  responder.answer([](platform::Request& r) {
    auto* kode = dynamic_cast<TfrmKode*>(r.form);
    EXPECT_NE(kode, nullptr);
    if (!kode) return int(QDialog::Rejected);
    EXPECT_EQ(kode->windowTitle(), "Skriv kodeord");
    EXPECT_EQ(kode->txtKode->echoMode(), QLineEdit::Password);
    kode->txtKode->setText(QString::fromLatin1(kPassword));
    return int(QDialog::Accepted);
  });
  trigger("btnTilslut");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(w().connected());
}

TEST_F(FtpWindowTest, TheClientsErrorsAreShownInMessages) {
  ScriptedResponder responder;
  // A wrong password.
  fillFields(serverField(), kUser, "forkert");
  responder.answer(IDOK);
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_EQ(responder.last().caption, "Adgang nægtet");
  EXPECT_EQ(responder.last().text, "Adgang nægtet. Tjek dit brugernavn og kodeord.");
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, UINT(MB_ICONERROR));

  // A port nobody listens on.
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const quint16 refused = closed.serverPort();
  closed.close();
  fillFields(QStringLiteral("127.0.0.1:%1").arg(refused), kUser, kPassword);
  responder.answer(IDOK);
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_EQ(responder.last().caption, "Forbindelse afvist");
  EXPECT_TRUE(enabled("btnTilslut"));

  // No server at all: the user is told where to write it.
  fillFields(QString(), kUser, kPassword);
  w().panEgenskaber->hide();
  responder.answer(IDOK);
  trigger("btnTilslut");
  EXPECT_EQ(responder.last().text, "Skriv navnet på ftp-serveren under forbindelsens egenskaber, før du tilslutter.");
  EXPECT_FALSE(w().panEgenskaber->isHidden());

  // A host that cannot be found: the window starts afresh.
  fillFields("ingen.findes.invalid", kUser, kPassword);
  responder.answer(IDOK);
  trigger("btnTilslut");
  ASSERT_TRUE(runUntilDeleted([&] { return window_.isNull(); }));
  EXPECT_EQ(responder.last().caption, "Adressefejl");
  EXPECT_TRUE(responder.last().text.startsWith("Morvel kan ikke finde ingen.findes.invalid ."));
}

TEST_F(FtpWindowTest, FoldersAreMadeAndEntriesRenamedInPlace) {
  writeFile(serverPath("side.htm"), "x");
  connectToServer();
  EXPECT_TRUE(enabled("mnuNyMappe"));
  trigger("btnNyMappe");
  typeName("Billeder");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(QFileInfo(serverPath("Billeder")).isDir());
  EXPECT_EQ(listed(), (QStringList{"Billeder", "side.htm"}));

  // Escape gives the new folder up.
  trigger("btnNyMappe");
  typeName("Aldrig", Qt::Key_Escape);
  EXPECT_FALSE(w().busy());
  EXPECT_FALSE(QFileInfo::exists(serverPath("Aldrig")));
  EXPECT_EQ(view()->model()->rowCount(), 2);

  select({"side.htm"});
  EXPECT_TRUE(enabled("mnuOmdoeb"));
  EXPECT_FALSE(enabled("mnuNyMappe"));  // with an entry selected
  trigger("mnuOmdoeb");
  typeName("forside æøå.htm");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(QFileInfo::exists(serverPath("forside æøå.htm")));
  EXPECT_EQ(listed(), (QStringList{"Billeder", "forside æøå.htm"}));

  // The same name again changes nothing on the server.
  select({"Billeder"});
  trigger("mnuOmdoeb");
  typeName("Billeder");
  EXPECT_FALSE(w().busy());
  EXPECT_EQ(listed(), (QStringList{"Billeder", "forside æøå.htm"}));
}

TEST_F(FtpWindowTest, TheDeleteChainAsksAboutFilesThenFolders) {
  QDir root(serverRoot_.path());
  root.mkpath("gammel/under");
  for (const char* name : {"a.htm", "b.gif", "c.htm", "gammel/under/d.htm"}) writeFile(serverPath(name), name);
  connectToServer();
  ScriptedResponder responder;

  // No to the files, then No to the folders: nothing goes.
  select({"a.htm", "gammel"});
  responder.answer(IDNO);
  responder.answer(IDNO);
  trigger("mnuSletF");
  EXPECT_EQ(responder.seen()[0].caption, "Slet filer på Internet");
  EXPECT_EQ(responder.seen()[0].text, "Ønsker du at slette de markerede filer??");
  EXPECT_EQ(responder.seen()[1].caption, "Slet mapper på Internet");
  EXPECT_FALSE(w().busy());
  EXPECT_TRUE(QFileInfo::exists(serverPath("a.htm")));

  // Yes to the files takes the empty folder with them, without asking again.
  root.mkdir("tom");
  trigger("btnNiveauOp");  // lists the folder again
  ASSERT_TRUE(waitUntilIdle());
  select({"a.htm", "b.gif", "tom"});
  responder.answer(IDYES);
  trigger("mnuSletF");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(responder.seen().size(), 3u);
  EXPECT_EQ(listed(), (QStringList{"gammel", "c.htm"}));

  // A folder that is not empty cannot be removed; the list stays true.
  select({"gammel"});
  responder.answer(IDNO);
  responder.answer(IDYES);
  trigger("popSlet");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(QFileInfo(serverPath("gammel")).isDir());
  EXPECT_EQ(listed(), (QStringList{"gammel", "c.htm"}));
  EXPECT_TRUE(w().connected());
}

TEST_F(FtpWindowTest, MarkedFilesAreUploadedWithTheProgressWindow) {
  writeFile(localPath("forside.htm"), testBytes(300000, 1));
  writeFile(localPath("logo.gif"), testBytes(5000, 2));
  ScriptedResponder responder;
  // Not connected: a drop is refused with a message.
  responder.answer(IDOK);
  w().uploadDropped({localPath("forside.htm")});
  EXPECT_EQ(responder.last().text, "Du skal være forbundet til serveren for at kunne overføre filer.");

  w().markFiles({localPath("forside.htm"), localPath("logo.gif")});
  EXPECT_EQ(status(2), "2  fil(er) markeret til overførsel til ftp-server");
  EXPECT_FALSE(enabled("btnStart"));
  connectToServer();
  EXPECT_TRUE(enabled("btnStart"));
  bool progressShown = false;
  QString caption;
  w().session().OnProgressCaption = [&](const QString& c) {
    if (TProgress* p = w().progressWindow()) {
      progressShown = p->isVisible();
      p->startFile(c);
      caption = p->windowTitle();
    }
  };
  trigger("btnStart");
  EXPECT_FALSE(enabled("btnStart"));
  EXPECT_TRUE(enabled("btnStop"));
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(progressShown);
  EXPECT_EQ(caption, "Sender logo.gif (5000 bytes)");
  EXPECT_EQ(readFile(serverPath("forside.htm")), readFile(localPath("forside.htm")));
  EXPECT_EQ(readFile(serverPath("logo.gif")), readFile(localPath("logo.gif")));
  ASSERT_TRUE(runUntilDeleted([&] { return w().progressWindow() == nullptr; }));
  EXPECT_EQ(listed(), (QStringList{"forside.htm", "logo.gif"}));
  EXPECT_FALSE(enabled("btnStart"));  // the marks went with the batch
  EXPECT_FALSE(enabled("btnStop"));
  EXPECT_EQ(status(2), "Klar");

  // A file dropped while connected is sent at once.
  writeFile(localPath("ny.htm"), "ny side");
  w().uploadDropped({localPath("ny.htm")});
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(readFile(serverPath("ny.htm")), "ny side");
}

TEST_F(FtpWindowTest, TheSelectionIsDownloadedWithItsFolders) {
  QDir(serverRoot_.path()).mkpath("sider/gamle sider");
  writeFile(serverPath("sider/a.htm"), testBytes(70000, 4));
  writeFile(serverPath("sider/gamle sider/ø.htm"), "gammel");
  writeFile(serverPath("top.htm"), "top");
  writeFile(serverPath("ikke.htm"), "ikke");
  connectToServer();
  ScriptedResponder responder;
  const QString target = localPath("hentet");
  select({"sider", "top.htm"});
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::BrowseFolder);
    EXPECT_EQ(r.caption, "Vælg den mappe, du ønsker at overføre de markerede filer til");
    static_cast<platform::FolderDialogRequest*>(r.data)->chosen = target;
    return 1;
  });
  QString downloadedTo;
  w().OnDownloaded = [&](const QString& folder) { downloadedTo = folder; };
  trigger("popOverfoer");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_EQ(readFile(target + "/top.htm"), "top");
  EXPECT_EQ(readFile(target + "/sider/a.htm"), readFile(serverPath("sider/a.htm")));
  EXPECT_EQ(readFile(target + "/sider/gamle sider/ø.htm"), "gammel");
  EXPECT_FALSE(QFileInfo::exists(target + "/ikke.htm"));
  EXPECT_EQ(downloadedTo, target);
}

TEST_F(FtpWindowTest, SortingViewsAndThePopupMenu) {
  QDir(serverRoot_.path()).mkdir("mappe");
  writeFile(serverPath("b.htm"), QByteArray(5000, 'b'));
  writeFile(serverPath("a.gif"), QByteArray(3000, 'a'));
  writeFile(serverPath("c.txt"), QByteArray(9000, 'c'));
  connectToServer();
  trigger("mnuDetaljer");
  EXPECT_EQ(w().lwFTP->view(), TFtpList::Details);
  // Names are not cut short in a column of the header's default width.
  auto* details = qobject_cast<QTreeView*>(view());
  ASSERT_NE(details, nullptr);
  EXPECT_GE(details->columnWidth(0), 180);
  trigger("mnuEfterStoerrelse");
  EXPECT_EQ(listed(), (QStringList{"mappe", "a.gif", "b.htm", "c.txt"}));
  trigger("mnuEfterStoerrelse");
  EXPECT_EQ(listed(), (QStringList{"mappe", "c.txt", "b.htm", "a.gif"}));
  trigger("mnuEfterType");  // turns the order round again
  EXPECT_EQ(listed(), (QStringList{"mappe", "a.gif", "b.htm", "c.txt"}));
  EXPECT_EQ(w().lwFTP->rows()[3].type, "Tekstdokument");

  // The pop-up menu offers the entry commands only with a selection.
  ScriptedResponder responder;
  QStringList shown;
  const auto record = [&shown, this](platform::Request&) {
    shown.clear();
    for (QAction* a : w().popFtp->actions())
      if (a->isVisible() && !a->isSeparator()) shown << a->objectName();
    return 0;
  };
  responder.answer(record);
  view()->clearSelection();
  emit view()->customContextMenuRequested(QPoint(2, 2000));
  EXPECT_EQ(shown, (QStringList{"popVis", "popArranger", "popNyMappe", "popMarkerAlt"}));
  select({"b.htm"});
  responder.answer(record);
  const QRect place = view()->visualRect(view()->model()->index(2, 0));
  emit view()->customContextMenuRequested(place.center());
  EXPECT_EQ(shown, (QStringList{"popSlet", "popOmdoeb", "popOverfoer"}));

  trigger("mnuMarkerAlt");
  EXPECT_EQ(w().lwFTP->selectedCount(), 4);
}

TEST_F(FtpWindowTest, ClosingWhileBusyAsksFirst) {
  writeFile(localPath("stor.bin"), testBytes(16 * 1024 * 1024, 5));
  connectToServer();
  w().markFiles({localPath("stor.bin")});
  trigger("btnStart");
  ASSERT_TRUE(w().busy());
  ScriptedResponder responder;
  responder.answer(IDNO);
  EXPECT_FALSE(w().close());
  EXPECT_EQ(responder.last().caption, "Luk ftp");
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, UINT(MB_ICONWARNING));
  trigger("btnStop");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(w().connected());
  EXPECT_TRUE(w().close());
}

}  // namespace

namespace {

// The window against a secured server whose certificate is its own (signed
// by itself), so the user is asked about it.
class FtpsWindowTest : public FtpWindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pki_.isValid() && ca_.ok());
    certificate_ = ca_.serverCertificate("egen", "IP:127.0.0.1", {}, true);
    ASSERT_FALSE(certificate_.isEmpty());
    FtpWindowTest::SetUp();
  }

  // Answers the certificate window with one of its buttons, keeping what it showed.
  ScriptedResponder::Handler certificateAnswer(const char* button) {
    return [this, button](platform::Request& r) {
      auto* dialog = dynamic_cast<TfrmCertifikat*>(r.form);
      EXPECT_NE(dialog, nullptr);
      if (!dialog) return int(QDialog::Rejected);
      shownSubject_ = dialog->lblEmne->text();
      shownFingerprint_ = dialog->lblFingeraftryk->text();
      shownProblem_ = dialog->lblProblem->text();
      trustOffered_ = !dialog->cmdStol->isHidden();
      dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
      return dialog->result();
    };
  }
  bool serverReceived(const QString& verb) const {
    for (const QString& line : receivedCommands())
      if (line.startsWith(verb)) return true;
    return false;
  }
  void disconnect() {
    trigger("btnAfbryd");
    ASSERT_TRUE(runUntil([&] { return !w().connected() && !w().busy(); }));
  }

  QTemporaryDir pki_;
  TestCa ca_{pki_.path()};
  QString shownSubject_, shownFingerprint_, shownProblem_;
  bool trustOffered_ = false;
};

}  // namespace

TEST_F(FtpsWindowTest, ACertificateIsRefusedAcceptedOnceOrTrustedWithTheConnection) {
  writeFile(serverPath("index.htm"), "<html></html>");
  morvel::RegIniFile& store = host_.store();
  ScriptedResponder responder;
  trigger("mnuNy");
  fillFields(serverField(), kUser, kPassword);
  responder.answer(title("Sikker side"));
  trigger("mnuGemsom");
  EXPECT_EQ(w().lblCertifikat->text(), "(intet gemt)");

  // Refused: no connection, the login never went out, and no message to
  // tell the user what they just chose.
  forgetReceived();
  responder.answer(certificateAnswer("cmdAfvis"));
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_FALSE(w().connected());
  EXPECT_EQ(responder.seen().size(), 2u);
  EXPECT_EQ(status(2), "Klar");
  EXPECT_TRUE(shownSubject_.contains("CN=Morvel testserver"));
  EXPECT_EQ(shownFingerprint_.size(), 95);
  EXPECT_EQ(shownProblem_, "Certifikatet er udstedt af serveren selv og ikke af en kendt udsteder.");
  EXPECT_TRUE(trustOffered_);
  EXPECT_FALSE(serverReceived("USER"));

  // Accepted once: connected and listed, nothing kept, asked again next time.
  responder.answer(certificateAnswer("cmdGodkend"));
  trigger("btnTilslut");
  ASSERT_TRUE(waitUntilIdle());
  ASSERT_TRUE(w().connected());
  EXPECT_EQ(listed(), QStringList{"index.htm"});
  EXPECT_TRUE(w().Ftp1.Secured());
  EXPECT_TRUE(serverReceived("EPSV") || serverReceived("PASV"));
  EXPECT_FALSE(store.ValueExists("Sikker side", "Fingeraftryk"));
  ASSERT_NO_FATAL_FAILURE(disconnect());

  // Trusted: kept with the connection and shown in its properties; no
  // question the next time.
  responder.answer(certificateAnswer("cmdStol"));
  trigger("btnTilslut");
  ASSERT_TRUE(waitUntilIdle());
  ASSERT_TRUE(w().connected());
  EXPECT_EQ(w().lblCertifikat->text(), shownFingerprint_);
  EXPECT_TRUE(w().cmdGlemCertifikat->isEnabled());
  EXPECT_TRUE(morvel::ftp::sameFingerprint(QString::fromStdString(store.ReadString("Sikker side", "Fingeraftryk", "")),
                                           shownFingerprint_));
  ASSERT_NO_FATAL_FAILURE(disconnect());
  trigger("btnTilslut");
  ASSERT_TRUE(waitUntilIdle());
  ASSERT_TRUE(w().connected());
  ASSERT_NO_FATAL_FAILURE(disconnect());

  // Another certificate in its place: refused with the message that says
  // where to forget the old one; forgotten there, the user is asked again.
  ASSERT_NO_FATAL_FAILURE(startServer(ca_.serverCertificate("anden", "IP:127.0.0.1", {}, true)));
  // (The test server came back on another port: the store is told so, as
  // if the server had stayed where it was.)
  store.WriteString("Sikker side", "Server", serverField().toStdString());
  emit w().cmbForbindelse->activated(0);
  EXPECT_EQ(w().lblCertifikat->text(), shownFingerprint_);
  responder.answer(IDOK);
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_FALSE(w().connected());
  EXPECT_EQ(responder.last().caption, "Certifikat ændret");
  w().cmdGlemCertifikat->click();
  EXPECT_FALSE(store.ValueExists("Sikker side", "Fingeraftryk"));
  EXPECT_EQ(w().lblCertifikat->text(), "(intet gemt)");
  responder.answer(certificateAnswer("cmdGodkend"));
  trigger("btnTilslut");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(w().connected());
}

TEST_F(FtpsWindowTest, AConnectionThatIsNotStoredCannotTrust) {
  ScriptedResponder responder;
  fillFields(serverField(), kUser, kPassword);
  // The window's answer counts only through its buttons: a trust that was
  // not offered, or a bare Accept, refuses.
  responder.answer([](platform::Request& r) {
    auto* dialog = dynamic_cast<TfrmCertifikat*>(r.form);
    EXPECT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog && dialog->cmdStol->isHidden());
    return int(QDialog::Accepted);
  });
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_FALSE(w().connected());
  EXPECT_FALSE(serverReceived("USER"));
}

// A plain server: "Kræv" refuses before the password; "Hvis muligt" asks.
TEST_F(FtpWindowTest, WithoutTlsTheConnectionIsRefusedOrTheUserAsked) {
  ScriptedResponder responder;
  fillFields(serverField(), kUser, kPassword);
  w().chkSikker->setChecked(true);
  responder.answer(IDOK);
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_EQ(responder.last().caption, "Sikker forbindelse");
  EXPECT_FALSE(w().connected());
  for (const QString& line : receivedCommands()) EXPECT_FALSE(line.startsWith("PASS")) << line.toStdString();

  w().optHvisMuligt->setChecked(true);
  responder.answer(IDNO);
  trigger("btnTilslut");
  ASSERT_TRUE(runUntil([&] { return responder.pending() == 0 && !w().busy(); }));
  EXPECT_EQ(responder.last().caption, "Usikker forbindelse");
  EXPECT_EQ(responder.last().flags & MB_TYPEMASK, UINT(MB_YESNO));
  EXPECT_FALSE(w().connected());
  EXPECT_EQ(responder.seen().size(), 2u);  // No needs no message after it

  responder.answer(IDYES);
  trigger("btnTilslut");
  ASSERT_TRUE(waitUntilIdle());
  EXPECT_TRUE(w().connected());
  EXPECT_FALSE(w().Ftp1.Secured());
}
