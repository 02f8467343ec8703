// Taking an element around the caret apart into a typed value: which row of
// the element table takes a tag, what its attributes and kept attributes
// hold, and which text the dialog is to replace.
#include "dialogs/edited_element.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using morvel::ElementEditor;
using morvel::ElementKind;
using morvel::ElementSearch;
using morvel::ElementToEdit;
using morvel::Length;

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
    ElementKind kind;
  };
  const Case cases[] = {
      {"<FRAMESET |ROWS=\"*,*\">", ElementEditor::TextDialog, ElementKind::FrameSet},
      {"<FRAME |SRC=a.htm>", ElementEditor::Frame, ElementKind::Plain},
      {"<ADDRESS|>", ElementEditor::Link, ElementKind::Plain},
      {"<td align=left|>", ElementEditor::TableCell, ElementKind::TableCell},
      {"<TR|>", ElementEditor::TableCell, ElementKind::Plain},
      {"<table| width=5>", ElementEditor::Table, ElementKind::Plain},
      {"<bgsound src=x.mid|>", ElementEditor::TextDialog, ElementKind::BackgroundSound},
      {"<embed src=x.mid|>", ElementEditor::TextDialog, ElementKind::Sound},
      {"<Title|>Side</TITLE>", ElementEditor::TitleRename, ElementKind::Title},
      {"<input type=text| name=a>", ElementEditor::Form, ElementKind::Input},
  };
  for (const Case& c : cases) {
    const ElementToEdit found = edit(c.page);
    ASSERT_EQ(found.result, ElementSearch::Found) << c.page;
    EXPECT_EQ(found.row->editor, c.editor) << c.page;
    EXPECT_EQ(found.element.kind, c.kind) << c.page;
    EXPECT_TRUE(found.element.editMode) << c.page;
  }
}

TEST(ElementTable, TextThatIsNoKnownStartTagCannotBeEdited) {
  for (const char* page : {"<TABLE></TA|BLE>", "<B>fe|d</B>", "ingen k|ode", "<IMG SRC=a.gif| uden slut",
                           "<!-- |<IMG SRC=a.gif> -->", "|<IMG SRC=a.gif>"}) {
    EXPECT_EQ(edit(page).result, ElementSearch::NoElement) << page;
  }
}

// The attributes of the element found, of the type its row gives.
template <typename T>
T attributes(const ElementToEdit& found) {
  const T* a = found.element.as<T>();
  EXPECT_NE(a, nullptr);
  return a ? *a : T{};
}

TEST(ElementTable, AttributeValuesFillTheFieldsOfTheirNamesWithUnitsSplitOff) {
  auto img = attributes<morvel::PictureAttributes>(edit("<img src=pic.gif width=50%|>"));
  EXPECT_EQ(img.src, "pic.gif");
  EXPECT_EQ(img.width, (Length{"50", true}));
  EXPECT_EQ(img.height, Length{});  // no height: no unit

  const ElementToEdit quoted = edit("<IMG SRC=\"a b.gif\" HEIGHT=\"20\" ALT=\"Et billede\"|>");
  img = attributes<morvel::PictureAttributes>(quoted);
  EXPECT_EQ(img.src, "a b.gif");
  EXPECT_EQ(img.height, (Length{"20", false}));
  EXPECT_EQ(img.alt, "Et billede");
  EXPECT_EQ(quoted.element.keptAttributes, "");

  const auto hr = attributes<morvel::LineAttributes>(edit("<HR SIZE=3 WIDTH=\"80%\" noshade|>"));
  EXPECT_EQ(hr.size, "3");
  EXPECT_EQ(hr.width, (Length{"80", true}));
  EXPECT_TRUE(hr.noShade);
  EXPECT_FALSE(attributes<morvel::LineAttributes>(edit("<HR SIZE=3|>")).noShade);

  const auto td = attributes<morvel::TableCellAttributes>(edit("<TD WIDTH=\"40%\" HEIGHT=30|>"));
  EXPECT_EQ(td.width, (Length{"40", true}));
  EXPECT_EQ(td.height, (Length{"30", false}));
  const auto tr = attributes<morvel::TableRowAttributes>(edit("<TR VALIGN=top|>"));
  EXPECT_EQ(tr.valign, "top");

  const auto table = attributes<morvel::TableAttributes>(edit("<TABLE BORDER=1 WIDTH=\"100%\"|>"));
  EXPECT_EQ(table.width, (Length{"100", true}));
  EXPECT_EQ(table.border, "1");
  EXPECT_EQ(table.height, Length{});

  const auto list = attributes<morvel::ListAttributes>(edit("<ol type=A|>"));
  EXPECT_TRUE(list.numbered);
  EXPECT_EQ(list.type, "A");
  EXPECT_FALSE(attributes<morvel::ListAttributes>(edit("<UL|>")).numbered);
  EXPECT_TRUE(attributes<morvel::FrameAttributes>(edit("<FRAME SRC=a.htm NORESIZE|>")).noResize);
  EXPECT_EQ(attributes<morvel::BodyAttributes>(edit("<BODY BGCOLOR=\"#FFFFFF\"|>")).bgcolor, "#FFFFFF");
  const auto frames = attributes<morvel::FrameSetAttributes>(edit("<FRAMESET ROWS=\"*,*\" BORDER=2|>"));
  EXPECT_EQ(frames.rows, "*,*");
  EXPECT_EQ(frames.border, "2");
  EXPECT_EQ(attributes<morvel::SoundAttributes>(edit("<bgsound src=x.mid|>")).src, "x.mid");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(edit("<Title|>Side</TITLE>").element.attributes));
}

