// Taking an element around the caret apart into the shared slots: which row
// of the element table takes a tag, what the slots and kept attributes
// hold, and which text the dialog is to replace.
#include "dialogs/element_state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using morvel::ElementEditor;
using morvel::ElementSearch;
using morvel::ElementToEdit;
namespace kind = morvel::element_kind;

// The caret goes where the page has a "|" (which is taken out).
struct Page {
  explicit Page(std::string marked) : text(std::move(marked)) {
    caret = text.find('|');
    text.erase(caret, 1);
  }
  std::string text;
  std::size_t caret;
};

ElementToEdit edit(const std::string& marked, bool keep = true) {
  const Page page(marked);
  return morvel::findElementToEdit(page.text, page.caret, keep);
}

std::string replaced(const std::string& marked) {
  const Page page(marked);
  const ElementToEdit found = morvel::findElementToEdit(page.text, page.caret, true);
  return page.text.substr(found.replaceBegin, found.replaceEnd - found.replaceBegin);
}

TEST(ElementTable, TheFirstRowWhosePrefixBeginsTheTagTakesIt) {
  struct Case {
    const char* page;
    ElementEditor editor;
    int kind;
  };
  const Case cases[] = {
      {"<FRAMESET |ROWS=\"*,*\">", ElementEditor::TextDialog, kind::kFrameSet},
      {"<FRAME |SRC=a.htm>", ElementEditor::Frame, kind::kPlain},
      {"<ADDRESS|>", ElementEditor::Link, kind::kPlain},
      {"<td align=left|>", ElementEditor::TableCell, kind::kTableCell},
      {"<TR|>", ElementEditor::TableCell, kind::kPlain},
      {"<table| width=5>", ElementEditor::Table, kind::kPlain},
      {"<bgsound src=x.mid|>", ElementEditor::TextDialog, kind::kBackgroundSound},
      {"<embed src=x.mid|>", ElementEditor::TextDialog, kind::kSound},
      {"<Title|>Side</TITLE>", ElementEditor::TitleRename, kind::kTitle},
      {"<input type=text| name=a>", ElementEditor::Form, kind::kInput},
  };
  for (const Case& c : cases) {
    const ElementToEdit found = edit(c.page);
    ASSERT_EQ(found.result, ElementSearch::Found) << c.page;
    EXPECT_EQ(found.row->editor, c.editor) << c.page;
    EXPECT_EQ(found.kind, c.kind) << c.page;
  }
}

TEST(ElementTable, TextThatIsNoKnownStartTagCannotBeEdited) {
  for (const char* page : {"<TABLE></TA|BLE>", "<B>fe|d</B>", "ingen k|ode", "<IMG SRC=a.gif| uden slut",
                           "<!-- |<IMG SRC=a.gif> -->", "|<IMG SRC=a.gif>"}) {
    EXPECT_EQ(edit(page).result, ElementSearch::NoElement) << page;
  }
}

TEST(ElementTable, AttributeValuesFillTheSlotsOfTheirNamesWithUnitsSplitOff) {
  ElementToEdit img = edit("<img src=pic.gif width=50%|>");
  EXPECT_EQ(img.slotValues[1], "pic.gif");
  EXPECT_EQ(img.slotValues[3], "50");
  EXPECT_EQ(img.slotValues[0], "%");
  EXPECT_EQ(img.slotValues[9], "");  // no height: no unit

  img = edit("<IMG SRC=\"a b.gif\" HEIGHT=\"20\" ALT=\"Et billede\"|>");
  EXPECT_EQ(img.slotValues[1], "a b.gif");
  EXPECT_EQ(img.slotValues[4], "20");
  EXPECT_EQ(img.slotValues[9], "-1");
  EXPECT_EQ(img.slotValues[8], "Et billede");
  EXPECT_EQ(img.keptAttributes, "");

  const ElementToEdit hr = edit("<HR SIZE=3 WIDTH=\"80%\" noshade|>");
  EXPECT_EQ(hr.slotValues[1], "3");
  EXPECT_EQ(hr.slotValues[3], "80");
  EXPECT_EQ(hr.slotValues[0], "%");
  EXPECT_EQ(hr.slotValues[4], "NOSHADE");

  const ElementToEdit td = edit("<TD WIDTH=\"40%\" HEIGHT=30|>");
  EXPECT_EQ(td.slotValues[5], "40");
  EXPECT_EQ(td.slotValues[8], "%");
  EXPECT_EQ(td.slotValues[6], "30");
  EXPECT_EQ(td.slotValues[9], "-1");

  const ElementToEdit table = edit("<TABLE BORDER=1 WIDTH=\"100%\"|>");
  EXPECT_EQ(table.slotValues[1], "100");
  EXPECT_EQ(table.slotValues[0], "%");
  EXPECT_EQ(table.slotValues[2], "1");
  EXPECT_EQ(table.slotValues[10], "-1");

  EXPECT_EQ(edit("<ol type=A|>").slotValues[2], "<OL");
  EXPECT_EQ(edit("<FRAME SRC=a.htm NORESIZE|>").slotValues[6], "NORESIZE");
}

