#include "markup/picture_reader.h"

#include "markup/jpeg_errors.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <gif_lib.h>

namespace morvel {

namespace {

// Larger pictures are not decoded: a damaged or hostile file can claim
// any size in its header.
constexpr std::uint64_t kMostPixels = 64ull * 1024 * 1024;

constexpr int kGraphicsControl = 0xF9;

// Only plain data lives in this frame, so a jump back skips no destructor;
// the pixels belong to the caller.
bool decodeJpeg(std::FILE* file, int scale, DecodedPicture& picture) {
  jpeg_decompress_struct info{};
  jpeg::Errors errors{};
  jpeg::installErrors(info, errors);
  if (setjmp(errors.back)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  picture.full = PictureSize{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned>(scale);
  info.out_color_space = JCS_EXT_RGBA;
  jpeg_calc_output_dimensions(&info);
  const std::uint64_t pixels = std::uint64_t{info.output_width} * info.output_height;
  if (pixels == 0 || pixels > kMostPixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  picture.width = static_cast<int>(info.output_width);
  picture.height = static_cast<int>(info.output_height);
  picture.rgba.resize(pixels * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.rgba.data() + std::size_t{info.output_scanline} * info.output_width * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  picture.factor = scale;
  return true;
}

std::optional<DecodedPicture> jpegPicture(const std::string& path, int scale) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  DecodedPicture picture;
  const bool decoded = decodeJpeg(file, scale, picture);
  std::fclose(file);
  if (!decoded) return std::nullopt;
  return picture;
}

// The transparent colour of the graphics control block that comes before
// an image; -1 for none.
int transparentIndex(GifFileType* gif, int code, GifByteType* block, bool& ok) {
  int transparent = -1;
  if (code == kGraphicsControl && block && block[0] >= 4 && (block[1] & 1)) transparent = block[4];
  while (block) {
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
      ok = false;
      break;
    }
  }
  return transparent;
}

// Reads the rows of the first image into the canvas, interlaced ones in
// their four passes.
bool readGifImage(GifFileType* gif, int transparent, DecodedPicture& picture) {
  const GifImageDesc& image = gif->Image;
  const ColorMapObject* colours = image.ColorMap ? image.ColorMap : gif->SColorMap;
  if (!colours || image.Width <= 0 || image.Height <= 0 || image.Width > 65535) return false;
  std::vector<GifPixelType> line(static_cast<std::size_t>(image.Width));
  auto put = [&](int y) {
    const int row = image.Top + y;
    if (row < 0 || row >= picture.height) return;
    for (int x = 0; x < image.Width; ++x) {
      const int column = image.Left + x;
      const int index = line[static_cast<std::size_t>(x)];
      if (column < 0 || column >= picture.width || index == transparent || index >= colours->ColorCount) continue;
      std::uint8_t* pixel = picture.rgba.data() + (std::size_t(row) * std::size_t(picture.width) + column) * 4;
      const GifColorType& c = colours->Colors[index];
      pixel[0] = c.Red;
      pixel[1] = c.Green;
      pixel[2] = c.Blue;
      pixel[3] = 255;
    }
  };
  if (image.Interlace) {
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < image.Height; y += kStep[pass]) {
        if (DGifGetLine(gif, line.data(), image.Width) != GIF_OK) return false;
        put(y);
      }
    }
    return true;
  }
  for (int y = 0; y < image.Height; ++y) {
    if (DGifGetLine(gif, line.data(), image.Width) != GIF_OK) return false;
    put(y);
  }
  return true;
}

bool decodeGif(GifFileType* gif, DecodedPicture& picture) {
  picture.full = PictureSize{gif->SWidth, gif->SHeight};
  const std::uint64_t pixels = std::uint64_t(std::max(gif->SWidth, 0)) * std::uint64_t(std::max(gif->SHeight, 0));
  if (pixels == 0 || pixels > kMostPixels) return false;
  picture.width = gif->SWidth;
  picture.height = gif->SHeight;
  picture.rgba.assign(pixels * 4, 0);
  int transparent = -1;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) {
      return DGifGetImageDesc(gif) == GIF_OK && readGifImage(gif, transparent, picture);
    }
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
      bool ok = true;
      transparent = transparentIndex(gif, code, block, ok);
      if (!ok) return false;
    } else if (record == TERMINATE_RECORD_TYPE) {
      return false;
    }
  }
}

std::optional<DecodedPicture> gifPicture(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (!gif) return std::nullopt;
  DecodedPicture picture;
  const bool decoded = decodeGif(gif, picture);
  DGifCloseFile(gif, &error);
  if (!decoded) return std::nullopt;
  return picture;
}

}  // namespace

int previewScaleForSize(std::uint64_t bytes) {
  if (bytes < 16001) return 1;
  if (bytes < 50001) return 2;
  if (bytes < 100001) return 4;
  return 8;
}

std::optional<DecodedPicture> decodePicture(const std::string& path, int scale) {
  if (scale != 1 && scale != 2 && scale != 4 && scale != 8) scale = 1;
  switch (pictureKindOf(path)) {
    case PictureKind::Jpeg:
      return jpegPicture(path, scale);
    case PictureKind::Gif:
      return gifPicture(path);
    case PictureKind::Other:
      break;
  }
  return std::nullopt;
}

}  // namespace morvel
