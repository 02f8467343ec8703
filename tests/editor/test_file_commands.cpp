// Saving and the file commands of a Tivra32 window: bytes and line ends on
// disk, failed saves that keep the old file, the save question on closing,
// new, open, revert, and the open and save dialogs.
#include "common_dialogs.h"
#include "editor_harness.h"
#include "qtext.h"
#include "scripted_responder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;
using testing_support::ScriptedResponder;
using Lines = std::vector<std::string>;

namespace {

platform::FileDialogRequest& fileRequest(platform::Request& r) {
  return *static_cast<platform::FileDialogRequest*>(r.data);
}

class FileCommands : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string p = path(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  static std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> folderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path().toStdString()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string fileName(const Editor& e) {
    std::vector<char> buffer(4096, 0);
    e.send(TM_GETFILENAME, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
  }
  static std::string caption(const Editor& e) {
    char buffer[4096] = {};
    GetWindowText(e.hwnd(), buffer, sizeof buffer);
    return buffer;
  }
  static LRESULT load(const Editor& e, const std::string& p) {
    return e.send(TM_LOADFILE, 0, reinterpret_cast<LPARAM>(p.c_str()));
  }
  static LRESULT saveAs(const Editor& e, const std::string& p) {
    return e.send(TM_SAVEFILEAS, 0, reinterpret_cast<LPARAM>(p.c_str()));
  }
  static void command(const Editor& e, UINT id) { e.send(WM_COMMAND, id); }

  QTemporaryDir dir_;
};

// A line of `length` characters: markup, Windows-1252 letters and UTF-8
// ones, as generated and minified pages have.
std::string longLine(size_t length) {
  const std::string words =
      "<b>r\xF8"
      "dgr\xF8"
      "d</b> caf\xC3\xA9 <script>a<b&&c</script> ";
  std::string out;
  while (out.size() < length) out += words;
  out.resize(length);
  return out;
}

// Lines with TABs, every byte from 0x80 to 0xFF and two lines longer than
// the editor's lines (20,000 and 11,334 characters), joined by `end`, with
// or without a line end after the last.
std::string sampleFile(const std::string& end, bool endsWithLineEnd) {
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  const Lines lines{"<p>\tindrykket", high,          longLine(20000), "", "\t\tto faner \xE6\xF8\xE5",
                    longLine(11334),  "sidste linje"};
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += lines[i] + (i + 1 < lines.size() || endsWithLineEnd ? end : "");
  return out;
}

TEST_F(FileCommands, EachLineEndComesBackByteForByteWithItsOption) {
  struct Case {
    const char* end;
    WORD option;
  };
  for (const Case& c :
       {Case{"\r\n", 0}, Case{"\n", TivraOption::UnixStyleSave}, Case{"\r", TivraOption::MacStyleSave}}) {
    for (bool endsWithLineEnd : {false, true}) {
      SCOPED_TRACE(std::string("line end ") +
                   (c.end[0] == '\n' ? "LF"
                    : c.end[1]       ? "CR LF"
                                     : "CR") +
                   (endsWithLineEnd ? ", ending in one" : ""));
      NotifyWindow parent;
      Editor e(parent, TS_FILECOMMANDS);
      e.setOptions(c.option, true);
      const std::string bytes = sampleFile(c.end, endsWithLineEnd);
      const std::string original = write("original.txt", bytes);
      ASSERT_EQ(load(e, original), 0);
      // The long lines are held as 3 and 2 pieces.
      EXPECT_EQ(e.lineCount(), endsWithLineEnd ? 11 : 10);
      EXPECT_EQ(e.line(2).size(), 128u);
      EXPECT_EQ(e.send(TM_GETLONGLINES), 2);
      // Read back with the line ends of saving: the file's bytes.
      ASSERT_EQ(e.send(TM_GETTEXTLENGTH, TIVRA_TEXT_SAVED), static_cast<LRESULT>(bytes.size()));
      std::string readBack(bytes.size() + 1, '\0');
      ASSERT_EQ(e.send(TM_GETTEXT, TIVRA_TEXT_SAVED, reinterpret_cast<LPARAM>(readBack.data())), 0);
      readBack.pop_back();
      EXPECT_TRUE(editor_test::sameText(readBack, bytes));

      ASSERT_EQ(saveAs(e, path("copy.txt")), 0);
      EXPECT_TRUE(editor_test::sameText(read(path("copy.txt")), bytes));
      // An edit in a piece and its undo leave the bytes as they were.
      e.select(4, 100, 4, 100);
      ASSERT_EQ(e.replace("ny"), 0);
      ASSERT_EQ(e.send(EM_UNDO, 0), 0);
      e.select(1, 0, 1, 0);
      e.replace("x");
      command(e, TCMD_SAVE);
      EXPECT_TRUE(editor_test::sameText(read(original), "x" + bytes));
    }
  }
}

TEST_F(FileCommands, TheLastLineGetsNoLineEndAndLfWinsOverCr) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  const std::string p = path("edge.txt");
  e.setText("");
  ASSERT_EQ(saveAs(e, p), 0);
  EXPECT_EQ(read(p), "") << "one empty line is an empty file";
  e.setText("a\r\n");
  ASSERT_EQ(e.lineCount(), 2);
  ASSERT_EQ(saveAs(e, p), 0);
  EXPECT_EQ(read(p), "a\r\n");
  e.setOptions(TivraOption::UnixStyleSave | TivraOption::MacStyleSave, true);
  e.setText("a\r\nb\r\n");
  ASSERT_EQ(saveAs(e, p), 0);
  EXPECT_EQ(read(p), "a\nb\n");
  e.setOptions(TivraOption::UnixStyleSave, false);
  ASSERT_EQ(saveAs(e, p), 0);
  EXPECT_EQ(read(p), "a\rb\r");
}

TEST_F(FileCommands, LongTextsAndLongLinesAreWrittenWhole) {
  NotifyWindow parent;
  Editor e(parent);
  // Lines around the block size, and one of the longest kind (8193).
  std::string text;
  for (int i = 0; i < 300; ++i)
    text += std::string(static_cast<size_t>(i * 37 % 9000 % 8193), static_cast<char>('a' + i % 26)) + "\r\n";
  text += std::string(8193, 'z');
  e.setText(text);
  const std::string p = path("long.txt");
  ASSERT_EQ(saveAs(e, p), 0);
  EXPECT_TRUE(editor_test::sameText(read(p), text));
}

TEST_F(FileCommands, SavingEmptiesUndoAndMarksTheTextUnchanged) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  const std::string p = write("side.htm", "<html>");
  ASSERT_EQ(load(e, p), 0);
  e.select(1, 6, 1, 6);
  e.replace("</html>");
  e.send(EM_SETMODIFY, 1, 5);
  ASSERT_EQ(e.send(EM_CANUNDO, 0), 1);

