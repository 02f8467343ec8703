// Texts the markup commands work out from a page or a file: the codes that
// put a file into a page, and the end code that belongs to a FONT start
// code. Paths and codes are UTF-8; page texts are the editor's bytes.
#pragma once

#include "markup/picture_size.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// How a page refers to a file: its path relative to the folder of the page
// at `pagePath`, with "/" between the folders; the file name alone when the
// page has no file yet.
std::string addressOfFile(std::string_view filePath, std::string_view pagePath);

// Pictures get a picture code: ".gif" and ".jpg", in any letter case.
bool takesPictureCode(std::string_view filePath);

// The codes for a file, inserted one after the other at the caret: a
// picture code (WIDTH and HEIGHT from `picture`, "0" without one), the two
// codes of a sound (".wav", ".mid", ".au"), or a link with the file name as
// its text.
std::vector<std::string> codesForFile(std::string_view filePath, std::string_view pagePath,
                                      std::optional<PictureSize> picture);

// The "</FONT>" that closes the FONT start code at `start`: the first end
// code that is not taken by a FONT code opened after `start`. Counts at
// most 100 start codes and 99 end codes; letter case is ignored. None when
// the end code is missing.
std::optional<std::size_t> matchingFontEnd(std::string_view text, std::size_t start);

}  // namespace morvel
