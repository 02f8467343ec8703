// Danish letters and signs as HTML character entities.
//
// Texts are bytes, as the editor holds them: Windows-1252, or UTF-8 on a page
// that is UTF-8 (isUtf8Page), where the characters are the UTF-8 sequences of
// the same eight. Encoding writes the named entity of each of the eight
// characters below; decoding reads the named entities (exact case only) and
// the numeric forms of the six letters. Every other "&..." sequence, every
// other character, and a bare "&", is left alone.
//
//   æ &aelig;   ø &oslash;   å &aring;   Æ &AElig;   Ø &Oslash;   Å &Aring;
//   © &copy;    ® &reg;      (numeric: &#230; &#248; &#229; &#198; &#216; &#197;)
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace morvel {

// Receives the progress of a long conversion, 0..100, for the progress bar.
using ProgressCallback = std::function<void(int percent)>;

// A page is UTF-8 when it declares so (charset=utf-8 in its head), or, without
// a declaration of its character set, when its bytes are valid UTF-8 and not
// all ASCII.
bool isUtf8Page(std::string_view text);

// Replaces each of the eight characters by its entity name.
std::string encodeEntities(std::string_view text, const ProgressCallback& progress = {});

// Replaces each entity name and each numeric form by its character.
std::string decodeEntities(std::string_view text, const ProgressCallback& progress = {});

}  // namespace morvel
