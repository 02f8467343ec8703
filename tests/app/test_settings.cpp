// The settings dialog TIndstillinger and the store behind it, driven the way
// a user drives them: controls found by their names, modal runs and common
// dialogs answered through the interaction seam.
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/colour_button.h"
#include "controls/up_down.h"
#include "program_run.h"
#include "scripted_responder.h"
#include "settings/settings_store.h"
#include "startup/help.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <fstream>

namespace {

namespace st = morvel::settings;
using testing_support::ScriptedResponder;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);

class Settings : public ::testing::Test {
 protected:
  TIndstillinger& dialog() { return run.dialog(); }
  TKestrin& kestrin() { return run.kestrin(); }

  template <typename T = QWidget>
  T* control(const char* name) {
    T* found = dialog().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QCheckBox* box(const char* name) { return control<QCheckBox>(name); }

  // What another run of the program would read from the file.
  morvel::RegIniFile storedOnDisk() { return morvel::RegIniFile(run.storeFile().toStdString()); }

  static int answerFont(platform::Request& r, const QFont& font) {
    EXPECT_EQ(r.kind, platform::RequestKind::Font);
    static_cast<platform::FontDialogRequest*>(r.data)->font = font;
    return 1;
  }
  static int answerColour(platform::Request& r, COLORREF colour) {
    EXPECT_EQ(r.kind, platform::RequestKind::Colour);
    static_cast<platform::ColourDialogRequest*>(r.data)->colour = colour;
    return 1;
  }

  app_test::ProgramRun run;
};

std::string fileText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---------------------------------------------------------------------------
// Defaults

TEST_F(Settings, AFreshStoreGivesTheDefaults) {
  TIndstillinger& d = dialog();
  EXPECT_EQ(d.objectName(), "Indstillinger");
  EXPECT_EQ(d.windowTitle(), "Indstillinger");
  ASSERT_EQ(d.pages->count(), 5);
  const QStringList captions{"Tekstbehandler", "Programstier", "Standardoplysninger", "Brugerflade",
                             "HTML-faciliteter"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.pages->tabText(i), captions[i]);
  EXPECT_EQ(d.pages->currentIndex(), 0);

  EXPECT_EQ(d.colourScheme(), 2);
  EXPECT_TRUE(d.optMv2->isChecked());
  EXPECT_EQ(d.Tivra1->font().family(), "Courier New");
  EXPECT_EQ(d.Tivra1->font().pointSize(), 10);
  EXPECT_FALSE(d.Tivra1->font().bold());
  EXPECT_FALSE(d.Tivra1->font().italic());
  EXPECT_EQ(d.updTabulator->Position(), 5);
  EXPECT_EQ(d.txtTabulator->text(), "5");
  EXPECT_EQ(d.txtDatoFormat->text(), "\"Opdateret d.\" d/m/yy");
  EXPECT_EQ(d.lstBrowser->count(), 0);
  for (const char* on : {"chkTekstombrydning", "chkAutodato", "chkGenerator", "chkVisMenu", "chkViewer", "chkNy",
                         "chkLineal", "chkFarveDialog", "chkWebfonte"})
    EXPECT_TRUE(box(on)->isChecked()) << on;
  for (const char* off :
       {"chkStoreBogstaver", "chkEnsBG", "chkMSIE", "chkGemHTML", "chkOverfoer", "chkDesktop", "chkKnaptype",
        "chkFilnavn", "chkDansketegn", "chkHTMLtype", "chkBevarUkendtAttrib", "chkArkivFlag"})
    EXPECT_FALSE(box(off)->isChecked()) << off;
  for (const char* empty : {"txtHTMLHjaelp", "txtGrafiksti", "txtEmail", "txtBeskrivelse", "txtAabnDialog"})
    EXPECT_EQ(control<QLineEdit>(empty)->text(), "") << empty;
  EXPECT_TRUE(kestrin().settings().automaticDate);
  EXPECT_FALSE(kestrin().settings().danishLetterCodes);

  // The main window's own values: the details view and the file pane shown.
  EXPECT_EQ(st::read(run.store(), st::start::Vis), 3);
  EXPECT_TRUE(st::read(run.store(), st::start::Filboks));
  EXPECT_EQ(st::read(run.store(), st::start::Hoejde), 470);
  EXPECT_EQ(st::read(run.store(), st::start::Bredde), 630);

  // The first editor has the look of the settings.
  TTivra& e = *kestrin().editor(0);
  EXPECT_EQ(e.font().family(), "Courier New");
  EXPECT_TRUE(e.WordWrap());
  EXPECT_EQ(e.TabStopSize(), 5);
  EXPECT_EQ(e.FontColor(), kBlack);
  EXPECT_EQ(e.Color(), kWhite);

  // Reading the defaults writes nothing.
  run.stop();
  EXPECT_FALSE(QFile::exists(run.storeFile()));
}

TEST_F(Settings, ADamagedStoreGivesTheDefaultsAndIsReplacedByOk) {
  run.stop();
  {
    using namespace std::string_literals;
    std::ofstream garbage(run.storeFile().toStdString(), std::ios::binary);
    garbage << "\xFF\xFE[[[Indstillinger\n=\n\0\0Kodefarve==7\n[Indstillinger]\nKodefarve=tre\nTabulator=-4\n"
               "Ombrydning=kanske\n\x01\x02\x03"s;
  }
  run.start();
  EXPECT_EQ(dialog().colourScheme(), 2);
  EXPECT_EQ(dialog().updTabulator->Position(), 1);  // -4 is read, then held to the range
  EXPECT_TRUE(dialog().chkTekstombrydning->isChecked());
  dialog().cmdGem->click();
  EXPECT_EQ(st::read(storedOnDisk(), st::indstillinger::Kodefarve), 2);
  EXPECT_TRUE(st::read(storedOnDisk(), st::indstillinger::Ombrydning));
}

TEST_F(Settings, NamesAreFoundInAnyLetterCase) {
  run.stop();
  std::ofstream(run.storeFile().toStdString())
      << "[INDSTILLINGER]\nkodefarve=1\nÆØÅKODER=1\ndatoFORMAT=dd.mm.yy\nbrowsersti1=/usr/bin/firefox\n"
         "BROWSER1=Firefox\nfontstyle=kursiv\n[editor]\nalmb=255\n";
  run.start();
  EXPECT_EQ(dialog().colourScheme(), 1);
  EXPECT_TRUE(dialog().chkDansketegn->isChecked());
  EXPECT_TRUE(kestrin().settings().danishLetterCodes);
  EXPECT_EQ(dialog().txtDatoFormat->text(), "dd.mm.yy");
  ASSERT_EQ(dialog().lstBrowser->count(), 1);
  EXPECT_EQ(dialog().lstBrowser->item(0)->text(), "Firefox");
  const std::vector<morvel::BrowserProgram> firefox{{QStringLiteral("Firefox"), QStringLiteral("/usr/bin/firefox")}};
  EXPECT_EQ(kestrin().settings().browsers, firefox);
  EXPECT_TRUE(dialog().Tivra1->font().italic());
  // OK keeps the spelling the file had: one entry per name.
  dialog().cmdGem->click();
  const std::string text = fileText(run.storeFile());
  EXPECT_NE(text.find("kodefarve=1"), std::string::npos) << text;
  EXPECT_EQ(text.find("Kodefarve"), std::string::npos) << text;
}

// ---------------------------------------------------------------------------
// OK, Annuller, Anvend

TEST_F(Settings, AnvendThenAnnullerKeepsTheEditorsButNotTheStoreOrTheFlags) {
  TIndstillinger& d = dialog();
  ScriptedResponder responder;
  QFont italic(QStringLiteral("DejaVu Sans"), 12);
  italic.setItalic(true);
  responder.answer([&](platform::Request& r) { return answerFont(r, italic); });
  d.cmdFont->click();
  d.optMv1->click();
  d.chkTekstombrydning->click();
  d.txtTabulator->setText(QStringLiteral("8"));
  d.chkDansketegn->click();
  d.chkAutodato->click();
  d.cmdAnvend->click();

  TTivra& e = *kestrin().editor(0);
  EXPECT_EQ(e.Color(), kSilver);
  EXPECT_EQ(e.FontColor(), kBlack);
  EXPECT_FALSE(e.WordWrap());
  EXPECT_EQ(e.ScrollBars(), TTivraScrollStyle::lsBoth);
  EXPECT_EQ(e.TabStopSize(), 8);
  EXPECT_TRUE(e.font().italic());
  EXPECT_EQ(e.font().pointSize(), 12);
  EXPECT_EQ(e.BackColorSelected(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_FALSE(kestrin().settings().danishLetterCodes);
  EXPECT_TRUE(kestrin().settings().automaticDate);

  d.cmdAnnuller->click();
  // The dialog shows the stored values again ...
  EXPECT_TRUE(d.optMv2->isChecked());
  EXPECT_EQ(d.colourScheme(), 2);
  EXPECT_TRUE(d.chkTekstombrydning->isChecked());
  EXPECT_EQ(d.txtTabulator->text(), "5");
  EXPECT_FALSE(d.chkDansketegn->isChecked());
  EXPECT_TRUE(d.chkAutodato->isChecked());
  EXPECT_EQ(d.Tivra1->font().family(), "Courier New");
  EXPECT_FALSE(d.Tivra1->font().italic());
  EXPECT_EQ(d.colElemB->Color(), kNavy);
  // ... the editors keep what was applied, and so does a new document ...
  EXPECT_EQ(e.Color(), kSilver);
  EXPECT_FALSE(e.WordWrap());
  EXPECT_EQ(e.TabStopSize(), 8);
  EXPECT_TRUE(e.font().italic());
  const int second = kestrin().newDocument();
  EXPECT_EQ(kestrin().editor(second)->Color(), kSilver);
  EXPECT_FALSE(kestrin().editor(second)->WordWrap());
  // ... and neither the flags nor the store changed.
  EXPECT_FALSE(kestrin().settings().danishLetterCodes);
  EXPECT_TRUE(kestrin().settings().automaticDate);
  EXPECT_FALSE(run.store().SectionExists("Indstillinger"));

  run.restart();
  EXPECT_EQ(dialog().colourScheme(), 2);
  EXPECT_EQ(kestrin().editor(0)->Color(), kWhite);
  EXPECT_TRUE(kestrin().editor(0)->WordWrap());
  EXPECT_FALSE(QFile::exists(run.storeFile()));
}

TEST_F(Settings, OkStoresEverythingAndTheNextStartShowsIt) {
  TIndstillinger& d = dialog();
  ScriptedResponder responder;
  QFont font(QStringLiteral("DejaVu Serif"), 14);
  font.setItalic(true);
  responder.answer([&](platform::Request& r) { return answerFont(r, font); });
  d.cmdFont->click();
  d.txtTabulator->setText(QStringLiteral("12"));
  for (const char* name : {"chkTekstombrydning", "chkStoreBogstaver", "chkGemHTML", "chkViewer", "chkKnaptype", "chkNy",
                           "chkFilnavn", "chkLineal", "chkAutodato", "chkGenerator", "chkDansketegn", "chkFarveDialog",
                           "chkWebfonte", "chkHTMLtype", "chkBevarUkendtAttrib", "chkArkivFlag"})
    box(name)->click();
  d.txtHTMLHjaelp->setText(QStringLiteral("/usr/share/doc/html/index.html"));
  d.txtGrafiksti->setText(QStringLiteral("/usr/bin/gimp"));
  d.txtEmail->setText(QStringLiteral("post@blåbær.dk"));
  d.txtBeskrivelse->setText(QStringLiteral("Skriv til os"));
  d.txtAabnDialog->setText(QStringLiteral("/srv/sider"));
  d.txtDatoFormat->setText(QStringLiteral("dd.mm.yyyy"));
  d.cmdGem->click();

  EXPECT_TRUE(kestrin().settings().danishLetterCodes);
  EXPECT_FALSE(kestrin().settings().automaticDate);
  EXPECT_TRUE(kestrin().editor(0)->font().italic());
  EXPECT_EQ(kestrin().editor(0)->TabStopSize(), 12);
  {
    // On disk at once, not only when the program ends.
    const morvel::RegIniFile disk = storedOnDisk();
    EXPECT_EQ(st::read(disk, st::indstillinger::FontStyle), "kursiv");
    EXPECT_EQ(st::read(disk, st::indstillinger::Font), "DejaVu Serif");
    EXPECT_EQ(st::read(disk, st::indstillinger::FontSize), 14);
    EXPECT_EQ(st::read(disk, st::indstillinger::Tabulator), 12);
    EXPECT_TRUE(st::read(disk, st::indstillinger::AEOEAAkoder));
    EXPECT_EQ(st::read(disk, st::indstillinger::Email), "post@blåbær.dk");
    EXPECT_FALSE(disk.ValueExists("Indstillinger", "MSIE"));  // written when the main window closes
    EXPECT_FALSE(disk.SectionExists("Editor"));               // only for the user's own scheme
    EXPECT_EQ(disk.ReadString("Indstillinger", "Browser5", "x"), "");
  }

  run.restart();
  TIndstillinger& again = dialog();
  EXPECT_TRUE(again.Tivra1->font().italic());
  EXPECT_EQ(again.Tivra1->font().family(), "DejaVu Serif");
  EXPECT_EQ(again.Tivra1->font().pointSize(), 14);
  EXPECT_EQ(again.txtTabulator->text(), "12");
  EXPECT_FALSE(again.chkTekstombrydning->isChecked());
  EXPECT_TRUE(again.chkStoreBogstaver->isChecked());
  EXPECT_FALSE(again.chkLineal->isChecked());
  EXPECT_TRUE(again.chkDansketegn->isChecked());
  EXPECT_FALSE(again.chkArkivFlag->isChecked());  // never stored
  EXPECT_EQ(again.txtEmail->text(), "post@blåbær.dk");
  EXPECT_EQ(again.txtDatoFormat->text(), "dd.mm.yyyy");
  EXPECT_TRUE(kestrin().settings().danishLetterCodes);
  EXPECT_FALSE(kestrin().settings().automaticDate);
  EXPECT_TRUE(kestrin().editor(0)->font().italic());
  EXPECT_FALSE(kestrin().editor(0)->WordWrap());
}

TEST_F(Settings, TheUsersSchemeWithOneBackgroundSurvivesARestart) {
  TIndstillinger& d = dialog();
  ScriptedResponder responder;
  d.optBruger->click();
  EXPECT_EQ(d.colElemT->Color(), RGB(255, 0, 0));  // the defaults of section "Editor"
  EXPECT_EQ(d.colKomT->Color(), RGB(128, 128, 128));
  responder.answer([](platform::Request& r) { return answerColour(r, RGB(1, 2, 3)); });
  d.colElemT->click();
  responder.answer([](platform::Request& r) { return answerColour(r, RGB(250, 250, 210)); });
  d.colAlmB->click();
  responder.answer([](platform::Request& r) { return answerColour(r, RGB(0, 90, 0)); });
  d.colKomB->click();
  d.chkEnsBG->click();
  d.cmdGem->click();
  {
    const morvel::RegIniFile disk = storedOnDisk();
    EXPECT_EQ(st::read(disk, st::indstillinger::Kodefarve), 3);
    EXPECT_TRUE(st::read(disk, st::editor::EnsBg));
    EXPECT_EQ(st::read(disk, st::editor::ElemT), RGB(1, 2, 3));
    EXPECT_EQ(st::read(disk, st::editor::AlmB), RGB(250, 250, 210));
    // One background for all: the code backgrounds are not written.
    EXPECT_FALSE(disk.ValueExists("Editor", "KomB"));
  }

  run.restart();
  TIndstillinger& again = dialog();
  EXPECT_TRUE(again.optBruger->isChecked());
  EXPECT_TRUE(again.chkEnsBG->isChecked());
  EXPECT_TRUE(again.chkEnsBG->isEnabled());
  EXPECT_EQ(again.colElemT->Color(), RGB(1, 2, 3));
  for (TColourButton* b : {again.colElemB, again.colAttribB, again.colVaerdiB, again.colKomB}) {
    EXPECT_EQ(b->Color(), RGB(250, 250, 210)) << b->objectName().toStdString();
    EXPECT_FALSE(b->isEnabled());
  }
  const morvel::CodeColourScheme look = kestrin().editorLook().scheme;
  EXPECT_EQ(look.elements.text, RGB(1, 2, 3));
  EXPECT_EQ(look.comments.background, RGB(250, 250, 210));
  EXPECT_EQ(kestrin().editor(0)->Color(), RGB(250, 250, 210));
}

TEST_F(Settings, ClosingTheWindowIsAnnuller) {
  dialog().chkFilnavn->click();
  dialog().reject();
  EXPECT_FALSE(dialog().chkFilnavn->isChecked());
}

// ---------------------------------------------------------------------------
// Colours

TEST_F(Settings, TheButtonsShowTheChosenSchemesColours) {
  TIndstillinger& d = dialog();
  const COLORREF window = GetSysColor(COLOR_WINDOW) & 0xFFFFFF;
  const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT) & 0xFFFFFF;
  auto shown = [&] {
    std::vector<COLORREF> c;
    for (TColourButton* b : {d.colAlmT, d.colElemT, d.colAttribT, d.colVaerdiT, d.colKomT, d.colAlmB, d.colElemB,
                             d.colAttribB, d.colVaerdiB, d.colKomB})
      c.push_back(b->Color());
    return c;
  };
  EXPECT_EQ(shown(), (std::vector<COLORREF>{kBlack, kWhite, RGB(128, 0, 128), kNavy, kWhite, kWhite, kNavy, kSilver,
                                            kSilver, RGB(0, 255, 0)}));
  EXPECT_FALSE(d.colAlmT->isEnabled());
  EXPECT_FALSE(d.chkEnsBG->isEnabled());
  d.optMv1->click();
  EXPECT_EQ(shown(), (std::vector<COLORREF>{kBlack, RGB(128, 0, 128), RGB(0x57, 0, 0x57), kNavy, RGB(128, 128, 128),
                                            kSilver, kSilver, kSilver, kSilver, kSilver}));
  d.optIngen->click();
  EXPECT_EQ(shown(), (std::vector<COLORREF>{windowText, windowText, windowText, windowText, windowText, window, window,
                                            window, window, window}));
  d.optBruger->click();
  EXPECT_TRUE(d.colAlmT->isEnabled());
  EXPECT_TRUE(d.colKomB->isEnabled());
  EXPECT_TRUE(d.chkEnsBG->isEnabled());
  EXPECT_EQ(shown(), (std::vector<COLORREF>{windowText, RGB(255, 0, 0), RGB(128, 0, 128), kNavy, RGB(128, 128, 128),
                                            window, window, window, window, window}));
}

TEST_F(Settings, OneBackgroundFollowsTheNormalOneAndKeepsTheUsersOwnColours) {
  TIndstillinger& d = dialog();
  ScriptedResponder responder;
  d.optBruger->click();
  responder.answer([](platform::Request& r) { return answerColour(r, RGB(10, 20, 30)); });
  d.colAttribB->click();
  responder.answer([](platform::Request& r) { return answerColour(r, RGB(200, 0, 0)); });
  d.colAlmT->click();

  d.chkEnsBG->click();
  EXPECT_EQ(d.colAttribB->Color(), d.colAlmB->Color());
  EXPECT_FALSE(d.colAttribB->isEnabled());
  responder.answer([](platform::Request& r) { return answerColour(r, RGB(255, 255, 200)); });
  d.colAlmB->click();
  EXPECT_EQ(d.colAttribB->Color(), RGB(255, 255, 200));
  EXPECT_EQ(d.colKomB->Color(), RGB(255, 255, 200));
  // The preview takes the new normal colours at once.
  EXPECT_EQ(d.Tivra1->Color(), RGB(255, 255, 200));
  EXPECT_EQ(d.Tivra1->FontColor(), RGB(200, 0, 0));

  d.chkEnsBG->click();
  EXPECT_EQ(d.colAttribB->Color(), RGB(10, 20, 30));
  EXPECT_TRUE(d.colAttribB->isEnabled());
  EXPECT_EQ(d.colAlmT->Color(), RGB(200, 0, 0));

  // A cancelled colour dialog changes nothing.
  responder.answer(0);
  d.colAlmT->click();
  EXPECT_EQ(d.colAlmT->Color(), RGB(200, 0, 0));
}

int countPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  }
  return n;
}