  // Under another name: the window keeps its name and its changed state.
  ASSERT_EQ(saveAs(e, path("kopi.htm")), 0);
  EXPECT_EQ(read(path("kopi.htm")), "<html></html>");
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0) << "no undo after a save";
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 1);
  EXPECT_EQ(fileName(e), p);

  e.select(1, 13, 1, 13);
  e.replace("!");
  command(e, TCMD_SAVE);
  EXPECT_EQ(read(p), "<html></html>!");
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 0);
  EXPECT_EQ(e.send(EM_GETMODIFY, 5), 1) << "the callers' markers are theirs";
  EXPECT_NE(e.send(TM_QUERYCLOSE), 0) << "a saved text closes without a question";
}

TEST_F(FileCommands, SavingReplacesTheFileKeepingItsModeAndLinks) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  const std::string real = write("rigtig.htm", "gammel");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  const std::string link = path("genvej.htm");
  std::filesystem::create_symlink(real, link);
  ASSERT_EQ(load(e, link), 0);
  e.setText("ny");
  command(e, TCMD_SAVE);
  EXPECT_EQ(read(real), "ny");
  EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link still points at the file";
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(folderEntries(), (std::vector<std::string>{"genvej.htm", "rigtig.htm"})) << "no temporary file is left";
}

// The process may write files of at most `bytes` while it lives: a write
// beyond fails as on a full disk (also for root).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

