#include "dialogs/line_codes.h"

#include "ascii.h"
#include "dialogs/picture_codes.h"

namespace morvel {

namespace {

// The kept attributes without their first NOSHADE, in whatever case it was
// written: left in, a lower-case one would keep the shadow off whatever
// the user chose.
std::string withoutNoShade(std::string_view kept) {
  constexpr std::string_view name = " NOSHADE";
  for (std::size_t at = ascii::findIgnoringCase(kept, name); at != std::string_view::npos;
       at = ascii::findIgnoringCase(kept, name, at + 1)) {
    const std::size_t end = at + name.size();
    if (end == kept.size() || kept[end] == ' ' || kept[end] == '\t' || kept[end] == '\r' || kept[end] == '\n')
      return std::string(kept.substr(0, at)).append(kept.substr(end));
  }
  return std::string(kept);
}

bool isNumber(std::string_view text) {
  return !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string lineCode(const LineFields& line, std::string_view keptAttributes) {
  std::string code = "<HR";
  if (line.thickness != 2) code += " SIZE=\"" + std::to_string(line.thickness) + "\"";
  if (line.align == kLineLeft)
    code += " ALIGN=\"LEFT\"";
  else if (line.align == kLineRight)
    code += " ALIGN=\"RIGHT\"";
  if (!(line.length == 100 && line.percent))
    code += " WIDTH=\"" + std::to_string(line.length) + (line.percent ? "%" : "") + "\"";
  if (!line.shadow) code += " NOSHADE";
  code += withoutNoShade(keptAttributes);
  code += ">";
  return code;
}

LineFields lineFields(const LineAttributes& a) {
  LineFields line;
  line.percent = a.width.percent || a.width.value.empty();
  if (isNumber(a.width.value)) line.length = numberOrZero(a.width.value);
  if (isNumber(a.size)) line.thickness = numberOrZero(a.size);
  line.shadow = !a.noShade;
  const std::string align = ascii::upperCopy(a.align);
  if (align == "LEFT")
    line.align = kLineLeft;
  else if (align == "RIGHT")
    line.align = kLineRight;
  return line;
}

}  // namespace morvel