TEST_F(Settings, ThePreviewAndTheEditorsAreColouredByTheScheme) {
  TIndstillinger& d = dialog();
  EXPECT_EQ(d.Tivra1->Text(),
            "<FONT SIZE=\"5\" FACE=\"Verdana,Arial\">Noget almindelig tekst</FONT> <!-- \"En kommentar\"-->");
  d.show();
  // "Morvel 2": element names white on navy, comments on green.
  QImage preview = d.Tivra1->grab().toImage();
  EXPECT_GT(countPixels(preview, qRgb(0, 0, 128)), 20);
  EXPECT_GT(countPixels(preview, qRgb(0, 255, 0)), 20);
  d.optMv1->click();
  preview = d.Tivra1->grab().toImage();
  EXPECT_EQ(countPixels(preview, qRgb(0, 255, 0)), 0);
  EXPECT_GT(countPixels(preview, qRgb(192, 192, 192)), 100);
  d.hide();

  TKestrin& k = kestrin();
  const QString page = run.dir.filePath(QStringLiteral("side.htm"));
  std::ofstream(page.toStdString()) << "<B>fed</B> og <I>kursiv</I>";
  k.setCommandLineFiles({page});
  k.show();
  ASSERT_EQ(k.editor(0)->Text(), "<B>fed</B> og <I>kursiv</I>");
  // The scheme chosen in the dialog reaches the editors with "&Anvend".
  EXPECT_GT(countPixels(k.editor(0)->grab().toImage(), qRgb(0, 0, 128)), 20);
  d.cmdAnvend->click();
  const QImage applied = k.editor(0)->grab().toImage();
  EXPECT_EQ(countPixels(applied, qRgb(0, 0, 128)), 0);
  EXPECT_GT(countPixels(applied, qRgb(192, 192, 192)), 100);
}

