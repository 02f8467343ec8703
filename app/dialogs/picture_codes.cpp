#include "dialogs/picture_codes.h"

#include "ascii.h"

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
    if (ascii::equalIgnoringCase(value, kPictureAlignValues[i])) return int(i);
  return kAlignBottom;
}

int numberOrZero(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return 0;
  return value;
}

PictureFields pictureFields(const PictureAttributes& a) {
  PictureFields picture;
  picture.file = a.src;
  picture.align = pictureAlignIndex(a.align);
  picture.width = numberOrZero(a.width.value);
  picture.widthPercent = a.width.percent;
  picture.height = numberOrZero(a.height.value);
  picture.heightPercent = a.height.percent;
  picture.border = numberOrZero(a.border);
  picture.marginTopBottom = numberOrZero(a.vspace);
  picture.marginSides = numberOrZero(a.hspace);
  picture.altText = a.alt;
  return picture;
}

}  // namespace morvel
