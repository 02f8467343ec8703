// The codes of links and e-mail links, and what the link dialog gathers
// from pages and favourites. Texts are Windows-1252 bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// Shown in place of a link text that a one-line field cannot hold (it
// spans lines); the text itself then stays as it was.
inline constexpr std::string_view kSelectedTextPlaceholder = "(markeret tekst/objekt)";

struct LinkFields {
  std::string address;
  std::string target;
  std::string name;
  std::string text;
};

// ` NAME="value"`, with its leading blank.
std::string quotedAttribute(std::string_view name, std::string_view value);

// ` TARGET="t"`, or nothing for an empty target.
std::string targetPart(std::string_view target);

// <A HREF=".." TARGET=".." NAME="..">text</A>: each attribute only when it
// has a value; the kept attributes go after the known ones.
std::string linkCode(const LinkFields& link, std::string_view keptAttributes);

// The further links of a link list of (address, text) pairs: every pair
// after the first on a line of its own, each with the same target part.
std::string furtherLinks(const std::vector<std::string>& linkList, std::string_view target);

// <A HREF="mailto:address" TARGET=".." NAME="..">text</A>.
std::string emailLinkCode(const LinkFields& link, std::string_view keptAttributes);

// The address of a mailto address, without its "mailto:".
std::string emailAddress(std::string_view href);

// The names of the frames of a page (<FRAME NAME=..>, in any letter case),
// in the order they stand, each once.
std::vector<std::string> frameNames(std::string_view page);

// An address from an internet shortcut file: what follows "URL=" in its
// first two lines, without trailing blanks.
std::string shortcutAddress(std::string_view content);

}  // namespace morvel