TEST(ElementTable, NamesMatchOnlyWithTheirLeadingBlank) {
  // FONTSIZE= ends in SIZE= but is not SIZE.
  const ElementToEdit hr = edit("<HR FONTSIZE=9 SIZE=2|>");
  EXPECT_EQ(hr.slotValues[1], "2");
  EXPECT_EQ(hr.keptAttributes, " FONTSIZE=9");
}

TEST(ElementTable, UnknownAttributesAreKeptWithTheirBlanksOnlyWhenAskedTo) {
  const std::string link = "<A HREF=\"x.htm\" onMouseOver=\"f()\"|>tekst</A>";
  EXPECT_EQ(edit(link).keptAttributes, " onMouseOver=\"f()\"");
  EXPECT_EQ(edit(link, false).keptAttributes, "");
  EXPECT_EQ(edit("<A class=ny HREF=x.htm id=\"a\"|>x</A>").keptAttributes, " class=ny id=\"a\"");
}

TEST(ElementTable, AQuotedValueWithoutItsClosingQuoteRunsToTheTagsEnd) {
  const ElementToEdit img = edit("<IMG ALT=\"ingen slut|>");
  EXPECT_EQ(img.result, ElementSearch::Found);
  EXPECT_EQ(img.slotValues[8], "ingen slut");
}

TEST(ElementTable, ALinkIsReplacedWholeWithItsTextInSlotFour) {
  const ElementToEdit link = edit("<P><a href=side.htm target=_top|>Næste\r\nside</a></P>");
  EXPECT_EQ(link.kind, kind::kPlain);
  EXPECT_EQ(link.slotValues[1], "side.htm");
  EXPECT_EQ(link.slotValues[2], "_top");
  EXPECT_EQ(link.slotValues[4], "Næste\r\nside");
  EXPECT_EQ(replaced("<P><a href=side.htm target=_top|>Næste\r\nside</a></P>"),
            "<a href=side.htm target=_top>Næste\r\nside</a>");
  // The caret may stand in the link's text.
  EXPECT_EQ(replaced("<A NAME=top>Her |er</A>"), "<A NAME=top>Her er</A>");
  // An anchor without an end code: only the start tag.
  EXPECT_EQ(replaced("<A NAME=top|>Her"), "<A NAME=top>");
}

TEST(ElementTable, OnlyAMailtoAddressMakesAnEmailLink) {
  EXPECT_EQ(edit("<A HREF=\"MailTo:a@b.dk\"|>a</A>").kind, kind::kEmail);
  EXPECT_EQ(edit("<A HREF=\"side.htm\" TITLE=\"skriv mailto\"|>a</A>").kind, kind::kPlain);
}

TEST(ElementTable, AScriptIsReplacedWholeWithItsCodeInSlotTwo) {
  const ElementToEdit script = edit("<SCRIPT LANGUAGE=\"JavaScript\"|>\r\nf();\r\n</script>");
  EXPECT_EQ(script.slotValues[1], "JavaScript");
  EXPECT_EQ(script.slotValues[2], "\r\nf();\r\n");
  EXPECT_EQ(script.replaceEnd, std::string("<SCRIPT LANGUAGE=\"JavaScript\">\r\nf();\r\n</script>").size());
}

TEST(ElementTable, AFontCodeNeedsItsEndCode) {
  EXPECT_EQ(edit("<FONT SIZE=2|>tekst").result, ElementSearch::FontWithoutEnd);
  const ElementToEdit font = edit("x\r\n<FONT FACE=\"Arial\"|><FONT SIZE=1>a</FONT>b</FONT>");
  ASSERT_EQ(font.result, ElementSearch::Found);
  EXPECT_EQ(font.slotValues[1], "Arial");
  EXPECT_EQ(font.slotValues[10], "2");  // line
  EXPECT_EQ(font.slotValues[8], "41");  // column of the outer end code
  EXPECT_EQ(font.slotValues[9], "48");
  EXPECT_EQ(replaced("<FONT SIZE=2>a|b</FONT>"), "<FONT SIZE=2>");
}

TEST(ElementTable, ATagOverSeveralLinesIsOneElement) {
  const ElementToEdit img = edit("<IMG\r\nSRC=a.gif\r\n WIDTH=1|0>");
  EXPECT_EQ(img.result, ElementSearch::Found);
  EXPECT_EQ(img.slotValues[3], "10");
}

TEST(ElementEditState, ClosingADialogClearsAllButSlotTenAndTheKind) {
  morvel::ElementEditState state;
  state.editMode = true;
  state.kind = kind::kEmail;
  for (std::string& slot : state.slotValues) slot = "x";
  state.keptAttributes = " a=1";
  state.reset();
  EXPECT_FALSE(state.editMode);
  for (std::size_t s = 0; s < 10; ++s) EXPECT_EQ(state.slotValues[s], "") << s;
  EXPECT_EQ(state.slotValues[10], "x");
  EXPECT_EQ(state.keptAttributes, "");
}

}  // namespace
