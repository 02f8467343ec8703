// The picture code (<IMG>) the picture dialog builds, and the dialog's
// fields read back from an element the edit-element command took apart.
// Texts are Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"

#include <array>
#include <string>
#include <string_view>

namespace morvel {

// The ALIGN values in the order of the dialog's list ("Top", "Midten",
// "Bund", "Højre om", "Venstre om"): text flowing round the right of a
// picture is a picture aligned left.
inline constexpr std::array<std::string_view, 5> kPictureAlignValues{"TOP", "MIDDLE", "BOTTOM", "LEFT", "RIGHT"};
inline constexpr int kAlignBottom = 2;

struct PictureFields {
  std::string file;
  std::string altText;
  int width = 0;  // 0: no WIDTH
  bool widthPercent = false;
  int height = 0;
  bool heightPercent = false;
  int border = 0;
  int align = kAlignBottom;  // position in kPictureAlignValues
  int marginTopBottom = 0;   // VSPACE
  int marginSides = 0;       // HSPACE
};

// <IMG SRC=".." BORDER=".." WIDTH=".." HEIGHT=".." ALIGN=".." VSPACE=".."
// HSPACE=".." ALT="..">: WIDTH and HEIGHT only when not 0, both margins
// when either is not 0, ALT always; the kept attributes before the ">".
std::string pictureCode(const PictureFields& picture, std::string_view keptAttributes);

// The list position of an ALIGN value in any letter case; "Bund" for
// anything else.
int pictureAlignIndex(std::string_view value);

// A whole decimal number, else 0.
int numberOrZero(std::string_view text);

// The fields of an edited <IMG>; what is not a number counts as 0.
PictureFields pictureFields(const PictureAttributes& picture);

}  // namespace morvel
