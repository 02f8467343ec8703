#include "markup/code_cleanup.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace morvel {
namespace {

TEST(StripCodes, LeavesBareWordsWithOneLineBreak) {
  EXPECT_EQ(stripCodes("<P>Hej<BR>\r\n\r\n<B>verden</B>"), "Hej\r\nverden");
  EXPECT_EQ(stripCodes("<HTML>\r\n<BODY>\r\n\r\n\r\nTekst\r\n</BODY>\r\n</HTML>\r\n"), "\r\nTekst\r\n");
}

TEST(StripCodes, StrayAndUnclosedBracketsStay) {
  EXPECT_EQ(stripCodes("a > b <B>c</B>"), "a > b c");
  EXPECT_EQ(stripCodes("a <B>b</B> c < d"), "a b c < d");
  // From the first "<" to the first ">" after it, whatever lies between.
  EXPECT_EQ(stripCodes("<<B>x>"), "x>");
  EXPECT_EQ(stripCodes("<!-- 1 > 0 -->x"), " 0 -->x");
  EXPECT_EQ(stripCodes("Bl\xE5"
                       "b\xE6r &amp; fl\xF8"
                       "de"),
            "Bl\xE5"
            "b\xE6r &amp; fl\xF8"
            "de");
}

// Removing codes, then every LF CR until none is left, one at a time.
std::string stripByModel(std::string text) {
  for (std::size_t open; (open = text.find('<')) != std::string::npos;) {
    const std::size_t close = text.find('>', open + 1);
    if (close == std::string::npos) break;
    text.erase(open, close - open + 1);
  }
  for (std::size_t at; (at = text.find("\n\r")) != std::string::npos;) text.erase(at, 2);
  return text;
}

TEST(StripCodes, RandomTextsMatchRemovalOneAtATime) {
  const std::string alphabet = "<>\r\n\r\nab";
  std::mt19937 random(42);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    ASSERT_EQ(stripCodes(text), stripByModel(text)) << testing::PrintToString(text);
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
}

}  // namespace
}  // namespace morvel
