// The markup commands of the main window as a user gives them: through the
// menus and their keys, with the codes landing around the selection or at
// the caret; the user's own codes; the update date and the generator line
// that saving adds; the codes for a file; double clicks on words; the HTML
// help; and a whole page typed, formatted and saved.
#include "commands/code_insertion.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "mainwindow/kestrin.h"
#include "markup/date_format.h"
#include "program_run.h"
#include "scripted_responder.h"
#include "settings/indstillinger.h"
#include "settings/settings_store.h"
#include "startup/help.h"

#include "../support/picture_files.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;
namespace st = morvel::settings;

std::string fileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string kGenerator = "<META NAME=\"Generator\" CONTENT=\"Brimvale's Morvel 2\">\r\n";

std::string dated(const std::string& date) { return "<!-- Morvel AutoDato -->" + date + "<!-- Mv -->\r\n"; }

class Markup : public ::testing::Test {
 protected:
  Markup() {
    run.environment.set("MORVEL_HOME", run.dir.path());
    run.restart();
    previousClock_ = morvel::setDateTimeSource([this] { return now; });
  }
  ~Markup() override { morvel::setDateTimeSource(std::move(previousClock_)); }

  TKestrin& k() { return run.kestrin(); }
  TTivra& e() { return *k().activeEditor(); }
  QWidget* keys() { return e().focusProxy() ? e().focusProxy() : &e(); }
  QAction* command(const char* name) {
    QAction* a = k().command(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  void trigger(const char* name) {
    if (QAction* a = command(name)) a->trigger();
  }
  void showActive() {
    k().show();
    k().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&k()));
  }
  void setText(const std::string& bytes) {
    e().setTextBytes(bytes);
    e().EmptyUndoBuffer();
  }
  // From where the selection begins to where the caret is.
  void select(int anchorLine, int anchorColumn, int caretLine, int caretColumn) {
    e().setStartLine(anchorLine);
    e().setStartPos(anchorColumn);
    e().setEndLine(caretLine);
    e().setEndPos(caretColumn);
    e().SetSelection();
  }
  // "anchor line:column-caret line:column"
  std::string selection() {
    e().GetSelection();
    return std::to_string(e().StartLine()) + ":" + std::to_string(e().StartPos()) + "-" +
           std::to_string(e().EndLine()) + ":" + std::to_string(e().EndPos());
  }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = run.dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  QString dateFormat(const QString& format) {
    run.changeSettings([&format](morvel::Settings& s) { s.dateFormat = format; });
    return format;
  }

  app_test::ProgramRun run;
  morvel::DateTime now{1998, 1, 1, 19, 32, 5};

 private:
  morvel::DateTimeSource previousClock_;
};

// ---------------------------------------------------------------------------
// Direct commands

struct Direct {
  const char* name;
  QString caption;
  QList<QKeySequence> keys;  // among the action's shortcuts
  std::string start;
  std::string end;
  enum { Wrap, Insert, WrapOrInsert } kind;
};

