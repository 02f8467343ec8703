// The element an element dialog edits, as a typed value: its kind, whether
// it stands in the page, and its attributes by name. The edit-element
// command takes the element around the caret apart into this value with
// the element table below and hands it to the dialog of the element.
//
// Texts are the page's Windows-1252 bytes.
#pragma once

#include "markup/text_position.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace morvel {

// The element kinds that the text dialog and some other dialogs act on,
// numbered as the system numbers them.
enum class ElementKind {
  Plain = 0,
  Sound = 1,            // <EMBED>, and the sound command
  BackgroundSound = 2,  // <BGSOUND>
  Email = 3,            // a mailto link
  FrameSet = 4,
  UserCode = 5,  // the code box
  Title = 6,
  TableCell = 7,
  Browser = 9,
  NoFrames = 10,
  Form = 16,
  Input = 17,
  TextArea = 18,
  Select = 19,
};

// A length attribute: the number, and whether a "%" followed it.
struct Length {
  std::string value;
  bool percent = false;
  bool operator==(const Length&) const = default;
};

// The attributes of each element the table below knows, as the page has
// them.
struct FontAttributes {
  std::string face;
  std::string colour;
  std::string size;
  TextPosition endTag;     // where the matching "</FONT>" begins
  TextPosition endTagEnd;  // and where it ends
};

struct LineAttributes {
  std::string size;
  std::string align;
  Length width;
  bool noShade = false;
};

struct PictureAttributes {
  std::string src;
  std::string align;
  Length width;
  Length height;
  std::string border;
  std::string vspace;
  std::string hspace;
  std::string alt;
};

// A link, and the text between its start and end tag (empty without an
// end tag).
struct LinkAttributes {
  std::string href;
  std::string target;
  std::string name;
  std::string text;
};

struct SoundAttributes {
  std::string src;
};

struct FrameSetAttributes {
  std::string rows;
  std::string cols;
  std::string frameSpacing;
  std::string frameBorder;
  std::string border;
};

struct FrameAttributes {
  std::string name;
  std::string src;
  std::string marginHeight;
  std::string marginWidth;
  std::string scrolling;
  bool noResize = false;
};

struct BodyAttributes {
  std::string text;
  std::string link;
  std::string vlink;
  std::string alink;
  std::string bgcolor;
  std::string background;
};

struct TableCellAttributes {
  std::string valign;
  std::string align;
  std::string rowspan;
  std::string colspan;
  Length width;
  Length height;
  std::string bgcolor;
};

struct TableRowAttributes {
  std::string valign;
  std::string align;
};

struct TableAttributes {
  Length width;
  std::string border;
  std::string bgcolor;
  std::string align;
  std::string cellspacing;
  std::string cellpadding;
  Length height;
};

struct ListAttributes {
  bool numbered = false;  // <OL>
  std::string type;
};

// A form, an input, a text box or a choice box: each has the attributes of
// its kind.
struct FormAttributes {
  std::string name;
  std::string method;     // form
  std::string action;     // form
  std::string enctype;    // form
  std::string type;       // input
  std::string value;      // input
  std::string size;       // input, choice box
  std::string maxLength;  // input
  std::string rows;       // text box
  std::string cols;       // text box
};

// A script, and the text up to its end tag.
struct ScriptAttributes {
  std::string language;
  std::string content;
};

using ElementAttributes =
    std::variant<std::monostate, FontAttributes, LineAttributes, PictureAttributes, LinkAttributes, SoundAttributes,
                 FrameSetAttributes, FrameAttributes, BodyAttributes, TableCellAttributes, TableRowAttributes,
                 TableAttributes, ListAttributes, FormAttributes, ScriptAttributes>;

struct EditedElement {
  ElementKind kind = ElementKind::Plain;
  // True while the element stands in the page: the dialog rebuilds it.
  bool editMode = false;
  // Empty for a new element, and for a title.
  ElementAttributes attributes;
  // The attributes no known name took, with their leading blank; appended
  // unchanged to the rebuilt start tag.
  std::string keptAttributes;

  // The attributes of type T; null when the element has others.
  template <typename T>
  const T* as() const {
    return std::get_if<T>(&attributes);
  }
};

// A new element of a kind, for the dialogs' commands.
inline EditedElement newElement(ElementKind kind = ElementKind::Plain) { return EditedElement{kind, false, {}, {}}; }

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
  ElementKind kind;
  ElementEditor editor;
  // The names of the attributes the row takes, in the order of the fields of
  // its attributes. Names carry their leading blank so that " SIZE=" is not
  // found at the end of a longer name.
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

// A value with a "%" loses its last character and is in percent.
Length lengthOf(std::string_view value);

// The value of a whole decimal number of at most nine digits, as the
// dialogs' number fields take one; none for anything else ("", "12px").
std::optional<int> wholeNumber(std::string_view text);

// Kept attributes without the first flag attribute ("NOSHADE", "NORESIZE")
// in any letter case, and the blank before it: left in, it would decide
// what the dialog's control now decides. A longer name that begins the
// same stays.
std::string withoutFlag(std::string_view keptAttributes, std::string_view flag);

// Whether the attributes hold the flag as a whole name, in any case.
bool hasFlag(std::string_view attributes, std::string_view flag);

// A start tag taken apart by its row of the element table.
struct ParsedTag {
  const ElementRow* row = nullptr;
  // The value of each of the row's names, in their order; empty for a name
  // the tag does not have.
  std::vector<std::string> values;
  // What is left once the known attributes are out, without the ">".
  std::string rest;
};
// None when no row's prefix begins the tag.
std::optional<ParsedTag> parseStartTag(std::string_view tag);

enum class ElementSearch { Found, NoElement, FontWithoutEnd };

// What the edit-element command found around the caret of a page: the
// element's row, the element taken apart, and the text the dialog
// replaces. Offsets are bytes into the page.
struct ElementToEdit {
  ElementSearch result = ElementSearch::NoElement;
  const ElementRow* row = nullptr;
  EditedElement element;
  std::size_t tagBegin = 0;  // the "<"
  std::size_t tagEnd = 0;    // one past the ">"
  std::size_t replaceBegin = 0;
  std::size_t replaceEnd = 0;
};
ElementToEdit findElementToEdit(std::string_view page, std::size_t caret, bool keepUnknownAttributes);

}  // namespace morvel
