#include "dialogs/list_codes.h"

#include "ascii.h"

#include <span>

namespace morvel {

namespace {

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A line's item: "<LI>" within its first six characters goes with what
// stands before it.
std::string itemOf(std::string_view line) {
  const std::size_t li = ascii::findIgnoringCase(line.substr(0, 6), "<LI>");
  if (li != std::string_view::npos) line.remove_prefix(li + 4);
  return std::string(trimmed(line));
}

// The next "<LI...>" tag, "</UL>" or "</OL>" in a line of a list, from
// `from` on: where it begins and where it ends; npos when none is left.
std::pair<std::size_t, std::size_t> nextItemBreak(std::string_view line, std::size_t from) {
  for (std::size_t at = line.find('<', from); at != std::string_view::npos; at = line.find('<', at + 1)) {
    const std::string_view rest = line.substr(at);
    if (ascii::startsWithIgnoringCase(rest, "</UL>") || ascii::startsWithIgnoringCase(rest, "</OL>"))
      return {at, at + 5};
    if (ascii::startsWithIgnoringCase(rest, "<LI") &&
        (rest.size() == 3 || rest[3] == '>' || rest[3] == ' ' || rest[3] == '\t')) {
      const std::size_t close = line.find('>', at);
      return {at, close == std::string_view::npos ? line.size() : close + 1};
    }
  }
  return {std::string_view::npos, std::string_view::npos};
}

// The items of a list after its start tag: the texts between its "<LI>"
// tags and its end tag, on the tag's lines or on lines of their own.
void listItems(std::string_view text, std::vector<std::string>& items) {
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    const std::string_view line = text.substr(0, end);
    for (std::size_t from = 0;;) {
      const auto [at, past] = nextItemBreak(line, from);
      const std::string_view item = trimmed(line.substr(from, at == std::string_view::npos ? line.npos : at - from));
      if (!item.empty()) items.emplace_back(item);
      if (at == std::string_view::npos) break;
      from = past;
    }
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
  }
}

}  // namespace

std::string listCode(const ListFields& list, std::string_view keptAttributes) {
  const std::string_view name = list.numbered ? "OL" : "UL";
  std::string code = "<";
  code += name;
  const auto& types =
      list.numbered ? std::span<const std::string_view>(kNumberTypes) : std::span<const std::string_view>(kBulletTypes);
  const std::size_t type = list.type >= 0 && static_cast<std::size_t>(list.type) < types.size() ? list.type : 0;
  if (!types[type].empty()) code += " TYPE=\"" + std::string(types[type]) + "\"";
  code += keptAttributes;
  code += ">\r\n";
  for (const std::string& item : list.items) code += "\t<LI>" + item + "\r\n";
  code += "</";
  code += name;
  code += ">";
  return code;
}

int listTypeIndex(bool numbered, std::string_view typeValue) {
  if (!numbered) return ascii::equalIgnoringCase(typeValue, "SQUARE") ? 1 : 0;
  for (std::size_t i = 0; i < kNumberTypes.size(); ++i)
    if (typeValue == kNumberTypes[i]) return static_cast<int>(i);
  return 0;
}

ListFields listFromText(std::string_view text) {
  ListFields list;
  const std::string_view opening = text.substr(0, 4);
  const bool opensList = ascii::findIgnoringCase(opening, "<UL") != std::string_view::npos;
  list.numbered = ascii::findIgnoringCase(opening, "<OL") != std::string_view::npos;
  if (list.numbered || opensList) {
    const std::size_t startTagEnd = text.find('>');
    if (startTagEnd != std::string_view::npos) listItems(text.substr(startTagEnd + 1), list.items);
    return list;
  }
  // A blank line is passed over rather than ending the list, so that no
  // line after it is lost.
  for (std::size_t end = text.find("\r\n"); end != std::string_view::npos; end = text.find("\r\n")) {
    if (!trimmed(text.substr(0, end)).empty()) list.items.push_back(itemOf(text.substr(0, end)));
    text.remove_prefix(end + 2);
  }
  // The last line, when it is not the end tag, counts however short it is:
  // the selection it stands in is replaced.
  text = trimmed(text);
  if (!text.empty() && !ascii::startsWithIgnoringCase(text, "</OL>") && !ascii::startsWithIgnoringCase(text, "</UL>"))
    list.items.push_back(itemOf(text));
  return list;
}

}  // namespace morvel
