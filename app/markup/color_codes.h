// Colour values and the colour codes written into pages.
//
// A colour value is laid out as the platform's RGB() macro builds it:
// red in the low byte, then green, then blue (0x00BBGGRR). A colour code is
// one of the sixteen colour names, or "#" and six upper-case hex digits in
// the order red, green, blue.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvel {

using ColorValue = std::uint32_t;

constexpr ColorValue colorFromRgb(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

// The name when the colour is one of the sixteen named colours, otherwise
// "#RRGGBB". Only the low three bytes are looked at.
std::string colorCode(ColorValue color);

// Reads a colour name (any letter case) or six hex digits, with or without a
// leading "#"; surrounding blanks are ignored. Anything else gives no value.
std::optional<ColorValue> colorFromCode(std::string_view code);

}  // namespace morvel
