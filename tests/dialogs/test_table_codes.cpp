// The tables, cells and rows the table dialogs build, and the fields they
// read back from tags the edit-element command took apart.
#include "dialogs/table_codes.h"

#include <gtest/gtest.h>

namespace {

using morvel::CellFields;
using morvel::GridCell;
using morvel::HorizontalAlign;
using morvel::TableFields;
using morvel::TableFlow;
using morvel::VerticalAlign;

TEST(TableCode, TheDefaultTableByteForByte) {
  EXPECT_EQ(morvel::tableCode(TableFields{}, {}, ""),
            "<TABLE BORDER=\"0\">\r\n"
            "<TR>\r\n\t<TD></TD>\r\n\t<TD></TD>\r\n</TR>\r\n"
            "<TR>\r\n\t<TD></TD>\r\n\t<TD></TD>\r\n</TR>\r\n"
            "</TABLE>\r\n");
}

TEST(TableCode, OneCellWithATitleAndEveryAttribute) {
  TableFields t;
  t.rows = 1;
  t.columns = 1;
  EXPECT_EQ(morvel::tableCode(t, {{"x"}}, ""), "<TABLE BORDER=\"0\">\r\n<TR>\r\n\t<TD>x</TD>\r\n</TR>\r\n</TABLE>\r\n");

  t.title = "Priser";
  t.width = {true, 80, true};
  t.height = {true, 300, false};
  t.border = 2;
  t.colourOn = true;
  t.colour = morvel::colorFromRgb(0x33, 0x66, 0x99);
  t.flow = TableFlow::TextOnTheRight;
  t.spacing = 0;
  t.padding = 4;
  t.rowAlign = HorizontalAlign::Right;
  t.rowVAlign = VerticalAlign::Bottom;
  EXPECT_EQ(morvel::tableCode(t, {{"a"}}, " ID=\"t\""),
            "<TABLE WIDTH=\"80%\" HEIGHT=\"300\" BORDER=\"2\" BGCOLOR=\"#336699\" ALIGN=\"LEFT\" CELLSPACING=\"0\" "
            "CELLPADDING=\"4\" ID=\"t\">\r\n\t<CAPTION>Priser</CAPTION>\r\n"
            "<TR ALIGN=\"RIGHT\" VALIGN=\"BOTTOM\">\r\n\t<TD>a</TD>\r\n</TR>\r\n</TABLE>\r\n");
}

TEST(TableCode, SpacingTwoAndPaddingOneAreLeftOutOtherValuesWritten) {
  TableFields t;
  EXPECT_EQ(morvel::tableStartTag(t, ""), "<TABLE BORDER=\"0\">");
  t.spacing = 0;
  t.padding = 1;
  EXPECT_EQ(morvel::tableStartTag(t, ""), "<TABLE BORDER=\"0\" CELLSPACING=\"0\">");
  t.spacing = 2;
  t.padding = 0;
  EXPECT_EQ(morvel::tableStartTag(t, ""), "<TABLE BORDER=\"0\" CELLPADDING=\"0\">");
  t.colourOn = true;
  t.flow = TableFlow::TextOnTheLeft;
  EXPECT_EQ(morvel::tableStartTag(t, ""), "<TABLE BORDER=\"0\" BGCOLOR=\"White\" ALIGN=\"RIGHT\" CELLPADDING=\"0\">");
}

TEST(TableCode, CellsTheGridLacksAreEmptyAndCellsBeyondTheCountsAreLeftOut) {
  TableFields t;
  t.rows = 2;
  t.columns = 3;
  const morvel::TableCells cells{{"a", "b", "c", "ikke"}, {"d"}, {"heller ikke"}};
  EXPECT_EQ(morvel::tableCode(t, cells, ""),
            "<TABLE BORDER=\"0\">\r\n"
            "<TR>\r\n\t<TD>a</TD>\r\n\t<TD>b</TD>\r\n\t<TD>c</TD>\r\n</TR>\r\n"
            "<TR>\r\n\t<TD>d</TD>\r\n\t<TD></TD>\r\n\t<TD></TD>\r\n</TR>\r\n</TABLE>\r\n");
}

TEST(TableFieldsOfATag, AnEditedTableShowsItsValuesAndIsWrittenBackInUpperCase) {
  TableFields kept;
  kept.border = 7;
  kept.spacing = 9;
  kept.title = "bliver";
  // <table width="80%" border=1 align=left>
  morvel::TableAttributes a;
  a.width = {"80", true};
  a.border = "1";
  a.align = "left";
  TableFields t = morvel::tableFields(a, kept);
  EXPECT_EQ(t.width, (morvel::SizeField{true, 80, true}));
  EXPECT_FALSE(t.height.on);
  EXPECT_TRUE(t.height.percent);  // no height: the box says "%"
  EXPECT_EQ(t.border, 1);
  EXPECT_EQ(t.spacing, 2);  // not in the tag: the plain table's
  EXPECT_EQ(t.padding, 1);
  EXPECT_EQ(t.title, "bliver");
  // "left" in any case is the flow "Højre om": it is not lost on OK.
  EXPECT_EQ(t.flow, TableFlow::TextOnTheRight);
  EXPECT_EQ(morvel::tableStartTag(t, ""), "<TABLE WIDTH=\"80%\" BORDER=\"1\" ALIGN=\"LEFT\">");

  a = {};
  a.width = {"600", false};
  a.height = {"250", false};
  a.bgcolor = "#ffcc00";
  a.align = "center";
  a.cellspacing = "0";
  a.cellpadding = "x";
  a.border = "tyk";
  t = morvel::tableFields(a, kept);
  EXPECT_EQ(t.width, (morvel::SizeField{true, 600, false}));
  // A pixel height above 100 stays as it is.
  EXPECT_EQ(t.height, (morvel::SizeField{true, 250, false}));
  EXPECT_TRUE(t.colourOn);
  EXPECT_EQ(t.colour, morvel::colorFromRgb(0xFF, 0xCC, 0x00));
  EXPECT_EQ(t.border, 7);  // not a number: the dialog's value stays
  EXPECT_EQ(t.flow, TableFlow::None);
  EXPECT_EQ(morvel::tableStartTag(t, " CLASS=k"),
            "<TABLE WIDTH=\"600\" HEIGHT=\"250\" BORDER=\"7\" BGCOLOR=\"#FFCC00\" ALIGN=\"center\" "
            "CELLSPACING=\"0\" CLASS=k>");
  // Choosing a flow replaces an alignment the list does not know.
  t.flow = TableFlow::TextOnTheLeft;
  EXPECT_EQ(morvel::tableStartTag(t, ""),
            "<TABLE WIDTH=\"600\" HEIGHT=\"250\" BORDER=\"7\" BGCOLOR=\"#FFCC00\" ALIGN=\"RIGHT\" CELLSPACING=\"0\">");

  // A width that is not a whole number is not included; its unit decides
  // the box.
  a = {};
  a.width = {"50em", false};
  t = morvel::tableFields(a, kept);
  EXPECT_FALSE(t.width.on);
  EXPECT_FALSE(t.width.percent);
  EXPECT_FALSE(t.colourOn);
}

TEST(TableFieldsOfATag, ResetEmptiesTheTableButKeepsTheSizeBoxes) {
  TableFields t;
  t.title = "x";
  t.width = {true, 40, false};
  t.height = {true, 20, true};
  t.rows = 5;
  t.border = 3;
  t.colourOn = true;
  t.colour = 0x123456;
  t.flow = TableFlow::TextOnTheLeft;
  const TableFields r = morvel::resetTableFields(t);
  EXPECT_EQ(r.title, "");
  EXPECT_EQ(r.width, (morvel::SizeField{true, 100, true}));
  EXPECT_EQ(r.height, t.height);
  EXPECT_EQ(r.rows, 2);
  EXPECT_EQ(r.columns, 2);
  EXPECT_EQ(r.border, 0);
  EXPECT_FALSE(r.colourOn);
  EXPECT_EQ(r.colour, 0xFFFFFFu);
  EXPECT_EQ(r.spacing, 0);
  EXPECT_EQ(r.padding, 0);
  EXPECT_EQ(r.flow, TableFlow::None);
  EXPECT_EQ(r.rowAlign, HorizontalAlign::Centre);
  EXPECT_EQ(r.rowVAlign, VerticalAlign::Middle);
}

TEST(GridNavigation, EnterGoesDownTheColumnThenToTheNextAndFromTheLastCellToTheFirst) {
  EXPECT_EQ(morvel::nextGridCell({1, 1}, 2, 3), (GridCell{1, 2}));
  EXPECT_EQ(morvel::nextGridCell({1, 3}, 2, 3), (GridCell{2, 1}));
  EXPECT_EQ(morvel::nextGridCell({2, 3}, 2, 3), (GridCell{1, 1}));
  EXPECT_EQ(morvel::nextGridCell({1, 1}, 1, 1), (GridCell{1, 1}));
}

TEST(CellCode, ACellWritesOnlyWhatDiffersFromAPlainCell) {
  CellFields c;
  EXPECT_EQ(morvel::cellStartTag(c, ""), "<TD>");
  c.valign = VerticalAlign::Top;
  c.align = HorizontalAlign::Centre;
  c.rowSpan = 3;
  c.columnSpan = 2;
  c.width = {true, 25, true};
  c.height = {true, 40, false};
  c.colourOn = true;
  c.colour = morvel::colorFromRgb(0, 0x80, 0);
  EXPECT_EQ(morvel::cellStartTag(c, " NOWRAP"),
            "<TD VALIGN=\"TOP\" ALIGN=\"CENTER\" ROWSPAN=\"3\" COLSPAN=\"2\" WIDTH=\"25%\" HEIGHT=\"40\" "
            "BGCOLOR=\"Green\" NOWRAP>");
  EXPECT_EQ(morvel::rowStartTag(c, " ID=\"r\""), "<TR VALIGN=\"TOP\" ALIGN=\"CENTER\" ID=\"r\">");
}

TEST(CellCode, AnEditedCellOrRowShowsItsValues) {
  // <TD colspan=2>: a span of 2 comes back, one of 1 is dropped.
  morvel::TableCellAttributes a;
  a.colspan = "2";
  a.rowspan = "1";
  CellFields c = morvel::cellFields(a);
  EXPECT_EQ(c.columnSpan, 2);
  EXPECT_EQ(morvel::cellStartTag(c, ""), "<TD COLSPAN=\"2\">");

  a = {};
  a.valign = "bottom";
  a.align = "Right";
  a.width = {"120", false};
  a.height = {"10", true};
  a.bgcolor = "red";
  c = morvel::cellFields(a);
  EXPECT_EQ(c.valign, VerticalAlign::Bottom);
  EXPECT_EQ(c.align, HorizontalAlign::Right);
  EXPECT_EQ(c.width, (morvel::SizeField{true, 120, false}));
  EXPECT_EQ(c.height, (morvel::SizeField{true, 10, true}));
  EXPECT_TRUE(c.colourOn);
  EXPECT_EQ(morvel::cellStartTag(c, ""),
            "<TD VALIGN=\"BOTTOM\" ALIGN=\"RIGHT\" WIDTH=\"120\" HEIGHT=\"10%\" BGCOLOR=\"Red\">");

  // What is not a number leaves the box off at the dialog's start value.
  a = {};
  a.width = {"*", false};
  a.rowspan = "to";
  c = morvel::cellFields(a);
  EXPECT_EQ(c.width, (morvel::SizeField{false, 25, true}));
  EXPECT_EQ(c.rowSpan, 1);

  const CellFields row = morvel::rowFields({"middle", "center"});
  EXPECT_EQ(morvel::rowStartTag(row, ""), "<TR ALIGN=\"CENTER\">");
}

}  // namespace
