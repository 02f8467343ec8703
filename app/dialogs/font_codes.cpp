#include "dialogs/font_codes.h"

#include "ascii.h"
#include "dialogs/edited_element.h"

#include <vector>

namespace morvel {

namespace {

constexpr std::string_view kFontEnd = "</FONT>";

// The last place before `before` where `pattern` starts; npos when none.
std::size_t lastBefore(std::string_view text, std::string_view pattern, std::size_t before) {
  std::size_t last = std::string_view::npos;
  for (std::size_t at = ascii::findIgnoringCase(text, pattern); at != std::string_view::npos && at < before;
       at = ascii::findIgnoringCase(text, pattern, at + 1))
    last = at;
  return last;
}

// A "<FONT" that is the whole tag name, not the start of a longer one.
std::size_t nextFontTag(std::string_view text, std::size_t from) {
  for (std::size_t at = ascii::findIgnoringCase(text, "<FONT", from); at != std::string_view::npos;
       at = ascii::findIgnoringCase(text, "<FONT", at + 1)) {
    const std::size_t after = at + 5;
    if (after == text.size() || text[after] == '>' || text[after] == ' ' || text[after] == '\t' ||
        text[after] == '\r' || text[after] == '\n')
      return at;
  }
  return std::string_view::npos;
}

std::string withoutAll(std::string text, std::string_view pattern) {
  for (std::size_t at = ascii::findIgnoringCase(text, pattern); at != std::string::npos;
       at = ascii::findIgnoringCase(text, pattern, at))
    text.erase(at, pattern.size());
  return text;
}

std::string withoutFontTags(std::string text) {
  for (std::size_t at = nextFontTag(text, 0); at != std::string::npos; at = nextFontTag(text, at)) {
    const std::size_t close = text.find('>', at);
    text.erase(at, close == std::string::npos ? std::string::npos : close + 1 - at);
  }
  return withoutAll(std::move(text), kFontEnd);
}

}  // namespace

StyleAround styleAround(std::string_view page, std::size_t begin, std::size_t end, std::string_view startTag,
                        std::string_view endTag) {
  StyleAround style;
  const std::size_t lastStart = lastBefore(page, startTag, begin);
  const std::size_t lastEnd = lastBefore(page, endTag, begin);
  style.openBefore = lastStart != std::string_view::npos && (lastEnd == std::string_view::npos || lastEnd < lastStart);
  const std::size_t nextEnd = ascii::findIgnoringCase(page, endTag, end);
  const std::size_t nextStart = ascii::findIgnoringCase(page, startTag, end);
  style.closedAfter = nextEnd != std::string_view::npos && (nextStart == std::string_view::npos || nextEnd < nextStart);
  const std::string_view selected = page.substr(begin, end - begin);
  style.inside = ascii::findIgnoringCase(selected, startTag) != std::string_view::npos ||
                 ascii::findIgnoringCase(selected, endTag) != std::string_view::npos;
  return style;
}

EnclosingFont enclosingFont(std::string_view page, std::size_t begin) {
  std::size_t from = 0;
  const std::size_t cell = lastBefore(page, "<TD", begin);
  if (cell != std::string_view::npos) {
    const std::size_t cellEnd = ascii::findIgnoringCase(page, "</TD>", cell);
    if (cellEnd != std::string_view::npos && cellEnd >= begin) from = cell;
  }
  const std::string_view text = page.substr(from, begin - from);
  std::vector<std::string_view> open;
  std::size_t at = 0;
  while (true) {
    const std::size_t start = nextFontTag(text, at);
    const std::size_t close = ascii::findIgnoringCase(text, kFontEnd, at);
    if (start == std::string_view::npos && close == std::string_view::npos) break;
    if (start != std::string_view::npos && (close == std::string_view::npos || start < close)) {
      const std::size_t tagEnd = text.find('>', start);
      if (tagEnd == std::string_view::npos) break;
      open.push_back(text.substr(start, tagEnd + 1 - start));
      at = tagEnd + 1;
    } else {
      if (!open.empty()) open.pop_back();
      at = close + kFontEnd.size();
    }
  }
  EnclosingFont font;
  if (open.empty()) return font;
  font.open = true;
  for (auto tag = open.rbegin(); tag != open.rend(); ++tag) {
    const std::optional<ParsedTag> parsed = parseStartTag(*tag);
    if (!parsed || parsed->row->editor != ElementEditor::Font) continue;
    if (font.values.face.empty()) font.values.face = parsed->values[0];
    if (font.values.colour.empty()) font.values.colour = parsed->values[1];
    if (font.values.size.empty()) font.values.size = parsed->values[2];
  }
  return font;
}

std::string fontStartTag(const FontValues& chosen, const FontValues& enclosing, std::string_view keptAttributes) {
  std::string tag = "<FONT";
  if (!chosen.face.empty() && chosen.face != enclosing.face) tag += " FACE=\"" + chosen.face + "\"";
  if (!chosen.colour.empty() && chosen.colour != enclosing.colour) tag += " COLOR=\"" + chosen.colour + "\"";
  if (!chosen.size.empty() && chosen.size != enclosing.size) tag += " SIZE=\"" + chosen.size + "\"";
  tag += keptAttributes;
  tag += ">";
  return tag;
}

WrappedText applyFont(std::string_view selected, const FontChange& change) {
  WrappedText out;
  std::string text(selected);
  if (change.editMode) {
    const std::size_t startEnd = text.find('>');
    text.erase(0, startEnd == std::string::npos ? text.size() : startEnd + 1);
    text.erase(text.size() >= kFontEnd.size() ? text.size() - kFontEnd.size() : 0);
  }
  for (int s = kBold; s <= kUnderline; ++s) {
    if (!change.styles[s].changed) continue;
    text = withoutAll(withoutAll(std::move(text), kStyleStartTags[s]), kStyleEndTags[s]);
  }
  if (!change.editMode) text = withoutFontTags(std::move(text));
  out.text = std::move(text);

  const auto switchedOff = [&](int s) {
    const StyleChoice& c = change.styles[s];
    return c.changed && !c.on && c.around.openBefore;
  };
  const auto switchedOn = [&](int s) {
    const StyleChoice& c = change.styles[s];
    return c.changed && c.on && !c.around.openBefore;
  };
  for (int s = kUnderline; s >= kBold; --s)
    if (switchedOff(s)) out.prefix += kStyleEndTags[s];
  if (change.fontChanged || change.editMode) out.prefix += change.fontTag;
  for (int s = kBold; s <= kUnderline; ++s)
    if (switchedOn(s)) out.prefix += kStyleStartTags[s];

  for (int s = kUnderline; s >= kBold; --s)
    if (switchedOn(s)) out.suffix += kStyleEndTags[s];
  if (change.fontChanged || change.editMode) out.suffix += kFontEnd;
  for (int s = kBold; s <= kUnderline; ++s)
    if (switchedOff(s)) out.suffix += kStyleStartTags[s];
  return out;
}

}  // namespace morvel
