// UTF-8 as the pages and stores that use it hold it.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvel {

// The length of the well-formed UTF-8 sequence at text[at] (1 for ASCII),
// or 0 when there is none: no overlong forms, surrogates or code points
// beyond U+10FFFF.
std::size_t utf8SequenceAt(std::string_view text, std::size_t at);

bool isValidUtf8(std::string_view text);

}  // namespace morvel
