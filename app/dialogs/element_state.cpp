#include "dialogs/element_state.h"

#include "markup/ascii_case.h"
#include "markup/markup_text.h"
#include "markup/text_position.h"

#include <algorithm>

namespace morvel {

void ElementEditState::reset() {
  editMode = false;
  for (std::size_t s = 0; s + 1 < kElementSlots; ++s) slotValues[s].clear();
  keptAttributes.clear();
}

ElementEditState& elementEditState() {
  static ElementEditState state;
  return state;
}

namespace {

using E = ElementEditor;
namespace k = element_kind;

constexpr ElementRow kRows[] = {
    {"<FONT", k::kPlain, E::Font, {" FACE=", " COLOR=", " SIZE="}},
    {"<HR", k::kPlain, E::Line, {" SIZE=", " ALIGN=", " WIDTH="}},
    {"<IMG",
     k::kPlain,
     E::Picture,
     {" SRC=", " ALIGN=", " WIDTH=", " HEIGHT=", " BORDER=", " VSPACE=", " HSPACE=", " ALT="}},
    {"<A", k::kPlain, E::Link, {" HREF=", " TARGET=", " NAME="}},
    {"<EMBED", k::kSound, E::TextDialog, {" SRC="}},
    {"<FRAMESET", k::kFrameSet, E::TextDialog, {" ROWS=", " COLS=", " FRAMESPACING=", " FRAMEBORDER=", " BORDER="}},
    {"<FRAME", k::kPlain, E::Frame, {" NAME=", " SRC=", " MARGINHEIGHT=", " MARGINWIDTH=", " SCROLLING"}},
    {"<BODY", k::kPlain, E::Base, {" TEXT=", " LINK=", " VLINK=", " ALINK=", " BGCOLOR=", " BACKGROUND="}},
    {"<TD",
     k::kTableCell,
     E::TableCell,
     {" VALIGN=", " ALIGN=", " ROWSPAN=", " COLSPAN=", " WIDTH=", " HEIGHT=", " BGCOLOR="}},
    {"<TR", k::kPlain, E::TableCell, {" VALIGN=", " ALIGN="}},
    {"<TABLE",
     k::kPlain,
     E::Table,
     {" WIDTH=", " BORDER=", " BGCOLOR=", " ALIGN=", " CELLSPACING=", " CELLPADDING=", " HEIGHT="}},
    {"<UL", k::kPlain, E::List, {" TYPE="}},
    {"<OL", k::kPlain, E::List, {" TYPE="}},
    {"<BGSOUND", k::kBackgroundSound, E::TextDialog, {" SRC="}},
    {"<TITLE", k::kTitle, E::TitleRename, {}},
    {"<FORM", k::kForm, E::Form, {" NAME", " METHOD", " ACTION", " ENCTYPE"}},
    {"<INPUT", k::kInput, E::Form, {" NAME", " TYPE", " VALUE", " SIZE", " MAXLENGTH"}},
    {"<TEXTAREA", k::kTextArea, E::Form, {" NAME", " ROWS", " COLS"}},
    {"<SELECT", k::kSelect, E::Form, {" NAME", " SIZE"}},
    {"<SCRIPT", k::kPlain, E::Script, {" LANGUAGE="}},
};

const ElementRow* rowOf(std::string_view tag) {
  for (const ElementRow& row : kRows) {
    if (startsWithIgnoringCase(tag, row.prefix)) return &row;
  }
  return nullptr;
}

// An element with content (a link, a script) is replaced whole: from its
// start tag to the end of its end code. Without an end code only the start
// tag is replaced and the content stays empty.
void takeContent(ElementToEdit& found, std::string_view page, std::string_view endCode, std::size_t slot) {
  const std::size_t end = findIgnoringCase(page, endCode, found.tagEnd);
  if (end == std::string_view::npos) return;
  found.slotValues[slot] = std::string(page.substr(found.tagEnd, end - found.tagEnd));
  found.replaceEnd = end + endCode.size();
}

bool isMailto(std::string_view href) { return startsWithIgnoringCase(href, "mailto:"); }

// The work each row needs beyond its attributes; false when the element
// cannot be edited after all.
bool prepare(ElementToEdit& found, std::string_view page, std::string_view tag, std::string_view rest) {
  ElementSlots& s = found.slotValues;
  switch (found.row->editor) {
    case E::Font: {
      const std::optional<std::size_t> end = matchingFontEnd(page, found.tagBegin);
      if (!end) return false;
      const TextPosition at = positionAt(page, *end);
      s[8] = std::to_string(at.column);
      s[9] = std::to_string(at.column + 7);
      s[10] = std::to_string(at.line);
      return true;
    }
    case E::Line:
      if (!s[3].empty()) splitUnit(s, 3, 0);
      if (upperAsciiCopy(tag).find("NOSHADE") != std::string::npos) s[4] = "NOSHADE";
      return true;
    case E::Picture:
      if (!s[3].empty()) splitUnit(s, 3, 0);
      if (!s[4].empty()) splitUnit(s, 4, 9);
      return true;
    case E::Link:
      // Only an address that is a mailto address makes an e-mail link: the
      // e-mail dialog rebuilds the address as "mailto:" + what follows.
      if (isMailto(s[1])) found.kind = element_kind::kEmail;
      takeContent(found, page, "</A>", 4);
      return true;
    case E::Frame:
      if (rest.find("NORESIZE") != std::string_view::npos) s[6] = "NORESIZE";
      return true;
    case E::TableCell:
      if (found.row->kind == element_kind::kTableCell) {
        splitUnit(s, 5, 8);
        splitUnit(s, 6, 9);
      }
      return true;
    case E::Table:
      splitUnit(s, 1, 0);
      splitUnit(s, 7, 10);
      return true;
    case E::List:
      s[2] = std::string(found.row->prefix);
      return true;
    case E::Script:
      takeContent(found, page, "</SCRIPT>", 2);
      return true;
    default:
      return true;
  }
}

}  // namespace

std::span<const ElementRow> elementTable() { return kRows; }

AttributeValue attributeValueAt(std::string_view tag, std::size_t nameStart) {
  AttributeValue result;
  const std::string_view rest = tag.substr(std::min(nameStart, tag.size()));
  const std::size_t equals = rest.find('=');
  if (equals == std::string_view::npos) {
    // A name without a value ("SCROLLING", "SELECTED"): only the name goes.
    std::size_t end = rest.find_first_of(" >");
    if (end == std::string_view::npos) end = rest.size();
    result.extentEnd = nameStart + end;
    return result;
  }
  const std::size_t valueStart = equals + 1;
  if (valueStart < rest.size() && rest[valueStart] == '"') {
    const std::size_t close = rest.find('"', valueStart + 1);
    if (close != std::string_view::npos) {
      result.value = std::string(rest.substr(valueStart + 1, close - valueStart - 1));
      // The character after the closing quote (a blank, or the ">") goes
      // with it, as an unquoted value's end does.
      result.extentEnd = nameStart + std::min(close + 2, rest.size());
      return result;
    }
    // No closing quote: the value runs to the tag's end, leaving its ">".
    std::size_t end = rest.size();
    if (end > valueStart + 1 && rest[end - 1] == '>') --end;
    result.value = std::string(rest.substr(valueStart + 1, end - valueStart - 1));
    result.extentEnd = nameStart + end;
    return result;
  }
  std::size_t end = rest.find(' ');
  if (end == std::string_view::npos) end = rest.find('>');
  if (end == std::string_view::npos || end < valueStart) end = std::max(valueStart, std::min(end, rest.size()));
  result.value = std::string(rest.substr(valueStart, end - valueStart));
  result.extentEnd = nameStart + std::min(end + 1, rest.size());
  return result;
}

void splitUnit(ElementSlots& slotValues, std::size_t valueSlot, std::size_t unitSlot) {
  std::string& value = slotValues[valueSlot];
  const bool percent = value.find('%') != std::string::npos;
  if (percent) value.pop_back();
  slotValues[unitSlot] = std::string(percent ? "%" : "-1");
}

std::optional<ParsedTag> parseStartTag(std::string_view tag) {
  ParsedTag parsed;
  parsed.row = rowOf(tag);
  if (!parsed.row) return std::nullopt;
  std::string text(tag.substr(parsed.row->prefix.size()));
  for (std::size_t n = 0; n < parsed.row->names.size(); ++n) {
    const std::string_view name = parsed.row->names[n];
    if (name.empty()) break;
    const std::size_t at = upperAsciiCopy(text).find(name);
    if (at == std::string::npos) continue;
    // The blank in front of the name stays and keeps the rest apart.
    const AttributeValue value = attributeValueAt(text, at + 1);
    parsed.slotValues[n + 1] = value.value;
    text.erase(at + 1, value.extentEnd - (at + 1));
  }
  if (!text.empty()) text.pop_back();
  parsed.rest = std::move(text);
  return parsed;
}

ElementToEdit findElementToEdit(std::string_view page, std::size_t caret, bool keepUnknownAttributes) {
  ElementToEdit found;
  caret = std::min(caret, page.size());
  const std::size_t open = page.substr(0, caret).rfind('<');
  if (open == std::string_view::npos) return found;
  const std::size_t close = page.find('>', open);
  if (close == std::string_view::npos) return found;
  const std::string_view tag = page.substr(open, close + 1 - open);
  std::optional<ParsedTag> parsed = parseStartTag(tag);
  if (!parsed) return found;
  found.row = parsed->row;
  found.kind = parsed->row->kind;
  found.slotValues = std::move(parsed->slotValues);
  if (keepUnknownAttributes) found.keptAttributes = parsed->rest;
  found.tagBegin = open;
  found.tagEnd = close + 1;
  found.replaceBegin = open;
  found.replaceEnd = close + 1;
  found.result = prepare(found, page, tag, parsed->rest) ? ElementSearch::Found : ElementSearch::FontWithoutEnd;
  return found;
}

}  // namespace morvel
