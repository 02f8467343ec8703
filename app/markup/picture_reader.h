// The pictures the program shows (the file panes' preview, the picture
// dialog, the properties of a picture): a JPEG or GIF file decoded with
// libjpeg and giflib. A JPEG can be decoded smaller, at a half, a quarter
// or an eighth of its size, which is much faster for a preview.
#pragma once

#include "markup/picture_size.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvel {

struct DecodedPicture {
  int width = 0;  // as decoded
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width * height pixels, red, green, blue, alpha
  int factor = 1;                  // the picture is `factor` times the decoded size
  PictureSize full;                // the picture's own size
};

// How much smaller the preview of a JPEG file of `bytes` is decoded: 1
// below 16,001 bytes, 2 below 50,001, 4 below 100,001, else 8.
int previewScaleForSize(std::uint64_t bytes);

// Decodes the first picture of a JPEG or GIF file (its contents decide the
// kind, not its name); a JPEG at 1/`scale` of its size (1, 2, 4 or 8), a
// GIF whole. None for a file that cannot be read or decoded, or whose
// picture would be unreasonably large to hold.
std::optional<DecodedPicture> decodePicture(const std::string& path, int scale = 1);

}  // namespace morvel
