// Real picture files for tests, written with the libjpeg and giflib
// encoders. A test that includes this links libjpeg and giflib.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace testing_support {

// A JPEG of the given size whose pixel (x, y) has the colour `colour`
// gives ({red, green, blue}); false when the file cannot be written.
template <typename Colour>
bool writeJpegPicture(const std::string& path, int width, int height, Colour colour) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) {
      const std::array<int, 3> rgb = colour(x, static_cast<int>(info.next_scanline));
      for (int c = 0; c < 3; ++c)
        row[static_cast<size_t>(x) * 3 + c] = static_cast<JSAMPLE>(rgb[static_cast<size_t>(c)]);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

// A grey JPEG of the given size; false when the file cannot be written.
inline bool writeJpeg(const std::string& path, int width, int height) {
  return writeJpegPicture(path, width, height, [](int, int) { return std::array<int, 3>{128, 128, 128}; });
}

// A two-colour GIF of the given size.
inline bool writeGif(const std::string& path, int width, int height) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (!gif) return false;
  GifColorType colours[] = {{0, 0, 0}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  bool written = map && EGifPutScreenDesc(gif, width, height, 1, 0, map) == GIF_OK &&
                 EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(static_cast<size_t>(width), 1);
  for (int y = 0; written && y < height; ++y) written = EGifPutLine(gif, row.data(), width) == GIF_OK;
  written = EGifCloseFile(gif, &error) == GIF_OK && written;
  GifFreeMapObject(map);
  return written;
}

}  // namespace testing_support
