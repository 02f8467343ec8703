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
    const std::size_t end = text.find("\r\n");
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 2);
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
