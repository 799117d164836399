#include "runtime/picture.h"

#include <gtest/gtest.h>

#include "tests/runtime/picture_builders.h"

using namespace picture_builders;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;

Bytes padded(Bytes bytes) {
  bytes.resize(8, 0);
  return bytes;
}

TEST(PictureFormat, RecognisedFromTheFirstEightBytes) {
  struct Case {
    Bytes bytes;
    PictureFormat format;
  } cases[] = {
      {padded({'B', 'M'}), PictureFormat::Bmp},
      {padded({0xFF, 0xD8}), PictureFormat::Jpeg},
      {padded({0x89, 'P', 'N', 'G'}), PictureFormat::Png},
      {padded({0, 0, 1, 0, 1, 0}), PictureFormat::Icon},
      {padded({0, 0, 1, 0, 0, 0}), PictureFormat::None}, // no images
      {padded({0, 0, 2, 0, 0, 1}), PictureFormat::Cursor},
      {padded({'G', 'I', 'F', '8', '7', 'a'}), PictureFormat::Gif},
      {padded({'G', 'I', 'F', '8', '9', 'a'}), PictureFormat::Gif},
      {padded({'G', 'I', 'F', '8', '8', 'a'}), PictureFormat::None},
      {padded({0x0A, 5, 1, 8}), PictureFormat::Pcx256},
      {padded({0x0A, 0, 1, 8}), PictureFormat::Pcx256},
      {padded({0x0A, 6, 1, 8}), PictureFormat::None},
      {padded({0x0A, 3, 1, 1}), PictureFormat::PcxMono},
      {padded({0x0A, 5, 0, 8}), PictureFormat::None},
      {{'B', 'M', 0, 0, 0, 0, 0}, PictureFormat::None}, // seven bytes
      {{}, PictureFormat::None},
      {padded({'h', 'e', 'l', 'l', 'o'}), PictureFormat::None},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(picture_format(c.bytes), c.format);
  }
}

TEST(PictureFit, CentresSmallPicturesAndShrinksLargeOnesByOneFactor) {
  struct Case {
    int box_width, box_height, image_width, image_height;
    PictureRect expected;
  } cases[] = {
      {481, 448, 100, 50, {190, 199, 100, 50}},  // natural size, centred
      {481, 448, 481, 448, {0, 0, 481, 448}},    // exactly fits
      {481, 448, 962, 448, {0, 112, 481, 224}},  // wider: halved
      {481, 448, 100, 896, {215, 0, 50, 448}},   // taller: halved
      {481, 448, 1920, 1080, {0, 89, 481, 270}}, // a screen capture
      {481, 448, 1000, 10, {0, 222, 481, 4}},    // 4.81 truncated to 4
      {481, 448, 482, 10, {0, 219, 481, 9}},     // 9.979 truncated to 9
      {481, 448, 0, 10, {}},
      {0, 448, 10, 10, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.image_width << "x" << c.image_height);
    EXPECT_EQ(picture_fit(c.box_width, c.box_height, c.image_width, c.image_height), c.expected);
  }
}

// Three pixels wide, two high: the bottom row stored first.
DibSpec two_rows_24() {
  DibSpec spec(3, 2, 24);
  spec.rows = {0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0,  // bottom: red green blue
               255, 255, 255, 0, 0,   0, 255, 255, 255, 0, 0, 0}; // top: white black white
  return spec;
}

TEST(DecodeBmp, TwentyFourBitRowsBottomFirstWithPadding) {
  PictureImage image = decode_bmp(bmp_file(two_rows_24()));
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels,
            (std::vector<std::uint32_t>{kWhite, kBlack, kWhite, kRed, kGreen, kBlue}));
}

TEST(DecodeBmp, NegativeHeightStoresTheTopRowFirst) {
  DibSpec spec = two_rows_24();
  spec.height = -2;
  PictureImage image = decode_bmp(bmp_file(spec));
  EXPECT_EQ(image.pixels,
            (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kWhite, kBlack, kWhite}));
}

TEST(DecodeBmp, CaptureLayoutWithHeaderSize44IsOpaque) {
  // The program's own capture: 32 bits, header-size field 44, rows at 58, and
  // a reserved fourth byte of zero that must not make the picture invisible.
  DibSpec spec(2, 1, 32, 44);
  spec.rows = {0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0};
  Bytes file = bmp_file(spec);
  ASSERT_EQ(file.size(), 58u + 8u);
  ASSERT_EQ(file[10], 58);
  PictureImage image = decode_bmp(file);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0xFF302010, kWhite}));
}

