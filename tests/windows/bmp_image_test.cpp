// The screenshot file of benchora.exe.
#include <gtest/gtest.h>

#include "bmp_image.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(BmpImageTest, HeadersAndBottomUpPaddedRows) {
  // 3x2 pixels, top row red, bottom row blue (blue, green, red, unused).
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 3; ++i) pixels.insert(pixels.end(), {0, 0, 255, 0});
  for (int i = 0; i < 3; ++i) pixels.insert(pixels.end(), {255, 0, 0, 0});
  const std::vector<uint8_t> bmp = benchora::EncodeBmp(3, 2, pixels);

  const size_t row = 12;  // 9 bytes padded to 12
  ASSERT_EQ(bmp.size(), 54 + 2 * row);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54u);
  EXPECT_EQ(U32(bmp, 14), 40u);
  EXPECT_EQ(U32(bmp, 18), 3u);
  EXPECT_EQ(U32(bmp, 22), 2u);
  EXPECT_EQ(bmp[28], 24);
  // The file starts with the bottom row.
  EXPECT_EQ((std::vector<uint8_t>(bmp.begin() + 54, bmp.begin() + 57)),
            (std::vector<uint8_t>{255, 0, 0}));
  EXPECT_EQ((std::vector<uint8_t>(bmp.begin() + 54 + row, bmp.begin() + 57 + row)),
            (std::vector<uint8_t>{0, 0, 255}));
}

TEST(BmpImageTest, MismatchedSizesGiveNothing) {
  EXPECT_TRUE(benchora::EncodeBmp(2, 2, std::vector<uint8_t>(15)).empty());
  EXPECT_TRUE(benchora::EncodeBmp(0, 2, {}).empty());
}

}  // namespace