// ---------------------------------------------------------------------------
// The browser list

class Browsers : public Settings {
 protected:
  void storeThree() {
    run.stop();
    {
      morvel::RegIniFile store(run.storeFile().toStdString());
      const char* names[] = {"Firefox", "Chromium", "Epiphany"};
      const char* paths[] = {"/usr/bin/firefox", "/usr/bin/chromium", "/usr/bin/epiphany"};
      for (int i = 0; i < 3; ++i) {
        store.WriteString("Indstillinger", st::browserName(i + 1), names[i]);
        store.WriteString("Indstillinger", st::browserPath(i + 1), paths[i]);
      }
    }
    run.start();
  }
  void selectRow(int row) {
    dialog().lstBrowser->setCurrentRow(row);
    ASSERT_TRUE(dialog().lstBrowser->item(row)->isSelected());
  }
  QStringList names() {
    QStringList n;
    for (int i = 0; i < dialog().lstBrowser->count(); ++i) n << dialog().lstBrowser->item(i)->text();
    return n;
  }
  // The programs beside the names.
  QStringList paths() {
    QStringList p;
    for (const morvel::BrowserProgram& b : dialog().shownSettings().browsers) p << b.path;
    return p;
  }
};

TEST_F(Browsers, DeletingTheSecondOfThreeAndOkStoresTwoAndAnEmptyThird) {
  storeThree();
  TIndstillinger& d = dialog();
  ASSERT_EQ(names(), (QStringList{"Firefox", "Chromium", "Epiphany"}));
  EXPECT_TRUE(d.chkVisMenu->isEnabled());
  EXPECT_FALSE(d.deleteBrowserButton->isEnabled());
  EXPECT_FALSE(d.editBrowserButton->isEnabled());
  selectRow(1);
  EXPECT_TRUE(d.deleteBrowserButton->isEnabled());
  EXPECT_TRUE(d.editBrowserButton->isEnabled());
  d.deleteBrowserButton->click();
  EXPECT_EQ(names(), (QStringList{"Firefox", "Epiphany"}));
  EXPECT_EQ(paths(), (QStringList{"/usr/bin/firefox", "/usr/bin/epiphany"}));
  EXPECT_FALSE(d.deleteBrowserButton->isEnabled());
  EXPECT_TRUE(d.chkVisMenu->isEnabled());
  d.cmdGem->click();

  const morvel::RegIniFile disk = storedOnDisk();
  EXPECT_EQ(disk.ReadString("Indstillinger", "Browser1", ""), "Firefox");
  EXPECT_EQ(disk.ReadString("Indstillinger", "BrowserSti2", ""), "/usr/bin/epiphany");
  EXPECT_EQ(disk.ReadString("Indstillinger", "Browser2", ""), "Epiphany");
  EXPECT_TRUE(disk.ValueExists("Indstillinger", "Browser3"));
  EXPECT_EQ(disk.ReadString("Indstillinger", "Browser3", "x"), "");
  EXPECT_EQ(disk.ReadString("Indstillinger", "BrowserSti3", "x"), "");
  run.restart();
  EXPECT_EQ(names(), (QStringList{"Firefox", "Epiphany"}));
}

