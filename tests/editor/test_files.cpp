// Loading files into a Tivra32 window: block-wise reading, line ends across
// blocks, the read preview, names, and loading at creation.
#include "editor_harness.h"
#include "scripted_responder.h"

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;
using editor_test::range;
using Lines = std::vector<std::string>;

namespace {

class EditorFiles : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string p = path(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  static std::string fileName(const Editor& e) {
    std::vector<char> buffer(4096, 0);
    e.send(TM_GETFILENAME, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
  }
  static LRESULT load(const Editor& e, const std::string& p) {
    return e.send(TM_LOADFILE, 0, reinterpret_cast<LPARAM>(p.c_str()));
  }

  QTemporaryDir dir_;
};

// Lines of 100 characters up to `end`, then one line that fills the rest.
void fillTo(std::string& bytes, size_t end, char c) {
  while (bytes.size() + 102 < end) bytes += std::string(100, c) + "\r\n";
  bytes += std::string(end - bytes.size(), static_cast<char>(c + 1));
}

TEST_F(EditorFiles, ABlockEndingInCrIsDecidedByTheNextBlock) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  std::string bytes;
  fillTo(bytes, 16383, 'a');
  bytes += "\r\n";  // the CR is the first block's last byte
  fillTo(bytes, 32767, 'c');
  bytes += "\rtail";  // a lone CR as the second block's last byte
  ASSERT_EQ(bytes.substr(16383, 2), "\r\n");
  ASSERT_EQ(bytes[32767], '\r');
  const std::string p = write("blocks.txt", bytes);
  ASSERT_EQ(load(e, p), 0);
  const std::string expected = std::string(bytes).replace(32767, 1, "\r\n");
  EXPECT_TRUE(editor_test::sameText(e.text(), expected));
  EXPECT_EQ(e.lineCount(), std::count(expected.begin(), expected.end(), '\n') + 1);
  EXPECT_EQ(e.line(e.lineCount()), "tail");
}

TEST_F(EditorFiles, TheNotifyWindowSeesEveryBlockAndMayReplaceIt) {
  NotifyWindow parent;
  Editor e(parent);
  const std::string p = write("preview.txt", std::string(40000, 'p'));
  std::vector<WPARAM> lengths;
  static char replacement[16384];
  std::memset(replacement, 'r', sizeof replacement);
  parent.handlers[TM_READPREVIEW] = [&](WPARAM length, LPARAM blockPointer) -> LRESULT {
    lengths.push_back(length);
    if (lengths.size() == 2) *reinterpret_cast<char**>(blockPointer) = replacement;
    return 0;
  };
  ASSERT_EQ(load(e, p), 0);
  EXPECT_EQ(lengths, (std::vector<WPARAM>{16384, 16384, 40000 - 2 * 16384}));
  const std::string text = e.text();
  EXPECT_EQ(text.find('r'), 16384u) << "after the first block: the pieces of the long line read back joined";
  EXPECT_EQ(std::count(text.begin(), text.end(), 'r'), 16384);
}

TEST_F(EditorFiles, LoadingResetsTheWindowAndKeepsTheNameAsSpelled) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS | TS_NAMECAPTION);
  e.setText("old text\r\nmore");
  e.select(2, 1, 2, 3);
  parent.answers[TN_ASKSAVE] = 2;
  const std::string p = write("MixedCase.HTML", "<b>fed</b>\r\nnext");
  parent.seen.clear();
  ASSERT_EQ(load(e, p), 0);
  EXPECT_EQ(e.lines(), (Lines{"<b>fed</b>", "next"}));
  EXPECT_EQ(e.selection(), range(1, 0, 1, 0));
  EXPECT_EQ(fileName(e), p);
  char caption[512] = {};
  GetWindowText(e.hwnd(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), p);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 0) << "a loaded text is unchanged";
  EXPECT_EQ(e.send(EM_GETMODIFY, 5), 1);
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  EXPECT_EQ(parent.count(TN_NEWTEXT), 1);
  EXPECT_EQ(parent.count(TN_ASKSAVE), 1) << "the changed text was offered for saving first";
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_SAVE), 1) << "the window now has a name";
}

TEST_F(EditorFiles, ALoadRefusedByTheSaveQuestionChangesNothing) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  e.setText("keep me");
  parent.answers[TN_ASKSAVE] = 3;
  EXPECT_EQ(load(e, write("other.txt", "other")), -1);
  EXPECT_TRUE(editor_test::sameText(e.text(), "keep me"));
}

TEST_F(EditorFiles, AMissingFileIsCreatedEmptyAndZeroBytesDoNotCutTheText) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("before");
  const std::string missing = path("new.html");
  ASSERT_EQ(load(e, missing), 0);
  EXPECT_TRUE(editor_test::sameText(e.text(), ""));
  EXPECT_TRUE(std::ifstream(missing).good());

  ASSERT_EQ(load(e, write("nul.txt", std::string("ab\0cd\r\nef", 9))), 0);
  EXPECT_EQ(e.lines(), (Lines{"abcd", "ef"}));

  EXPECT_EQ(load(e, path("no/such/folder/x.txt")), -1);
  EXPECT_TRUE(editor_test::sameText(e.text(), ""));
  EXPECT_EQ(e.send(TM_LOADFILE, 0, 0), -1);
}

TEST_F(EditorFiles, CreationCanLoadAFileAsAnUnnamedText) {
  NotifyWindow parent;
  const std::string p = write("init.html", "<p>\r\ninit\r\n");
  const std::string initial = "Tivra-File-Init-" + p;
  Editor e(parent, 0, initial.c_str());
  EXPECT_EQ(e.lines(), (Lines{"<p>", "init", ""}));
  EXPECT_EQ(parent.codes(), (std::vector<WORD>{TN_CREATED, TN_NEWTEXT}));
  e.send(TM_SETFILECOMMANDS, 1);
  EXPECT_EQ(fileName(e), "<<Ikke navngivet>>");
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_SAVE), 0);

  // With file commands the window text is the file to load.
  Editor named(parent, TS_FILECOMMANDS, p.c_str());
  EXPECT_EQ(named.lineCount(), 3);
  EXPECT_EQ(fileName(named), p);
}

}  // namespace
