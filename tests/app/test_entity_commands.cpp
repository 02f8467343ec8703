// The Danish letters in the main window: converting the active document,
// saving once with entity codes, and the hourglass and progress bar while
// a conversion runs.
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "host.h"
#include "program_run.h"
#include "scripted_responder.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;

// Windows-1252, as the editor holds the text.
const std::string kBlueberries =
    "Bl\xE5"
    "b\xE6r";
const std::string kBlueberriesCoded = "Bl&aring;b&aelig;r";

std::string fileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DanishLetters : public ::testing::Test {
 protected:
  DanishLetters() {
    // Saving writes the documents' own texts: no date or generator line.
    morvel::settings::write(run.store(), morvel::settings::indstillinger::Autodato, false);
    morvel::settings::write(run.store(), morvel::settings::indstillinger::Generator, false);
    run.restart();
  }
  TKestrin& kestrin() { return run.kestrin(); }
  TTivra& active() { return *kestrin().editor(kestrin().activeDocument()); }
  QAction* command(const char* name) {
    auto* a = kestrin().findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = run.dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }

  app_test::ProgramRun run;
};

TEST_F(DanishLetters, EncodingTheDocumentIsTwoUndoSteps) {
  QAction* encode = command("encodeDanishLetters");
  EXPECT_EQ(encode->text(), "&Erstat æ, ø, å med koder");
  active().setTextBytes("<P>" + kBlueberries + " \xA9 &amp;</P>\r\n\xC6\xD8\xC5");
  active().EmptyUndoBuffer();
  active().SetModified(false);
  encode->trigger();
  EXPECT_EQ(active().TextBytes(), "<P>" + kBlueberriesCoded + " &copy; &amp;</P>\r\n&AElig;&Oslash;&Aring;");
  EXPECT_TRUE(active().Modified());
  active().Undo();
  EXPECT_EQ(active().TextBytes(), "");
  active().Undo();
  EXPECT_EQ(active().TextBytes(), "<P>" + kBlueberries + " \xA9 &amp;</P>\r\n\xC6\xD8\xC5");
}

TEST_F(DanishLetters, DecodingTheDocumentReadsNamesAndNumbersButNothingElse) {
  QAction* decode = command("decodeDanishLetters");
  EXPECT_EQ(decode->text(), "Er&stat koder med æ, ø, å");
  const std::string coded = kBlueberriesCoded + " &#230;&#216; &Aelig; &amp; &aelig";
  active().setTextBytes(coded);
  active().EmptyUndoBuffer();
  decode->trigger();
  EXPECT_EQ(active().TextBytes(), kBlueberries + " \xE6\xD8 &Aelig; &amp; &aelig");
  active().Undo();
  active().Undo();
  EXPECT_EQ(active().TextBytes(), coded);
  EXPECT_FALSE(active().CanUndo());
}

TEST_F(DanishLetters, AConversionThatChangesNothingLeavesTheDocumentAlone) {
  active().setTextBytes("<P>ingen danske bogstaver &amp; ingen koder</P>");
  active().EmptyUndoBuffer();
  active().SetModified(false);
  kestrin().entityCommands().encodeActiveDocument();
  kestrin().entityCommands().decodeActiveDocument();
  EXPECT_FALSE(active().Modified());
  EXPECT_FALSE(active().CanUndo());
}

TEST_F(DanishLetters, TheActiveDocumentIsConverted) {
  active().setTextBytes(kBlueberries);
  kestrin().newDocument();
  active().setTextBytes(kBlueberries);
  kestrin().entityCommands().encodeActiveDocument();
  EXPECT_EQ(kestrin().editor(1)->TextBytes(), kBlueberriesCoded);
  EXPECT_EQ(kestrin().editor(0)->TextBytes(), kBlueberries);
}

struct Moment {
  int percent;
  bool barShown;
  bool hourglass;
  bool operator==(const Moment&) const = default;
};

bool hourglassUp() {
  const QCursor* c = QGuiApplication::overrideCursor();
  return c && c->shape() == Qt::WaitCursor;
}

TEST_F(DanishLetters, TheHourglassAndTheProgressBarShowWhileConverting) {
  QProgressBar* bar = kestrin().ProgressBar1();
  ASSERT_EQ(bar, kestrin().findChild<QProgressBar*>(QStringLiteral("ProgressBar1")));
  EXPECT_EQ(bar->maximum(), 100);
  // It lies over the first status panel.
  EXPECT_EQ(bar->parentWidget(), static_cast<QWidget*>(kestrin().StatusBar1()->Panel(0)));
  EXPECT_TRUE(bar->isHidden());
  std::vector<Moment> seen;
  QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int v) {
    seen.push_back({v, !bar->isHidden(), hourglassUp()});
  });

  active().setTextBytes(std::string(200000, 'x') + kBlueberries);
  kestrin().entityCommands().encodeActiveDocument();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), (Moment{100, true, true}));
  for (const Moment& m : seen) EXPECT_TRUE(m.barShown && m.hourglass) << m.percent;
  EXPECT_TRUE(bar->isHidden());
  EXPECT_FALSE(hourglassUp());

  // A job that already shows the hourglass keeps it after a conversion.
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  kestrin().entityCommands().decodeActiveDocument();
  kestrin().entityCommands().encodeActiveDocument();
  EXPECT_TRUE(hourglassUp());
  QGuiApplication::restoreOverrideCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DanishLetters, SavingWithCodesOnceWritesCodesAndKeepsTheLetters) {
  const QString page = write(QStringLiteral("side.htm"),
                             "<TITLE>Gr\xF8"
                             "d</TITLE>" +
                                 kBlueberries);
  ASSERT_TRUE(kestrin().openFile(page));
  active().InsertBytes("\xC5");
  QAction* save = command("saveWithEntityCodes");
  EXPECT_EQ(save->text(), "Gem med &ÆØÅ-koder");
  save->trigger();
  EXPECT_EQ(fileBytes(page), "&Aring;<TITLE>Gr&oslash;d</TITLE>" + kBlueberriesCoded);
  EXPECT_EQ(active().TextBytes(),
            "\xC5<TITLE>Gr\xF8"
            "d</TITLE>" +
                kBlueberries);
  EXPECT_FALSE(active().Modified());
  EXPECT_FALSE(kestrin().settings().danishLetterCodes);
  EXPECT_EQ(kestrin().StatusBar1()->PanelText(0), page);
  EXPECT_EQ(kestrin().TabControl1()->tabText(0), "Grød");

  // An ordinary save keeps the letters in the file.
  active().InsertBytes("x");
  ASSERT_TRUE(kestrin().saveDocument(0));
  EXPECT_EQ(fileBytes(page),
            "\xC5x<TITLE>Gr\xF8"
            "d</TITLE>" +
                kBlueberries);
}