TEST(ElementTable, FormElementsFillTheFieldsOfTheirKind) {
  const auto form = attributes<morvel::FormAttributes>(edit("<FORM NAME=f METHOD=post ACTION=\"/s\" ENCTYPE=x|>"));
  EXPECT_EQ(form.name, "f");
  EXPECT_EQ(form.method, "post");
  EXPECT_EQ(form.action, "/s");
  EXPECT_EQ(form.enctype, "x");
  const auto input = attributes<morvel::FormAttributes>(edit("<INPUT TYPE=text NAME=a VALUE=b SIZE=4 MAXLENGTH=9|>"));
  EXPECT_EQ(input.type, "text");
  EXPECT_EQ(input.value, "b");
  EXPECT_EQ(input.size, "4");
  EXPECT_EQ(input.maxLength, "9");
  const auto box = attributes<morvel::FormAttributes>(edit("<TEXTAREA NAME=t ROWS=3 COLS=40|>"));
  EXPECT_EQ(box.rows, "3");
  EXPECT_EQ(box.cols, "40");
  EXPECT_EQ(attributes<morvel::FormAttributes>(edit("<SELECT NAME=s SIZE=2|>")).size, "2");
}

TEST(ElementTable, NamesMatchOnlyWithTheirLeadingBlank) {
  // FONTSIZE= ends in SIZE= but is not SIZE.
  const ElementToEdit hr = edit("<HR FONTSIZE=9 SIZE=2|>");
  EXPECT_EQ(attributes<morvel::LineAttributes>(hr).size, "2");
  EXPECT_EQ(hr.element.keptAttributes, " FONTSIZE=9");
}

TEST(ElementTable, UnknownAttributesAreKeptWithTheirBlanksOnlyWhenAskedTo) {
  const std::string link = "<A HREF=\"x.htm\" onMouseOver=\"f()\"|>tekst</A>";
  EXPECT_EQ(edit(link).element.keptAttributes, " onMouseOver=\"f()\"");
  EXPECT_EQ(edit(link, false).element.keptAttributes, "");
  EXPECT_EQ(edit("<A class=ny HREF=x.htm id=\"a\"|>x</A>").element.keptAttributes, " class=ny id=\"a\"");
}

TEST(ElementTable, AQuotedValueWithoutItsClosingQuoteRunsToTheTagsEnd) {
  const ElementToEdit img = edit("<IMG ALT=\"ingen slut|>");
  EXPECT_EQ(img.result, ElementSearch::Found);
  EXPECT_EQ(attributes<morvel::PictureAttributes>(img).alt, "ingen slut");
}

TEST(ElementTable, ALinkIsReplacedWholeWithItsText) {
  const ElementToEdit found = edit("<P><a href=side.htm target=_top|>Næste\r\nside</a></P>");
  EXPECT_EQ(found.element.kind, ElementKind::Plain);
  const auto link = attributes<morvel::LinkAttributes>(found);
  EXPECT_EQ(link.href, "side.htm");
  EXPECT_EQ(link.target, "_top");
  EXPECT_EQ(link.text, "Næste\r\nside");
  EXPECT_EQ(replaced("<P><a href=side.htm target=_top|>Næste\r\nside</a></P>"),
            "<a href=side.htm target=_top>Næste\r\nside</a>");
  // The caret may stand in the link's text.
  EXPECT_EQ(replaced("<A NAME=top>Her |er</A>"), "<A NAME=top>Her er</A>");
  // An anchor without an end code: only the start tag.
  EXPECT_EQ(replaced("<A NAME=top|>Her"), "<A NAME=top>");
}

TEST(ElementTable, OnlyAMailtoAddressMakesAnEmailLink) {
  EXPECT_EQ(edit("<A HREF=\"MailTo:a@b.dk\"|>a</A>").element.kind, ElementKind::Email);
  EXPECT_EQ(edit("<A HREF=\"side.htm\" TITLE=\"skriv mailto\"|>a</A>").element.kind, ElementKind::Plain);
}

TEST(ElementTable, AScriptIsReplacedWholeWithItsCode) {
  const ElementToEdit script = edit("<SCRIPT LANGUAGE=\"JavaScript\"|>\r\nf();\r\n</script>");
  EXPECT_EQ(attributes<morvel::ScriptAttributes>(script).language, "JavaScript");
  EXPECT_EQ(attributes<morvel::ScriptAttributes>(script).content, "\r\nf();\r\n");
  EXPECT_EQ(script.replaceEnd, std::string("<SCRIPT LANGUAGE=\"JavaScript\">\r\nf();\r\n</script>").size());
}

TEST(ElementTable, AFontCodeNeedsItsEndCode) {
  EXPECT_EQ(edit("<FONT SIZE=2|>tekst").result, ElementSearch::FontWithoutEnd);
  const ElementToEdit font = edit("x\r\n<FONT FACE=\"Arial\"|><FONT SIZE=1>a</FONT>b</FONT>");
  ASSERT_EQ(font.result, ElementSearch::Found);
  const auto attributesOfFont = attributes<morvel::FontAttributes>(font);
  EXPECT_EQ(attributesOfFont.face, "Arial");
  // The outer end code, by its offsets in the page.
  EXPECT_EQ(attributesOfFont.endTag, 44u);
  EXPECT_EQ(attributesOfFont.endTagEnd, 51u);
  EXPECT_EQ(replaced("<FONT SIZE=2>a|b</FONT>"), "<FONT SIZE=2>");
}

TEST(ElementTable, ATagOverSeveralLinesIsOneElement) {
  const ElementToEdit img = edit("<IMG\r\nSRC=a.gif\r\n WIDTH=1|0>");
  EXPECT_EQ(img.result, ElementSearch::Found);
  EXPECT_EQ(attributes<morvel::PictureAttributes>(img).width.value, "10");
}

}  // namespace
