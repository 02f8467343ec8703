// The plain pieces behind the component and the main window: syntax
// descriptions, file filters, the colour schemes and page titles.
#include "component/tivra_syntax.h"
#include "markup/code_colours.h"
#include "markup/document_title.h"
#include "win32.h"

#include <gtest/gtest.h>

using morvel::ColourPair;

namespace {

TEST(SyntaxDescription, TheMainWindowsDescriptionGivesItsEightItems) {
  const std::vector<std::uint16_t> items = morvel::syntaxItems("2\"\"001>1<001/");
  const std::vector<std::uint16_t> expected = {0x2222, 0x0101, 0x0101, '>', '<', 0x0101, 0x0101, '/'};
  EXPECT_EQ(items, expected);
}

TEST(SyntaxDescription, ClassesSkippedCharactersAndTheLimits) {
  // "3" and "4" mark classes in the high byte; blanks between entries are
  // skipped; an entry cut off by the end is dropped.
  EXPECT_EQ(morvel::syntaxItems("3a 4b 2/*"), (std::vector<std::uint16_t>{0x0361, 0x0462, 0x2A2F}));
  EXPECT_EQ(morvel::syntaxItems("1x2y"), (std::vector<std::uint16_t>{'x'}));
  EXPECT_TRUE(morvel::syntaxItems("").empty());
  EXPECT_EQ(morvel::syntaxItems(std::string(300, '0')).size(), 254u);
  // A Windows-1252 letter stays one byte.
  EXPECT_EQ(morvel::syntaxItems("1\xE6"), (std::vector<std::uint16_t>{0xE6}));
}

TEST(FileFilter, PipePairsBecomeTheWindowsSlashForm) {
  EXPECT_EQ(morvel::windowFileFilter("HTM", "HTML-dokumenter|*.htm;*.html|Alle filer|*.*"),
            "HTM/HTML-dokumenter/*.htm;*.html/Alle filer/*.*/");
  // A slash inside a part is doubled.
  EXPECT_EQ(morvel::windowFileFilter("TXT", "HTML/CSS|*.css|"), "TXT/HTML//CSS/*.css/");
  // Already in the slash form: kept.
  EXPECT_EQ(morvel::windowFileFilter("TXT", "Tekst/*.txt"), "TXT/Tekst/*.txt/");
  EXPECT_EQ(morvel::windowFileFilter("TXT", ""), "TXT/");
}

class TokenColours : public ::testing::Test {
 protected:
  const morvel::CodeColourScheme scheme = morvel::builtInColourScheme(2, 0x111111, 0xEEEEEE);
  ColourPair colours(unsigned type, long value, const char* word) {
    return morvel::tokenColours(scheme, type, value, word);
  }
};

TEST_F(TokenColours, MorvelTwoColoursEachKindOfCode) {
  EXPECT_EQ(scheme.normal, (ColourPair{RGB(0, 0, 0), RGB(255, 255, 255)}));
  EXPECT_EQ(scheme.elements, (ColourPair{RGB(255, 255, 255), RGB(0, 0, 128)}));
  EXPECT_EQ(scheme.attributes, (ColourPair{RGB(128, 0, 128), RGB(192, 192, 192)}));
  EXPECT_EQ(scheme.values, (ColourPair{RGB(0, 0, 128), RGB(192, 192, 192)}));
  EXPECT_EQ(scheme.comments, (ColourPair{RGB(255, 255, 255), RGB(0, 255, 0)}));

  EXPECT_EQ(colours(0x0001, 1, "TABLE"), scheme.elements);
  EXPECT_EQ(colours(0x0001, 1, "blockquote"), scheme.elements);
  EXPECT_EQ(colours(0x0001, 1, "H6"), scheme.elements);
  EXPECT_EQ(colours(0x0001, 1, "!doctype"), scheme.elements);
  EXPECT_EQ(colours(0x0001, 5, "BORDER=1"), scheme.attributes);
  EXPECT_EQ(colours(0x0001, 1, "big"), scheme.attributes);  // not in the lists
  EXPECT_EQ(colours(0x0001, 1, "!--"), scheme.comments);
  EXPECT_EQ(colours(0x0001, 20, "--"), scheme.comments);
  // Strings (scanner kind 0), also continued from the line above.
  EXPECT_EQ(colours(0x2001, MAKELONG(7, 0), "\"5\""), scheme.values);
  EXPECT_EQ(colours(0x6001, MAKELONG(0, 0), "rest\""), scheme.values);
  // The block comment of the syntax is the text between tags.
  EXPECT_EQ(colours(0x2001, MAKELONG(3, 1), "Noget tekst"), scheme.normal);
  // Delimiters and numbers keep the attribute colours.
  EXPECT_EQ(colours(0x8000, MAKELONG(1, 8), "/"), scheme.attributes);
  EXPECT_EQ(colours(0x0007, 5, "5"), scheme.attributes);
}

TEST(ColourSchemes, NoneUsesTheWindowColoursAndOneIsOnSilver) {
  const morvel::CodeColourScheme none = morvel::builtInColourScheme(0, 0x123456, 0xABCDEF);
  for (const ColourPair& p : {none.normal, none.elements, none.attributes, none.values, none.comments})
    EXPECT_EQ(p, (ColourPair{0x123456, 0xABCDEF}));
  const morvel::CodeColourScheme one = morvel::builtInColourScheme(1, 0, 0);
  EXPECT_EQ(one.attributes, (ColourPair{RGB(0x57, 0, 0x57), RGB(192, 192, 192)}));
  EXPECT_EQ(one.comments.text, RGB(128, 128, 128));
}

TEST(DocumentTitle, FoundWithoutRegardToCaseAndNeverBlank) {
  EXPECT_EQ(morvel::findTitle("<html><title> Min side </Title></html>").title, " Min side ");
  EXPECT_FALSE(morvel::findTitle("<TITLE> Min side </TITLE>").damaged);
  EXPECT_EQ(morvel::findTitle("<TITLE>  \t </TITLE>").title, "");
  EXPECT_EQ(morvel::findTitle("ingen titel her").title, "");
  EXPECT_FALSE(morvel::findTitle("ingen titel her").damaged);
}

TEST(DocumentTitle, AMissingEndCodeIsDamagedAndAnEndBeforeTheStartGivesNone) {
  const morvel::TitleSearch open = morvel::findTitle("<TITLE>Uafsluttet");
  EXPECT_TRUE(open.damaged);
  EXPECT_EQ(open.title, "");
  const morvel::TitleSearch reversed = morvel::findTitle("</TITLE>x<TITLE>");
  EXPECT_FALSE(reversed.damaged);
  EXPECT_EQ(reversed.title, "");
}

}  // namespace
