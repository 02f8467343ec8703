// The shared state through which the edit-element command hands a parsed
// element to an element dialog, and through which menu commands tell the
// multi-purpose text dialog which job it does. Only one element dialog is
// open at a time, so there is one state for the whole program.
//
// Texts are the page's Windows-1252 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The element kinds that the text dialog and some other dialogs act on.
namespace element_kind {
inline constexpr int kPlain = 0;
inline constexpr int kSound = 1;            // <EMBED>, and the sound command
inline constexpr int kBackgroundSound = 2;  // <BGSOUND>
inline constexpr int kEmail = 3;            // a mailto link
inline constexpr int kFrameSet = 4;
inline constexpr int kUserCode = 5;  // the code box
inline constexpr int kTitle = 6;
inline constexpr int kTableCell = 7;
inline constexpr int kBrowser = 9;
inline constexpr int kNoFrames = 10;
inline constexpr int kForm = 16;
inline constexpr int kInput = 17;
inline constexpr int kTextArea = 18;
inline constexpr int kSelect = 19;
}  // namespace element_kind

inline constexpr std::size_t kElementSlots = 11;
using ElementSlots = std::array<std::string, kElementSlots>;

struct ElementEditState {
  // True while a dialog edits an element that stands in the page.
  bool editMode = false;
  int kind = element_kind::kPlain;
  // The slots 0 to 10. In: the values (and units) taken from the tag;
  // out: the parts the dialogs build. (Not called "slots": Qt's headers
  // take that word for themselves.)
  ElementSlots slotValues;
  // The attributes no known name took, with their leading blank; appended
  // unchanged to the rebuilt start tag.
  std::string keptAttributes;
  // Address and text pairs picked from bookmarks or favourites.
  std::vector<std::string> linkList;

  // What closing an element dialog does. Slot 10 is always written before
  // it is read, so it stays.
  void reset();
};

ElementEditState& elementEditState();

// The dialog that edits an element of a row of the element table.
enum class ElementEditor {
  Font,         // TSkrift
  Line,         // TLinie
  Picture,      // TfrmGrafik
  Link,         // THenvisning, or the text dialog for an e-mail link
  TextDialog,   // TDialog, by the element kind
  Frame,        // TRammer
  Base,         // TBasis
  TableCell,    // TTabelcelle, also for rows
  Table,        // TTabel
  List,         // TPunktopstilling
  TitleRename,  // the text dialog with the kind of the title
  Form,         // TFormular
  Script,       // TfrmSkript
};

struct ElementRow {
  std::string_view prefix;
  int kind;
  ElementEditor editor;
  // The n-th name (from 1) fills slot n. Names carry their leading blank so
  // that " SIZE=" is not found at the end of a longer name.
  std::array<std::string_view, 8> names;
};

// The rows in the order they are tried.
std::span<const ElementRow> elementTable();

// The value of the attribute whose name starts at `nameStart` in `tag`:
// after the first "=" from there, a quoted value up to its closing quote
// (or the tag's end when it has none), else up to the first blank, or to
// the ">" when no blank follows. `extentEnd` is one past what the
// attribute takes up, which ends with the character after its value (a
// blank, or the ">").
struct AttributeValue {
  std::string value;
  std::size_t extentEnd = 0;
};
AttributeValue attributeValueAt(std::string_view tag, std::size_t nameStart);

// A value with a "%" loses its last character and gives the unit slot
// "%"; otherwise the unit slot becomes "-1".
void splitUnit(ElementSlots& slotValues, std::size_t valueSlot, std::size_t unitSlot);

// A start tag taken apart by its row of the element table.
struct ParsedTag {
  const ElementRow* row = nullptr;
  ElementSlots slotValues;
  // What is left once the known attributes are out, without the ">".
  std::string rest;
};
// None when no row's prefix begins the tag.
std::optional<ParsedTag> parseStartTag(std::string_view tag);

enum class ElementSearch { Found, NoElement, FontWithoutEnd };

// What the edit-element command found around the caret of a page: the
// element's row, kind, slots and kept attributes, and the text the dialog
// replaces. Offsets are bytes into the page.
struct ElementToEdit {
  ElementSearch result = ElementSearch::NoElement;
  const ElementRow* row = nullptr;
  int kind = element_kind::kPlain;
  ElementSlots slotValues;
  std::string keptAttributes;
  std::size_t tagBegin = 0;  // the "<"
  std::size_t tagEnd = 0;    // one past the ">"
  std::size_t replaceBegin = 0;
  std::size_t replaceEnd = 0;
};
ElementToEdit findElementToEdit(std::string_view page, std::size_t caret, bool keepUnknownAttributes);

}  // namespace morvel