TEST(DecodeBmp, SixteenBitDefaultAndBitFieldLayouts) {
  DibSpec rgb555(2, 1, 16);
  rgb555.rows = {0x00, 0x7C, 0x1F, 0x00}; // red, blue
  EXPECT_EQ(decode_bmp(bmp_file(rgb555)).pixels, (std::vector<std::uint32_t>{kRed, kBlue}));

  DibSpec rgb565(2, 1, 16, 40, 3);
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.rows = {0xE0, 0x07, 0x00, 0xF8}; // green, red
  EXPECT_EQ(decode_bmp(bmp_file(rgb565)).pixels, (std::vector<std::uint32_t>{kGreen, kRed}));
}

TEST(DecodeBmp, ThirtyTwoBitAlphaMaskIsHonouredUnlessAllZero) {
  DibSpec spec(1, 1, 32, 40, 3);
  spec.masks = {0xFF0000, 0xFF00, 0xFF};
  spec.rows = {0x01, 0x02, 0x03, 0x80};
  EXPECT_EQ(decode_bmp(bmp_file(spec)).pixels[0], 0xFF030201u); // no alpha mask: opaque

  spec.header_size = 56; // masks inside the header, alpha mask included
  spec.masks.clear();
  Bytes file = bmp_file(spec);
  const std::uint32_t masks[] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  for (int i = 0; i < 4; ++i)
    for (int b = 0; b < 4; ++b)
      file[14 + 40 + 4 * i + b] = std::uint8_t(masks[i] >> (8 * b));
  EXPECT_EQ(decode_bmp(file).pixels[0], 0x80030201u);
  file.back() = 0; // every pixel's alpha zero
  EXPECT_EQ(decode_bmp(file).pixels[0], 0xFF030201u);
}

TEST(DecodeBmp, PaletteDepths) {
  DibSpec spec(3, 1, 8);
  spec.palette = {0xFF0000, 0x00FF00};
  spec.rows = {1, 0, 7, 0}; // index 7 lies outside the table
  EXPECT_EQ(decode_bmp(bmp_file(spec)).pixels, (std::vector<std::uint32_t>{kGreen, kRed, kBlack}));

  DibSpec mono(9, 1, 1);
  mono.palette = {0x000000, 0xFFFFFF};
  mono.rows = {0xA0, 0x80, 0, 0};
  auto pixels = decode_bmp(bmp_file(mono)).pixels;
  ASSERT_EQ(pixels.size(), 9u);
  EXPECT_EQ(pixels[0], kWhite);
  EXPECT_EQ(pixels[1], kBlack);
  EXPECT_EQ(pixels[2], kWhite);
  EXPECT_EQ(pixels[8], kWhite);
}

TEST(DecodeBmp, DamagedFilesGiveNothing) {
  Bytes good = bmp_file(two_rows_24());
  struct Case {
    const char *what;
    Bytes bytes;
  } cases[] = {
      {"truncated rows", Bytes(good.begin(), good.end() - 1)},
      {"header only", Bytes(good.begin(), good.begin() + 30)},
      {"pixel offset past the end",
       [&] {
         Bytes b = good;
         b[11] = 0x7F;
         return b;
       }()},
      {"pixel offset inside the file header",
       [&] {
         Bytes b = good;
         b[10] = 2;
         return b;
       }()},
      {"depth 7",
       [&] {
         Bytes b = good;
         b[28] = 7;
         return b;
       }()},
      {"run-length compression",
       [&] {
         Bytes b = good;
         b[30] = 1;
         return b;
       }()},
      {"zero width",
       [&] {
         Bytes b = good;
         b[18] = 0;
         return b;
       }()},
      {"width of 2^31-1",
       [&] {
         Bytes b = good;
         b[18] = b[19] = b[20] = 0xFF;
         b[21] = 0x7F;
         return b;
       }()},
      {"header size 300",
       [&] {
         Bytes b = good;
         b[15] = 1;
         return b;
       }()},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(decode_bmp(c.bytes).empty());
  }
}

TEST(DecodeCursor, MaskMakesPixelsTransparent) {
  DibSpec spec(2, 2, 8);
  spec.palette = {0xFF0000, 0x0000FF};
  spec.rows = {0, 1, 0, 0, 1, 0, 0, 0};        // bottom: red blue; top: blue red
  Bytes mask = {0x40, 0, 0, 0, 0x80, 0, 0, 0}; // bottom right, top left transparent
  Bytes file = cursor_file(spec, mask, 5, 7);
  EXPECT_EQ(picture_format(file), PictureFormat::Cursor);
  PictureImage image = decode_cursor(file);
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0x000000FF, kRed, kRed, 0x000000FF}));
}