TEST_F(DanishLetters, TheSaveKeyIsControlAndTheKeyOfCodeOem3) {
  const QList<QKeySequence> keys = command("saveWithEntityCodes")->shortcuts();
  // Æ on a Danish keyboard, the grave accent on a US one.
  EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_AE)));
  EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_QuoteLeft)));
  for (const QKeySequence& k : keys) EXPECT_EQ(platform::virtualKeyFromQt(k[0].key()), VK_OEM_3);

  const QString page = write(QStringLiteral("side.htm"), kBlueberries);
  kestrin().setCommandLineFiles({page});
  kestrin().show();
  kestrin().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&kestrin()));
  active().InsertBytes("\xE5");
  QTest::keyClick(&active(), Qt::Key_AE, Qt::ControlModifier);
  EXPECT_EQ(fileBytes(page), "&aring;" + kBlueberriesCoded);
  EXPECT_EQ(active().TextBytes(), "\xE5" + kBlueberries);
}

TEST_F(DanishLetters, ANewDocumentIsSavedUnderTheChosenName) {
  active().setTextBytes(kBlueberries);
  const QString chosen = run.dir.filePath(QStringLiteral("ny"));
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::SaveFile);
    auto& fr = *static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(fr.defaultExtension, "htm");
    EXPECT_EQ(fr.filters.value(0).first, "HTML-dokumenter");
    fr.chosen = QStringList{chosen};
    return 1;
  });
  ASSERT_TRUE(kestrin().saveWithEntityCodes());
  EXPECT_EQ(kestrin().fileName(0), chosen + ".htm");
  EXPECT_EQ(fileBytes(chosen + ".htm"), kBlueberriesCoded);
  EXPECT_EQ(active().TextBytes(), kBlueberries);
}

TEST_F(DanishLetters, InHtmlModeANameWithoutExtensionGetsHtml) {
  run.changeSettings([](morvel::Settings& s) { s.htmlExtension = true; });
  active().setTextBytes("x");
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    auto& fr = *static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(fr.defaultExtension, "");
    fr.chosen = QStringList{run.dir.filePath(QStringLiteral("index"))};
    return 1;
  });
  ASSERT_TRUE(kestrin().saveDocument(0));
  EXPECT_EQ(kestrin().fileName(0), run.dir.filePath(QStringLiteral("index.html")));
  EXPECT_TRUE(QFile::exists(kestrin().fileName(0)));
}

TEST_F(DanishLetters, AFailedWriteIsReportedAndTheDocumentStaysModified) {
  QDir(run.dir.path()).mkdir(QStringLiteral("mappe"));
  const QString page = write(QStringLiteral("mappe/side.htm"), kBlueberries);
  ASSERT_TRUE(kestrin().openFile(page));
  active().InsertBytes("\xE6");
  ASSERT_TRUE(QDir(run.dir.filePath(QStringLiteral("mappe"))).removeRecursively());
  ScriptedResponder responder;
  responder.answer(IDOK);
  EXPECT_FALSE(kestrin().saveWithEntityCodes());
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke skrive filen %1.").arg(page));
  EXPECT_TRUE(active().Modified());
  EXPECT_FALSE(kestrin().settings().danishLetterCodes);
}

TEST_F(DanishLetters, AnAmpersandInATitleIsShownOnItsTab) {
  const QString page = write(QStringLiteral("side.htm"), "<TITLE>" + kBlueberriesCoded + " & co</TITLE>");
  ASSERT_TRUE(kestrin().openFile(page));
  // Doubled, the tab shows one "&" instead of underlining the next letter.
  EXPECT_EQ(kestrin().TabControl1()->tabText(0), "Bl&&aring;b&&aelig;r && co");
  EXPECT_EQ(kestrin().windowTitle(), "Brimvale's Morvel - Bl&aring;b&aelig;r & co");
}

TEST_F(DanishLetters, TheFlagDecodesOnOpenAndEncodesOnSave) {
  const QString page = write(QStringLiteral("side.htm"), kBlueberriesCoded);
  kestrin().Indstillinger().chkDansketegn->setChecked(true);
  kestrin().Indstillinger().cmdGem->click();
  ASSERT_TRUE(kestrin().settings().danishLetterCodes);
  ASSERT_TRUE(kestrin().openFile(page));
  EXPECT_EQ(active().TextBytes(), kBlueberries);
  EXPECT_FALSE(active().Modified());
  active().InsertBytes("\xF8");
  ASSERT_TRUE(kestrin().saveDocument(0));
  EXPECT_EQ(fileBytes(page), "&oslash;" + kBlueberriesCoded);
  EXPECT_EQ(active().TextBytes(), "\xF8" + kBlueberries);
}

}  // namespace
