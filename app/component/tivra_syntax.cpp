#include "component/tivra_syntax.h"

namespace morvel {

namespace {

constexpr std::size_t kMaxItems = 254;
constexpr std::uint16_t kEmptyItem = 0x0101;

std::uint16_t byteOf(char c) { return static_cast<unsigned char>(c); }

}  // namespace

std::vector<std::uint16_t> syntaxItems(std::string_view d) {
  std::vector<std::uint16_t> items;
  std::size_t i = 0;
  while (i < d.size() && items.size() < kMaxItems) {
    const char kind = d[i++];
    const std::size_t rest = d.size() - i;
    switch (kind) {
      case '0':
        items.push_back(kEmptyItem);
        break;
      case '1':
        if (rest < 1) return items;
        items.push_back(byteOf(d[i++]));
        break;
      case '2':
        if (rest < 2) return items;
        items.push_back(static_cast<std::uint16_t>(byteOf(d[i]) | byteOf(d[i + 1]) << 8));
        i += 2;
        break;
      case '3':
      case '4':
        if (rest < 1) return items;
        items.push_back(static_cast<std::uint16_t>(byteOf(d[i++]) | (kind - '0') << 8));
        break;
      default:
        break;
    }
  }
  return items;
}

std::string windowFileFilter(std::string_view defaultExtension, std::string_view fileMask) {
  std::string out(defaultExtension);
  out += '/';
  if (fileMask.find('|') == std::string_view::npos) {
    out += fileMask;
    if (!fileMask.empty() && fileMask.back() != '/') out += '/';
    return out;
  }
  std::string part;
  auto endPart = [&] {
    out += part;
    out += '/';
    part.clear();
  };
  for (char c : fileMask) {
    if (c == '|')
      endPart();
    else if (c == '/')
      part += "//";
    else
      part += c;
  }
  if (!part.empty()) endPart();
  return out;
}

}  // namespace morvel
