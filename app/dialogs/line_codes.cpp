#include "dialogs/line_codes.h"

#include "ascii.h"

namespace morvel {

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
  code += withoutFlag(keptAttributes, "NOSHADE");
  code += ">";
  return code;
}

LineFields lineFields(const LineAttributes& a) {
  LineFields line;
  line.percent = a.width.percent || a.width.value.empty();
  line.length = wholeNumber(a.width.value).value_or(line.length);
  line.thickness = wholeNumber(a.size).value_or(line.thickness);
  line.shadow = !a.noShade;
  const std::string align = ascii::upperCopy(a.align);
  if (align == "LEFT")
    line.align = kLineLeft;
  else if (align == "RIGHT")
    line.align = kLineRight;
  return line;
}

}  // namespace morvel
