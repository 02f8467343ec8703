// The form elements the forms dialog builds (<FORM>, <INPUT>, <TEXTAREA>,
// <SELECT>), and its fields read back from an element the edit-element
// command took apart. Texts are Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"

#include <array>
#include <string>
#include <string_view>

namespace morvel {

// The kinds in the order of the kind list and the speed buttons.
namespace form_kind {
inline constexpr int kForm = 0;
inline constexpr int kText = 1;
inline constexpr int kPassword = 2;
inline constexpr int kHidden = 3;
inline constexpr int kTextArea = 4;
inline constexpr int kRadio = 5;
inline constexpr int kCheckBox = 6;
inline constexpr int kSelect = 7;
inline constexpr int kSubmit = 8;
inline constexpr int kReset = 9;
inline constexpr int kCount = 10;
}  // namespace form_kind

// The TYPE value of each kind; empty for the kinds that are no <INPUT>.
const std::array<std::string_view, form_kind::kCount>& formInputTypes();

struct FormFields {
  int kind = form_kind::kForm;
  std::string name;
  std::string text;  // ACTION of a form, VALUE otherwise
  std::string method;
  std::string format;  // ENCTYPE
  bool checked = false;
  std::string size;     // SIZE; ROWS of a text box; options of a choice box
  std::string max;      // MAXLENGTH; COLS of a text box
  std::string further;  // typed as the user wants them
  // An <INPUT>'s own TYPE when the dialog knows no kind for it (it is
  // edited as a text field): written for a text field in place of "TEXT".
  std::string type;
};

// The start tag of the element, with only the attributes that have values.
std::string formStartTag(const FormFields& fields);

// A new element in place of `selection`: a form and a text box enclose
// it, a choice box gets its empty options and end tag, the others are the
// start tag alone.
std::string newFormElement(const FormFields& fields, std::string_view selection);

// The fields of an edited form element of `kind` (Form, Input, TextArea or
// Select), its attributes and its kept attributes.
FormFields formFields(ElementKind kind, const FormAttributes& form, std::string_view keptAttributes);

}  // namespace morvel
