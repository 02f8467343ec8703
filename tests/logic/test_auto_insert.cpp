#include "markup/auto_insert.h"

#include <gtest/gtest.h>

#include <string>

namespace morvel {
namespace {

const std::string kPage =
    "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n</HEAD>\r\n<BODY>\r\nTekst\r\n</BODY>\r\n</HTML>\r\n";

std::string dated(const std::string& date) { return std::string(kAutoDateStart) + date + std::string(kAutoDateEnd); }

TEST(AutoDate, MissingDateIsInsertedBeforeTheBodyEnd) {
  const std::string date = "Opdateret d. 1-1-98";
  const AutoDateFinding finding = findAutoDate(kPage, date);
  EXPECT_EQ(finding.state, AutoDateState::Missing);

  const std::string withDate = applyTextEdits(kPage, {{autoDatePositionAtEnd(kPage), 0, autoDateBlock(date)}});
  EXPECT_EQ(withDate, "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n</HEAD>\r\n<BODY>\r\nTekst\r\n" + dated(date) +
                          "\r\n</BODY>\r\n</HTML>\r\n");
  // Saving again in the same minute finds the page up to date.
  EXPECT_EQ(findAutoDate(withDate, date).state, AutoDateState::Current);
}

TEST(AutoDate, InsertionPlaceAtTheEnd) {
  EXPECT_EQ(autoDatePositionAtEnd("a</body>b</BODY>"), 1u);
  EXPECT_EQ(autoDatePositionAtEnd("ab</html>"), 2u);
  EXPECT_EQ(autoDatePositionAtEnd("abc\r\n"), 5u);
  EXPECT_EQ(autoDatePositionAtEnd(""), 0u);
}

TEST(AutoDate, OlderDateIsReplaced) {
  const std::string page = "<BODY>\r\n" + dated("Opdateret d. 1-1-98") + "\r\n</BODY>";
  const std::string date = "Opdateret d. 2-1-98";
  const AutoDateFinding finding = findAutoDate(page, date);
  ASSERT_EQ(finding.state, AutoDateState::Dated);
  EXPECT_EQ(finding.startMarker, 8u);
  const std::string replaced = applyTextEdits(page, {{finding.dateBegin, finding.dateEnd - finding.dateBegin, date}});
  EXPECT_EQ(replaced, "<BODY>\r\n" + dated(date) + "\r\n</BODY>");
}

TEST(AutoDate, MarkersAreFoundInAnyLetterCase) {
  const std::string page = "<!-- morvel autodato -->gammel<!-- mv -->";
  const AutoDateFinding finding = findAutoDate(page, "ny");
  ASSERT_EQ(finding.state, AutoDateState::Dated);
  EXPECT_EQ(page.substr(finding.dateBegin, finding.dateEnd - finding.dateBegin), "gammel");
}

// A date that only begins like the new one (1 November, now 1 January) is old.
TEST(AutoDate, DateThatMerelyBeginsWithTheNewOneIsReplaced) {
  const AutoDateFinding finding = findAutoDate(dated("1-11"), "1-1");
  EXPECT_EQ(finding.state, AutoDateState::Dated);
}

TEST(AutoDate, RefusedPagesAreNeverDated) {
  const std::string page = "<HEAD>\r\n" + std::string(kAutoDateRefusal) + "\r\n</HEAD>" + dated("x");
  EXPECT_EQ(findAutoDate(page, "y").state, AutoDateState::Refused);
  EXPECT_EQ(findRefusalMarker(page), 8u);
  EXPECT_EQ(findRefusalMarker(kPage), std::nullopt);
}

TEST(AutoDate, RefusalGoesBeforeTheHeadEnd) {
  const std::string refused = applyTextEdits(kPage, {{refusalPosition(kPage), 0, refusalBlock()}});
  EXPECT_EQ(refused,
            "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n<!-- Minus AutoDato -->\r\n</HEAD>\r\n"
            "<BODY>\r\nTekst\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_EQ(findAutoDate(refused, "d").state, AutoDateState::Refused);
  EXPECT_EQ(refusalPosition("<body>uden hoved</body>"), 0u);
}

TEST(AutoDate, DamagedDatesAreNotTouched) {
  // The end marker is gone.
  const std::string noEnd = "Tekst " + std::string(kAutoDateStart) + "1-1-98 mere tekst";
  AutoDateFinding finding = findAutoDate(noEnd, "2-1-98");
  EXPECT_EQ(finding.state, AutoDateState::Damaged);
  EXPECT_EQ(finding.startMarker, 6u);

  // Its end marker is gone, and the next end marker belongs to another date
  // or lies lines away: replacing up to it would delete the text between.
  const std::string two = std::string(kAutoDateStart) + "1-1-98 Tekst " + dated("1-1-98");
  EXPECT_EQ(findAutoDate(two, "2-1-98").state, AutoDateState::Damaged);
  const std::string farAway = std::string(kAutoDateStart) + "1-1-98\r\nVigtig tekst\r\n" + std::string(kAutoDateEnd);
  EXPECT_EQ(findAutoDate(farAway, "2-1-98").state, AutoDateState::Damaged);
}

TEST(AutoDate, MessageTexts) {
  EXPECT_EQ(damagedAutoDateMessage("/home/ida/side.htm"),
            "Auto-opdateringsdatoen i /home/ida/side.htm er blevet ødelagt.\n"
            "Slet det markerede og den gamle dato og lad Morvel indsætte en ny.");
  EXPECT_EQ(missingAutoDateQuestion("side.htm"),
            "side.htm indeholder ikke en Auto-opdateringsdato.\n"
            "Ønsker du, at Morvel skal indsætte en opdateringsdato?");
}

const std::string kGenerator = std::string(kGeneratorLine) + "\r\n";

TEST(GeneratorLine, InsertedBeforeTheHeadEndOnce) {
  const std::string page = applyTextEdits(kPage, generatorLineEdits(kPage));
  EXPECT_EQ(page, "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n" + kGenerator +
                      "</HEAD>\r\n<BODY>\r\nTekst\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_TRUE(generatorLineEdits(page).empty());
}

TEST(GeneratorLine, WithoutHeadEndItGoesToTheTop) {
  EXPECT_EQ(applyTextEdits("<p>tekst", generatorLineEdits("<p>tekst")), kGenerator + "<p>tekst");
}

TEST(GeneratorLine, OlderGeneratorLineIsReplaced) {
  const std::string page =
      "<HTML>\r\n<HEAD>\r\n  <meta name=\"generator\" content=\"Andet program 4.0\">\r\n"
      "<TITLE>Side</TITLE>\r\n</HEAD>\r\n</HTML>";
  EXPECT_EQ(applyTextEdits(page, generatorLineEdits(page)),
            "<HTML>\r\n<HEAD>\r\n<TITLE>Side</TITLE>\r\n" + kGenerator + "</HEAD>\r\n</HTML>");
}

// An older generator element sharing its line with other code goes alone.
TEST(GeneratorLine, OlderElementSharingItsLineLeavesTheRest) {
  const std::string page =
      "<HTML><HEAD><META NAME=\"Generator\" CONTENT=\"Andet\"><TITLE>Side</TITLE></HEAD>"
      "<BODY>Al teksten</BODY></HTML>";
  EXPECT_EQ(applyTextEdits(page, generatorLineEdits(page)),
            "<HTML><HEAD><TITLE>Side</TITLE>" + kGenerator + "</HEAD><BODY>Al teksten</BODY></HTML>");

  const std::string split = "<HEAD>\r\n<META NAME=\"Generator\"\r\n CONTENT=\"Andet\">\r\n</HEAD>\r\nx";
  EXPECT_EQ(applyTextEdits(split, generatorLineEdits(split)), "<HEAD>\r\n" + kGenerator + "</HEAD>\r\nx");
}

}  // namespace
}  // namespace morvel
