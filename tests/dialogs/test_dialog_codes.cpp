// The codes the link, e-mail and text dialogs build, and what they gather
// from pages and shortcut files.
#include "dialogs/edited_element.h"
#include "dialogs/link_codes.h"
#include "dialogs/text_dialog_codes.h"

#include <gtest/gtest.h>

namespace {

using morvel::LinkFields;

TEST(LinkCodes, AttributesAppearOnlyWithValuesAndKeptOnesFollowTheKnown) {
  EXPECT_EQ(morvel::linkCode({}, ""), "<A></A>");
  EXPECT_EQ(morvel::linkCode({"side.htm", "_top", "", "Næste"}, ""), "<A HREF=\"side.htm\" TARGET=\"_top\">Næste</A>");
  EXPECT_EQ(morvel::linkCode({"", "", "top", ""}, " class=\"x\""), "<A NAME=\"top\" class=\"x\"></A>");
}

TEST(LinkCodes, FurtherLinksOfTheLinkListGoOnLinesOfTheirOwnWithTheSameTarget) {
  const std::vector<std::string> list{"a.htm", "A", "b.htm", "B", "c.htm", "C"};
  EXPECT_EQ(morvel::furtherLinks(list, "_blank"),
            "\r\n<A HREF=\"b.htm\" TARGET=\"_blank\">B</A>\r\n<A HREF=\"c.htm\" TARGET=\"_blank\">C</A>");
  EXPECT_EQ(morvel::furtherLinks({"a.htm", "A"}, ""), "");
  // An odd item at the end has no text and makes no link.
  EXPECT_EQ(morvel::furtherLinks({"a.htm", "A", "b.htm"}, ""), "");
}

TEST(LinkCodes, AnEmailLinkKeepsItsOtherAttributesBeforeTheTagsEnd) {
  EXPECT_EQ(morvel::emailLinkCode({"a@b.dk", "", "", "Skriv"}, ""), "<A HREF=\"mailto:a@b.dk\">Skriv</A>");
  EXPECT_EQ(morvel::emailLinkCode({"a@b.dk", "", "kontakt", "Skriv"}, " class=m"),
            "<A HREF=\"mailto:a@b.dk\" NAME=\"kontakt\" class=m>Skriv</A>");
  EXPECT_EQ(morvel::emailAddress("MAILTO:a@b.dk"), "a@b.dk");
  EXPECT_EQ(morvel::emailAddress("a@b.dk"), "a@b.dk");
}

TEST(LinkCodes, FrameNamesComeFromFrameTagsInAnyCaseEachOnce) {
  const std::string page =
      "<FRAMESET COLS=\"*,*\" NAME=\"saet\">\r\n<frame name=top src=a.htm>\r\n"
      "<FRAME SRC=\"b.htm\" NAME=\"hoved del\">\r\n<FRAME SRC=c.htm>\r\n<A NAME=\"ikke\">\r\n"
      "<FRAME NAME=top>\r\nEn frame er en ramme, name=nej\r\n</FRAMESET>";
  EXPECT_EQ(morvel::frameNames(page), (std::vector<std::string>{"top", "hoved del"}));
}

TEST(LinkCodes, AShortcutFileGivesTheAddressAfterUrl) {
  EXPECT_EQ(morvel::shortcutAddress("[InternetShortcut]\r\nURL=http://www.dr.dk/  \r\nModified=1\r\n"),
            "http://www.dr.dk/");
  EXPECT_EQ(morvel::shortcutAddress("[InternetShortcut]\nURL=http://a.dk/b?x=1"), "http://a.dk/b?x=1");
}

TEST(TextDialogCodes, SoundAndFrameSetCodes) {
  EXPECT_EQ(morvel::soundCode("lyd.mid"), "<EMBED SRC=\"lyd.mid\" AUTOSTART=\"TRUE\" LOOP=\"0\">");
  EXPECT_EQ(morvel::frameSetCode("*,*", "", std::nullopt, ""), "<FRAMESET ROWS=\"*,*\">");
  EXPECT_EQ(
      morvel::frameSetCode("20%,*", "100,*", morvel::FrameSetBorder{false, "4"}, " onLoad=\"f()\""),
      "<FRAMESET FRAMEBORDER=\"0\" FRAMESPACING=\"4\" BORDER=\"4\" ROWS=\"20%,*\" COLS=\"100,*\" onLoad=\"f()\">");
}

TEST(TextDialogCodes, FrameSetFieldsGreyTheSizeThatFillsTheRestAndShowABorderOnlyWithBoth) {
  // Rows, columns, FRAMESPACING, FRAMEBORDER, BORDER.
  using Attributes = morvel::FrameSetAttributes;
  morvel::FrameSetFields f = morvel::frameSetFields(Attributes{"*,*", "", "", "", ""});
  EXPECT_FALSE(f.rowsGreyed);
  EXPECT_TRUE(f.columnsGreyed);
  EXPECT_FALSE(f.border);

  f = morvel::frameSetFields(Attributes{"*,*", "100%", "", "", ""});
  EXPECT_TRUE(f.columnsGreyed);
  EXPECT_TRUE(f.border);

  // No number in FRAMESPACING: the border thickness is taken.
  f = morvel::frameSetFields(Attributes{"*,*", "50,*", "ja", "No", "3"});
  EXPECT_FALSE(f.rowsGreyed || f.columnsGreyed);
  EXPECT_EQ(f.thickness, "3");
  EXPECT_FALSE(f.visible);
  f = morvel::frameSetFields(Attributes{"*,*", "50,*", "6", "1", "3"});
  EXPECT_EQ(f.thickness, "6");
  EXPECT_TRUE(f.visible);
}

TEST(TextDialogCodes, ANewTitleReplacesTheOldOrGoesIntoTheHead) {
  const std::string page = "<HTML><HEAD><title>Gammel</TITLE></HEAD>";
  morvel::TitleChange c = morvel::titleChange(page, "Ny");
  ASSERT_EQ(c.kind, morvel::TitleChange::Replace);
  EXPECT_EQ(page.substr(c.position, c.eraseLength), "Gammel");

  c = morvel::titleChange("<html><head>\r\n</head>", "Ny");
  ASSERT_EQ(c.kind, morvel::TitleChange::InsertInHead);
  EXPECT_EQ(c.position, 12u);
  EXPECT_EQ(c.insert, "\r\n\t<TITLE>Ny</TITLE>");

  EXPECT_EQ(morvel::titleChange("<HEAD><TITLE>Gammel", "Ny").kind, morvel::TitleChange::Damaged);
  EXPECT_EQ(morvel::titleChange("<BODY>", "Ny").kind, morvel::TitleChange::NoHead);
}

}  // namespace
