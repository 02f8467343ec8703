#include "dialogs/link_codes.h"

#include "ascii.h"
#include "dialogs/edited_element.h"

#include <algorithm>

namespace morvel {

namespace {

std::string attributePart(std::string_view name, std::string_view value) {
  if (value.empty()) return {};
  return quotedAttribute(name, value);
}

bool isWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::string quotedAttribute(std::string_view name, std::string_view value) {
  std::string part;
  part.reserve(name.size() + value.size() + 4);
  part.append(" ").append(name).append("=\"").append(value).append("\"");
  return part;
}

std::string targetPart(std::string_view target) { return attributePart("TARGET", target); }

std::string linkCode(const LinkFields& link, std::string_view keptAttributes) {
  return "<A" + attributePart("HREF", link.address) + targetPart(link.target) + attributePart("NAME", link.name) +
         std::string(keptAttributes) + ">" + link.text + "</A>";
}

std::string furtherLinks(const std::vector<std::string>& linkList, std::string_view target) {
  std::string codes;
  for (std::size_t i = 2; i + 1 < linkList.size(); i += 2)
    codes += "\r\n<A HREF=\"" + linkList[i] + "\"" + targetPart(target) + ">" + linkList[i + 1] + "</A>";
  return codes;
}

std::string emailLinkCode(const LinkFields& link, std::string_view keptAttributes) {
  return "<A HREF=\"mailto:" + link.address + "\"" + targetPart(link.target) + attributePart("NAME", link.name) +
         std::string(keptAttributes) + ">" + link.text + "</A>";
}

std::string emailAddress(std::string_view href) {
  constexpr std::string_view scheme = "mailto:";
  if (ascii::startsWithIgnoringCase(href, scheme)) href.remove_prefix(scheme.size());
  return std::string(href);
}

std::vector<std::string> frameNames(std::string_view page) {
  std::vector<std::string> names;
  constexpr std::string_view code = "<FRAME";
  for (std::size_t at = ascii::findIgnoringCase(page, code); at != std::string_view::npos;
       at = ascii::findIgnoringCase(page, code, at + 1)) {
    const std::size_t after = at + code.size();
    if (after < page.size() && isWordByte(page[after])) continue;  // <FRAMESET
    // The name of this frame only: never one of a later element.
    const std::size_t close = page.find('>', after);
    const std::string_view tag = page.substr(at, close == std::string_view::npos ? page.size() - at : close + 1 - at);
    const std::size_t name = ascii::findIgnoringCase(tag, "name=");
    if (name == std::string_view::npos) continue;
    std::string value = attributeValueAt(tag, name).value;
    if (!value.empty() && std::find(names.begin(), names.end(), value) == names.end())
      names.push_back(std::move(value));
  }
  return names;
}

std::string shortcutAddress(std::string_view content) {
  // The first two lines, joined.
  std::string lines;
  std::size_t from = 0;
  for (int line = 0; line < 2 && from <= content.size(); ++line) {
    std::size_t end = content.find('\n', from);
    if (end == std::string_view::npos) end = content.size();
    std::string_view text = content.substr(from, end - from);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines += text;
    from = end + 1;
  }
  const std::size_t url = ascii::findIgnoringCase(lines, "URL=");
  if (url != std::string::npos) lines.erase(0, url + 4);
  while (!lines.empty() && (lines.back() == ' ' || lines.back() == '\t')) lines.pop_back();
  return lines;
}

}  // namespace morvel
