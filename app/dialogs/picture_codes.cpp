#include "dialogs/picture_codes.h"

#include "markup/ascii_case.h"

#include <charconv>

namespace morvel {

namespace {

void appendSize(std::string& code, std::string_view name, int value, bool percent) {
  if (value == 0) return;
  code.append(" ").append(name).append("=\"").append(std::to_string(value));
  if (percent) code.append("%");
  code.append("\"");
}

}  // namespace

std::string pictureCode(const PictureFields& picture, std::string_view keptAttributes) {
  const int align =
      picture.align >= 0 && picture.align < int(kPictureAlignValues.size()) ? picture.align : kAlignBottom;
  std::string code = "<IMG SRC=\"";
  code.append(picture.file).append("\" BORDER=\"").append(std::to_string(picture.border)).append("\"");
  appendSize(code, "WIDTH", picture.width, picture.widthPercent);
  appendSize(code, "HEIGHT", picture.height, picture.heightPercent);
  code.append(" ALIGN=\"").append(kPictureAlignValues[std::size_t(align)]).append("\"");
  if (picture.marginTopBottom != 0 || picture.marginSides != 0) {
    code.append(" VSPACE=\"").append(std::to_string(picture.marginTopBottom)).append("\" HSPACE=\"");
    code.append(std::to_string(picture.marginSides)).append("\"");
  }
  code.append(" ALT=\"").append(picture.altText).append("\"").append(keptAttributes).append(">");
  return code;
}

int pictureAlignIndex(std::string_view value) {
  // "BOTTOM" and anything unknown both give "Bund".
  for (std::size_t i = 0; i < kPictureAlignValues.size(); ++i)
    if (equalsIgnoringCase(value, kPictureAlignValues[i])) return int(i);
  return kAlignBottom;
}

int numberOrZero(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return 0;
  return value;
}

PictureFields pictureFieldsFromSlots(const ElementSlots& s) {
  PictureFields picture;
  picture.file = s[1];
  picture.align = pictureAlignIndex(s[2]);
  picture.width = numberOrZero(s[3]);
  picture.widthPercent = s[0] == "%";
  picture.height = numberOrZero(s[4]);
  picture.heightPercent = s[9] == "%";
  picture.border = numberOrZero(s[5]);
  picture.marginTopBottom = numberOrZero(s[6]);
  picture.marginSides = numberOrZero(s[7]);
  picture.altText = s[8];
  return picture;
}

}  // namespace morvel
