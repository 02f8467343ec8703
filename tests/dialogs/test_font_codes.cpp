// The markup the font dialog writes round a selection: styles open round
// it or mixed inside it, the fonts in force where it begins, and the new
// tags nesting with what is there.
#include "dialogs/font_codes.h"

#include "ascii.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <tuple>
#include <vector>

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
  return morvel::styleAround(m.page, m.begin, m.end, static_cast<morvel::FontStyle>(style));
}

std::string applied(const Marked& m, const morvel::FontChange& change) {
  const morvel::WrappedText w = morvel::applyFont(m.page, m.begin, m.end, change);
  return m.page.substr(0, m.begin) + w.prefix + "[" + w.text + "]" + w.suffix + m.page.substr(m.end);
}

morvel::FontChange styleChange(int style, bool on) {
  morvel::FontChange change;
  change.styles[style] = {true, on};
  return change;
}

TEST(FontCode, WhereAStyleStandsRoundASelection) {
  const Marked m = marked("<b>ab|c<I>d|e</I></B> <U>x</U>");
  EXPECT_TRUE(around(m, kBold).openBefore);
  EXPECT_FALSE(around(m, kBold).inside);
  EXPECT_TRUE(around(m, kItalic).inside);
  EXPECT_FALSE(around(m, kItalic).openBefore);
  EXPECT_FALSE(around(m, kUnderline).openBefore);
  EXPECT_FALSE(around(marked("<B>a</B>|b|"), kBold).openBefore);
  // <BR> and <UL> are no bold or underline.
  EXPECT_FALSE(around(marked("<BR><UL>|a|"), kBold).openBefore);
  EXPECT_FALSE(around(marked("<BR><UL>|a|"), kUnderline).openBefore);
}

TEST(FontCode, StylesSwitchedOffAroundAndOnInside) {
  // Bold switched off closes before the selection and opens again after it.
  Marked m = marked("<B>ab|cd|ef</B>");
  EXPECT_EQ(applied(m, styleChange(kBold, false)), "<B>ab</B>[cd]<B>ef</B>");
  // Switched on, the tags inside go and one pair takes their place.
  m = marked("x|a<B>b</B>c|y");
  EXPECT_EQ(applied(m, styleChange(kBold, true)), "x<B>[abc]</B>y");
  // Already open round the selection: nothing to add.
  m = marked("<U>x|a|y</U>");
  EXPECT_EQ(applied(m, styleChange(kUnderline, true)), "<U>x[a]y</U>");
  // A style left alone keeps its tags inside.
  m = marked("|<I>a</I>|");
  EXPECT_EQ(applied(m, styleChange(kBold, true)), "<B>[<I>a</I>]</B>");
  // Nothing selected: the tags for what is typed next.
  m = marked("a||b");
  EXPECT_EQ(applied(m, styleChange(kItalic, true)), "a<I>[]</I>b");
}