TEST_F(Markup, EveryDirectCommandPutsItsCodesAroundTheSelectionOrAtTheCaret) {
  const QList<QKeySequence> none;
  const std::vector<Direct> commands{
      {"bold", "&Fed", {QKeySequence(Qt::CTRL | Qt::Key_B)}, "<B>", "</B>", Direct::Wrap},
      {"italic", "&Kursiv", {QKeySequence(Qt::CTRL | Qt::Key_I)}, "<I>", "</I>", Direct::Wrap},
      {"underline", "&Understreget", {QKeySequence(Qt::CTRL | Qt::Key_U)}, "<U>", "</U>", Direct::Wrap},
      {"fontSizeUp",
       "Fo&ntstørrelse +1",
       {QKeySequence(Qt::CTRL | Qt::Key_Plus)},
       "<FONT SIZE=\"+1\">",
       "</FONT>",
       Direct::Wrap},
      {"fontSizeDown",
       "Fon&tstørrelse -1",
       {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
       "<FONT SIZE=\"-1\">",
       "</FONT>",
       Direct::Wrap},
      {"heading1", "Overskrift &1", none, "<H1>", "</H1>", Direct::Wrap},
      {"heading4", "Overskrift &4", none, "<H4>", "</H4>", Direct::Wrap},
      {"heading6", "Overskrift &6", none, "<H6>", "</H6>", Direct::Wrap},
      {"typewriter", "Skriv&emaskine", none, "<TT>", "</TT>", Direct::Wrap},
      {"preformatted", "&Præformateret", none, "<PRE>", "</PRE>", Direct::Wrap},
      {"center", "&Centrér", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, "<CENTER>", "</CENTER>", Direct::Wrap},
      {"alignRight", "&Højrejustér", none, "<P ALIGN=\"RIGHT\">", "</P>", Direct::Wrap},
      {"justify", "&Lige margener", none, "<P ALIGN=\"JUSTIFY\">", "</P>", Direct::Wrap},
      {"lineBreak", "Linie&skift", {QKeySequence(Qt::CTRL | Qt::Key_Return)}, "<BR>", "", Direct::Insert},
      {"paragraph", "&Afsnit", {QKeySequence(Qt::SHIFT | Qt::Key_Return)}, "<P>", "</P>", Direct::WrapOrInsert},
      {"horizontalRule",
       "Vand&ret linie",
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
       "<HR>",
       "",
       Direct::Insert},
      {"nonBreakingSpace", "H&årdt mellemrum", {QKeySequence(Qt::CTRL | Qt::Key_Space)}, "&nbsp;", "", Direct::Insert},
      {"comment", "&Kommentar", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K)}, "<!-- ", " -->", Direct::Wrap},
      {"tableRow", "&Række", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, "<TR>", "</TR>", Direct::Wrap},
      {"tableCell", "Tabel&celle", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)}, "<TD>", "</TD>", Direct::Wrap},
      {"listItem", "&Punkt", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U)}, "<LI>", "</LI>", Direct::WrapOrInsert},
  };
  for (const Direct& d : commands) {
    SCOPED_TRACE(d.name);
    QAction* a = command(d.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), d.caption);
    for (const QKeySequence& key : d.keys) EXPECT_TRUE(a->shortcuts().contains(key)) << key.toString().toStdString();

    // "ord" selected in "et ord her".
    setText("et ord her");
    select(1, 3, 1, 6);
    a->trigger();
    if (d.kind == Direct::Insert) {
      EXPECT_EQ(e().TextBytes(), "et " + d.start + " her");
    } else {
      EXPECT_EQ(e().TextBytes(), "et " + d.start + "ord" + d.end + " her");
      EXPECT_EQ(e().SelTextBytes(), "ord");
    }

    // Nothing selected: the codes go in at the caret, which ends between them.
    setText("et ord her");
    select(1, 3, 1, 3);
    a->trigger();
    const std::string end = d.kind == Direct::Wrap ? d.end : "";
    EXPECT_EQ(e().TextBytes(), "et " + d.start + end + "ord her");
    const int caret = 3 + static_cast<int>(d.start.size());
    EXPECT_EQ(selection(), "1:" + std::to_string(caret) + "-1:" + std::to_string(caret));
  }
}

