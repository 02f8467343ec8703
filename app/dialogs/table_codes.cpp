#include "dialogs/table_codes.h"

#include "ascii.h"

namespace morvel {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

std::string numberAttribute(std::string_view name, int value, bool percent = false) {
  return " " + std::string(name) + "=\"" + std::to_string(value) + (percent ? "%" : "") + "\"";
}

std::string sizePart(std::string_view name, const SizeField& size) {
  return size.on ? numberAttribute(name, size.value, size.percent) : std::string();
}

std::string colourPart(bool on, ColorValue colour) { return on ? " BGCOLOR=\"" + colorCode(colour) + "\"" : ""; }

std::string alignPart(HorizontalAlign align) {
  switch (align) {
    case HorizontalAlign::Centre:
      return " ALIGN=\"CENTER\"";
    case HorizontalAlign::Right:
      return " ALIGN=\"RIGHT\"";
    case HorizontalAlign::Left:
      break;
  }
  return {};
}

std::string valignPart(VerticalAlign align) {
  switch (align) {
    case VerticalAlign::Top:
      return " VALIGN=\"TOP\"";
    case VerticalAlign::Bottom:
      return " VALIGN=\"BOTTOM\"";
    case VerticalAlign::Middle:
      break;
  }
  return {};
}

std::string flowPart(const TableFields& table) {
  switch (table.flow) {
    case TableFlow::TextOnTheRight:
      return " ALIGN=\"LEFT\"";
    case TableFlow::TextOnTheLeft:
      return " ALIGN=\"RIGHT\"";
    case TableFlow::None:
      break;
  }
  return table.otherAlign.empty() ? std::string() : " ALIGN=\"" + table.otherAlign + "\"";
}

HorizontalAlign horizontalAlignOf(std::string_view value) {
  const std::string upper = ascii::upperCopy(value);
  if (upper == "CENTER") return HorizontalAlign::Centre;
  if (upper == "RIGHT") return HorizontalAlign::Right;
  return HorizontalAlign::Left;
}

VerticalAlign verticalAlignOf(std::string_view value) {
  const std::string upper = ascii::upperCopy(value);
  if (upper == "TOP") return VerticalAlign::Top;
  if (upper == "BOTTOM") return VerticalAlign::Bottom;
  return VerticalAlign::Middle;
}

// A size of an edited table or cell: on with its number when it is a whole
// number; otherwise the box is off and the value stays.
SizeField sizeOf(const Length& length, SizeField current) {
  current.on = false;
  if (const std::optional<int> n = wholeNumber(length.value)) {
    current.on = true;
    current.value = *n;
    current.percent = length.percent;
  }
  return current;
}

void takeColour(std::string_view code, bool& on, ColorValue& colour) {
  on = !code.empty();
  if (const std::optional<ColorValue> c = colorFromCode(code)) colour = *c;
}

}  // namespace

std::string tableStartTag(const TableFields& table, std::string_view keptAttributes) {
  std::string tag = "<TABLE";
  tag += sizePart("WIDTH", table.width);
  tag += sizePart("HEIGHT", table.height);
  tag += numberAttribute("BORDER", table.border);
  tag += colourPart(table.colourOn, table.colour);
  tag += flowPart(table);
  if (table.spacing != 2) tag += numberAttribute("CELLSPACING", table.spacing);
  if (table.padding != 1) tag += numberAttribute("CELLPADDING", table.padding);
  tag += keptAttributes;
  tag += ">";
  return tag;
}

std::string tableCode(const TableFields& table, const TableCells& cells, std::string_view keptAttributes) {
  std::string code = tableStartTag(table, keptAttributes);
  if (!table.title.empty()) code.append(kLineBreak).append("\t<CAPTION>").append(table.title).append("</CAPTION>");
  const std::string rowTag = "<TR" + alignPart(table.rowAlign) + valignPart(table.rowVAlign) + ">";
  for (int r = 0; r < table.rows; ++r) {
    code.append(kLineBreak).append(rowTag);
    for (int c = 0; c < table.columns; ++c) {
      const bool known = r < static_cast<int>(cells.size()) && c < static_cast<int>(cells[r].size());
      code.append(kLineBreak).append("\t<TD>").append(known ? cells[r][c] : std::string()).append("</TD>");
    }
    code.append(kLineBreak).append("</TR>");
  }
  code.append(kLineBreak).append("</TABLE>").append(kLineBreak);
  return code;
}

TableFields tableFields(const TableAttributes& a, TableFields current) {
  TableFields table = std::move(current);
  table.width = sizeOf(a.width, table.width);
  table.width.percent = a.width.percent || a.width.value.empty();
  table.height = sizeOf(a.height, table.height);
  table.height.percent = a.height.percent || a.height.value.empty();
  table.border = wholeNumber(a.border).value_or(table.border);
  takeColour(a.bgcolor, table.colourOn, table.colour);
  // Any letter case: a lower-case "left" is the same alignment, and left
  // out it would be lost on OK.
  const std::string align = ascii::upperCopy(a.align);
  table.flow = align == "LEFT"    ? TableFlow::TextOnTheRight
               : align == "RIGHT" ? TableFlow::TextOnTheLeft
                                  : TableFlow::None;
  table.otherAlign = table.flow == TableFlow::None ? a.align : std::string();
  table.spacing = wholeNumber(a.cellspacing).value_or(2);
  table.padding = wholeNumber(a.cellpadding).value_or(1);
  return table;
}

TableFields resetTableFields(const TableFields& current) {
  TableFields table;
  table.width = {current.width.on, 100, true};
  table.height = current.height;
  table.spacing = 0;
  table.padding = 0;
  table.rowAlign = HorizontalAlign::Centre;
  return table;
}

GridCell nextGridCell(GridCell at, int columns, int rows) {
  if (at.row < rows) return {at.column, at.row + 1};
  if (at.column < columns) return {at.column + 1, 1};
  return {1, 1};
}

CellFields cellFields(const TableCellAttributes& a) {
  CellFields cell = rowFields(TableRowAttributes{a.valign, a.align});
  cell.rowSpan = wholeNumber(a.rowspan).value_or(cell.rowSpan);
  cell.columnSpan = wholeNumber(a.colspan).value_or(cell.columnSpan);
  cell.width = sizeOf(a.width, cell.width);
  cell.height = sizeOf(a.height, cell.height);
  takeColour(a.bgcolor, cell.colourOn, cell.colour);
  return cell;
}

CellFields rowFields(const TableRowAttributes& a) {
  CellFields row;
  row.valign = verticalAlignOf(a.valign);
  row.align = horizontalAlignOf(a.align);
  return row;
}

std::string cellStartTag(const CellFields& cell, std::string_view keptAttributes) {
  std::string tag = "<TD" + valignPart(cell.valign) + alignPart(cell.align);
  if (cell.rowSpan > 1) tag += numberAttribute("ROWSPAN", cell.rowSpan);
  if (cell.columnSpan > 1) tag += numberAttribute("COLSPAN", cell.columnSpan);
  tag += sizePart("WIDTH", cell.width);
  tag += sizePart("HEIGHT", cell.height);
  tag += colourPart(cell.colourOn, cell.colour);
  tag += keptAttributes;
  tag += ">";
  return tag;
}

std::string rowStartTag(const CellFields& row, std::string_view keptAttributes) {
  return "<TR" + valignPart(row.valign) + alignPart(row.align) + std::string(keptAttributes) + ">";
}

}  // namespace morvel
