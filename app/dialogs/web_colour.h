// The web colour window's arithmetic: the web-safe colours (red, green and
// blue each a multiple of 51), their track-bar steps 0..5, the "#RRGGBB"
// code the window shows, and the twelve user colours kept in the settings
// store.
#pragma once

#include "markup/color_codes.h"
#include "win32.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvel {

class RegIniFile;

inline constexpr int kWebStep = 51;

// Track-bar steps, each 0..5.
struct WebSteps {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const WebSteps&, const WebSteps&) = default;
};

// The steps of a web-safe colour; none when any component is not a
// multiple of 51.
std::optional<WebSteps> webSteps(ColorValue color);
ColorValue colorOfSteps(const WebSteps& steps);

// "#RRGGBB" always, also for the colours that have a name.
std::string hexColorCode(ColorValue color);

inline constexpr std::size_t kUserColourCount = 12;
using UserColours = std::array<ColorValue, kUserColourCount>;
inline constexpr ColorValue kWhite = 0xFFFFFF;

// The store's section of the user colours: "Color0" to "Color11", each
// the decimal number of a colour. Missing or unreadable values are white.
// (Defined on the Qt side, with the store.)
inline constexpr std::string_view kUserColoursSection = "UserColors";
UserColours readUserColours(const RegIniFile& store, std::string_view section = kUserColoursSection);
void writeUserColours(RegIniFile& store, const UserColours& colours, std::string_view section = kUserColoursSection);

// Where the colour dialogs and buttons keep their user colours: `key` is a
// registry path under `root` as the colour components name it
// ("Software\UserColors", "Software\Brimvale\Morvel\UserColors"). The
// settings store stands for the current user's key of the program, so a key
// under HKEY_CURRENT_USER is the store's section named by its last part, and
// every component that asks for user colours shares one section; a key under
// another root has no store (none).
std::optional<std::string> userColoursSection(HKEY root, std::string_view key);

// The options of the standard colour dialog, as the colour button takes
// them, and the dialog's CC_ flags for them.
enum TColorDialogOption : unsigned {
  cdFullOpen = 1u << 0,
  cdPreventFullOpen = 1u << 1,
  cdShowHelp = 1u << 2,
  cdSolidColor = 1u << 3,
  cdAnyColor = 1u << 4,
};
using TColorDialogOptions = unsigned;
DWORD colourDialogFlags(TColorDialogOptions options);

// Puts a colour into the first white cell, or into the selected cell when
// none is white; the cell it went into.
std::size_t addUserColour(UserColours& colours, ColorValue color, std::size_t selected);

}  // namespace morvel