// The last browser stays: it can be changed, not deleted.
TEST_F(Browsers, TheLastBrowserCannotBeDeleted) {
  storeThree();
  TIndstillinger& d = dialog();
  for (int left = 3; left > 1; --left) {
    selectRow(0);
    ASSERT_TRUE(d.deleteBrowserButton->isEnabled());
    d.deleteBrowserButton->click();
  }
  ASSERT_EQ(names(), QStringList{"Epiphany"});
  selectRow(0);
  EXPECT_FALSE(d.deleteBrowserButton->isEnabled());
  EXPECT_TRUE(d.editBrowserButton->isEnabled());
}

TEST_F(Browsers, DeletingIsStoredAtOnceSoAnnullerLosesTheEntriesAfterIt) {
  storeThree();
  selectRow(1);
  dialog().deleteBrowserButton->click();
  EXPECT_EQ(storedOnDisk().ReadString("Indstillinger", "BrowserSti2", "x"), "");
  dialog().cmdAnnuller->click();
  EXPECT_EQ(names(), QStringList{"Firefox"});
  EXPECT_FALSE(dialog().chkVisMenu->isEnabled());
  EXPECT_EQ(storedOnDisk().ReadString("Indstillinger", "BrowserSti3", ""), "/usr/bin/epiphany");
  run.restart();
  EXPECT_EQ(names(), QStringList{"Firefox"});
}

