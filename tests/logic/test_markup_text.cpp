// What the markup commands work out without an editor: text positions, the
// codes for a file and the size of its picture, the end of a FONT code, the
// refusal marker taken out again, and the command-line code check.
#include "markup/auto_insert.h"
#include "markup/check_command.h"
#include "markup/code_check.h"
#include "markup/date_format.h"
#include "markup/line_ends.h"
#include "markup/markup_text.h"
#include "markup/picture_size.h"
#include "markup/text_position.h"

#include "../support/picture_files.h"
#include "../support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

namespace morvel {
namespace {

namespace fs = std::filesystem;

using testing_support::TempFolder;

// ---------------------------------------------------------------------------
// Text positions

TEST(TextPosition, OffsetsAndLinesAgreeForEveryKindOfLineBreak) {
  const std::string text = "ab\r\ncd\nef\rg";
  EXPECT_EQ(positionAt(text, 0), (TextPosition{1, 0}));
  EXPECT_EQ(positionAt(text, 2), (TextPosition{1, 2}));
  EXPECT_EQ(positionAt(text, 3), (TextPosition{1, 2}));  // between CR and LF
  EXPECT_EQ(positionAt(text, 4), (TextPosition{2, 0}));
  EXPECT_EQ(positionAt(text, 7), (TextPosition{3, 0}));
  EXPECT_EQ(positionAt(text, 10), (TextPosition{4, 0}));
  EXPECT_EQ(positionAt(text, 99), (TextPosition{4, 1}));
  EXPECT_EQ(offsetOf(text, {2, 1}), 5u);
  EXPECT_EQ(offsetOf(text, {2, 40}), 6u);  // past the line's end: its end
  EXPECT_EQ(offsetOf(text, {9, 0}), text.size());
  EXPECT_EQ(positionAt("", 0), (TextPosition{1, 0}));

  // Every offset that is not inside a CR LF comes back from its position.
  std::mt19937 random(3);
  const char pieces[] = {'a', 'b', '\r', '\n', ' '};
  for (int round = 0; round < 300; ++round) {
    std::string t;
    for (int i = static_cast<int>(random() % 30); i > 0; --i) t += pieces[random() % 5];
    for (std::size_t o = 0; o <= t.size(); ++o) {
      if (o > 0 && t[o - 1] == '\r' && o < t.size() && t[o] == '\n') continue;
      ASSERT_EQ(offsetOf(t, positionAt(t, o)), o) << round << ":" << o;
    }
  }
}

TEST(TextPosition, PlacesMoveWithTheText) {
  const TextEdit edit{5, 3, "xy"};
  EXPECT_EQ(offsetAfterEdit(4, edit), 4u);
  EXPECT_EQ(offsetAfterEdit(5, edit), 7u);  // text put in at a place goes before it
  EXPECT_EQ(offsetAfterEdit(6, edit), 7u);  // inside the erased part
  EXPECT_EQ(offsetAfterEdit(8, edit), 7u);
  EXPECT_EQ(offsetAfterEdit(20, edit), 19u);

  EXPECT_EQ(positionAfterInsert({2, 9}, {2, 4}, "<B>"), (TextPosition{2, 12}));
  EXPECT_EQ(positionAfterInsert({3, 1}, {2, 4}, "<B>"), (TextPosition{3, 1}));
  EXPECT_EQ(positionAfterInsert({2, 9}, {2, 4}, "<PRE>\r\n<B>"), (TextPosition{3, 8}));
  EXPECT_EQ(positionAfterInsert({5, 0}, {2, 4}, "a\r\nb\r\n"), (TextPosition{7, 0}));
}

// The editor's lines as pieces of a text: a line that continues is joined
// to the next without a line end, as the editor hands its text out.
TEST(TextPosition, PiecesOfLongLinesAreLinesOfTheirOwn) {
  // "abcd" was kept as "ab" + "cd"; then "ef" on a line of its own.
  const std::string text = "abcd\r\nef";
  const ContinuedLines pieces{{1, 2}};
  EXPECT_EQ(offsetOf(text, {2, 1}, pieces), 3u);
  EXPECT_EQ(offsetOf(text, {3, 0}, pieces), 6u);
  EXPECT_EQ(offsetOf(text, {1, 9}, pieces), 2u);  // a piece ends where the next begins
  EXPECT_EQ(positionAt(text, 3, pieces), (TextPosition{2, 1}));
  EXPECT_EQ(positionAt(text, 7, pieces), (TextPosition{3, 1}));
  EXPECT_EQ(positionAt(text, 2, pieces), (TextPosition{1, 2}));  // the joint: end of the first piece
  // Line 3 of the editor is line 2 of the text.
  EXPECT_EQ(editorLineOf(1, pieces), 1);
  EXPECT_EQ(editorLineOf(2, pieces), 3);
  EXPECT_EQ(editorLineOf(5, {{2, 4}, {3, 4}, {7, 1}}), 7);

  // Random editor lines, some of them continuing: every position the
  // editor has lands on its own character of the joined text and back.
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines(1 + random() % 8);
    ContinuedLines continued;
    std::string joined;
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      for (int n = static_cast<int>(random() % 5); n > 0; --n) lines[i] += static_cast<char>('a' + random() % 3);
      starts.push_back(joined.size());
      joined += lines[i];
      if (i + 1 == lines.size()) break;
      if (random() % 3 == 0) {
        continued.push_back({static_cast<int>(i + 1), lines[i].size()});
      } else {
        joined += "\r\n";
      }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      for (std::size_t c = 0; c <= lines[i].size(); ++c) {
        const TextPosition p{static_cast<int>(i + 1), static_cast<int>(c)};
        ASSERT_EQ(offsetOf(joined, p, continued), starts[i] + c) << round;
        ASSERT_EQ(offsetOf(joined, positionAt(joined, starts[i] + c, continued), continued), starts[i] + c) << round;
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Line ends of files

TEST(LineEnds, TheFirstLineEndOfTheFileDecides) {
  EXPECT_EQ(firstLineEnd("a\nb\r\nc"), LineEnd::Lf);
  EXPECT_EQ(firstLineEnd("a\r\nb\nc"), LineEnd::CrLf);
  EXPECT_EQ(firstLineEnd("a\rb\r\n"), LineEnd::Cr);
  EXPECT_EQ(firstLineEnd("a\r"), LineEnd::Cr);
  EXPECT_EQ(firstLineEnd("no line end"), LineEnd::CrLf);
  EXPECT_EQ(firstLineEnd(""), LineEnd::CrLf);
  EXPECT_EQ(lineEndName(LineEnd::CrLf), "CR LF");
  EXPECT_EQ(lineEndName(LineEnd::Lf), "LF");
  EXPECT_EQ(lineEndName(LineEnd::Cr), "CR");

  // Read from files, also when the first line end is far in or a CR ends
  // the block the file is read in.
  const TempFolder folder;
  EXPECT_EQ(fileLineEnd(folder.write("lf.htm", std::string(40000, 'x') + "\n")), LineEnd::Lf);
  EXPECT_EQ(fileLineEnd(folder.write("crlf.htm", std::string(16383, 'x') + "\r\n")), LineEnd::CrLf);
  EXPECT_EQ(fileLineEnd(folder.write("cr.htm", std::string(16383, 'x') + "\rx")), LineEnd::Cr);
  EXPECT_EQ(fileLineEnd(folder.write("cr-end.htm", std::string(16383, 'x') + "\r")), LineEnd::Cr);
  EXPECT_EQ(fileLineEnd(folder.write("none.htm", std::string(20000, 'x'))), LineEnd::CrLf);
  EXPECT_EQ(fileLineEnd(folder.file("missing.htm")), std::nullopt);
}

// ---------------------------------------------------------------------------
// Codes for a file

TEST(CodeForFile, AddressesAreRelativeToThePageWithSlashes) {
  EXPECT_EQ(addressOfFile("/www/site/img/a.gif", "/www/site/index.htm"), "img/a.gif");
  EXPECT_EQ(addressOfFile("/www/other/b.htm", "/www/site/sub/index.htm"), "../../other/b.htm");
  EXPECT_EQ(addressOfFile("/www/site/./c.htm", "/www/site/index.htm"), "c.htm");
  // A page without a file knows no folder: the file name alone.
  EXPECT_EQ(addressOfFile("/www/site/img/a.gif", ""), "a.gif");
}

TEST(CodeForFile, PicturesSoundsAndLinks) {
  const std::string page = "/w/index.htm";
  EXPECT_EQ(codesForFile("/w/img/Foto.JPG", page, PictureSize{640, 480}),
            std::vector<std::string>{"<IMG SRC=\"img/Foto.JPG\" BORDER=\"0\" WIDTH=\"640\" HEIGHT=\"480\" ALT=\"\">"});
  EXPECT_EQ(codesForFile("/w/a.gif", page, std::nullopt),
            std::vector<std::string>{"<IMG SRC=\"a.gif\" BORDER=\"0\" WIDTH=\"0\" HEIGHT=\"0\" ALT=\"\">"});
  EXPECT_EQ(codesForFile("/w/lyd/gong.MID", page, std::nullopt),
            (std::vector<std::string>{"<EMBED SRC=\"lyd/gong.MID\" AUTOSTART=\"True\" HIDDEN=\"True\">",
                                      "<BGSOUND SRC=\"lyd/gong.MID\">"}));
  EXPECT_EQ(codesForFile("/w/sider/om os.htm", page, std::nullopt),
            std::vector<std::string>{"<A HREF=\"sider/om os.htm\">om os.htm</A>"});
  // Only ".gif" and ".jpg" take a picture code.
  EXPECT_EQ(codesForFile("/w/b.jpeg", page, PictureSize{1, 1}),
            std::vector<std::string>{"<A HREF=\"b.jpeg\">b.jpeg</A>"});
}

TEST(PictureSize, ReadFromTheFileByItsContents) {
  const TempFolder folder;
  ASSERT_TRUE(testing_support::writeJpeg(folder.file("foto.jpg"), 37, 21));
  ASSERT_TRUE(testing_support::writeGif(folder.file("anim.gif"), 64, 9));
  EXPECT_EQ(readPictureSize(folder.file("foto.jpg")), (PictureSize{37, 21}));
  EXPECT_EQ(readPictureSize(folder.file("anim.gif")), (PictureSize{64, 9}));
  // A GIF under a JPEG name is still read as what it is.
  fs::copy_file(folder.file("anim.gif"), folder.file("forklaedt.jpg"));
  EXPECT_EQ(readPictureSize(folder.file("forklaedt.jpg")), (PictureSize{64, 9}));
}

TEST(PictureSize, BadFilesGiveNoSize) {
  const TempFolder folder;
  ASSERT_TRUE(testing_support::writeJpeg(folder.file("hel.jpg"), 30, 30));
  std::ifstream in(folder.file("hel.jpg"), std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(readPictureSize(folder.write("halv.jpg", whole.substr(0, 12))), std::nullopt);
  EXPECT_EQ(readPictureSize(folder.write("tekst.gif", "GIF")), std::nullopt);
  EXPECT_EQ(readPictureSize(folder.write("tom.jpg", "")), std::nullopt);
  EXPECT_EQ(readPictureSize(folder.write("forkert.gif", std::string("GIF89a\0\0\0\0", 10))), std::nullopt);
  EXPECT_EQ(readPictureSize(folder.file("mangler.gif")), std::nullopt);
  EXPECT_EQ(readPictureSize(folder.file("")), std::nullopt);
}

// ---------------------------------------------------------------------------
// The end of a FONT start code

TEST(FontEnd, TheEndThatClosesTheCodeNotTheNextOne) {
  const std::string after = "<FONT SIZE=2>a</FONT> <FONT COLOR=Red>b</FONT>";
  EXPECT_EQ(matchingFontEnd(after, 0), after.find("</FONT>"));
  EXPECT_EQ(matchingFontEnd(after, after.find("<FONT COLOR")), after.rfind("</FONT>"));

  const std::string nested = "<font size=2>a<FONT COLOR=Red>b</FONT>c</font>d</FONT>";
  EXPECT_EQ(matchingFontEnd(nested, 0), nested.find("</font>"));

  const std::string twice = "<FONT A>x<FONT B>y<FONT C>z</FONT></FONT></FONT>";
  EXPECT_EQ(matchingFontEnd(twice, 0), twice.size() - 7);

  EXPECT_EQ(matchingFontEnd("<FONT SIZE=2>uden slut", 0), std::nullopt);
  EXPECT_EQ(matchingFontEnd("<FONT A><FONT B></FONT>", 0), std::nullopt);
}

// ---------------------------------------------------------------------------
// The refusal marker, the clock and the check's report

TEST(AutoDate, RefusalRemovalTakesTheLineItCameWith) {
  const std::string refused = "<HEAD>\r\n" + refusalBlock() + "</HEAD>";
  const std::optional<TextEdit> removal = refusalRemoval(refused);
  ASSERT_TRUE(removal);
  EXPECT_EQ(applyTextEdits(refused, {*removal}), "<HEAD>\r\n</HEAD>");
  const std::string shared = "<HEAD><!-- minus autodato --></HEAD>";
  EXPECT_EQ(applyTextEdits(shared, {*refusalRemoval(shared)}), "<HEAD></HEAD>");
  EXPECT_EQ(refusalRemoval("<HEAD></HEAD>"), std::nullopt);
}

TEST(DateFormat, NowCanBeFixed) {
  const DateTimeSource previous = setDateTimeSource([] { return DateTime{1998, 1, 1, 19, 32, 0}; });
  EXPECT_EQ(formatDateTime("dddd 'd.' d. mmmm, yyyy kl. hh:mm", currentDateTime()),
            "torsdag d. 1. januar, 1998 kl. 19:32");
  setDateTimeSource(previous);
  EXPECT_GT(currentDateTime().year, 2000);
}

TEST(CodeCheck, VeryManyUnevenLinesAreCountedAfterTheFirstHundred) {
  std::string text;
  for (int i = 0; i < 130; ++i) text += "<\r\n";
  const CodeCheckResult result = checkHtmlCode(text);
  EXPECT_EQ(result.unevenLines.size(), 130u);
  std::string listed;
  for (int line = 1; line <= 100; ++line) listed += std::to_string(line) + (line < 100 ? ", " : " ");
  EXPECT_EQ(result.report, "Morvel fandt et ulige antal \"<\" og \">\" i linierne " + listed + "og 30 flere .");
}

// ---------------------------------------------------------------------------
// morvex --check

TEST(CheckCommand, ReportsEachFileAndTellsWhetherAnyHasFaults) {
  const TempFolder folder;
  const std::string good = folder.write("god.htm", "<HTML><B>fed</B></HTML>\r\n");
  const std::string bad = folder.write("fejl.htm", "<HTML>\r\n<B>fed\r\n<TD\r\n>");
  std::ostringstream out, errors;
  EXPECT_EQ(runCodeCheckCommand({good}, out, errors), kCheckClean);
  EXPECT_EQ(out.str(), good + ":\nMorvel fandt ingen fejl i koden.\n");

  out.str("");
  EXPECT_EQ(runCodeCheckCommand({bad, good}, out, errors), kCheckFaults);
  EXPECT_EQ(out.str(), bad +
                           ":\nMorvel fandt et ulige antal \"<\" og \">\" i linierne 3, 4 ."
                           "- Der er 1 flere \"<HTML\" end \"</HTML>\"\n"
                           "- Der er 1 flere \"<B>\" end \"</B>\"\n"
                           "- Der er 1 flere \"<TD\" end \"</TD>\"\n" +
                           good + ":\nMorvel fandt ingen fejl i koden.\n");
  EXPECT_EQ(errors.str(), "");
}

TEST(CheckCommand, FilesThatCannotBeReadAreNamedAndTheRestChecked) {
  const TempFolder folder;
  const std::string good = folder.write("god.htm", "tekst");
  std::ostringstream out, errors;
  EXPECT_EQ(runCodeCheckCommand({folder.file("mangler.htm"), folder.file(""), good}, out, errors), kCheckUnreadable);
  EXPECT_EQ(errors.str(), "morvex: Kan ikke læse filen " + folder.file("mangler.htm") +
                              ".\nmorvex: Kan ikke læse filen " + folder.file("") + ".\n");
  EXPECT_EQ(out.str(), good + ":\nMorvel fandt ingen fejl i koden.\n");
}

}  // namespace
}  // namespace morvel