TEST_F(FileCommands, AWriteThatFailsHalfWayLeavesTheOldFileAndName) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  const std::string old = sampleFile("\r\n", true);
  const std::string p = write("vigtig.htm", old);
  ASSERT_EQ(load(e, p), 0);
  std::string big;
  for (int i = 0; i < 4000; ++i) big += "en lang linje med tekst der fylder godt op " + std::to_string(i) + "\r\n";
  e.setText(big);
  ScriptedResponder responder;
  responder.answer(IDOK);
  parent.seen.clear();
  {
    FileSizeLimit limit(64 * 1024);
    command(e, TCMD_SAVE);
  }
  EXPECT_EQ(read(p), old) << "the old file is untouched";
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"vigtig.htm"}) << "the unfinished file is removed";
  EXPECT_EQ(parent.count(TN_FILEERROR), 1);
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke skrive til fil"));
  EXPECT_EQ(responder.last().caption, QStringLiteral("Tivra V2.09 (32-bit)"));
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONSTOP);
  EXPECT_EQ(fileName(e), p);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 1) << "the text is still not saved";
  EXPECT_TRUE(editor_test::sameText(e.text(), big));

  // With room again the same save goes through.
  command(e, TCMD_SAVE);
  EXPECT_TRUE(editor_test::sameText(read(p), big));
}

TEST_F(FileCommands, AFileThatCannotBeCreatedIsReportedAndTheNameKept) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  const std::string p = write("navn.htm", "indhold");
  ASSERT_EQ(load(e, p), 0);
  e.setText("nyt");
  const std::string notAFolder = write("fil", "x") + "/under.htm";
  std::filesystem::create_directory(path("mappe"));
  write("mappe/inde.txt", "bliver");

  ScriptedResponder responder;
  responder.answer(IDOK);
  EXPECT_EQ(saveAs(e, notAFolder), 1);
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke åbne fil til skrivning"));

  // A folder where the file should be is not replaced. Answered 1, the
  // notify window reports it itself.
  parent.answers[TN_FILEERROR] = 1;
  EXPECT_EQ(saveAs(e, path("mappe")), 1);
  EXPECT_EQ(responder.seen().size(), 1u) << "no message box after the answer 1";
  EXPECT_EQ(parent.count(TN_FILEERROR), 2);
  EXPECT_EQ(read(path("mappe/inde.txt")), "bliver");
  EXPECT_EQ(fileName(e), p) << "the old name is kept";
  EXPECT_EQ(read(p), "indhold");

  if (geteuid() != 0) {
    // A folder without write access (root writes anyway).
    ASSERT_EQ(::chmod(dir_.path().toLocal8Bit().constData(), 0555), 0);
    command(e, TCMD_SAVE);
    ::chmod(dir_.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(parent.count(TN_FILEERROR), 3);
    EXPECT_EQ(read(p), "indhold");
  }
}

