// The title of a page: the text between its <TITLE> and </TITLE> codes.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

// Shown when a page has no usable title.
inline constexpr std::string_view kNoTitle = "[Ingen titel]";

struct TitleSearch {
  std::string title;     // empty when the page has no title, or a blank one
  bool damaged = false;  // "<TITLE>" without a "</TITLE>" after it
};

// Finds the title of a page (Windows-1252 bytes). The codes are found
// without regard to letter case; the title is returned untrimmed, and only
// when it is not blank.
TitleSearch findTitle(std::string_view text);

}  // namespace morvel
