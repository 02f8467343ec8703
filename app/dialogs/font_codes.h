// The markup the font dialog puts round a selection: a <FONT> element and
// bold, italic and underline tags, written so that they nest with the
// markup already round and inside the selection and leave the text outside
// it as it looked. Texts are Windows-1252 bytes; offsets are bytes into
// the page.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace morvel {

// The styles by the order their start tags are written.
enum FontStyle { kBold, kItalic, kUnderline };
inline constexpr std::array<std::string_view, 3> kStyleStartTags{"<B>", "<I>", "<U>"};
inline constexpr std::array<std::string_view, 3> kStyleEndTags{"</B>", "</I>", "</U>"};

// Where a style stands relative to a selection.
struct StyleAround {
  bool openBefore = false;  // an element of the style is open where the selection begins
  bool inside = false;      // a start or end tag of the style stands inside it
};
StyleAround styleAround(std::string_view page, std::size_t begin, std::size_t end, FontStyle style);

struct FontValues {
  std::string face;
  std::string colour;
  std::string size;
};

// The <FONT> tags still open where a selection begins, counted from the
// start of the table cell the selection stands in, or else from the start
// of the page. The values are those of the innermost tag that gives each.
struct EnclosingFont {
  bool open = false;
  FontValues values;
};
EnclosingFont enclosingFont(std::string_view page, std::size_t begin);

struct StyleChoice {
  bool changed = false;  // the user set the style; otherwise it is left alone
  bool on = false;
};

struct FontChange {
  bool editMode = false;  // the selection is a whole <FONT> element
  bool fontChanged = false;
  // The new start tag. It goes inside an enclosing font, which stays open
  // round it, so that it needs to say only what differs.
  std::string fontTag;
  std::array<StyleChoice, 3> styles;
};

// The new start tag: FACE, COLOR and SIZE where they differ from the values
// the enclosing fonts give (an empty value is never written), then the
// kept attributes.
std::string fontStartTag(const FontValues& chosen, const FontValues& enclosing, std::string_view keptAttributes);

struct WrappedText {
  std::string prefix;
  std::string text;
  std::string suffix;
};

// What replaces the selection [begin, end) of the page (in edit mode a
// whole <FONT> element): the selected text with the tags of each changed
// style taken out (and, when the font changes, the <FONT> tags), the new
// tags round it, and what it takes to close and open again the elements
// round the selection so that every tag of B, I, U and FONT still nests
// and the text outside the selection keeps its styles. `text` runs from
// the selection's first character to its last.
WrappedText applyFont(std::string_view page, std::size_t begin, std::size_t end, const FontChange& change);

}  // namespace morvel
