// Pictures decoded for the previews: JPEG at the scales a preview asks for,
// GIF whole with its palette, interlacing and transparency, and damaged or
// unreasonable files refused.
#include "markup/picture_reader.h"

#include "../support/picture_files.h"
#include "../support/temp_folder.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

using testing_support::TempFolder;

TEST(PictureReader, ThePreviewScaleGrowsWithTheFile) {
  EXPECT_EQ(previewScaleForSize(0), 1);
  EXPECT_EQ(previewScaleForSize(16000), 1);
  EXPECT_EQ(previewScaleForSize(16001), 2);
  EXPECT_EQ(previewScaleForSize(50000), 2);
  EXPECT_EQ(previewScaleForSize(50001), 4);
  EXPECT_EQ(previewScaleForSize(100000), 4);
  EXPECT_EQ(previewScaleForSize(100001), 8);
}

TEST(PictureReader, AJpegAtEachScaleKeepsItsOwnSize) {
  const TempFolder folder;
  ASSERT_TRUE(testing_support::writeJpeg(folder.file("foto.jpg"), 801, 601));
  for (int scale : {1, 2, 4, 8}) {
    const std::optional<DecodedPicture> picture = decodePicture(folder.file("foto.jpg"), scale);
    ASSERT_TRUE(picture) << scale;
    // libjpeg rounds a scaled size up.
    EXPECT_EQ(picture->width, (801 + scale - 1) / scale);
    EXPECT_EQ(picture->height, (601 + scale - 1) / scale);
    EXPECT_EQ(picture->factor, scale);
    EXPECT_EQ(picture->full, (PictureSize{801, 601}));
    ASSERT_EQ(picture->rgba.size(), std::size_t(picture->width) * picture->height * 4);
    // The grey of the test picture, opaque.
    EXPECT_NEAR(picture->rgba[0], 128, 2);
    EXPECT_EQ(picture->rgba[3], 255);
  }
  // Another scale is taken as the whole picture.
  EXPECT_EQ(decodePicture(folder.file("foto.jpg"), 3)->factor, 1);
}

// A GIF whose row y has colour index y % 3 (red, green, transparent),
// written interlaced: its rows stand in the file in the four passes.
bool writeStripes(const std::string& path, int width, int height) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (!gif) return false;
  GifColorType colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  GraphicsControlBlock control{};
  control.TransparentColor = 2;
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  bool written = map && EGifPutScreenDesc(gif, width, height, 2, 0, map) == GIF_OK &&
                 EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK &&
                 EGifPutImageDesc(gif, 0, 0, width, height, true, nullptr) == GIF_OK;
  const int start[] = {0, 4, 2, 1};
  const int step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4 && written; ++pass) {
    for (int y = start[pass]; y < height && written; y += step[pass]) {
      std::vector<GifPixelType> row(static_cast<size_t>(width), static_cast<GifPixelType>(y % 3));
      written = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
  }
  written = EGifCloseFile(gif, &error) == GIF_OK && written;
  GifFreeMapObject(map);
  return written;
}

TEST(PictureReader, AGifWholeWithItsPaletteRowsAndTransparency) {
  const TempFolder folder;
  ASSERT_TRUE(writeStripes(folder.file("striber.gif"), 5, 13));
  const std::optional<DecodedPicture> picture = decodePicture(folder.file("striber.gif"), 8);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 5);
  EXPECT_EQ(picture->height, 13);
  EXPECT_EQ(picture->factor, 1);
  for (int y = 0; y < 13; ++y) {
    const std::uint8_t* pixel = picture->rgba.data() + std::size_t(y) * 5 * 4;
    switch (y % 3) {
      case 0:
        EXPECT_EQ(std::vector<int>(pixel, pixel + 4), (std::vector<int>{255, 0, 0, 255})) << y;
        break;
      case 1:
        EXPECT_EQ(std::vector<int>(pixel, pixel + 4), (std::vector<int>{0, 255, 0, 255})) << y;
        break;
      default:
        EXPECT_EQ(pixel[3], 0) << "transparent, row " << y;
    }
  }
}

TEST(PictureReader, DamagedAndUnreasonableFilesAreRefused) {
  const TempFolder folder;
  ASSERT_TRUE(testing_support::writeJpeg(folder.file("hel.jpg"), 40, 30));
  const std::string whole = folder.read("hel.jpg");
  EXPECT_FALSE(decodePicture(folder.write("halv.jpg", whole.substr(0, whole.size() / 3))));
  EXPECT_FALSE(decodePicture(folder.write("tekst.jpg", "ikke et billede")));
  EXPECT_FALSE(decodePicture(folder.file("mangler.gif")));
  ASSERT_TRUE(testing_support::writeGif(folder.file("lille.gif"), 4, 4));
  const std::string gif = folder.read("lille.gif");
  EXPECT_FALSE(decodePicture(folder.write("kort.gif", gif.substr(0, 20))));
  // A header that claims 65535 x 65535 pixels.
  std::string huge = gif;
  huge[6] = huge[7] = huge[8] = huge[9] = '\xFF';
  EXPECT_FALSE(decodePicture(folder.write("stor.gif", huge)));
  // Bytes after the end of a JPEG do not matter.
  EXPECT_TRUE(decodePicture(folder.write("polstret.jpg", whole + std::string(1000, '\0'))));
}

}  // namespace
}  // namespace morvel
