#include "controls/picture_image.h"

QImage pictureImage(const morvel::DecodedPicture& picture) {
  const QImage view(picture.rgba.data(), picture.width, picture.height, picture.width * 4, QImage::Format_RGBA8888);
  return view.copy();
}

QSize fittedSize(const QSize& picture, const QSize& box) {
  if (picture.isEmpty() || box.isEmpty()) return {};
  const double byHeight = double(box.height()) / picture.height();
  const double byWidth = double(box.width()) / picture.width();
  if (byHeight >= byWidth) return QSize(box.width(), picture.height() * box.width() / picture.width());
  return QSize(picture.width() * box.height() / picture.height(), box.height());
}
