#include "dialogs/edited_element.h"

#include "ascii.h"
#include "markup/markup_text.h"
#include "markup/text_position.h"

#include <algorithm>

namespace morvel {

namespace {

using E = ElementEditor;
using K = ElementKind;

constexpr ElementRow kRows[] = {
    {"<FONT", K::Plain, E::Font, {" FACE=", " COLOR=", " SIZE="}},
    {"<HR", K::Plain, E::Line, {" SIZE=", " ALIGN=", " WIDTH="}},
    {"<IMG",
     K::Plain,
     E::Picture,
     {" SRC=", " ALIGN=", " WIDTH=", " HEIGHT=", " BORDER=", " VSPACE=", " HSPACE=", " ALT="}},
    {"<A", K::Plain, E::Link, {" HREF=", " TARGET=", " NAME="}},
    {"<EMBED", K::Sound, E::TextDialog, {" SRC="}},
    {"<FRAMESET", K::FrameSet, E::TextDialog, {" ROWS=", " COLS=", " FRAMESPACING=", " FRAMEBORDER=", " BORDER="}},
    {"<FRAME", K::Plain, E::Frame, {" NAME=", " SRC=", " MARGINHEIGHT=", " MARGINWIDTH=", " SCROLLING"}},
    {"<BODY", K::Plain, E::Base, {" TEXT=", " LINK=", " VLINK=", " ALINK=", " BGCOLOR=", " BACKGROUND="}},
    {"<TD",
     K::TableCell,
     E::TableCell,
     {" VALIGN=", " ALIGN=", " ROWSPAN=", " COLSPAN=", " WIDTH=", " HEIGHT=", " BGCOLOR="}},
    {"<TR", K::Plain, E::TableCell, {" VALIGN=", " ALIGN="}},
    {"<TABLE",
     K::Plain,
     E::Table,
     {" WIDTH=", " BORDER=", " BGCOLOR=", " ALIGN=", " CELLSPACING=", " CELLPADDING=", " HEIGHT="}},
    {"<UL", K::Plain, E::List, {" TYPE="}},
    {"<OL", K::Plain, E::List, {" TYPE="}},
    {"<BGSOUND", K::BackgroundSound, E::TextDialog, {" SRC="}},
    {"<TITLE", K::Title, E::TitleRename, {}},
    {"<FORM", K::Form, E::Form, {" NAME", " METHOD", " ACTION", " ENCTYPE"}},
    {"<INPUT", K::Input, E::Form, {" NAME", " TYPE", " VALUE", " SIZE", " MAXLENGTH"}},
    {"<TEXTAREA", K::TextArea, E::Form, {" NAME", " ROWS", " COLS"}},
    {"<SELECT", K::Select, E::Form, {" NAME", " SIZE"}},
    {"<SCRIPT", K::Plain, E::Script, {" LANGUAGE="}},
};

const ElementRow* rowOf(std::string_view tag) {
  for (const ElementRow& row : kRows) {
    if (ascii::startsWithIgnoringCase(tag, row.prefix)) return &row;
  }
  return nullptr;
}

// An element with content (a link, a script) is replaced whole: from its
// start tag to the end of its end code. Without an end code only the start
// tag is replaced and the content stays empty.
std::string takeContent(ElementToEdit& found, std::string_view page, std::string_view endCode) {
  const std::size_t end = ascii::findIgnoringCase(page, endCode, found.tagEnd);
  if (end == std::string_view::npos) return {};
  found.replaceEnd = end + endCode.size();
  return std::string(page.substr(found.tagEnd, end - found.tagEnd));
}

bool isMailto(std::string_view href) { return ascii::startsWithIgnoringCase(href, "mailto:"); }

// The form element's attributes by the names of its row.
FormAttributes formAttributes(ElementKind kind, const std::vector<std::string>& v) {
  FormAttributes f;
  f.name = v[0];
  switch (kind) {
    case ElementKind::Form:
      f.method = v[1];
      f.action = v[2];
      f.enctype = v[3];
      break;
    case ElementKind::TextArea:
      f.rows = v[1];
      f.cols = v[2];
      break;
    case ElementKind::Select:
      f.size = v[1];
      break;
    default:
      f.type = v[1];
      f.value = v[2];
      f.size = v[3];
      f.maxLength = v[4];
      break;
  }
  return f;
}

// The element's attributes from the values of its row's names, with what
// each row needs beyond them; false when the element cannot be edited
// after all.
bool takeAttributes(ElementToEdit& found, std::string_view page, std::string_view tag, const ParsedTag& parsed) {
  const std::vector<std::string>& v = parsed.values;
  EditedElement& element = found.element;
  switch (found.row->editor) {
    case E::Font: {
      const std::optional<std::size_t> end = matchingFontEnd(page, found.tagBegin);
      if (!end) return false;
      const TextPosition at = positionAt(page, *end);
      element.attributes = FontAttributes{v[0], v[1], v[2], at, {at.line, at.column + 7}};
      return true;
    }
    case E::Line: {
      const bool noShade = ascii::upperCopy(tag).find("NOSHADE") != std::string::npos;
      element.attributes = LineAttributes{v[0], v[1], lengthOf(v[2]), noShade};
      return true;
    }
    case E::Picture:
      element.attributes = PictureAttributes{v[0], v[1], lengthOf(v[2]), lengthOf(v[3]), v[4], v[5], v[6], v[7]};
      return true;
    case E::Link:
      // Only an address that is a mailto address makes an e-mail link: the
      // e-mail dialog rebuilds the address as "mailto:" + what follows.
      if (isMailto(v[0])) element.kind = ElementKind::Email;
      element.attributes = LinkAttributes{v[0], v[1], v[2], takeContent(found, page, "</A>")};
      return true;
    case E::TextDialog:
      if (element.kind == ElementKind::FrameSet)
        element.attributes = FrameSetAttributes{v[0], v[1], v[2], v[3], v[4]};
      else
        element.attributes = SoundAttributes{v[0]};
      return true;
    case E::Frame:
      element.attributes = FrameAttributes{v[0], v[1], v[2], v[3], v[4], hasFlag(parsed.rest, "NORESIZE")};
      return true;
    case E::Base:
      element.attributes = BodyAttributes{v[0], v[1], v[2], v[3], v[4], v[5]};
      return true;
    case E::TableCell:
      if (element.kind == ElementKind::TableCell)
        element.attributes = TableCellAttributes{v[0], v[1], v[2], v[3], lengthOf(v[4]), lengthOf(v[5]), v[6]};
      else
        element.attributes = TableRowAttributes{v[0], v[1]};
      return true;
    case E::Table:
      element.attributes = TableAttributes{lengthOf(v[0]), v[1], v[2], v[3], v[4], v[5], lengthOf(v[6])};
      return true;
    case E::List:
      element.attributes = ListAttributes{found.row->prefix == "<OL", v[0]};
      return true;
    case E::Form:
      element.attributes = formAttributes(element.kind, v);
      return true;
    case E::Script:
      element.attributes = ScriptAttributes{v[0], takeContent(found, page, "</SCRIPT>")};
      return true;
    case E::TitleRename:
      return true;
  }
  return true;
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

Length lengthOf(std::string_view value) {
  Length length{std::string(value), value.find('%') != std::string_view::npos};
  if (length.percent) length.value.pop_back();
  return length;
}

std::optional<int> wholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Where the blank before the flag stands when the flag is a whole name:
// after a blank, and followed by a blank, a ">" or the end.
std::size_t findFlag(std::string_view attributes, std::string_view flag) {
  for (std::size_t at = ascii::findIgnoringCase(attributes, flag); at != std::string_view::npos;
       at = ascii::findIgnoringCase(attributes, flag, at + 1)) {
    const std::size_t end = at + flag.size();
    if (at > 0 && isBlank(attributes[at - 1]) &&
        (end == attributes.size() || isBlank(attributes[end]) || attributes[end] == '>'))
      return at - 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string withoutFlag(std::string_view keptAttributes, std::string_view flag) {
  const std::size_t at = findFlag(keptAttributes, flag);
  if (at == std::string_view::npos) return std::string(keptAttributes);
  return std::string(keptAttributes.substr(0, at)).append(keptAttributes.substr(at + 1 + flag.size()));
}

bool hasFlag(std::string_view attributes, std::string_view flag) {
  return findFlag(attributes, flag) != std::string_view::npos;
}

std::optional<ParsedTag> parseStartTag(std::string_view tag) {
  ParsedTag parsed;
  parsed.row = rowOf(tag);
  if (!parsed.row) return std::nullopt;
  std::string text(tag.substr(parsed.row->prefix.size()));
  for (const std::string_view name : parsed.row->names) {
    if (name.empty()) break;
    std::string& valueOfName = parsed.values.emplace_back();
    const std::size_t at = ascii::upperCopy(text).find(name);
    if (at == std::string::npos) continue;
    // The blank in front of the name stays and keeps the rest apart.
    const AttributeValue value = attributeValueAt(text, at + 1);
    valueOfName = value.value;
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
  found.element.kind = parsed->row->kind;
  found.element.editMode = true;
  if (keepUnknownAttributes) found.element.keptAttributes = parsed->rest;
  found.tagBegin = open;
  found.tagEnd = close + 1;
  found.replaceBegin = open;
  found.replaceEnd = close + 1;
  found.result = takeAttributes(found, page, tag, *parsed) ? ElementSearch::Found : ElementSearch::FontWithoutEnd;
  return found;
}

}  // namespace morvel
