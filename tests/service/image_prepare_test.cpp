#include "service/image_prepare.h"

#include <gtest/gtest.h>

namespace ocr_service {
namespace {

// Dark bars of the given heights, 10 px apart, on white (or the reverse).
GreyImage lines_of(std::vector<int> heights, bool dark_ground = false) {
  int total = 10;
  for (int h : heights)
    total += h + 10;
  std::uint8_t ground = dark_ground ? 20 : 240, ink = dark_ground ? 230 : 10;
  GreyImage image(200, total, ground);
  int y = 10;
  for (int h : heights) {
    for (int row = y; row < y + h; ++row) {
      for (int x = 10; x < 150; x += 3)
        image.at(x, row) = ink; // strokes, not a solid bar
    }
    y += h + 10;
  }
  return image;
}

TEST(ImagePrepareTest, FindsTheGroundAndTheLineHeight) {
  EXPECT_FALSE(has_dark_background(lines_of({12, 12})));
  EXPECT_TRUE(has_dark_background(lines_of({12, 12}, true)));
  EXPECT_EQ(typical_line_height(lines_of({12, 14, 13})), 13);
  EXPECT_EQ(typical_line_height(lines_of({})), 0);
  // Rules and filled bars are not text lines.
  GreyImage with_bar = lines_of({16, 16});
  for (int x = 0; x < 200; ++x)
    with_bar.at(x, 0) = with_bar.at(x, 1) = 10;
  EXPECT_EQ(typical_line_height(with_bar), 16);
}

TEST(ImagePrepareTest, SmallTextIsEnlargedSoCapitalsReachTwentyPixels) {
  struct Case {
    int line_height, width, height;
    double factor;
  } cases[] = {
      {0, 100, 100, 1.0},  // no text found
      {40, 100, 100, 1.0}, // large enough already
      {14, 800, 70, 20.0 / (0.7 * 14)},
      {2, 100, 100, 4.0},    // at most four times
      {10, 8000, 8000, 1.0}, // never beyond the pixel budget
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.line_height);
    double factor = upscale_factor(c.line_height, c.width, c.height);
    EXPECT_NEAR(factor, c.factor, 1e-9);
    EXPECT_LE(factor * factor * c.width * c.height,
              std::max(kMaxPreparedPixels, 1.0 * c.width * c.height));
  }
}

TEST(ImagePrepareTest, AccuratePreparationMakesDarkTextOnLightLargerWithMargin) {
  GreyImage dark = lines_of({12}, true);
  GreyImage prepared = prepare_accurate(dark);
  EXPECT_GT(prepared.width, dark.width * 2);
  EXPECT_FALSE(has_dark_background(prepared));
  EXPECT_EQ(prepared.at(0, 0), 255);
  GreyImage general = prepare_general(dark);
  EXPECT_EQ(general.width, dark.width + 24);
  EXPECT_EQ(general.at(12 + 10, 12 + 10), 255 - 230) << "ink turned dark";
}

TEST(ImagePrepareTest, ScalingKeepsFlatAreasAndSizes) {
  GreyImage image(3, 2, 77);
  GreyImage scaled = scale_bilinear(image, 2.5);
  EXPECT_EQ(scaled.width, 8);
  EXPECT_EQ(scaled.height, 5);
  for (std::uint8_t value : scaled.pixels)
    EXPECT_EQ(value, 77);
  GreyImage padded = pad(image, 2, 255);
  EXPECT_EQ(padded.width, 7);
  EXPECT_EQ(padded.at(2, 2), 77);
  EXPECT_EQ(padded.at(1, 2), 255);
}

} // namespace
} // namespace ocr_service
