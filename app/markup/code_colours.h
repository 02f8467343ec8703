// The colouring of markup in the editors: the colour schemes of the settings
// and the colours of one token of the main window's syntax.
//
// The editors read a page with ">" opening and "<" closing a block comment,
// starting inside the comment, so that the text between tags is comment
// tokens and the inside of a tag is words, strings and the delimiter "/".
#pragma once

#include "markup/color_codes.h"

#include <string_view>

namespace morvel {

struct ColourPair {
  ColorValue text = 0;
  ColorValue background = 0;
  bool operator==(const ColourPair&) const = default;
};

// Text and background colours of the five kinds of code.
struct CodeColourScheme {
  ColourPair normal;      // text between tags
  ColourPair elements;    // element names
  ColourPair attributes;  // everything else inside a tag
  ColourPair values;      // quoted attribute values
  ColourPair comments;    // the "!--" and "--" of a comment tag
};

// The schemes of the settings: 0 "Ingen" (the system's window colours for
// everything), 1 "Morvel 1", 2 "Morvel 2". Any other number gives scheme 0.
CodeColourScheme builtInColourScheme(int scheme, ColorValue windowText, ColorValue window);

// Element names that are coloured as elements (letter case ignored).
bool isElementName(std::string_view word);

// The colours of one token, from the word type, word value and characters
// that the editor reports for it.
ColourPair tokenColours(const CodeColourScheme& scheme, unsigned wordType, long wordValue, std::string_view word);

}  // namespace morvel
