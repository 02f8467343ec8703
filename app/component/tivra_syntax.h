// The editor component's text forms of two editor settings, turned into what
// the editor window takes: the colouring syntax and the file-dialog filter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The syntax table items of a syntax description: "0" is an empty item,
// "1" and one character a one-character item, "2" and two characters a
// two-character item (the first character in the low byte), "3" or "4" and
// one character a one-character item of class 1 or 2. Other characters
// between entries are skipped; an entry cut off by the end of the text is
// dropped; at most 254 items.
std::vector<std::uint16_t> syntaxItems(std::string_view description);

// The editor's form of a file-dialog filter: the default extension, then
// descriptions and masks, each followed by "/". The mask gives
// description|mask pairs; a "/" inside a part is written "//". A mask
// without "|" is taken to be in the "/" form already.
std::string windowFileFilter(std::string_view defaultExtension, std::string_view fileMask);

}  // namespace morvel