TEST_F(Browsers, AddingAndChangingAnEntryInItsWindow) {
  TIndstillinger& d = dialog();
  ScriptedResponder responder;
  // A name without a path is refused and the window stays open.
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Form);
    EXPECT_EQ(r.caption, "Browser - tilføj");
    r.form->findChild<QLineEdit*>(QStringLiteral("txt1"))->setText(QStringLiteral("Firefox"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_NE(r.form->result(), QDialog::Accepted);
    r.form->findChild<QLineEdit*>(QStringLiteral("txt2"))->setText(QStringLiteral("/usr/bin/firefox"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return r.form->result();
  });
  responder.answer(IDOK);
  d.addBrowserButton->click();
  EXPECT_EQ(responder.seen()[1].text, "Du skal angive både stien til browseren og et navn.");
  EXPECT_EQ(names(), QStringList{"Firefox"});
  EXPECT_FALSE(d.chkVisMenu->isEnabled());

  responder.answer([](platform::Request& r) {
    r.form->findChild<QLineEdit*>(QStringLiteral("txt1"))->setText(QStringLiteral("Chromium"));
    r.form->findChild<QLineEdit*>(QStringLiteral("txt2"))->setText(QStringLiteral("/usr/bin/chromium"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return r.form->result();
  });
  d.addBrowserButton->click();
  EXPECT_TRUE(d.chkVisMenu->isEnabled());

  selectRow(0);
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.caption, "Browser - rediger");
    auto* path = r.form->findChild<QLineEdit*>(QStringLiteral("txt2"));
    EXPECT_EQ(path->text(), "/usr/bin/firefox");
    path->setText(QStringLiteral("/opt/firefox/firefox"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return r.form->result();
  });
  d.editBrowserButton->click();
  // A cancelled window changes nothing.
  responder.answer([](platform::Request& r) {
    r.form->findChild<QLineEdit*>(QStringLiteral("txt1"))->setText(QStringLiteral("Bort"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdAnnuller"))->click();
    return r.form->result();
  });
  d.editBrowserButton->click();
  EXPECT_EQ(names(), (QStringList{"Firefox", "Chromium"}));
  EXPECT_EQ(paths(), (QStringList{"/opt/firefox/firefox", "/usr/bin/chromium"}));

  // The store holds five; the list takes no more.
  for (int i = 3; i <= 5; ++i) {
    responder.answer([i](platform::Request& r) {
      r.form->findChild<QLineEdit*>(QStringLiteral("txt1"))->setText(QStringLiteral("B%1").arg(i));
      r.form->findChild<QLineEdit*>(QStringLiteral("txt2"))->setText(QStringLiteral("/bin/b%1").arg(i));
      r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
      return r.form->result();
    });
    d.addBrowserButton->click();
  }
  EXPECT_EQ(d.lstBrowser->count(), 5);
  EXPECT_FALSE(d.addBrowserButton->isEnabled());
  d.cmdGem->click();
  run.restart();
  EXPECT_EQ(names(), (QStringList{"Firefox", "Chromium", "B3", "B4", "B5"}));
}

// ---------------------------------------------------------------------------
// Fields, buttons and help

TEST_F(Settings, TheTabFieldTakesDigitsOnlyAndTheArrowsStayInRange) {
  TIndstillinger& d = dialog();
  d.txtTabulator->clear();
  QTest::keyClicks(d.txtTabulator, QStringLiteral("1a-2 "));
  EXPECT_EQ(d.txtTabulator->text(), "12");
  QTest::keyClick(d.txtTabulator, Qt::Key_Backspace);
  EXPECT_EQ(d.txtTabulator->text(), "1");
  d.txtTabulator->setText(QStringLiteral("99"));
  EXPECT_EQ(d.updTabulator->Position(), 40);
  d.txtTabulator->setText(QStringLiteral("0"));
  EXPECT_EQ(d.updTabulator->Position(), 1);
  d.txtTabulator->clear();
  EXPECT_EQ(d.updTabulator->Position(), 1);  // the last number it held

  const QList<QToolButton*> arrows = d.updTabulator->findChildren<QToolButton*>();
  ASSERT_EQ(arrows.size(), 2);
  QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
  QToolButton* down = up == arrows[0] ? arrows[1] : arrows[0];
  d.txtTabulator->setText(QStringLiteral("39"));
  up->click();
  up->click();
  EXPECT_EQ(d.txtTabulator->text(), "40");
  d.txtTabulator->setText(QStringLiteral("2"));
  down->click();
  down->click();
  EXPECT_EQ(d.txtTabulator->text(), "1");
}

TEST_F(Settings, TheBrowseButtonsFillTheirFields) {
  TIndstillinger& d = dialog();
  ScriptedResponder responder;
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
    auto& fr = *static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(fr.title, "Find HTML-hjælpefil");
    EXPECT_EQ(fr.filters.value(0).first, "Hjælpefiler");
    EXPECT_TRUE(fr.filters.value(0).second.contains("*.hlp"));
    fr.chosen = QStringList{QStringLiteral("/usr/share/doc/ref.htm")};
    return 1;
  });
  d.browseHelpFileButton->click();
  EXPECT_EQ(d.txtHTMLHjaelp->text(), "/usr/share/doc/ref.htm");

  responder.answer([](platform::Request& r) {
    auto& fr = *static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_EQ(fr.title, "Find grafikprogram");
    EXPECT_EQ(fr.filters.value(0).first, "Programfiler");
    return 0;
  });
  d.txtGrafiksti->setText(QStringLiteral("/usr/bin/gimp"));
  d.browseGraphicsButton->click();
  EXPECT_EQ(d.txtGrafiksti->text(), "/usr/bin/gimp");

  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::BrowseFolder);
    auto& fr = *static_cast<platform::FolderDialogRequest*>(r.data);
    EXPECT_EQ(fr.folder, run.home());
    fr.chosen = run.dir.path();
    return 1;
  });
  d.browseStartFolderButton->click();
  EXPECT_EQ(d.txtAabnDialog->text(), run.dir.path());
}

