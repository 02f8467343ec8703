#include "markup/code_cleanup.h"

#include "ascii.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace morvel {
namespace {

TEST(StripCodes, LeavesBareWordsWithOneLineBreak) {
  EXPECT_EQ(stripCodes("<P>Hej<BR>\r\n\r\n<B>verden</B>"), "Hej\r\nverden");
  EXPECT_EQ(stripCodes("<HTML>\r\n<BODY>\r\n\r\n\r\nTekst\r\n</BODY>\r\n</HTML>\r\n"), "\r\nTekst\r\n");
}

TEST(StripCodes, StrayAndUnclosedBracketsStay) {
  EXPECT_EQ(stripCodes("a > b <B>c</B>"), "a > b c");
  EXPECT_EQ(stripCodes("a <B>b</B> c < d"), "a b c < d");
  // A "<" starts a code only before a letter, "/" or "!".
  EXPECT_EQ(stripCodes("<<B>x>"), "<x>");
  EXPECT_EQ(stripCodes("<p>1 < 2 og 3 > 2</p>"), "1 < 2 og 3 > 2");
  // A comment goes whole, whatever it holds.
  EXPECT_EQ(stripCodes("<!-- a > b -->x<!-- <b>y</b> -->z"), "xz");
  EXPECT_EQ(stripCodes("Bl\xE5"
                       "b\xE6r &amp; fl\xF8"
                       "de"),
            "Bl\xE5"
            "b\xE6r &amp; fl\xF8"
            "de");
}

TEST(StripCodes, ServerCodeAndScriptBodiesStay) {
  EXPECT_EQ(stripCodes("<p><% Response.Write(\"<b>hej</b>\") %></p>"), "<% Response.Write(\"<b>hej</b>\") %>");
  EXPECT_EQ(stripCodes("<?php echo \"<i>$navn</i>\"; ?><br>"), "<?php echo \"<i>$navn</i>\"; ?>");
  EXPECT_EQ(stripCodes("<script>for (i = 0; i<n; i++) s += '<b>';</script>x"), "for (i = 0; i<n; i++) s += '<b>';x");
}

// Pieces of pages: codes, and text that holds no code (also server code,
// which keeps its "<" and ">").
struct Piece {
  std::string text;
  bool code;
};
const std::vector<Piece>& pagePieces() {
  static const std::vector<Piece> pieces{
      {"<p>", true},
      {"</P>", true},
      {"<a href=\"Side.htm\" target=top>", true},
      {"<!-- en > kommentar <b> -->", true},
      {"<!doctype html>", true},
      {"<img src='x.gif' alt=\"Et billede\">", true},
      {"1 < 2 og 3 > 2", false},
      {"Bl\xE5"
       "b\xE6r & fl\xF8"
       "de",
       false},
      {"\r\n", false},
      {"<% Response.Write(\"<b>hej</b>\") %>", false},
      {"<%= navn %>", false},
      {"<?php echo $navn; if ($a<$b) echo '<i>x</i>'; ?>", false},
      {"<? $x = \"<B>\" ?>", false},
      {"a <= b >= c", false},
  };
  return pieces;
}

TEST(StripCodes, RandomPagesKeepEverythingButTheirCodes) {
  std::mt19937 random(42);
  const auto& pieces = pagePieces();
  for (int round = 0; round < 2000; ++round) {
    std::string page, plain;
    for (int i = static_cast<int>(random() % 12); i > 0; --i) {
      const Piece& p = pieces[random() % pieces.size()];
      page += p.text;
      if (!p.code) plain += p.text;
    }
    // Line breaks are left alone here: the empty lines that stripping
    // removes are another matter.
    if (plain.find("\n\r") != std::string::npos) continue;
    ASSERT_EQ(stripCodes(page), plain) << testing::PrintToString(page);
  }
}

TEST(CodesToUpperCase, LinkNamesUpperValuesAndTextKept) {
  EXPECT_EQ(codesToUpperCase("<a href=\"Sider/Forside.htm\" target=_blank>Min side</a>"),
            "<A HREF=\"Sider/Forside.htm\" TARGET=_blank>Min side</A>");
  EXPECT_EQ(codesToUpperCase("<img src=billede.gif alt=\"Et billede\" border=0>"),
            "<IMG SRC=billede.gif ALT=\"Et billede\" BORDER=0>");
}

TEST(CodesToUpperCase, CommentsAndDeclarationsStayAsTheyAre) {
  EXPECT_EQ(codesToUpperCase("<!-- en <b>kommentar</b> --><b>fed</b>"), "<!-- en <b>kommentar</b> --><B>fed</B>");
  EXPECT_EQ(codesToUpperCase("<!doctype html public \"-//W3C//DTD HTML 4.0//EN\">\r\n<html>"),
            "<!doctype html public \"-//W3C//DTD HTML 4.0//EN\">\r\n<HTML>");
  // A comment that is never closed runs to the end.
  EXPECT_EQ(codesToUpperCase("<p><!-- aaben <b>x</b>"), "<P><!-- aaben <b>x</b>");
}

TEST(CodesToUpperCase, ScriptBodiesAreKept) {
  EXPECT_EQ(codesToUpperCase("<script language=\"JavaScript\">\r\n"
                             "if (a < b) document.write('<b>x</b>');\r\n"
                             "</script>\r\n<p>tekst"),
            "<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
            "if (a < b) document.write('<b>x</b>');\r\n"
            "</SCRIPT>\r\n<P>tekst");
  // Without an end code everything after the start code is script.
  EXPECT_EQ(codesToUpperCase("<b>x</b><script>var s = '<b>';\r\n<p>tekst\r\n"),
            "<B>x</B><SCRIPT>var s = '<b>';\r\n<p>tekst\r\n");
  // An end code with a blank before its ">" still ends the script.
  EXPECT_EQ(codesToUpperCase("<script>a<b</script ><i>"), "<SCRIPT>a<b</SCRIPT ><I>");
}

TEST(CodesToUpperCase, TextOutsideCodesIsKeptExactly) {
  EXPECT_EQ(codesToUpperCase("<p>Tekst med sm\xE5 bogstaver\r\n"), "<P>Tekst med sm\xE5 bogstaver\r\n");
  EXPECT_EQ(codesToUpperCase("1 > 0 <b>x</b> og 2 > 1"), "1 > 0 <B>x</B> og 2 > 1");
  EXPECT_EQ(codesToUpperCase("ingen koder > her\r\n"), "ingen koder > her\r\n");
  EXPECT_EQ(codesToUpperCase(""), "");
  // Only a-z change: a letter such as "\xE6" stays.
  EXPECT_EQ(codesToUpperCase("<t\xE6st>"), "<T\xE6ST>");
}

// Attribute values written in ways that must not change their letters.
TEST(CodesToUpperCase, ValuesSurviveBlanksQuotesAndLineBreaks) {
  EXPECT_EQ(codesToUpperCase("<img alt='min side' src=a.gif>"), "<IMG ALT='min side' SRC=a.gif>");
  EXPECT_EQ(codesToUpperCase("<a href = \"side.htm\">"), "<A HREF = \"side.htm\">");
  EXPECT_EQ(codesToUpperCase("<a href=side.htm\r\ntarget=top>"), "<A HREF=side.htm\r\nTARGET=top>");
  EXPECT_EQ(codesToUpperCase("<a href=\"x!y\" target=t>"), "<A HREF=\"x!y\" TARGET=t>");
  // A ">" inside a value ends the code early; what follows is kept as text.
  EXPECT_EQ(codesToUpperCase("<p title=\"a > b\" class=c>"), "<P TITLE=\"a > b\" class=c>");
}

TEST(CodesToUpperCase, UnclosedCodeAtTheEndIsNotTouched) {
  EXPECT_EQ(codesToUpperCase("<p>pris < 100 kr\r\n"), "<P>pris < 100 kr\r\n");
  EXPECT_EQ(codesToUpperCase("<p>x<b"), "<P>x<b");
}

// A "<" before anything but a letter, "/" or "!" is text: the visible text,
// server code and scripts keep their letters.
TEST(CodesToUpperCase, TextServerCodeAndScriptsAreLeftAlone) {
  EXPECT_EQ(codesToUpperCase("<p>1 < 2 og 3 > 2</p>"), "<P>1 < 2 og 3 > 2</P>");
  EXPECT_EQ(codesToUpperCase("<% Response.Write(\"hej\") %>"), "<% Response.Write(\"hej\") %>");
  EXPECT_EQ(codesToUpperCase("<?php echo $navn; ?>"), "<?php echo $navn; ?>");
  EXPECT_EQ(codesToUpperCase("if (a < b && b > c) x();"), "if (a < b && b > c) x();");
  EXPECT_EQ(codesToUpperCase("<script>\r\nif (a < b && b > c) x();\r\n</script>"),
            "<SCRIPT>\r\nif (a < b && b > c) x();\r\n</SCRIPT>");
  // Server code that is never closed runs to the end.
  EXPECT_EQ(codesToUpperCase("<b>x</b><?php echo '<b>';"), "<B>x</B><?php echo '<b>';");
}

TEST(CodesToUpperCase, RandomTextWithoutCodesComesBackUnchanged) {
  // Every byte but letters, "/" and "!" after a "<": no code can start.
  std::mt19937 random(24);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 40); i > 0; --i) {
      char c = static_cast<char>(random() % 256);
      if (!text.empty() && text.back() == '<') {
        while (ascii::isLetter(c) || c == '/' || c == '!') c = static_cast<char>(random() % 256);
      }
      text += c;
    }
    ASSERT_EQ(codesToUpperCase(text), text) << testing::PrintToString(text);
  }
}

TEST(CodesToUpperCase, RandomMixedPagesKeepEveryByteOutsideTheCodes) {
  std::mt19937 random(7);
  const auto& pieces = pagePieces();
  for (int round = 0; round < 2000; ++round) {
    std::vector<const Piece*> chosen;
    std::string page;
    for (int i = static_cast<int>(random() % 12); i > 0; --i) {
      chosen.push_back(&pieces[random() % pieces.size()]);
      page += chosen.back()->text;
    }
    const std::string upper = codesToUpperCase(page);
    ASSERT_EQ(upper.size(), page.size());
    std::size_t at = 0;
    for (const Piece* p : chosen) {
      const std::string_view out(upper.data() + at, p->text.size());
      if (p->code)
        ASSERT_TRUE(ascii::equalIgnoringCase(out, p->text)) << testing::PrintToString(page);
      else
        ASSERT_EQ(out, p->text) << testing::PrintToString(page);
      at += p->text.size();
    }
  }
}

}  // namespace
}  // namespace morvel