TEST_F(Markup, BoldAroundATwoLineSelectionFromItsKey) {
  showActive();
  setText("linie et\r\nto: start her\r\ntre\r\nfire slut\r\nfem");
  select(2, 5, 4, 3);
  const std::string selected = e().SelTextBytes();
  QTest::keyClick(keys(), Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(e().TextBytes(), "linie et\r\nto: s<B>tart her\r\ntre\r\nfir</B>e slut\r\nfem");
  EXPECT_EQ(selection(), "2:8-4:3");
  EXPECT_EQ(e().SelTextBytes(), selected);
}

TEST_F(Markup, ASelectionMadeFromRightToLeftIsWrappedTheSame) {
  setText("en fed s\xE6tning");
  select(1, 3, 1, 6);
  trigger("bold");
  const std::string leftToRight = e().TextBytes();
  const std::string selected = selection();

  setText("en fed s\xE6tning");
  select(1, 6, 1, 3);
  trigger("bold");
  EXPECT_EQ(e().TextBytes(), leftToRight);
  EXPECT_EQ(e().TextBytes(), "en <B>fed</B> s\xE6tning");
  EXPECT_EQ(selection(), selected);
  EXPECT_EQ(e().SelTextBytes(), "fed");
}

TEST_F(Markup, CodesWithALineBreakStillLandAroundTheSelection) {
  // The element dialogs may start a block on a line of its own.
  setText("a tekst b");
  select(1, 2, 1, 7);
  morvel::wrapSelection(e(), QStringLiteral("<PRE>\r\n"), QStringLiteral("\r\n</PRE>"));
  EXPECT_EQ(e().TextBytes(), "a <PRE>\r\ntekst\r\n</PRE> b");
  EXPECT_EQ(e().SelTextBytes(), "tekst");
}

TEST_F(Markup, TheSystemColourDialogInsertsTheColoursCode) {
  QAction* colour = command("systemColour");
  EXPECT_EQ(colour->text(), "Farve, &Windowsdialog...");
  ScriptedResponder responder;
  auto choose = [](COLORREF c) {
    return [c](platform::Request& r) {
      EXPECT_EQ(r.kind, platform::RequestKind::Colour);
      static_cast<platform::ColourDialogRequest*>(r.data)->colour = c;
      return 1;
    };
  };
  setText("[]");
  select(1, 1, 1, 1);
  responder.answer(choose(RGB(255, 0, 0)));
  colour->trigger();
  responder.answer(choose(RGB(0x12, 0xAB, 0x05)));
  colour->trigger();
  responder.answer(0);  // cancelled
  colour->trigger();
  EXPECT_EQ(e().TextBytes(), "[Red#12AB05]");
}

// ---------------------------------------------------------------------------
// User codes

TEST_F(Markup, UserCodesWithADescriptionAppearAndWrapTheSelection) {
  auto code = [this](int i, const char* description, const char* start, const char* end) {
    run.store().WriteString(st::kKoder, st::userCode(i, 'a'), description);
    run.store().WriteString(st::kKoder, st::userCode(i, 'b'), start);
    run.store().WriteString(st::kKoder, st::userCode(i, 'c'), end);
  };
  code(1, "Citat", "<BLOCKQUOTE>", "</BLOCKQUOTE>");
  code(2, "", "<SMALL>", "</SMALL>");  // no description: not in the menu
  code(3, "Blød bindestreg", "&shy;", "");
  QMenu* insert = k().findChild<QMenu*>(QStringLiteral("insertMenu"));
  emit insert->aboutToShow();
  EXPECT_TRUE(k().findChild<QMenu*>(QStringLiteral("userCodesMenu"))->isEnabled());
  EXPECT_EQ(command("mnuB1")->text(), "Citat");
  EXPECT_TRUE(command("mnuB1")->isVisible());
  EXPECT_FALSE(command("mnuB2")->isVisible());
  EXPECT_EQ(command("mnuB3")->text(), "Blød bindestreg");
  EXPECT_TRUE(command("mnuB3")->isVisible());
  EXPECT_FALSE(command("mnuB4")->isVisible());

  showActive();
  setText("ordet");
  select(1, 0, 1, 5);
  QTest::keyClick(keys(), Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(e().TextBytes(), "<BLOCKQUOTE>ordet</BLOCKQUOTE>");
  QTest::keyClick(keys(), Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(e().TextBytes(), "<BLOCKQUOTE>ordet</BLOCKQUOTE>");
  QTest::keyClick(keys(), Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(e().TextBytes(), "<BLOCKQUOTE>&shy;ordet</BLOCKQUOTE>");

  // Without the first description the submenu cannot be opened.
  code(1, "", "<BLOCKQUOTE>", "</BLOCKQUOTE>");
  emit insert->aboutToShow();
  EXPECT_FALSE(k().findChild<QMenu*>(QStringLiteral("userCodesMenu"))->isEnabled());
}

// ---------------------------------------------------------------------------
// The update date and the generator line

const std::string kPage =
    "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n</HEAD>\r\n<BODY>\r\nTekst\r\n</BODY>\r\n</HTML>\r\n";

TEST_F(Markup, SavingAsksForADateOnceAndSavingAgainInTheSameMinuteChangesNothing) {
  dateFormat(QStringLiteral("dd/mm/yyyy hh:mm"));
  const QString page = write(QStringLiteral("side.htm"), kPage);
  ASSERT_TRUE(k().openFile(page));
  e().InsertText(QStringLiteral("Ny "));
  ScriptedResponder responder;
  responder.answer(IDYES);
  trigger("mnuGem");
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().caption, "Morvel Autodato");
  EXPECT_EQ(responder.last().text, page +
                                       " indeholder ikke en Auto-opdateringsdato.\n"
                                       "Ønsker du, at Morvel skal indsætte en opdateringsdato?");
  EXPECT_EQ(responder.last().flags, UINT(MB_YESNO | MB_ICONQUESTION));
  const std::string saved = "Ny <HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n" + kGenerator +
                            "</HEAD>\r\n<BODY>\r\nTekst\r\n" + dated("01-01-1998 19:32") + "</BODY>\r\n</HTML>\r\n";
  EXPECT_EQ(fileBytes(page), saved);
  EXPECT_FALSE(e().Modified());

  // Seconds later: nothing to change, nothing asked.
  now.second = 50;
  trigger("mnuGem");
  EXPECT_EQ(e().TextBytes(), saved);
  EXPECT_EQ(fileBytes(page), saved);
  EXPECT_FALSE(e().Modified());

  // A minute later the date between the markers is replaced.
  now.minute = 33;
  trigger("mnuGem");
  std::string later = saved;
  later.replace(later.find("19:32"), 5, "19:33");
  EXPECT_EQ(fileBytes(page), later);
  EXPECT_EQ(responder.seen().size(), 1u);
}

TEST_F(Markup, ARefusedDateIsNeverAskedForAgainUntilF6InsertsOneAtTheCaret) {
  const QString page = write(QStringLiteral("side.htm"), kPage);
  ASSERT_TRUE(k().openFile(page));
  select(6, 1, 6, 3);  // "ek" of "Tekst"
  ScriptedResponder responder;
  responder.answer(IDNO);
  trigger("mnuGem");
  // The generator line goes in first, then the refusal before the head's end.
  const std::string refused = "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n" + kGenerator +
                              "<!-- Minus AutoDato -->\r\n</HEAD>\r\n<BODY>\r\nTekst\r\n</BODY>\r\n</HTML>\r\n";
  EXPECT_EQ(fileBytes(page), refused);
  // The lines put in above it moved the selection down with its text.
  EXPECT_EQ(selection(), "8:1-8:3");
  EXPECT_EQ(e().SelTextBytes(), "ek");

  e().InsertText(QStringLiteral("ek"));
  trigger("mnuGem");
  EXPECT_EQ(fileBytes(page), refused);
  EXPECT_EQ(responder.seen().size(), 1u);

  // F6 dates the page anyway: at the caret, without a question.
  select(8, 0, 8, 0);
  QAction* f6 = command("updateDate");
  EXPECT_EQ(f6->text(), "&Opdateringsdato");
  EXPECT_EQ(f6->shortcut(), QKeySequence(Qt::Key_F6));
  f6->trigger();
  EXPECT_EQ(e().TextBytes(), "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n" + kGenerator + "</HEAD>\r\n<BODY>\r\n" +
                                 dated("Opdateret d. 1-1-98") + "Tekst\r\n</BODY>\r\n</HTML>\r\n");
  // And from now on saving keeps the date up to date.
  now.day = 2;
  trigger("mnuGem");
  EXPECT_NE(fileBytes(page).find(dated("Opdateret d. 2-1-98") + "Tekst"), std::string::npos);
  EXPECT_EQ(responder.seen().size(), 1u);
}

TEST_F(Markup, ADamagedDateIsReportedWithItsMarkerSelectedAndLeftAsItIs) {
  run.changeSettings([](morvel::Settings& s) { s.generatorLine = false; });
  const std::string damaged = "<BODY>\r\n<!-- Morvel AutoDato -->1-1-97\r\n</BODY>\r\n";
  const QString page = write(QStringLiteral("side.htm"), damaged);
  ASSERT_TRUE(k().openFile(page));
  ScriptedResponder responder;
  responder.answer(IDOK);
  trigger("mnuGem");
  EXPECT_EQ(responder.last().text, "Auto-opdateringsdatoen i " + page +
                                       " er blevet ødelagt.\nSlet det markerede og den gamle dato og lad Morvel "
                                       "indsætte en ny.");
  EXPECT_EQ(fileBytes(page), damaged);
  EXPECT_EQ(e().SelTextBytes(), "<!-- Morvel AutoDato -->");
}

TEST_F(Markup, TheDateFormatSpeaksDanishAndStyleSheetsGetNothing) {
  dateFormat(QStringLiteral("dddd 'd.' d. mmmm, yyyy kl. hh:mm"));
  setText("<BODY>\r\n</BODY>");
  select(1, 6, 1, 6);
  trigger("updateDate");
  EXPECT_EQ(e().TextBytes(), "<BODY>" + dated("torsdag d. 1. januar, 1998 kl. 19:32") + "\r\n</BODY>");

  // No generator line, no date and no question in a style sheet.
  const QString css = write(QStringLiteral("stil.css"), "BODY { color: red }\r\n");
  ASSERT_TRUE(k().openFile(css));
  e().InsertText(QStringLiteral("P { } "));
  trigger("mnuGem");
  EXPECT_EQ(fileBytes(css), "P { } BODY { color: red }\r\n");
}

TEST_F(Markup, AnOlderGeneratorLineIsReplacedAndUpperCaseCodesComeFirst) {
  run.changeSettings([](morvel::Settings& s) {
    s.codesInUpperCase = true;
    s.automaticDate = false;
  });
  const QString page =
      write(QStringLiteral("side.htm"),
            "<html><head>\r\n<meta name=\"Generator\" content=\"Et andet program\">\r\n</head></html>");
  ASSERT_TRUE(k().openFile(page));
  trigger("mnuGem");
  EXPECT_EQ(fileBytes(page), "<HTML><HEAD>\r\n" + kGenerator + "</HEAD></HTML>");
}

// ---------------------------------------------------------------------------
// Codes for files, FONT end codes, base codes

TEST_F(Markup, TheCodeForAFileRefersToItFromThePagesFolder) {
  const QString page = write(QStringLiteral("site/index.htm"), "");
  ASSERT_TRUE(k().openFile(page));
  QDir().mkpath(run.dir.filePath(QStringLiteral("site/billeder")));
  const QString photo = run.dir.filePath(QStringLiteral("site/billeder/foto.jpg"));
  ASSERT_TRUE(testing_support::writeJpeg(photo.toStdString(), 120, 80));
  const QString broken = write(QStringLiteral("site/billeder/itu.gif"), "GIF89a");
  const QString sound = write(QStringLiteral("lyd/gong.wav"), "RIFF");
  const QString other = write(QStringLiteral("site/om.htm"), "");

  k().markupCommands().insertCodeForFile(photo);
  k().markupCommands().insertCodeForFile(broken);
  k().markupCommands().insertCodeForFile(sound);
  k().markupCommands().insertCodeForFile(other);
  EXPECT_EQ(e().TextBytes(),
            "<IMG SRC=\"billeder/foto.jpg\" BORDER=\"0\" WIDTH=\"120\" HEIGHT=\"80\" ALT=\"\">"
            "<IMG SRC=\"billeder/itu.gif\" BORDER=\"0\" WIDTH=\"0\" HEIGHT=\"0\" ALT=\"\">"
            "<EMBED SRC=\"../lyd/gong.wav\" AUTOSTART=\"True\" HIDDEN=\"True\"><BGSOUND SRC=\"../lyd/gong.wav\">"
            "<A HREF=\"om.htm\">om.htm</A>");

  // A page without a file refers to the file by its name alone.
  k().newDocument();
  k().markupCommands().insertCodeForFile(other);
  EXPECT_EQ(e().TextBytes(), "<A HREF=\"om.htm\">om.htm</A>");
}

TEST_F(Markup, TheEndOfAFontCodeAndTheBodyCodeAreFoundForTheElementCommand) {
  setText("<FONT SIZE=2>a <FONT COLOR=Red>b</FONT>\r\nc</font> <FONT SIZE=1>d</FONT>");
  select(1, 0, 1, 13);
  const std::optional<morvel::TextPosition> end = k().markupCommands().matchingFontEnd(0);
  ASSERT_TRUE(end);
  EXPECT_EQ(*end, (morvel::TextPosition{2, 1}));
  select(2, 9, 2, 20);
  EXPECT_EQ(k().markupCommands().matchingFontEnd(0), (morvel::TextPosition{2, 23}));
  setText("<FONT SIZE=2>ingen slutkode");
  EXPECT_EQ(k().markupCommands().matchingFontEnd(0), std::nullopt);

  // The page base command edits the BODY of a page that has one, and the
  // caret comes back inside it.
  ScriptedResponder responder;
  setText("<HTML>\r\n<body BGCOLOR=\"White\">\r\n</body>");
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.form->windowTitle(), "Basiskoder - redigering");
    return static_cast<int>(QDialog::Rejected);
  });
  k().elementDialogs().baseCodes();
  EXPECT_EQ(selection(), "2:5-2:5");
}

