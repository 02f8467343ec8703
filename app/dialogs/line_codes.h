// The horizontal line (<HR>) the line dialog builds, and the dialog's fields
// read back from a line the edit-element command took apart. Texts are
// Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"

#include <string>
#include <string_view>

namespace morvel {

// The alignments as the settings store numbers them.
inline constexpr int kLineLeft = 1;
inline constexpr int kLineCentre = 2;
inline constexpr int kLineRight = 3;

// A line as browsers draw one without attributes.
struct LineFields {
  int length = 100;
  bool percent = true;
  int thickness = 2;
  bool shadow = true;
  int align = kLineCentre;
};

// "<HR" with SIZE, ALIGN, WIDTH and NOSHADE where they differ from a plain
// line, then the kept attributes (less a NOSHADE of their own, which the
// shadow field now decides), then ">".
std::string lineCode(const LineFields& line, std::string_view keptAttributes);

// The fields of an edited <HR>. What is missing or not a number keeps the
// plain line's value; a line without a width is in percent.
LineFields lineFields(const LineAttributes& line);

}  // namespace morvel