TEST_F(Settings, TheHelpLineShowsTheTextOfTheControlUnderTheMouse) {
  TIndstillinger& d = dialog();
  const QString idle = "Hjælp: Før musen hen over en beskrivelse eller en kontrol for at se hjælpeteksten.";
  EXPECT_EQ(d.lblHjaelp->text(), idle);
  auto enter = [&](QWidget* w) {
    QEvent e(QEvent::Enter);
    QApplication::sendEvent(w, &e);
    return d.lblHjaelp->text();
  };
  auto leave = [&](QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
    return d.lblHjaelp->text();
  };
  EXPECT_EQ(enter(d.optIngen), "Kodeformatering slået fra.");
  EXPECT_EQ(leave(d.optIngen), idle);
  const QString scheme = "Bestemmer, hvorledes Morvel skal farveformatere HTML-koden i dokumentet.";
  for (QWidget* w : std::initializer_list<QWidget*>{d.optMv1, d.optMv2, d.optBruger, d.colKomB, d.colAlmT})
    EXPECT_EQ(enter(w), scheme) << w->objectName().toStdString();
  EXPECT_EQ(enter(d.cmdFont), "Ændrer skrifttypen i tekstbehandleren");
  EXPECT_EQ(enter(d.txtTabulator), "Sætter, hvor mange tegn tabulatoren rykker pr. gang.");
  EXPECT_EQ(enter(d.deleteBrowserButton), "Sletter den markerede browser fra browser-menuen.");
  EXPECT_EQ(enter(d.chkDansketegn),
            "Indsætter internationale koder i stedet for æ, ø og å i .htm-filen, når du "
            "gemmer, og indsætter æ, ø og å, når du åbner filen. ");
  EXPECT_EQ(enter(d.cmdGem), "Gennemfører de valgte ændringer og gemmer indstillingerne. Lukker dialogboksen.");
  EXPECT_EQ(enter(d.cmdAnvend), "Gennemfører de valgte ændringer og gemmer indstillingerne.");
  EXPECT_EQ(enter(d.cmdAnnuller), "Ser bort fra de foretagne valg og lukker dialogboksen.");
  EXPECT_EQ(enter(d.chkDesktop), "Opretter en genvej til Morvel på Windows' Skrivebord.");
  // The focus shows it too.
  leave(d.cmdAnnuller);
  QFocusEvent focus(QEvent::FocusIn);
  QApplication::sendEvent(d.txtDatoFormat, &focus);
  EXPECT_TRUE(d.lblHjaelp->text().startsWith("Sætter dato- og tidsformatet. Eks. 1: dd.mm.yy = 01.01.1998."));

  // Every check box but the ruler's has a text of its own.
  QSet<QString> texts;
  for (QCheckBox* b : d.findChildren<QCheckBox*>()) {
    const QString text = enter(b);
    EXPECT_EQ(leave(b), idle);
    if (b == d.chkLineal) {
      EXPECT_EQ(text, idle);
      continue;
    }
    EXPECT_NE(text, idle) << b->objectName().toStdString();
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), d.findChildren<QCheckBox*>().size() - 1);
}

