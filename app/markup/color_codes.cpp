#include "markup/color_codes.h"

#include "ascii.h"

#include <array>

namespace morvel {

namespace {

struct NamedColor {
  std::string_view name;
  ColorValue value;
};

constexpr std::array<NamedColor, 16> kNamedColors{{
    {"Black", colorFromRgb(0x00, 0x00, 0x00)},
    {"Maroon", colorFromRgb(0x80, 0x00, 0x00)},
    {"Green", colorFromRgb(0x00, 0x80, 0x00)},
    {"Olive", colorFromRgb(0x80, 0x80, 0x00)},
    {"Navy", colorFromRgb(0x00, 0x00, 0x80)},
    {"Purple", colorFromRgb(0x80, 0x00, 0x80)},
    {"Teal", colorFromRgb(0x00, 0x80, 0x80)},
    {"Gray", colorFromRgb(0x80, 0x80, 0x80)},
    {"Silver", colorFromRgb(0xC0, 0xC0, 0xC0)},
    {"Red", colorFromRgb(0xFF, 0x00, 0x00)},
    {"Lime", colorFromRgb(0x00, 0xFF, 0x00)},
    {"Yellow", colorFromRgb(0xFF, 0xFF, 0x00)},
    {"Blue", colorFromRgb(0x00, 0x00, 0xFF)},
    {"Fuchsia", colorFromRgb(0xFF, 0x00, 0xFF)},
    {"Aqua", colorFromRgb(0x00, 0xFF, 0xFF)},
    {"White", colorFromRgb(0xFF, 0xFF, 0xFF)},
}};

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string colorCode(ColorValue color) {
  color &= 0xFFFFFFu;
  for (const NamedColor& named : kNamedColors)
    if (named.value == color) return std::string(named.name);

  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string code = "#";
  for (unsigned shift : {0u, 8u, 16u}) {
    const unsigned byte = (color >> shift) & 0xFFu;
    code.push_back(kDigits[byte >> 4]);
    code.push_back(kDigits[byte & 0xF]);
  }
  return code;
}

std::optional<ColorValue> colorFromCode(std::string_view code) {
  code = trimBlanks(code);
  if (code.starts_with('#')) code.remove_prefix(1);
  for (const NamedColor& named : kNamedColors)
    if (ascii::equalIgnoringCase(code, named.name)) return named.value;

  if (code.size() != 6) return std::nullopt;
  unsigned bytes[3];
  for (int b = 0; b < 3; ++b) {
    const int high = hexDigit(code[2 * b]), low = hexDigit(code[2 * b + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[b] = static_cast<unsigned>(high * 16 + low);
  }
  return colorFromRgb(bytes[0], bytes[1], bytes[2]);
}

}  // namespace morvel
