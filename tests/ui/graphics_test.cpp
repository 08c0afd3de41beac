// Pictures decoded from JPEG and BMP files, and icons.
#include "ui/graphics.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "common/temp_folder.h"
#include "ui/types.h"

namespace {

class GraphicsTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return dir + "/" + name;
  }
  velmaro::testing::TempFolder temp{"velmaro-ui"};
  std::string dir = temp.Path();
};

TEST_F(GraphicsTest, JpegAndBmpAreReallyDecoded) {
  // Catches pictures that keep only the file name, swapped colour channels
  // and BMP rows read upside down. The JPEG of the operator scripts is red
  // on its left half and blue on its right.
  ui::Picture p;
  p.LoadFromFile(SCRIPT_FILES_DIR "articolo.jpg");
  EXPECT_EQ(p.Format(), "JPEG");
  EXPECT_EQ(p.Width(), 24);
  EXPECT_EQ(p.Height(), 16);
  auto red = p.PixelColor(2, 8), blue = p.PixelColor(21, 8);
  EXPECT_GT(red & 0xFF, 150u);
  EXPECT_LT((red >> 16) & 0xFF, 60u);
  EXPECT_GT((blue >> 16) & 0xFF, 150u);

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