TEST_F(Settings, FileNamesOnTabsChangeTheCaptionsAtOnce) {
  const QString page = run.dir.filePath(QStringLiteral("forside.htm"));
  std::ofstream(page.toStdString()) << "<TITLE>Velkommen</TITLE>";
  ASSERT_TRUE(kestrin().openFile(page));
  EXPECT_EQ(kestrin().TabControl1()->tabText(0), "Velkommen");
  dialog().chkFilnavn->click();
  EXPECT_EQ(kestrin().TabControl1()->tabText(0), "forside.htm");
  dialog().cmdAnnuller->click();
  EXPECT_EQ(kestrin().TabControl1()->tabText(0), "Velkommen");
}

TEST_F(Settings, TheCommandShowsTheOneDialogModally) {
  auto* command = kestrin().findChild<QAction*>(QStringLiteral("showSettings"));
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->text(), "&Indstillinger...");
  EXPECT_EQ(command->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Form);
    EXPECT_EQ(r.form, &dialog());
    dialog().optMv1->click();
    dialog().cmdGem->click();
    return r.form->result();
  });
  command->trigger();
  EXPECT_EQ(kestrin().editor(0)->Color(), kSilver);
  EXPECT_EQ(st::read(storedOnDisk(), st::indstillinger::Kodefarve), 1);
}

// The old button type is applied by OK and by "Anvend", not only when the
// window is first shown.
TEST_F(Settings, OkAndAnvendApplyTheToolBarStyle) {
  QToolBar* bar = kestrin().ToolBar1();
  const auto flat = [bar] {
    const QList<QToolButton*> buttons = bar->findChildren<QToolButton*>();
    EXPECT_FALSE(buttons.isEmpty());
    return std::all_of(buttons.begin(), buttons.end(), [](QToolButton* b) { return b->autoRaise(); });
  };
  kestrin().show();
  EXPECT_TRUE(flat());
  EXPECT_EQ(bar->height(), 29);
  dialog().chkKnaptype->setChecked(true);
  dialog().cmdAnvend->click();
  EXPECT_FALSE(flat());
  EXPECT_EQ(bar->height(), 32);
  dialog().chkKnaptype->setChecked(false);
  dialog().cmdGem->click();
  EXPECT_TRUE(flat());
  EXPECT_EQ(bar->height(), 29);
}

