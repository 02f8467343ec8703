// The tables the table dialog builds, the start tags of edited tables,
// cells and rows, and the fields those dialogs read back from a tag the
// edit-element command took apart. Texts are Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"
#include "markup/color_codes.h"

#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The alignment lists in the order the dialogs show them: "Venstrestillet",
// "Centreret", "Højrestillet", and "Top", "Midten", "Bund".
enum class HorizontalAlign { Left, Centre, Right };
enum class VerticalAlign { Top, Middle, Bottom };

// The text flow list "Ingen", "Højre om", "Venstre om": text that flows
// round the right of a table is a table aligned left.
enum class TableFlow { None, TextOnTheRight, TextOnTheLeft };

// A width or height that is written only when its check box is on.
struct SizeField {
  bool on = false;
  int value = 100;
  bool percent = true;
  bool operator==(const SizeField&) const = default;
};

struct TableFields {
  std::string title;
  SizeField width;
  SizeField height;
  int rows = 2;
  int columns = 2;
  int spacing = 2;
  int padding = 1;
  HorizontalAlign rowAlign = HorizontalAlign::Left;
  VerticalAlign rowVAlign = VerticalAlign::Middle;
  int border = 0;
  bool colourOn = false;
  ColorValue colour = 0xFFFFFF;
  TableFlow flow = TableFlow::None;
  // An ALIGN of an edited table that the flow list has no entry for
  // ("CENTER"); written back as it was while the flow stays "Ingen".
  std::string otherAlign;
};

// The cell texts by row, then column, from 0: cells[r][c] is the text of
// grid column c + 1 and row r + 1. Missing cells are empty.
using TableCells = std::vector<std::vector<std::string>>;

// <TABLE WIDTH HEIGHT BORDER BGCOLOR ALIGN CELLSPACING CELLPADDING kept>:
// BORDER always, CELLSPACING unless 2, CELLPADDING unless 1.
std::string tableStartTag(const TableFields& table, std::string_view keptAttributes);

// The whole table: the start tag, a CAPTION line for a title, one TR per
// row with one tab-indented TD line per column, "</TABLE>" and a line break.
std::string tableCode(const TableFields& table, const TableCells& cells, std::string_view keptAttributes);

// The fields of an edited table. What the tag does not set keeps its value
// from `current` (the dialog is kept between uses), except the spacing and
// padding, which fall back to 2 and 1.
TableFields tableFields(const TableAttributes& table, TableFields current);

// What "Nulstil" leaves: an empty 2 x 2 table, 100 % wide, no border, no
// colour, spacing and padding 0, centred rows; the size boxes stay.
TableFields resetTableFields(const TableFields& current);

// The grid cell Enter in the cell text moves on to: down the column, from
// its last row to the top of the next column, from the last cell to the
// first. Columns and rows count from 1.
struct GridCell {
  int column = 1;
  int row = 1;
  bool operator==(const GridCell&) const = default;
};
GridCell nextGridCell(GridCell at, int columns, int rows);

// The cell dialog's fields; a row uses only the two alignments.
struct CellFields {
  VerticalAlign valign = VerticalAlign::Middle;
  HorizontalAlign align = HorizontalAlign::Left;
  int rowSpan = 1;
  int columnSpan = 1;
  SizeField width{false, 25, true};
  SizeField height{false, 5, true};
  bool colourOn = false;
  ColorValue colour = 0xFFFFFF;
};

CellFields cellFields(const TableCellAttributes& cell);
CellFields rowFields(const TableRowAttributes& row);

// <TD VALIGN ALIGN ROWSPAN COLSPAN WIDTH HEIGHT BGCOLOR kept>: the spans
// only above 1, the sizes and the colour only when their boxes are on.
std::string cellStartTag(const CellFields& cell, std::string_view keptAttributes);
// <TR VALIGN ALIGN kept>.
std::string rowStartTag(const CellFields& row, std::string_view keptAttributes);

}  // namespace morvel
