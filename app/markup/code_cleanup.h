// Whole-text clean-up of a page's codes. Texts are Windows-1252 bytes with
// CR LF line breaks; both functions are linear in the length of the text.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

// Turns a page into plain text: removes every code from a "<" through the
// next ">" (a ">" before any "<" stays, as does a final "<" that is never
// closed), then removes the empty lines so that a run of line breaks becomes
// one line break.
std::string stripCodes(std::string_view text);

// Writes element and attribute names in upper case. Text between codes,
// attribute values, comments, "<!DOCTYPE ...>" and the bodies of scripts are
// kept byte for byte; only the letters a-z are changed.
std::string codesToUpperCase(std::string_view text);

}  // namespace morvel
