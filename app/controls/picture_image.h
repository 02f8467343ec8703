// A decoded picture as Qt shows it, and the size that fits a picture into a
// box keeping its proportions.
#pragma once

#include "markup/picture_reader.h"

#include <QImage>
#include <QSize>

// The picture as an image that shares nothing with `picture`.
QImage pictureImage(const morvel::DecodedPicture& picture);

// The largest size of `picture`'s proportions inside `box`, in whole
// pixels: the box's width when that leaves room in its height, else the
// box's height.
QSize fittedSize(const QSize& picture, const QSize& box);
