#include "dialogs/forms_codes.h"

#include "ascii.h"

namespace morvel {

namespace {

namespace fk = form_kind;

// More empty options than anyone types by hand would only fill the page.
constexpr std::size_t kMaxOptions = 1000;

// A quote typed into a value would end the attribute early and spill the
// rest into the tag, so it goes in as an entity.
std::string attribute(std::string_view name, std::string_view value) {
  if (value.empty()) return {};
  std::string part(" ");
  part.append(name).append("=\"");
  for (char c : value) {
    if (c == '"')
      part += "&quot;";
    else
      part += c;
  }
  return part + "\"";
}

std::string furtherAttributes(std::string_view further) {
  if (further.empty() || further.front() == ' ') return std::string(further);
  std::string part(" ");
  return part.append(further);
}

// The kept attributes without their first CHECKED, in whatever case it was
// written.
void dropChecked(std::string& kept) {
  const std::size_t at = findFlagAttribute(kept, "CHECKED");
  if (at == std::string::npos) return;
  // With the blank before it.
  const std::size_t from = at > 0 ? at - 1 : at;
  kept.erase(from, at + 7 - from);
}

// The number of empty options a choice box gets, 0 when the size field
// holds no whole number.
std::size_t optionCount(std::string_view size) {
  if (size.empty() || size.find_first_not_of("0123456789") != std::string_view::npos) return 0;
  std::size_t n = 0;
  for (char c : size) {
    n = n * 10 + static_cast<std::size_t>(c - '0');
    if (n > kMaxOptions) return 0;
  }
  return n;
}

// An <INPUT> whose TYPE is missing or none of ours is edited as a text
// field, which is what browsers show for it.
int inputKind(std::string_view type) {
  const auto& types = formInputTypes();
  for (int kind = 0; kind < fk::kCount; ++kind) {
    const std::string_view candidate = types[static_cast<std::size_t>(kind)];
    if (!candidate.empty() && ascii::equalIgnoringCase(type, candidate)) return kind;
  }
  return fk::kText;
}

}  // namespace

const std::array<std::string_view, form_kind::kCount>& formInputTypes() {
  static constexpr std::array<std::string_view, fk::kCount> types{"",      "TEXT",     "PASSWORD", "HIDDEN", "",
                                                                  "RADIO", "CHECKBOX", "",         "SUBMIT", "RESET"};
  return types;
}

std::string formStartTag(const FormFields& f) {
  const std::string name = attribute("NAME", f.name);
  const std::string further = furtherAttributes(f.further);
  switch (f.kind) {
    case fk::kForm:
      return "<FORM" + name + attribute("ACTION", f.text) + attribute("METHOD", f.method) +
             attribute("ENCTYPE", f.format) + further + ">";
    case fk::kTextArea:
      return "<TEXTAREA" + name + attribute("ROWS", f.size) + attribute("COLS", f.max) + further + ">";
    case fk::kSelect:
      return "<SELECT" + name + attribute("SIZE", f.size) + further + ">";
    default:
      break;
  }
  const bool sized = f.kind == fk::kText || f.kind == fk::kPassword;
  const bool checkable = f.kind == fk::kRadio || f.kind == fk::kCheckBox;
  const std::size_t kind = f.kind >= 0 && f.kind < fk::kCount ? static_cast<std::size_t>(f.kind) : fk::kText;
  const std::string_view type =
      f.kind == fk::kText && !f.type.empty() ? std::string_view(f.type) : formInputTypes()[kind];
  std::string tag = "<INPUT" + attribute("TYPE", type) + name + attribute("VALUE", f.text);
  if (sized) tag += attribute("SIZE", f.size) + attribute("MAXLENGTH", f.max);
  tag += further;
  if (checkable && f.checked) tag += " CHECKED";
  return tag + ">";
}

std::string newFormElement(const FormFields& f, std::string_view selection) {
  std::string code = formStartTag(f);
  if (f.kind == fk::kForm) return code.append(selection) + "</FORM>";
  if (f.kind == fk::kTextArea) return code.append(selection) + "</TEXTAREA>";
  if (f.kind == fk::kSelect) {
    for (std::size_t n = optionCount(f.size); n > 0; --n) code += "\r\n\t<OPTION>";
    return code + "\r\n</SELECT>";
  }
  return code;
}

FormFields formFields(ElementKind kind, const FormAttributes& a, std::string_view keptAttributes) {
  FormFields f;
  std::string kept(keptAttributes);
  f.name = a.name;
  switch (kind) {
    case ElementKind::Form:
      f.kind = fk::kForm;
      f.text = a.action;
      f.method = a.method;
      f.format = a.enctype;
      break;
    case ElementKind::TextArea:
      f.kind = fk::kTextArea;
      f.size = a.rows;
      f.max = a.cols;
      break;
    case ElementKind::Select:
      f.kind = fk::kSelect;
      f.size = a.size;
      break;
    default:
      f.kind = inputKind(a.type);
      if (f.kind == fk::kText && !ascii::equalIgnoringCase(a.type, "TEXT")) f.type = a.type;
      f.text = a.value;
      // Read from the tag: the kept attributes are empty unless the
      // settings keep unknown ones.
      f.checked = a.checked;
      dropChecked(kept);
      f.size = a.size;
      f.max = a.maxLength;
      break;
  }
  f.further = kept;
  return f;
}

}  // namespace morvel