TEST_F(Settings, HelpOpensTheSettingsPage) {
  QUrl opened;
  const morvel::help::Opener previous = morvel::help::setOpener([&opened](const QUrl& url) {
    opened = url;
    return true;
  });
  ASSERT_TRUE(dialog().cmdHjaelp->isEnabled());
  dialog().cmdHjaelp->click();
  morvel::help::setOpener(previous);
  EXPECT_EQ(opened, morvel::help::pageForContext(morvel::help::kSettingsContext));
  EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("/indstillinger.html")));
  EXPECT_TRUE(QFile::exists(opened.toLocalFile()));
}

TEST_F(Settings, AStoreThatCannotBeWrittenIsReported) {
  run.stop();
  const QString blocked = run.dir.filePath(QStringLiteral("fil"));
  std::ofstream(blocked.toStdString()) << "ikke en mappe";
  {
    morvel::RegIniFile store((blocked + QStringLiteral("/Morvel.ini")).toStdString());
    TKestrin k(store);
    ScriptedResponder responder;
    responder.answer(IDOK);
    k.Indstillinger().cmdGem->click();
    EXPECT_EQ(responder.last().text,
              QStringLiteral("Indstillingerne kan ikke gemmes i filen %1/Morvel.ini.").arg(blocked));
    EXPECT_EQ(responder.last().flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  }
  run.start();
}

// ---------------------------------------------------------------------------
// The settings value

TEST_F(Settings, TheProgramReadsTheSettingsInForceNotTheBoxes) {
  TIndstillinger& d = dialog();
  d.chkGenerator->setChecked(false);
  d.chkDansketegn->setChecked(true);
  EXPECT_TRUE(kestrin().settings().generatorLine);
  d.cmdAnvend->click();
  EXPECT_FALSE(kestrin().settings().generatorLine);
  // The automatic conversions change by OK alone.
  EXPECT_FALSE(kestrin().settings().danishLetterCodes);
  d.cmdGem->click();
  EXPECT_TRUE(kestrin().settings().danishLetterCodes);

  // A saved page follows the value.
  const QString page = run.dir.filePath(QStringLiteral("side.htm"));
  std::ofstream(page.toStdString(), std::ios::binary) << "<HTML><HEAD></HEAD><BODY>\xE6</BODY></HTML>";
  ASSERT_TRUE(kestrin().openFile(page));
  run.changeSettings([](morvel::Settings& s) { s.automaticDate = false; });
  ASSERT_TRUE(kestrin().saveDocument(0));
  EXPECT_EQ(fileText(page), "<HTML><HEAD></HEAD><BODY>&aelig;</BODY></HTML>");
}

TEST_F(Settings, WritingStoresWhatOkStoresAndNoMore) {
  morvel::RegIniFile& store = run.store();
  morvel::Settings s = morvel::readSettings(store);
  s.internalBrowserMsie = true;  // written when the window closes
  s.useArchiveFlag = true;       // never written
  s.colourScheme = 1;
  s.ownScheme.elements.text = RGB(1, 2, 3);  // not the chosen scheme
  s.browsers = {{QStringLiteral("Firefox"), QStringLiteral("/usr/bin/firefox")}};
  s.emailAddress = QStringLiteral("post@firma.dk");
  morvel::writeSettings(store, s);
  morvel::Settings back = morvel::readSettings(store);
  EXPECT_FALSE(back.internalBrowserMsie);
  EXPECT_FALSE(back.useArchiveFlag);
  EXPECT_EQ(back.colourScheme, 1);
  EXPECT_EQ(back.ownScheme.elements.text, RGB(0xFF, 0x00, 0x00));
  EXPECT_EQ(back.browsers, s.browsers);
  EXPECT_EQ(back.emailAddress, "post@firma.dk");
  EXPECT_EQ(store.ReadString("Indstillinger", "BrowserSti5", "x"), "");

  // The user's own scheme: its code backgrounds stay behind "Ens baggrund".
  s.colourScheme = 3;
  s.sameBackground = true;
  s.ownScheme.elements.background = RGB(9, 9, 9);
  morvel::writeSettings(store, s);
  back = morvel::readSettings(store);
  EXPECT_EQ(back.ownScheme.elements.text, RGB(1, 2, 3));
  EXPECT_EQ(back.ownScheme.elements.background, GetSysColor(COLOR_WINDOW));
  EXPECT_TRUE(back.sameBackground);
  s.sameBackground = false;
  morvel::writeSettings(store, s);
  EXPECT_EQ(morvel::readSettings(store).ownScheme.elements.background, RGB(9, 9, 9));
}

// Pictures of the five pages, for a person to look at: written when
// MORVEL_TEST_PICTURES names a folder.
TEST_F(Settings, EveryPageDrawsItsControls) {
  TIndstillinger& d = dialog();
  d.show();
  const QString folder = qEnvironmentVariable("MORVEL_TEST_PICTURES");
  for (int i = 0; i < d.pages->count(); ++i) {
    d.pages->setCurrentIndex(i);
    QApplication::processEvents();
    const QImage picture = d.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    // Text and frames on the page: far more than a handful of colours.
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 2) {
      for (int x = 0; x < picture.width(); x += 2) colours.insert(picture.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 8) << i;
    if (!folder.isEmpty()) picture.save(QStringLiteral("%1/indstillinger-%2.png").arg(folder).arg(i + 1));
  }
  d.hide();
}

}  // namespace
