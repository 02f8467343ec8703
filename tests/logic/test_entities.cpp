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

// A UTF-8 page has its characters as UTF-8 sequences: encoding takes the
// eight, leaves every other character whole, and decoding writes UTF-8.
TEST(Entities, Utf8PagesAreConvertedByCharacter) {
  const std::string ae8 = "\xC3\xA6", e8 = "\xC3\xA9", i8 = "\xC3\xAE", AA8 = "\xC3\x85", copy8 = "\xC2\xA9";
  EXPECT_EQ(encodeEntities("Caf" + e8 + " " + i8 + "le bl" + ae8 + " " + AA8 + " " + copy8),
            "Caf" + e8 + " " + i8 + "le bl&aelig; &Aring; &copy;");
  EXPECT_EQ(decodeEntities("Caf" + e8 + " bl&aelig;b&#230;r &reg;"),
            "Caf" + e8 + " bl" + ae8 + "b" + ae8 + "r \xC2\xAE");
  // Declared in the head, a page of ASCII alone decodes to UTF-8 too.
  const std::string head = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";
  EXPECT_EQ(decodeEntities(head + "</head><body>Bl&aring;b&aelig;r"), head +
                                                                          "</head><body>Bl\xC3\xA5"
                                                                          "b" +
                                                                          ae8 + "r");
  EXPECT_TRUE(isUtf8Page("<meta charset = 'utf8'>"));
  // A page that declares another set keeps its bytes as Windows-1252, even
  // where they would read as UTF-8; a declaration in the body does not count.
  EXPECT_FALSE(isUtf8Page("<meta charset=iso-8859-1>" + e8));
  EXPECT_EQ(encodeEntities("<meta charset=windows-1252>" + e8), "<meta charset=windows-1252>\xC3&copy;");
  EXPECT_FALSE(isUtf8Page("<body>charset=utf-8</body>"));
  EXPECT_FALSE(isUtf8Page("plain ASCII"));
  EXPECT_FALSE(
      isUtf8Page("bl\xE6"
                 "b\xE6r"));                 // Windows-1252 letters are no UTF-8
  EXPECT_FALSE(isUtf8Page("\xC0\x80"));      // an overlong form is not valid
  EXPECT_FALSE(isUtf8Page("\xED\xA0\x80"));  // nor is a surrogate

  // Any UTF-8 text comes back from its entity form.
  std::mt19937 random(5);
  const std::vector<std::string> pieces{ae8, e8, AA8, copy8, "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xD0\x96", "a", " "};
  for (int round = 0; round < 1000; ++round) {
    std::string text = e8;
    for (int i = static_cast<int>(random() % 20); i > 0; --i) text += pieces[random() % pieces.size()];
    const std::string encoded = encodeEntities(text);
    ASSERT_EQ(encoded.find(ae8), std::string::npos);
    ASSERT_EQ(decodeEntities(encoded), text);
  }
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
    // Windows-1252 pages: without the declaration some byte pairs (Å then ©)
    // would read as UTF-8.
    std::string text = "<META CHARSET=windows-1252>";
    const int length = static_cast<int>(random() % 30);
    for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    ASSERT_EQ(decodeEntities(text), replaceRowByRow(text, decodeRows)) << text;
    ASSERT_EQ(encodeEntities(text), replaceRowByRow(text, encodeRows)) << text;
  }
}

}  // namespace
}  // namespace morvel
