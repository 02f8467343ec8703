// Whole-text clean-up of a page's codes. Texts are Windows-1252 bytes with
// CR LF line breaks; both functions are linear in the length of the text.
//
// A code is a "<" followed by a letter, "/" or "!", through the next ">",
// and a comment through its "-->". Everything else is left as it is: text
// (also a "<" in it, as in "1 < 2"), server code between "<%" and "%>" or
// "<?" and "?>", and the bodies of scripts.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

// Turns a page into plain text: removes every code (a ">" outside a code
// stays, as does a final "<" that is never closed), then removes the empty
// lines so that a run of line breaks becomes one line break.
std::string stripCodes(std::string_view text);

// Writes element and attribute names in upper case. Everything but the
// codes, and in them attribute values, comments and "<!DOCTYPE ...>", is
// kept byte for byte; only the letters a-z are changed.
std::string codesToUpperCase(std::string_view text);

}  // namespace morvel
