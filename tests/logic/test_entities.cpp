#include "markup/entities.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace morvel {
namespace {

// Windows-1252 bytes of the eight characters.
const std::string ae = "\xE6", oe = "\xF8", aa = "\xE5", AE = "\xC6", OE = "\xD8", AA = "\xC5";
const std::string copyright = "\xA9", registered = "\xAE";

TEST(Entities, BlueberryRoundTrip) {
  const std::string plain = "Bl" + aa + "b" + ae + "r";
  EXPECT_EQ(decodeEntities("Bl&aring;b&aelig;r"), plain);
  EXPECT_EQ(encodeEntities(plain), "Bl&aring;b&aelig;r");
}

TEST(Entities, AllEightCharactersEncodeToTheirNamesAndBack) {
  const std::string plain = ae + oe + aa + AE + OE + AA + copyright + registered;
  const std::string encoded = "&aelig;&oslash;&aring;&AElig;&Oslash;&Aring;&copy;&reg;";
  EXPECT_EQ(encodeEntities(plain), encoded);
  EXPECT_EQ(decodeEntities(encoded), plain);
  EXPECT_EQ(decodeEntities(encodeEntities("<P>" + plain + "</P>\r\n")), "<P>" + plain + "</P>\r\n");
}

TEST(Entities, NumericFormsAreReadButNeverWritten) {
  EXPECT_EQ(decodeEntities("&#230;"), ae);
  EXPECT_EQ(encodeEntities(ae), "&aelig;");
  EXPECT_EQ(decodeEntities("&#230;&#248;&#229;&#198;&#216;&#197;"), ae + oe + aa + AE + OE + AA);
  // The two signs have no numeric form here.
  EXPECT_EQ(decodeEntities("&#169;&#174;"), "&#169;&#174;");
}

TEST(Entities, OtherAmpersandSequencesAreLeftAlone) {
  for (const std::string text : {"&Aelig;", "&amp;", "&AELIG;", "&aelig", "&#230", "&#0230;", "AT&T", "&", "&&",
                                 "&nbsp;&lt;&gt;", "&amp;aelig;"}) {
    EXPECT_EQ(decodeEntities(text), text) << text;
    EXPECT_EQ(encodeEntities(text), text) << text;
  }
  EXPECT_EQ(decodeEntities("&&aelig;"), "&" + ae);
  EXPECT_EQ(decodeEntities("&aelig;&"), ae + "&");
}

TEST(Entities, EncodingChangesNoOtherByte) {
  const std::string eight = ae + oe + aa + AE + OE + AA + copyright + registered;
  std::string others;
  for (int b = 0; b < 256; ++b)
    if (eight.find(static_cast<char>(b)) == std::string::npos) others.push_back(static_cast<char>(b));
  EXPECT_EQ(encodeEntities(others), others);
  EXPECT_EQ(decodeEntities(others), others);
}

// Progress runs through the same eight steps whatever the text.
TEST(Entities, ProgressGoesThroughEightStepsToHundred) {
  const std::vector<int> expected{12, 25, 37, 50, 62, 75, 87, 100};
  for (const std::string& text : {std::string(300000, 'x'), std::string()}) {
    std::vector<int> seenEncode, seenDecode;
    encodeEntities(text, [&](int p) { seenEncode.push_back(p); });
    decodeEntities(text, [&](int p) { seenDecode.push_back(p); });
    EXPECT_EQ(seenEncode, expected);
    EXPECT_EQ(seenDecode, expected);
  }
}

// The conversion as a user of the menu command sees it: row after row,
// replacing the first occurrence until none is left.
std::string replaceRowByRow(std::string text, const std::vector<std::pair<std::string, std::string>>& rows) {
  for (const auto& [from, to] : rows) {
    for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
  }
  return text;
}

TEST(Entities, RandomTextsMatchRowByRowReplacement) {
  const std::vector<std::pair<std::string, std::string>> named{
      {"&aelig;", ae},  {"&oslash;", oe}, {"&aring;", aa},       {"&AElig;", AE},
      {"&Oslash;", OE}, {"&Aring;", AA},  {"&copy;", copyright}, {"&reg;", registered}};
  const std::vector<std::pair<std::string, std::string>> numeric{{"&#230;", ae}, {"&#248;", oe}, {"&#229;", aa},
                                                                 {"&#198;", AE}, {"&#216;", OE}, {"&#197;", AA}};
  std::vector<std::pair<std::string, std::string>> decodeRows = named;
  decodeRows.insert(decodeRows.end(), numeric.begin(), numeric.end());
  std::vector<std::pair<std::string, std::string>> encodeRows;
  for (const auto& [entity, character] : named) encodeRows.emplace_back(character, entity);

  const std::vector<std::string> pieces{"&",       ";",      "#",   "aelig", "aring;",  "&aelig;",
                                        "&AElig;", "&#230;", "&#2", "30;",   "&reg;",   "&copy",
                                        "x",       "\r\n",   ae,    AA,      copyright, "&amp;"};
  std::mt19937 random(1998);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 30);
    for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    ASSERT_EQ(decodeEntities(text), replaceRowByRow(text, decodeRows)) << text;
    ASSERT_EQ(encodeEntities(text), replaceRowByRow(text, encodeRows)) << text;
  }
}

}  // namespace
}  // namespace morvel