// ---------------------------------------------------------------------------
// Double clicks, HTML help, closing

TEST_F(Markup, ADoubleClickSelectsTheWordBetweenBlanks) {
  showActive();
  setText("<P>Hej med dig</P>");
  // The editor's own tokens would not select text between codes.
  auto doubleClickAt = [this](int column) {
    for (int x = 0; x < 800; ++x) {
      int line = 0;
      int c = 0;
      if (e().PositionFromPoint(x, 5, line, c) && line == 1 && c == column) {
        SendMessage(e().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x + 1, 5));
        return;
      }
    }
    ADD_FAILURE() << "no point for column " << column;
  };
  doubleClickAt(8);
  EXPECT_EQ(e().SelTextBytes(), "med");
  EXPECT_EQ(selection(), "1:7-1:10");
  doubleClickAt(1);
  EXPECT_EQ(e().SelTextBytes(), "<P>Hej");
  EXPECT_EQ(e().TextBytes(), "<P>Hej med dig</P>");
}

TEST_F(Markup, HtmlHelpWithoutAFileSendsTheUserToTheSetting) {
  QAction* help = command("htmlHelp");
  EXPECT_EQ(help->text(), "HT&ML-hjælp");
  EXPECT_EQ(help->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
  TIndstillinger& d = run.dialog();
  run.changeSettings([](morvel::Settings& s) { s.htmlHelpFile.clear(); });
  ScriptedResponder responder;
  responder.answer(IDOK);
  help->trigger();
  EXPECT_EQ(responder.last().text, "Du skal angive stien til den fil, du ønsker at bruge som HTML-hjælpefil");
  EXPECT_TRUE(d.isVisible());
  EXPECT_FALSE(d.isModal());
  EXPECT_TRUE(d.pages->currentWidget()->isAncestorOf(d.txtHTMLHjaelp));
  EXPECT_EQ(d.focusWidget(), d.txtHTMLHjaelp);
  d.hide();
}

TEST_F(Markup, HtmlHelpOpensTheFileAtTheSelectedKeyword) {
  const QString reference = write(QStringLiteral("reference.html"), "<HTML></HTML>");
  run.changeSettings([&reference](morvel::Settings& s) { s.htmlHelpFile = reference; });
  QList<QUrl> opened;
  const morvel::help::Opener previous = morvel::help::setOpener([&opened](const QUrl& url) {
    opened << url;
    return true;
  });
  setText("<TABLE BORDER=1>");
  select(1, 0, 1, 6);
  trigger("htmlHelp");
  select(1, 0, 1, 0);
  trigger("htmlHelp");
  morvel::help::setOpener(previous);
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0].toLocalFile(), reference);
  EXPECT_EQ(opened[0].fragment(), "TABLE");
  EXPECT_EQ(opened[1], QUrl::fromLocalFile(reference));
}

