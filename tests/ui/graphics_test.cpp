// Pictures decoded from JPEG and BMP files, and icons.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "common/temp_folder.h"
#include "ui/graphics.h"
#include "ui/types.h"

namespace {

class GraphicsTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return dir + "/" + name;
  }
  // A 16x8 JPEG: red on the left half, blue on the right.
  void WriteJpeg(const std::string& name) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    jpeg_stdio_dest(&c, f);
    c.image_width = 16;
    c.image_height = 8;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(16 * 3);
    for (int x = 0; x < 16; ++x) {
      row[size_t(x) * 3] = x < 8 ? 255 : 0;
      row[size_t(x) * 3 + 2] = x < 8 ? 0 : 255;
    }
    while (c.next_scanline < 8) {
      JSAMPROW r = row.data();
      jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
  }
  velmaro::testing::TempFolder temp{"velmaro-ui"};
  std::string dir = temp.Path();
};

TEST_F(GraphicsTest, JpegAndBmpAreReallyDecoded) {
  // Catches pictures that keep only the file name, swapped colour channels
  // and BMP rows read upside down.
  WriteJpeg("a.jpg");
  ui::Picture p;
  p.LoadFromFile(dir + "/a.jpg");
  EXPECT_EQ(p.Format(), "JPEG");
  EXPECT_EQ(p.Width(), 16);
  EXPECT_EQ(p.Height(), 8);
  auto red = p.PixelColor(2, 4), blue = p.PixelColor(13, 4);
  EXPECT_GT(red & 0xFF, 200u);
  EXPECT_LT((red >> 16) & 0xFF, 60u);
  EXPECT_GT((blue >> 16) & 0xFF, 200u);

  // 2x2, 24 bits, bottom-up: bottom row black, white; top row red, green.
  p.LoadFromFile(Write(
      "b.bmp",
      {'B', 'M', 70, 0, 0,  0, 0, 0, 0, 0,   54,  0,   0, 0, 40, 0, 0,   0, 2,   0, 0, 0, 2, 0,
       0,   0,   1,  0, 24, 0, 0, 0, 0, 0,   16,  0,   0, 0, 0,  0, 0,   0, 0,   0, 0, 0, 0, 0,
       0,   0,   0,  0, 0,  0, 0, 0, 0, 255, 255, 255, 0, 0, 0,  0, 255, 0, 255, 0, 0, 0}));
  EXPECT_EQ(p.Format(), "BMP");
  EXPECT_EQ(p.PixelColor(0, 0), ui::clRed);
  EXPECT_EQ(p.PixelColor(1, 0), ui::clLime);
  EXPECT_EQ(p.PixelColor(1, 1), ui::clWhite);

  EXPECT_THROW(p.LoadFromFile(Write("c.jpg", {0xFF, 0xD8, 0xFF, 0x00, 0x01})), ui::Error);
  EXPECT_TRUE(p.Empty());
  EXPECT_THROW(p.LoadFromFile(dir + "/missing.jpg"), ui::Error);
}

TEST_F(GraphicsTest, IconLoadsOnlyRealIconFiles) {
  // Catches an icon marked loaded from a missing or foreign file.
  ui::Icon i;
  EXPECT_TRUE(i.LoadFromFile(
      Write("z.ico", {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0})));
  EXPECT_EQ(i.Width(), 32);
  EXPECT_EQ(i.FileName(), dir + "/z.ico");
  EXPECT_FALSE(i.LoadFromFile(dir + "/none.ico"));
  EXPECT_FALSE(i.Loaded());
  EXPECT_FALSE(i.LoadFromFile(Write("bad.ico", {'B', 'M', 0, 0})));
}

}  // namespace