TEST(DecodeCursor, ThirtyTwoBitImagesCarryTheirOwnAlpha) {
  DibSpec spec(1, 1, 32);
  spec.rows = {0x10, 0x20, 0x30, 0x40};
  Bytes mask = {0x80, 0, 0, 0}; // ignored once the image has alpha
  EXPECT_EQ(decode_cursor(cursor_file(spec, mask, 0, 0)).pixels[0], 0x40302010u);
  spec.rows[3] = 0; // no alpha at all: the mask decides
  EXPECT_EQ(decode_cursor(cursor_file(spec, {0x00, 0, 0, 0}, 0, 0)).pixels[0], 0xFF302010u);
}

TEST(DecodeCursor, DamagedDirectoriesGiveNothing) {
  DibSpec spec(1, 1, 32);
  spec.rows = {1, 2, 3, 4};
  Bytes good = cursor_file(spec, {0, 0, 0, 0}, 0, 0);
  Bytes offset_out = good;
  offset_out[18] = 0xFF;
  Bytes truncated(good.begin(), good.end() - 6);
  EXPECT_TRUE(decode_cursor(offset_out).empty());
  EXPECT_TRUE(decode_cursor(truncated).empty());
  EXPECT_TRUE(decode_cursor(Bytes(good.begin(), good.begin() + 10)).empty());
}

Bytes with_palette(Bytes file, std::uint32_t first, std::uint32_t second) {
  file.push_back(0x0C);
  Bytes table(768, 0);
  for (int i = 0; i < 3; ++i) {
    table[i] = std::uint8_t(first >> (16 - 8 * i));
    table[3 + i] = std::uint8_t(second >> (16 - 8 * i));
  }
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

TEST(DecodePcx, TwoHundredFiftySixColoursWithRunsAcrossLines) {
  // 3 x 2, 4 bytes a line: one run of five 1s crosses into the second line.
  Bytes data = {0xC5, 1, 0, 0, 0xC2, 1};
  Bytes file = with_palette(pcx_file(5, 8, 1, 3, 2, 4, data), 0x102030, 0xFF0000);
  ASSERT_EQ(picture_format(file), PictureFormat::Pcx256);
  PictureImage image = decode_pcx(file);
  EXPECT_EQ(image.pixels,
            (std::vector<std::uint32_t>{kRed, kRed, kRed, kRed, 0xFF102030, 0xFF102030}));
}

TEST(DecodePcx, MonochromeSetBitsAreWhite) {
  Bytes file = pcx_file(3, 1, 1, 10, 1, 2, {0xA0, 0xC1, 0xC0});
  ASSERT_EQ(picture_format(file), PictureFormat::PcxMono);
  auto pixels = decode_pcx(file).pixels;
  ASSERT_EQ(pixels.size(), 10u);
  EXPECT_EQ(pixels[0], kWhite);
  EXPECT_EQ(pixels[1], kBlack);
  EXPECT_EQ(pixels[2], kWhite);
  EXPECT_EQ(pixels[8], kWhite);
  EXPECT_EQ(pixels[9], kWhite);
}

TEST(DecodePcx, DamagedFilesGiveNothing) {
  Bytes good = with_palette(pcx_file(5, 8, 1, 2, 1, 2, {7, 8}), 0, 0);
  struct Case {
    const char *what;
    Bytes bytes;
  } cases[] = {
      {"no colour table", pcx_file(5, 8, 1, 2, 1, 2, {7, 8})},
      {"rows cut short", with_palette(pcx_file(5, 8, 1, 2, 2, 2, {7, 8}), 0, 0)},
      {"run count at the end", pcx_file(3, 1, 1, 8, 1, 1, {0xC1})},
      {"bytes per line below the width", with_palette(pcx_file(5, 8, 1, 4, 1, 2, {1, 2}), 0, 0)},
      {"a huge image from a short stream", pcx_file(3, 1, 1, 30000, 30000, 3750, {0xFF, 0})},
      {"header only", Bytes(good.begin(), good.begin() + 100)},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(decode_pcx(c.bytes).empty());
  }
  EXPECT_FALSE(decode_pcx(good).empty());
}

} // namespace
