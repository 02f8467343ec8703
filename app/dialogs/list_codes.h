// The lists (<UL>, <OL>) the list dialog builds, and the items it takes
// from selected lines or from an existing list. Texts are Windows-1252
// bytes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The TYPE values in the order of the dialog's type lists: for bullets
// "Runde" (no TYPE) and "Firkantede"; for numbers "1, 2, 3...",
// "I, II, III...", "i, ii, iii...", "A, B, C...", "a, b, c...".
inline constexpr std::array<std::string_view, 2> kBulletTypes{"", "SQUARE"};
inline constexpr std::array<std::string_view, 5> kNumberTypes{"1", "I", "i", "A", "a"};

struct ListFields {
  bool numbered = false;
  int type = 0;  // position in kBulletTypes or kNumberTypes
  std::vector<std::string> items;
};

// The start tag with its TYPE and the kept attributes on a line of its
// own, a line of tab and "<LI>" per item, and the end tag.
std::string listCode(const ListFields& list, std::string_view keptAttributes);

// The type list position of a TYPE value. Number types differ only by
// letter case; the bullet type does not depend on it.
int listTypeIndex(bool numbered, std::string_view typeValue);

// Lines taken apart into items. A text that opens a list (a numbered one
// sets `numbered`) gives the texts between its "<LI>" tags and its end tag,
// wherever they stand after the start tag. Other lines give an item each,
// without a "<LI>" at their start; blank lines and a closing tag give no
// item, a last line without its line break does. The type stays 0.
ListFields listFromText(std::string_view text);

}  // namespace morvel
