// The size of a JPEG or GIF picture, read from the start of its file without
// decoding the picture itself (libjpeg and giflib).
#pragma once

#include <optional>
#include <string>

namespace morvel {

struct PictureSize {
  int width = 0;
  int height = 0;

  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

enum class PictureKind { Jpeg, Gif, Other };

// What the start of a file says it holds.
PictureKind pictureKindOf(const std::string& path);

// The file's contents decide its kind, not its name. None for a file that
// cannot be read, is neither JPEG nor GIF, or is damaged before its size.
std::optional<PictureSize> readPictureSize(const std::string& path);

}  // namespace morvel
