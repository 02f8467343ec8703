#include "markup/code_colours.h"

#include <algorithm>
#include <array>
#include "ascii.h"

namespace morvel {

namespace {

constexpr unsigned kWordToken = 0x0001;
constexpr unsigned kStringToken = 0x2001;
constexpr unsigned kStringStateToken = 0x6001;
constexpr unsigned kCommentScanner = 1;  // high word of a string or comment token's value

constexpr ColorValue rgb(unsigned hex) { return colorFromRgb(hex >> 16, (hex >> 8) & 0xFF, hex & 0xFF); }

constexpr std::array<std::string_view, 64> kElementNames = {
    // The main list
    "a", "applet", "area", "caption", "cite", "center", "div", "!DOCTYPE", "em", "embed", "font", "form", "frame",
    "frameset", "i", "img", "input", "li", "link", "map", "marquee", "menu", "meta", "noframes", "noscript", "ol",
    "option", "object", "p", "pre", "script", "select", "small", "span", "strong", "style", "sub", "sup", "table", "td",
    "textarea", "title", "tr", "tt", "u", "ul", "wbr",
    // Words beginning with "b"
    "b", "base", "basefont", "bgsound", "blink", "blockquote", "body", "br",
    // Words beginning with "h"
    "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr", "html"};

CodeColourScheme uniform(ColourPair all) { return CodeColourScheme{all, all, all, all, all}; }

}  // namespace

CodeColourScheme builtInColourScheme(int scheme, ColorValue windowText, ColorValue window) {
  switch (scheme) {
    case 1: {
      const ColorValue silver = rgb(0xC0C0C0);
      return CodeColourScheme{{rgb(0x000000), silver},
                              {rgb(0x800080), silver},
                              {rgb(0x570057), silver},
                              {rgb(0x000080), silver},
                              {rgb(0x808080), silver}};
    }
    case 2:
      return CodeColourScheme{{rgb(0x000000), rgb(0xFFFFFF)},
                              {rgb(0xFFFFFF), rgb(0x000080)},
                              {rgb(0x800080), rgb(0xC0C0C0)},
                              {rgb(0x000080), rgb(0xC0C0C0)},
                              {rgb(0xFFFFFF), rgb(0x00FF00)}};
    default:
      return uniform(ColourPair{windowText, window});
  }
}

bool isElementName(std::string_view word) {
  return std::any_of(kElementNames.begin(), kElementNames.end(),
                     [word](std::string_view name) { return ascii::equalIgnoringCase(word, name); });
}

ColourPair tokenColours(const CodeColourScheme& scheme, unsigned wordType, long wordValue, std::string_view word) {
  if (wordType == kWordToken) {
    if (word == "!--" || word == "--") return scheme.comments;
    return isElementName(word) ? scheme.elements : scheme.attributes;
  }
  if (wordType == kStringToken || wordType == kStringStateToken) {
    // The only block comment of the syntax is the text between tags.
    const unsigned scanner = (static_cast<unsigned long>(wordValue) >> 16) & 0xFFFF;
    return scanner == kCommentScanner ? scheme.normal : scheme.values;
  }
  return scheme.attributes;
}

}  // namespace morvel