TEST_F(Markup, TheClosedOnlyDocumentsTextDoesNotComeBackByUndo) {
  showActive();
  QTest::keyClicks(keys(), QStringLiteral("hemmelig"));
  QTest::keyClick(keys(), Qt::Key_Return);
  QTest::keyClicks(keys(), QStringLiteral("tekst"));
  e().InsertText(QStringLiteral(" og mere"));
  ScriptedResponder responder;
  responder.answer(IDNO);
  trigger("close");
  EXPECT_EQ(e().TextBytes(), "");
  EXPECT_FALSE(e().CanUndo());
  trigger("undo");
  EXPECT_EQ(e().TextBytes(), "");
  QTest::keyClick(keys(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(e().TextBytes(), "");
  trigger("redo");
  EXPECT_EQ(e().TextBytes(), "");
}

// ---------------------------------------------------------------------------
// A whole page

TEST_F(Markup, APageTypedAndFormattedThroughTheMenusIsSavedWithDateAndGeneratorLine) {
  showActive();
  QWidget* w = keys();
  auto type = [w](const QString& text) { QTest::keyClicks(w, text); };
  auto key = [w](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); };

  type(QStringLiteral("<HTML>"));
  key(Qt::Key_Return);
  type(QStringLiteral("<HEAD>"));
  key(Qt::Key_Return);
  type(QStringLiteral("<TITLE>Min side på nettet</TITLE>"));
  key(Qt::Key_Return);
  type(QStringLiteral("</HEAD>"));
  key(Qt::Key_Return);
  type(QStringLiteral("<BODY>"));
  key(Qt::Key_Return);
  type(QStringLiteral("Velkommen"));
  key(Qt::Key_Home, Qt::ShiftModifier);
  trigger("heading1");
  key(Qt::Key_End);
  key(Qt::Key_Return);
  type(QStringLiteral("Her er "));
  key(Qt::Key_B, Qt::ControlModifier);  // nothing selected: the caret lands between <B> and </B>
  type(QStringLiteral("fed"));
  key(Qt::Key_End);
  type(QStringLiteral(" tekst."));
  key(Qt::Key_Home, Qt::ShiftModifier);
  key(Qt::Key_Return, Qt::ShiftModifier);  // a paragraph around the selection
  key(Qt::Key_End);
  key(Qt::Key_Return, Qt::ControlModifier);
  key(Qt::Key_Return);
  key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  key(Qt::Key_Return);
  type(QStringLiteral("</BODY>"));
  key(Qt::Key_Return);
  type(QStringLiteral("</HTML>"));

  const QString page = run.dir.filePath(QStringLiteral("side.htm"));
  ScriptedResponder responder;
  responder.answer([&page](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::SaveFile);
    static_cast<platform::FileDialogRequest*>(r.data)->chosen = QStringList{page};
    return 1;
  });
  responder.answer(IDYES);  // insert a date
  key(Qt::Key_S, Qt::ControlModifier);
  const std::string expected =
      "<HTML>\r\n<HEAD>\r\n<TITLE>Min side p\xE5 nettet</TITLE>\r\n" + kGenerator +
      "</HEAD>\r\n<BODY>\r\n<H1>Velkommen</H1>\r\n<P>Her er <B>fed</B> tekst.</P><BR>\r\n<HR>\r\n" +
      dated("Opdateret d. 1-1-98") + "</BODY>\r\n</HTML>";
  EXPECT_EQ(fileBytes(page), expected);
  EXPECT_EQ(k().fileName(0), page);
  EXPECT_EQ(k().TabControl1()->tabText(0), "Min side på nettet");

  // Saved again the same day: the same bytes.
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(fileBytes(page), expected);
  EXPECT_EQ(responder.seen().size(), 2u);
}

}  // namespace