// A style whose end or start tag stands inside the selection: what comes
// after the selection keeps the style it had, and every tag is closed.
TEST(FontCode, TagsThatEndInsideTheSelectionStillNest) {
  Marked m = marked("<B>x|y</B>z|w");
  EXPECT_EQ(applied(m, styleChange(kBold, false)), "<B>x</B>[yz]w");
  m = marked("|x<B>y|z</B>w");
  EXPECT_EQ(applied(m, styleChange(kBold, true)), "<B>[xy]z</B>w");
  // Closing bold inside an italic closes the italic first.
  m = marked("<B>x<I>|y|</I>z</B>");
  EXPECT_EQ(applied(m, styleChange(kBold, false)), "<B>x<I></I></B><I>[y]</I><B><I></I>z</B>");
  // An italic that ends inside a new bold: the bold closes round it.
  m = marked("<I>a|b</I>c|d");
  EXPECT_EQ(applied(m, styleChange(kBold, true)), "<I>a<B>[b</B></I><B>c]</B>d");
  m = marked("|a<i>b|c</i>");
  EXPECT_EQ(applied(m, styleChange(kBold, true)), "<B>[a<i>b]</i></B><i>c</i>");
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

// ---------------------------------------------------------------------------
// The nesting checker: random pages of nested B, I, U and FONT markup,
// random selections and random changes. The result is parsed and its start
// and end tags paired; every letter outside the selection keeps its styles,
// every letter inside gets the styles asked for.

struct LetterStyle {
  std::array<bool, 3> on{};        // bold, italic, underline
  std::vector<std::string> fonts;  // the FONT start tags round it, outside in

  bool operator==(const LetterStyle&) const = default;
};

struct Parsed {
  bool nests = true;
  std::string letters;
  std::vector<LetterStyle> styles;
};

int kindOf(std::string_view name) {
  const std::string upper = ascii::upperCopy(name);
  if (upper == "B") return 0;
  if (upper == "I") return 1;
  if (upper == "U") return 2;
  return upper == "FONT" ? 3 : -1;
}

// Pairs each end tag with the innermost open element, which must be of its
// kind, and gives every letter the styles open round it.
Parsed parse(std::string_view page) {
  Parsed parsed;
  std::vector<std::pair<int, std::string>> open;
  for (std::size_t i = 0; i < page.size();) {
    if (page[i] != '<') {
      LetterStyle style;
      for (const auto& [kind, start] : open) {
        if (kind == 3)
          style.fonts.push_back(start);
        else
          style.on[static_cast<std::size_t>(kind)] = true;
      }
      parsed.letters += page[i++];
      parsed.styles.push_back(style);
      continue;
    }
    const std::size_t close = page.find('>', i);
    const std::string_view tag = page.substr(i, close + 1 - i);
    const bool ends = tag[1] == '/';
    const std::size_t nameStart = ends ? 2 : 1;
    const int kind = kindOf(tag.substr(nameStart, tag.find_first_of(" >", nameStart) - nameStart));
    if (ends) {
      if (open.empty() || open.back().first != kind) parsed.nests = false;
      if (!open.empty()) open.pop_back();
    } else {
      open.emplace_back(kind, std::string(tag));
    }
    i = close + 1;
  }
  parsed.nests = parsed.nests && open.empty();
  return parsed;
}

class RandomPage {
 public:
  explicit RandomPage(std::mt19937& random) : random_(random) { content(0); }

  std::string page;
  std::vector<std::size_t> boundaries{0};  // between any two tags or letters
  std::vector<std::pair<std::size_t, std::size_t>> fontElements;

 private:
  void content(int depth) {
    for (int n = 1 + static_cast<int>(random_() % 4); n > 0; --n) {
      if (depth < 4 && random_() % 2 == 0) {
        element(depth);
      } else {
        for (int k = 1 + static_cast<int>(random_() % 2); k > 0; --k) add(std::string(1, 'a' + random_() % 26));
      }
    }
  }
  void element(int depth) {
    static const char* const starts[] = {"<B>",          "<b>", "<I>", "<i class=k>", "<U>", "<FONT COLOR=\"RED\">",
                                         "<font size=2>"};
    static const char* const ends[] = {"</B>", "</b>", "</I>", "</i>", "</U>", "</FONT>", "</font>"};
    const std::size_t k = random_() % 7;
    const std::size_t begin = page.size();
    add(starts[k]);
    content(depth + 1);
    add(ends[k]);
    if (k >= 5) fontElements.emplace_back(begin, page.size());
  }
  void add(const std::string& piece) {
    page += piece;
    boundaries.push_back(page.size());
  }

  std::mt19937& random_;
};

TEST(FontCode, RandomSelectionsOfNestedMarkupGiveMarkupThatNests) {
  std::mt19937 random(2024);
  const std::string newFont = "<FONT FACE=\"Verdana\">";
  for (int round = 0; round < 3000; ++round) {
    const RandomPage generated(random);
    const std::string& page = generated.page;
    const Parsed before = parse(page);
    ASSERT_TRUE(before.nests) << page;

    morvel::FontChange change;
    std::size_t begin, end;
    if (!generated.fontElements.empty() && random() % 4 == 0) {
      change.editMode = true;
      std::tie(begin, end) = generated.fontElements[random() % generated.fontElements.size()];
    } else {
      begin = generated.boundaries[random() % generated.boundaries.size()];
      end = generated.boundaries[random() % generated.boundaries.size()];
      if (begin > end) std::swap(begin, end);
      change.fontChanged = random() % 2 == 0;
    }
    change.fontTag = newFont;
    for (int s = kBold; s <= kUnderline; ++s) {
      const unsigned choice = random() % 3;
      change.styles[s] = {choice != 0, choice == 1};
    }
    const morvel::WrappedText w = morvel::applyFont(page, begin, end, change);
    const std::string result = page.substr(0, begin) + w.prefix + w.text + w.suffix + page.substr(end);
    const Parsed after = parse(result);
    const std::string context = page + " [" + std::to_string(begin) + ", " + std::to_string(end) + ") -> " + result;
    ASSERT_TRUE(after.nests) << context;
    ASSERT_EQ(after.letters, before.letters) << context;

    // Letters before and inside the selection, counted in the page.
    const std::size_t first = parse(page.substr(0, begin)).letters.size();
    const std::size_t last = first + parse(page.substr(begin, end - begin)).letters.size();
    for (std::size_t i = 0; i < before.letters.size(); ++i) {
      LetterStyle expected = before.styles[i];
      if (i >= first && i < last) {
        for (int s = kBold; s <= kUnderline; ++s)
          if (change.styles[s].changed) expected.on[static_cast<std::size_t>(s)] = change.styles[s].on;
        if (change.editMode) {
          // The edited element's own tag is the innermost font it stands in
          // at the selection's start.
          const std::size_t own = parse(page.substr(0, begin) + "x").styles.back().fonts.size();
          expected.fonts[own] = newFont;
        } else if (change.fontChanged) {
          expected.fonts = parse(page.substr(0, begin) + "x").styles.back().fonts;
          expected.fonts.push_back(newFont);
        }
      }
      ASSERT_EQ(after.styles[i], expected) << "letter " << i << ": " << context;
    }
  }
}

}  // namespace