TEST_F(FileCommands, AnsweringTheSaveQuestionDecidesWhetherTheWindowCloses) {
  NotifyWindow parent;
  const std::string p = write("luk.htm", "gemt");
  auto e = std::make_unique<Editor>(parent, TS_FILECOMMANDS, p.c_str());
  e->setText("\xE6ndret");

  parent.answers[TN_ASKSAVE] = 3;
  e->send(WM_CLOSE);
  ASSERT_TRUE(IsWindow(e->hwnd())) << "3: cancel keeps the window";
  EXPECT_EQ(e->text(), "\xE6ndret");
  EXPECT_EQ(read(p), "gemt");

  // 1: save; a save that fails keeps the window open.
  parent.answers[TN_ASKSAVE] = 1;
  parent.answers[TN_FILEERROR] = 1;
  {
    FileSizeLimit limit(0);
    EXPECT_EQ(e->send(WM_QUERYENDSESSION), 0);
  }
  EXPECT_EQ(read(p), "gemt");
  e->send(WM_CLOSE);
  EXPECT_FALSE(IsWindow(e->hwnd()));
  EXPECT_EQ(read(p), "\xE6ndret");

  // The editor's own question: Yes saves.
  e = std::make_unique<Editor>(parent, TS_FILECOMMANDS, p.c_str());
  e->setText("igen");
  parent.answers[TN_ASKSAVE] = 0;
  ScriptedResponder responder;
  responder.answer(IDYES);
  EXPECT_NE(e->send(TM_QUERYCLOSE), 0);
  EXPECT_EQ(responder.last().text,
            QString::fromStdString("Filen " + p) + QStringLiteral(" er ændret.\nØnsker du at gemme filen?"));
  EXPECT_EQ(read(p), "igen");
}

TEST_F(FileCommands, NewOpenAndRevert) {
  NotifyWindow parent;
  const std::string first = write("en.htm", "første");
  const std::string second = write("to.htm", "anden\r\nlinje");
  Editor e(parent, TS_FILECOMMANDS | TS_NAMECAPTION | TS_NEWOPEN, first.c_str());
  EXPECT_EQ(caption(e), first);

  // Revert: back to the file without a question.
  e.setText("rettet");
  parent.seen.clear();
  command(e, TCMD_REVERT);
  EXPECT_EQ(e.text(), "første");
  EXPECT_EQ(parent.count(TN_ASKSAVE), 0);
  EXPECT_EQ(parent.count(TN_NEWTEXT), 1);

  // Open: the question first, then the dialog with the window's filter.
  e.send(TM_SETFILTER, 0, reinterpret_cast<LPARAM>("htm/HTML-sider/*.htm;*.html/Alle filer/*.*/"));
  e.setText("rettet igen");
  parent.answers[TN_ASKSAVE] = 2;
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
    const auto& fr = fileRequest(r);
    EXPECT_EQ(fr.filters.size(), 2);
    EXPECT_EQ(fr.filters.value(0).first, QStringLiteral("HTML-sider"));
    EXPECT_EQ(fr.filters.value(0).second, (QStringList{QStringLiteral("*.htm"), QStringLiteral("*.html")}));
    EXPECT_EQ(fr.defaultExtension, QStringLiteral("htm"));
    EXPECT_EQ(fr.folder, QDir::currentPath()) << "the first dialog starts in the current folder";
    fileRequest(r).chosen = {QString::fromStdString(second)};
    return 1;
  });
  parent.seen.clear();
  command(e, TCMD_OPEN);
  EXPECT_EQ(parent.codes(), (std::vector<WORD>{TN_GOINGTOCLOSE, TN_ASKSAVE, TN_NEWTEXT}));
  EXPECT_EQ(e.lines(), (Lines{"anden", "linje"}));
  EXPECT_EQ(fileName(e), second);
  EXPECT_EQ(caption(e), second);

  // The next dialog starts where the last one ended; cancelling changes nothing.
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(fileRequest(r).folder, dir_.path());
    return 0;
  });
  command(e, TCMD_OPEN);
  EXPECT_EQ(fileName(e), second);

  // New: an empty unnamed text.
  e.setText("noget");
  parent.seen.clear();
  command(e, TCMD_NEW);
  EXPECT_EQ(parent.codes(), (std::vector<WORD>{TN_GOINGTOCLOSE, TN_ASKSAVE, TN_NEWTEXT}));
  EXPECT_EQ(e.text(), "");
  EXPECT_EQ(fileName(e), "<<Ikke navngivet>>");
  EXPECT_EQ(caption(e), "<<Ikke navngivet>>");
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 0);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_REVERT), 0);
  command(e, TCMD_REVERT);
  EXPECT_EQ(e.text(), "") << "nothing to revert to";

  // A read-only window is not reverted.
  ASSERT_EQ(load(e, first), 0);
  e.send(EM_SETREADONLY, 1);
  e.setText("skrivebeskyttet");
  command(e, TCMD_REVERT);
  EXPECT_EQ(e.text(), "skrivebeskyttet");
}

