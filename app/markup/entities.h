// Danish letters and signs as HTML character entities.
//
// Texts are Windows-1252 bytes, as the editor holds them. Encoding writes the
// named entity of each of the eight characters below; decoding reads the named
// entities (exact case only) and the numeric forms of the six letters. Every
// other "&..." sequence, and a bare "&", is left alone.
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

// Replaces each of the eight characters by its entity name.
std::string encodeEntities(std::string_view text, const ProgressCallback& progress = {});

// Replaces each entity name and each numeric form by its character.
std::string decodeEntities(std::string_view text, const ProgressCallback& progress = {});

}  // namespace morvel
