// Codes compared without regard to the case of a-z alone: the one helper
// every part of the program uses for it.
#include "ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace morvel {
namespace {

constexpr auto npos = std::string_view::npos;

TEST(AsciiCase, OnlyTheLettersAToZChangeCase) {
  // "æ" and "Æ" are Windows-1252 bytes: they stay as they are.
  EXPECT_EQ(ascii::upperCopy("<font face=\"\xE6\">1_z"), "<FONT FACE=\"\xE6\">1_Z");
  EXPECT_TRUE(ascii::equalIgnoringCase("Square", "SQUARE"));
  EXPECT_FALSE(ascii::equalIgnoringCase("\xE6", "\xC6"));
  EXPECT_FALSE(ascii::equalIgnoringCase("NO", "NOT"));
  EXPECT_TRUE(ascii::startsWithIgnoringCase("mailto:a@b", "MAILTO:"));
  EXPECT_FALSE(ascii::startsWithIgnoringCase("mail", "MAILTO:"));
}

TEST(AsciiCase, FindingStartsAtTheGivenPlaceAndReachesTheLastByte) {
  const std::string page = "<Title>a</title><TITLE>";
  EXPECT_EQ(ascii::findIgnoringCase(page, "<TITLE>"), 0u);
  EXPECT_EQ(ascii::findIgnoringCase(page, "<TITLE>", 1), 16u);
  EXPECT_EQ(ascii::findIgnoringCase(page, "</TITLE>"), 8u);
  EXPECT_EQ(ascii::findIgnoringCase(page, "title>", 17), 17u);
  EXPECT_EQ(ascii::findIgnoringCase(page, "<TITLE>", 17), npos);
  EXPECT_EQ(ascii::findIgnoringCase(page, "<TITLE>", page.size() + 1), npos);
  EXPECT_EQ(ascii::findIgnoringCase(page, ""), npos);
  // A pattern longer than what is left, and one cut off by the end.
  EXPECT_EQ(ascii::findIgnoringCase("<TIT", "<TITLE>"), npos);
  EXPECT_EQ(ascii::findIgnoringCase("x<TITL", "<TITLE"), npos);
}

}  // namespace
}  // namespace morvel