TEST_F(FileCommands, SaveWithoutANameAsksForOneAndKeepsIt) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS | TS_NAMECAPTION);
  e.send(TM_SETFILTER, 0, reinterpret_cast<LPARAM>("htm/HTML-sider/*.htm/"));
  e.setText("ny side");
  ScriptedResponder responder;
  responder.answer(0);
  command(e, TCMD_SAVE);
  EXPECT_EQ(fileName(e), "<<Ikke navngivet>>") << "cancelled";
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 1);

  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::SaveFile);
    EXPECT_EQ(fileRequest(r).suggestedName, QString());
    fileRequest(r).chosen = {QString::fromStdString(path("ny"))};
    return 1;
  });
  command(e, TCMD_SAVE);
  const std::string saved = path("ny.htm");
  EXPECT_EQ(read(saved), "ny side");
  EXPECT_EQ(fileName(e), saved);
  EXPECT_EQ(caption(e), saved);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_SAVE), 1);

  // Save As offers the present name and asks before replacing a file.
  const std::string other = write("anden.htm", "anden");
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(fileRequest(r).suggestedName, QStringLiteral("ny.htm"));
    fileRequest(r).chosen = {QString::fromStdString(other)};
    return 1;
  });
  responder.answer(IDNO);
  responder.answer(0);
  command(e, TCMD_SAVEAS);
  EXPECT_EQ(read(other), "anden");
  EXPECT_EQ(fileName(e), saved);
}

TEST_F(FileCommands, CreationCanAskTheUserForTheFile) {
  NotifyWindow parent;
  const std::string p = write("valgt.htm", "valgt tekst");
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
    EXPECT_EQ(fileRequest(r).suggestedName, QStringLiteral("forslag.htm"));
    fileRequest(r).chosen = {QString::fromStdString(p)};
    return 1;
  });
  Editor chosen(parent, TS_FILECOMMANDS | TS_NAMECAPTION, "Tivra-Ask-User-forslag.htm");
  EXPECT_EQ(chosen.text(), "valgt tekst");
  EXPECT_EQ(fileName(chosen), p);
  EXPECT_EQ(chosen.send(EM_GETMODIFY, 0), 0);

  responder.answer(0);
  Editor cancelled(parent, TS_FILECOMMANDS | TS_NAMECAPTION, "Tivra-Ask-User-forslag.htm");
  EXPECT_EQ(cancelled.text(), "");
  EXPECT_EQ(caption(cancelled), "<<Ikke navngivet>>");
  EXPECT_EQ(fileName(cancelled), "<<Ikke navngivet>>");
}

TEST_F(FileCommands, WithoutFileCommandsTheMenuCommandsDoNothing) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("tekst");
  ScriptedResponder responder;  // any dialog would fail the test
  for (UINT id : {TCMD_NEW, TCMD_OPEN, TCMD_REVERT, TCMD_SAVE, TCMD_SAVEAS}) command(e, id);
  EXPECT_EQ(e.text(), "tekst");
  EXPECT_EQ(saveAs(e, path("uden.htm")), 0) << "the program saves through the message";
  EXPECT_EQ(read(path("uden.htm")), "tekst");
}

}  // namespace
