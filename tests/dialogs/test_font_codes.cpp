// The markup the font dialog writes round a selection: styles open round
// it or mixed inside it, the fonts in force where it begins, and the new
// tags nesting with what is there.
#include "dialogs/font_codes.h"

#include <gtest/gtest.h>

namespace {

using morvel::kBold;
using morvel::kItalic;
using morvel::kUnderline;

// The page with the selection between two "|" marks, and its two ends.
struct Marked {
  std::string page;
  std::size_t begin;
  std::size_t end;
};
Marked marked(std::string text) {
  const std::size_t begin = text.find('|');
  text.erase(begin, 1);
  const std::size_t end = text.find('|');
  text.erase(end, 1);
  return {text, begin, end};
}

morvel::StyleAround around(const Marked& m, int style) {
  return morvel::styleAround(m.page, m.begin, m.end, morvel::kStyleStartTags[style], morvel::kStyleEndTags[style]);
}

std::string applied(const Marked& m, const morvel::FontChange& change) {
  const morvel::WrappedText w = morvel::applyFont(m.page.substr(m.begin, m.end - m.begin), change);
  return m.page.substr(0, m.begin) + w.prefix + "[" + w.text + "]" + w.suffix + m.page.substr(m.end);
}

morvel::FontChange styleChange(const Marked& m, int style, bool on) {
  morvel::FontChange change;
  change.styles[style] = {true, on, around(m, style)};
  return change;
}

TEST(FontCode, WhereAStyleStandsRoundASelection) {
  const Marked m = marked("<b>ab|c<I>d|e</I></B> <U>x</U>");
  EXPECT_TRUE(around(m, kBold).openBefore);
  EXPECT_TRUE(around(m, kBold).closedAfter);
  EXPECT_FALSE(around(m, kBold).inside);
  EXPECT_TRUE(around(m, kItalic).inside);
  EXPECT_FALSE(around(m, kItalic).openBefore);
  EXPECT_FALSE(around(m, kUnderline).openBefore);
  EXPECT_FALSE(around(m, kUnderline).closedAfter);
  EXPECT_FALSE(around(marked("<B>a</B>|b|"), kBold).openBefore);
}

TEST(FontCode, StylesSwitchedOffAroundAndOnInside) {
  // Bold switched off closes before the selection and opens again after it.
  Marked m = marked("<B>ab|cd|ef</B>");
  EXPECT_EQ(applied(m, styleChange(m, kBold, false)), "<B>ab</B>[cd]<B>ef</B>");
  // Switched on, the tags inside go and one pair takes their place.
  m = marked("x|a<B>b</B>c|y");
  EXPECT_EQ(applied(m, styleChange(m, kBold, true)), "x<B>[abc]</B>y");
  // Already open round the selection: nothing to add.
  m = marked("<U>x|a|y</U>");
  EXPECT_EQ(applied(m, styleChange(m, kUnderline, true)), "<U>x[a]y</U>");
  // A style left alone keeps its tags inside.
  m = marked("|<I>a</I>|");
  EXPECT_EQ(applied(m, styleChange(m, kBold, true)), "<B>[<I>a</I>]</B>");
}

TEST(FontCode, ANewFontReplacesTheFontTagsInsideAndNestsInAnEnclosingOne) {
  Marked m = marked("<FONT FACE=\"Arial\">x|a<font size=2>b</font>c|y</FONT>");
  const morvel::EnclosingFont enclosing = morvel::enclosingFont(m.page, m.begin);
  EXPECT_TRUE(enclosing.open);
  EXPECT_EQ(enclosing.values.face, "Arial");
  morvel::FontChange change;
  change.fontChanged = true;
  change.fontTag = morvel::fontStartTag({"Arial", "", "+1"}, enclosing.values, "");
  EXPECT_EQ(applied(m, change), "<FONT FACE=\"Arial\">x<FONT SIZE=\"+1\">[abc]</FONT>y</FONT>");
}

TEST(FontCode, AnEditedFontLosesItsOwnTagsAndKeepsTheOnesInside) {
  Marked m = marked("|<FONT SIZE=\"3\">a<FONT COLOR=\"RED\">b</FONT></FONT>|");
  morvel::FontChange change;
  change.editMode = true;
  change.fontTag = morvel::fontStartTag({"", "", "4"}, {}, " CLASS=\"k\"");
  EXPECT_EQ(applied(m, change), "<FONT SIZE=\"4\" CLASS=\"k\">[a<FONT COLOR=\"RED\">b</FONT>]</FONT>");
}

TEST(FontCode, TheFontsInForceAreCountedFromTheTableCell) {
  Marked m = marked("<FONT FACE=\"A\"><FONT SIZE=\"2\">x</FONT><FONT COLOR=\"RED\">y|z|");
  morvel::EnclosingFont font = morvel::enclosingFont(m.page, m.begin);
  EXPECT_TRUE(font.open);
  EXPECT_EQ(font.values.face, "A");
  EXPECT_EQ(font.values.colour, "RED");
  EXPECT_EQ(font.values.size, "");
  m = marked("<FONT FACE=\"A\"><TABLE><TR><td>x|y|</TD></TR></TABLE></FONT>");
  EXPECT_FALSE(morvel::enclosingFont(m.page, m.begin).open);
  // A cell that ended before the selection does not count.
  m = marked("<FONT FACE=\"A\"><TABLE><TR><TD>x</TD></TR></TABLE>|y|</FONT>");
  EXPECT_TRUE(morvel::enclosingFont(m.page, m.begin).open);
  EXPECT_FALSE(morvel::enclosingFont("<FONTX>a", 8).open);
}

}  // namespace
