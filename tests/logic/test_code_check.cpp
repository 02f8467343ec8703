#include "markup/code_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace morvel {
namespace {

const std::string kNoFault = "Morvel fandt ingen fejl i koden.";

TEST(CodeCheck, CleanPageHasNoFault) {
  const std::string page =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n"
      "<html>\r\n<head>\r\n<title>Forside</title>\r\n</head>\r\n"
      "<body bgcolor=\"#FFFFFF\">\r\n<!-- menu -->\r\n"
      "<table border=\"0\"><tr><td><a href=\"side.htm\"><b>Side</b></a></td></tr></table>\r\n"
      "<font size=\"+1\"><i>Bl\xE5"
      "b\xE6r</i></font><br><hr>\r\n"
      "<div align=\"center\"><span>x</span></div>\r\n"
      "</body>\r\n</html>\r\n";
  const CodeCheckResult result = checkHtmlCode(page);
  EXPECT_FALSE(result.faultFound());
  EXPECT_EQ(result.report, kNoFault);
  EXPECT_EQ(checkHtmlCode("").report, kNoFault);
}

TEST(CodeCheck, TagSplitOverTwoLinesReportsBothLines) {
  const std::string text = "<HTML>\r\n<BODY>\r\nTekst\r\n<A\r\nHREF=\"x.htm\">x</A>\r\n</BODY>\r\n</HTML>";
  const CodeCheckResult result = checkHtmlCode(text);
  EXPECT_EQ(result.unevenLines, (std::vector<std::size_t>{4, 5}));
  // "<A" followed by a line break is no "<A " start, so the end is left over.
  EXPECT_EQ(result.report,
            "Morvel fandt et ulige antal \"<\" og \">\" i linierne 4, 5 ."
            "- Der er 1 flere \"</A>\" end \"<A \"\n");
}

TEST(CodeCheck, MissingAndSurplusEndCodes) {
  EXPECT_EQ(checkHtmlCode("<B>fed").report, "- Der er 1 flere \"<B>\" end \"</B>\"\n");
  EXPECT_EQ(checkHtmlCode("<TD>a</TD></TD>").report, "- Der er 1 flere \"</TD>\" end \"<TD\"\n");
}

TEST(CodeCheck, TheadCountsAsHeaderCellAndTbodyNowhere) {
  const CodeCheckResult result = checkHtmlCode("<TABLE><THEAD><TR><TH>x</TH></TR></THEAD><TBODY></TBODY></TABLE>");
  EXPECT_EQ(result.report, "- Der er 1 flere \"<TH\" end \"</TH>\"\n");
  ASSERT_EQ(result.imbalances.size(), 1u);
  EXPECT_EQ(result.imbalances[0].pairIndex, 37u);
  EXPECT_EQ(result.imbalances[0].difference, 1u);
}

TEST(CodeCheck, LowerCaseCodesAreCountedAndReportedInUpperCase) {
  EXPECT_EQ(checkHtmlCode("<table><tr><td>x</td></tr>").report, "- Der er 1 flere \"<TABLE\" end \"</TABLE>\"\n");
  EXPECT_EQ(checkHtmlCode("<Font face=x>a</fONT>").report, kNoFault);
}

TEST(CodeCheck, LineSentenceIsDirectlyFollowedByThePairMessages) {
  const std::string text = "<HTML>\r\n<TABLE>\r\n<TR><TD>1 < 2</TD></TR>\r\n</HTML>\r\n";
  EXPECT_EQ(checkHtmlCode(text).report,
            "Morvel fandt et ulige antal \"<\" og \">\" i linierne 3 ."
            "- Der er 1 flere \"<TABLE\" end \"</TABLE>\"\n");
}

TEST(CodeCheck, PairMessagesFollowTableOrderWithCounts) {
  const CodeCheckResult result = checkHtmlCode("<I><B>x<B>y<SPAN></SPAN></SPAN>");
  EXPECT_EQ(result.report,
            "- Der er 2 flere \"<B>\" end \"</B>\"\n"
            "- Der er 1 flere \"<I>\" end \"</I>\"\n"
            "- Der er 1 flere \"</SPAN>\" end \"<SPAN\"\n");
}

TEST(CodeCheck, StartTextsMatchExactly) {
  // "<BODY", "<BLINK" and "<BR>" are no "<B>"; "<EMBED" is no "<EM>".
  EXPECT_EQ(checkHtmlCode("<BODY><BLINK>a</BLINK><BR><EMBED SRC=x></BODY>").report, kNoFault);
  // "<FONT" needs its blank and "<A" its blank.
  EXPECT_EQ(checkHtmlCode("<FONT>a</FONT>").report, "- Der er 1 flere \"</FONT>\" end \"<FONT \"\n");
  EXPECT_EQ(checkHtmlCode("<ADDRESS>a</ADDRESS>").report, kNoFault);
  // The end of a DIV is "</DIV" without ">".
  EXPECT_EQ(checkHtmlCode("<DIV>a</DIV >").report, kNoFault);
  EXPECT_EQ(checkHtmlCode("<H1>a</H2>").report,
            "- Der er 1 flere \"<H1\" end \"</H1>\"\n- Der er 1 flere \"</H2>\" end \"<H2\"\n");
}

TEST(CodeCheck, CommentsAreCounted) {
  EXPECT_EQ(checkHtmlCode("<!-- a --> <!-- b>").report, "- Der er 1 flere \"<!--\" end \"-->\"\n");
  EXPECT_EQ(checkHtmlCode("<!-- a --->").report, kNoFault);
  EXPECT_EQ(checkHtmlCode("<!---->").report, kNoFault);
}

TEST(CodeCheck, LinesEndAsInTheEditor) {
  // LF, CR LF and a lone CR each end a line; the last line needs no break.
  const CodeCheckResult result = checkHtmlCode("a<\nb>\rc<\r\nd>\r\n\r\ne<");
  EXPECT_EQ(result.unevenLines, (std::vector<std::size_t>{1, 2, 3, 4, 6}));
}

TEST(CodeCheck, LongLinesAreCountedWhole) {
  std::string line(9000, 'x');
  line += "<";
  EXPECT_EQ(checkHtmlCode(line).unevenLines, (std::vector<std::size_t>{1}));
  // Held by the editor as pieces: a "<" in the first piece and its ">" in
  // the third balance; the line after it is the editor's fifth.
  const std::string page = "<P>\r\n<" + std::string(20000, 'x') + ">\r\n<B";
  const ContinuedLines pieces{{2, 8193}, {3, 8193}};
  EXPECT_EQ(checkHtmlCode(page, pieces).unevenLines, (std::vector<std::size_t>{5}));
  EXPECT_TRUE(
      checkHtmlCode(page, pieces).report.starts_with("Morvel fandt et ulige antal \"<\" og \">\" i linierne 5 ."));
}

TEST(CodeCheck, UnevenLinesWithoutPairFaults) {
  const CodeCheckResult result = checkHtmlCode("a > b\r\nc");
  EXPECT_TRUE(result.faultFound());
  EXPECT_TRUE(result.imbalances.empty());
  EXPECT_EQ(result.report, "Morvel fandt et ulige antal \"<\" og \">\" i linierne 1 .");
}

// The same rules, written as plainly as possible.
CodeCheckResult checkByModel(const std::string& text) {
  CodeCheckResult result;
  std::size_t line = 1, lineStart = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size() || text[i] == '\n' || text[i] == '\r';
    if (!end) continue;
    const std::string part = text.substr(lineStart, i - lineStart);
    if (std::count(part.begin(), part.end(), '<') != std::count(part.begin(), part.end(), '>'))
      result.unevenLines.push_back(line);
    if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lineStart = i + 1;
    ++line;
  }
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)) & 0xFF);
  auto count = [&](std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = upper.find(what); at != std::string::npos; at = upper.find(what, at + what.size())) ++n;
    return n;
  };
  const auto& pairs = checkedCodePairs();
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    const std::size_t s = count(pairs[p].start), e = count(pairs[p].end);
    if (s > e) result.imbalances.push_back({p, pairs[p].start, pairs[p].end, s - e});
    if (e > s) result.imbalances.push_back({p, pairs[p].end, pairs[p].start, e - s});
  }
  return result;
}

TEST(CodeCheck, RandomTextsMatchThePlainCount) {
  const auto& pairs = checkedCodePairs();
  ASSERT_EQ(pairs.size(), 40u);
  std::vector<std::string> pieces{"<", ">", "-", "--", "\r\n", "\r", "\n", " ", "x", "<!", "\xE6"};
  for (const CodePair& pair : pairs) {
    pieces.emplace_back(pair.start);
    pieces.emplace_back(pair.end);
    std::string lower(pair.start);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    pieces.push_back(lower);
  }
  std::mt19937 random(9);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    const CodeCheckResult got = checkHtmlCode(text), want = checkByModel(text);
    ASSERT_EQ(got.unevenLines, want.unevenLines) << text;
    ASSERT_EQ(got.imbalances.size(), want.imbalances.size()) << text;
    for (std::size_t i = 0; i < got.imbalances.size(); ++i) {
      EXPECT_EQ(got.imbalances[i].pairIndex, want.imbalances[i].pairIndex) << text;
      EXPECT_EQ(got.imbalances[i].moreOften, want.imbalances[i].moreOften) << text;
      EXPECT_EQ(got.imbalances[i].difference, want.imbalances[i].difference) << text;
    }
  }
}

}  // namespace
}  // namespace morvel
