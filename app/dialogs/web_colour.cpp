#include "dialogs/web_colour.h"

#include <cstdio>

namespace morvel {

namespace {

unsigned component(ColorValue color, int shift) { return (color >> shift) & 0xFFu; }

}  // namespace

std::optional<WebSteps> webSteps(ColorValue color) {
  const unsigned red = component(color, 0);
  const unsigned green = component(color, 8);
  const unsigned blue = component(color, 16);
  if (red % kWebStep != 0 || green % kWebStep != 0 || blue % kWebStep != 0) return std::nullopt;
  return WebSteps{static_cast<int>(red / kWebStep), static_cast<int>(green / kWebStep),
                  static_cast<int>(blue / kWebStep)};
}

ColorValue colorOfSteps(const WebSteps& steps) {
  return colorFromRgb(static_cast<unsigned>(steps.red * kWebStep), static_cast<unsigned>(steps.green * kWebStep),
                      static_cast<unsigned>(steps.blue * kWebStep));
}

std::string hexColorCode(ColorValue color) {
  char code[8];
  std::snprintf(code, sizeof code, "#%02X%02X%02X", component(color, 0), component(color, 8), component(color, 16));
  return code;
}

std::optional<std::string> userColoursSection(HKEY root, std::string_view key) {
  if (root != HKEY_CURRENT_USER) return std::nullopt;
  while (key.ends_with('\\')) key.remove_suffix(1);
  const std::size_t slash = key.rfind('\\');
  const std::string_view last = slash == std::string_view::npos ? key : key.substr(slash + 1);
  if (last.empty()) return std::nullopt;
  return std::string(last);
}

DWORD colourDialogFlags(TColorDialogOptions options) {
  DWORD flags = 0;
  if (options & cdFullOpen) flags |= CC_FULLOPEN;
  if (options & cdPreventFullOpen) flags |= CC_PREVENTFULLOPEN;
  if (options & cdShowHelp) flags |= CC_SHOWHELP;
  if (options & cdSolidColor) flags |= CC_SOLIDCOLOR;
  if (options & cdAnyColor) flags |= CC_ANYCOLOR;
  return flags;
}

std::size_t addUserColour(UserColours& colours, ColorValue color, std::size_t selected) {
  std::size_t cell = selected < kUserColourCount ? selected : 0;
  for (std::size_t i = 0; i < kUserColourCount; ++i) {
    if (colours[i] == kWhite) {
      cell = i;
      break;
    }
  }
  colours[cell] = color;
  return cell;
}

}  // namespace morvel
