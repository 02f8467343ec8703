#include "markup/picture_size.h"

#include "markup/jpeg_errors.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <gif_lib.h>

namespace morvel {

namespace {

// Only plain data lives in this frame, so the jump skips no destructor.
bool readJpegHeader(std::FILE* file, PictureSize& size) {
  jpeg_decompress_struct info{};
  jpeg::Errors errors{};
  jpeg::installErrors(info, errors);
  if (setjmp(errors.back)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  const bool read = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
  size = PictureSize{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
  jpeg_destroy_decompress(&info);
  return read;
}

std::optional<PictureSize> jpegSize(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  PictureSize size;
  const bool read = readJpegHeader(file, size);
  std::fclose(file);
  if (!read) return std::nullopt;
  return size;
}

std::optional<PictureSize> gifSize(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (!gif) return std::nullopt;
  const PictureSize size{gif->SWidth, gif->SHeight};
  DGifCloseFile(gif, &error);
  return size;
}

}  // namespace

PictureKind pictureKindOf(const std::string& path) {
  unsigned char start[4] = {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return PictureKind::Other;
  const std::size_t n = std::fread(start, 1, sizeof start, file);
  std::fclose(file);
  if (n >= 2 && start[0] == 0xFF && start[1] == 0xD8) return PictureKind::Jpeg;
  if (n >= 4 && std::memcmp(start, "GIF8", 4) == 0) return PictureKind::Gif;
  return PictureKind::Other;
}

std::optional<PictureSize> readPictureSize(const std::string& path) {
  std::optional<PictureSize> size;
  switch (pictureKindOf(path)) {
    case PictureKind::Jpeg:
      size = jpegSize(path);
      break;
    case PictureKind::Gif:
      size = gifSize(path);
      break;
    case PictureKind::Other:
      break;
  }
  if (size && (size->width <= 0 || size->height <= 0)) return std::nullopt;
  return size;
}

}  // namespace morvel
