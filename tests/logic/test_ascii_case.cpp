// Codes compared without regard to the case of a-z alone: the one helper
// every part of the program uses for it.
#include "markup/ascii_case.h"

#include <gtest/gtest.h>

#include <string>

namespace morvel {
namespace {

constexpr auto npos = std::string_view::npos;

TEST(AsciiCase, OnlyTheLettersAToZChangeCase) {
  // "æ" and "Æ" are Windows-1252 bytes: they stay as they are.
  EXPECT_EQ(upperAsciiCopy("<font face=\"\xE6\">1_z"), "<FONT FACE=\"\xE6\">1_Z");
  EXPECT_TRUE(equalsIgnoringCase("Square", "SQUARE"));
  EXPECT_FALSE(equalsIgnoringCase("\xE6", "\xC6"));
  EXPECT_FALSE(equalsIgnoringCase("NO", "NOT"));
  EXPECT_TRUE(startsWithIgnoringCase("mailto:a@b", "MAILTO:"));
  EXPECT_FALSE(startsWithIgnoringCase("mail", "MAILTO:"));
}

TEST(AsciiCase, FindingStartsAtTheGivenPlaceAndReachesTheLastByte) {
  const std::string page = "<Title>a</title><TITLE>";
  EXPECT_EQ(findIgnoringCase(page, "<TITLE>"), 0u);
  EXPECT_EQ(findIgnoringCase(page, "<TITLE>", 1), 16u);
  EXPECT_EQ(findIgnoringCase(page, "</TITLE>"), 8u);
  EXPECT_EQ(findIgnoringCase(page, "title>", 17), 17u);
  EXPECT_EQ(findIgnoringCase(page, "<TITLE>", 17), npos);
  EXPECT_EQ(findIgnoringCase(page, "<TITLE>", page.size() + 1), npos);
  EXPECT_EQ(findIgnoringCase(page, ""), npos);
  // A pattern longer than what is left, and one cut off by the end.
  EXPECT_EQ(findIgnoringCase("<TIT", "<TITLE>"), npos);
  EXPECT_EQ(findIgnoringCase("x<TITL", "<TITLE"), npos);
}

}  // namespace
}  // namespace morvel
