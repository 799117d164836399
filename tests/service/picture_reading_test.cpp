// Picture headers and the server's own BMP reader.
#include <gtest/gtest.h>

#include <array>

#include "fake_engines.h"
#include "service/bmp_decoder.h"
#include "service/image_probe.h"
#include "test_server.h"

namespace ocr_service {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes &bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct BmpSpec {
  int width = 2, height = 2, bits = 32;
  std::uint32_t header_size = 44, compression = 0;
  bool top_down = false;
  std::array<std::uint32_t, 4> table = {}; // colour table or bit masks
  int table_entries = 0;
};

// A BMP whose pixel rows come from pixel(x, y) in file order, already packed.
Bytes make_bmp(const BmpSpec &spec, const Bytes &rows) {
  std::size_t extra = static_cast<std::size_t>(spec.table_entries) * 4;
  std::size_t offset = 14 + spec.header_size + (spec.header_size >= 52 ? 0 : extra);
  Bytes bytes(offset + rows.size(), 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
  put(bytes, 10, static_cast<std::uint32_t>(offset), 4);
  put(bytes, 14, spec.header_size, 4);
  put(bytes, 18, static_cast<std::uint32_t>(spec.width), 4);
  put(bytes, 22, static_cast<std::uint32_t>(spec.top_down ? -spec.height : spec.height), 4);
  put(bytes, 26, 1, 2);
  put(bytes, 28, static_cast<std::uint32_t>(spec.bits), 2);
  put(bytes, 30, spec.compression, 4);
  put(bytes, 34, static_cast<std::uint32_t>(rows.size()), 4);
  for (int i = 0; i < spec.table_entries; ++i)
    put(bytes, 54 + static_cast<std::size_t>(i) * 4, spec.table[i], 4);
  std::copy(rows.begin(), rows.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return bytes;
}

std::vector<std::uint8_t> pixels(const GreyImage &image) {
  return image.pixels;
}

TEST(BmpDecoderTest, ReadsTheLayoutsScreensAndProgramsWrite) {
  // 2x2: file rows bottom first unless top-down. Black, white / red, blue.
  struct Case {
    const char *name;
    BmpSpec spec;
    Bytes rows;
    Bytes grey; // top row first
  } cases[] = {
      {"own capture: 32 bits, header 44, pixels at 58",
       {2, 2, 32, 44},
       {0, 0, 255, 0, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0},
       {0, 255, 76, 29}},
      {"24 bits, header 40, rows padded to 4 bytes",
       {2, 2, 24, 40},
       {0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0},
       {0, 255, 76, 29}},
      {"24 bits top-down",
       {2, 2, 24, 40, 0, true},
       {0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0},
       {0, 255, 76, 29}},
      {"8 bits with a colour table",
       {2, 2, 8, 40, 0, false, {0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF}, 4},
       {2, 3, 0, 0, 0, 1, 0, 0},
       {0, 255, 76, 29}},
      {"1 bit",
       {2, 2, 1, 40, 0, false, {0x000000, 0xFFFFFF}, 2},
       {0x40, 0, 0, 0, 0x80, 0, 0, 0},
       {255, 0, 0, 255}},
      {"16 bits 5-6-5 bit fields",
       {2, 2, 16, 40, 3, false, {0xF800, 0x07E0, 0x001F}, 3},
       {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x00, 0xFF, 0xFF},
       {0, 255, 76, 29}},
      {"32 bits, header 124 with masks inside",
       {2, 2, 32, 124, 3, false, {0x00FF0000, 0x0000FF00, 0x000000FF}, 3},
       {0, 0, 255, 0, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0},
       {0, 255, 76, 29}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file = make_bmp(c.spec, c.rows);
    auto image = decode_bmp(file);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(pixels(*image), c.grey);
  }
}

TEST(BmpDecoderTest, RefusesWhatItCannotReadSafely) {
  Bytes rows(16, 0);
  Bytes whole = make_bmp({2, 2, 32, 44}, rows);
  Bytes short_pixels(whole.begin(), whole.end() - 5);
  Bytes compressed = make_bmp({2, 2, 8, 40, 1}, rows); // run-length
  Bytes core = make_bmp({2, 2, 24, 12}, rows);
  Bytes overlapping = whole;
  put(overlapping, 10, 20, 4); // pixels inside the header
  Bytes huge = make_bmp({0x7FFFFFFF, 0x7FFFFFFF, 32, 44}, rows);
  for (const Bytes &bad : {short_pixels, compressed, core, overlapping, huge, Bytes{'B', 'M'}}) {
    EXPECT_FALSE(decode_bmp(bad).has_value());
  }
  // The program's file when the clipboard held no bitmap: 58 bytes, no sizes.
  Bytes empty = make_bmp({0, 0, 0, 44}, {});
  EXPECT_EQ(empty.size(), 58u);
  EXPECT_FALSE(decode_bmp(empty).has_value());
}

TEST(ImageProbeTest, SizesComeFromTheHeaderAlone) {
  Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0,    4,    0,    0, 0xFF, 0xFF, 0xC2,
                0,    11,   8,    0x01, 0x2C, 0x03, 0x20, 3, 0,    0};
  Bytes jpeg_no_frame = {0xFF, 0xD8, 0xFF, 0xDA, 0, 4, 0, 0};
  Bytes bmp_top_down = make_bmp({300, 20, 32, 44, 0, true}, {});
  struct Case {
    const char *name;
    Bytes bytes;
    ImageFormat format;
    bool has_size;
    int width, height;
  } cases[] = {
      {"PNG", testing::png_header(640, 480), ImageFormat::png, true, 640, 480},
      {"PNG with a huge claim", testing::png_header(100000, 5), ImageFormat::png, true, 100000, 5},
      {"PNG cut before its header",
       {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0},
       ImageFormat::png,
       false,
       0,
       0},
      {"progressive JPEG after fill bytes", jpeg, ImageFormat::jpeg, true, 800, 300},
      {"JPEG without a frame", jpeg_no_frame, ImageFormat::jpeg, false, 0, 0},
      {"top-down BMP", bmp_top_down, ImageFormat::bmp, true, 300, 20},
      {"GIF", {'G', 'I', 'F', '8', '9', 'a'}, ImageFormat::unknown, false, 0, 0},
      {"nothing", {}, ImageFormat::unknown, false, 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ImageProbe probe = probe_image(c.bytes);
    EXPECT_EQ(probe.format, c.format);
    EXPECT_EQ(probe.has_size, c.has_size);
    EXPECT_EQ(probe.width, c.width);
    EXPECT_EQ(probe.height, c.height);
  }
}

TEST(ImageProbeTest, CommittedFixturesAreWhatTheirNamesSay) {
  ImageProbe own = probe_image(testing::read_fixture("capture_44.bmp"));
  EXPECT_EQ(own.format, ImageFormat::bmp);
  EXPECT_EQ(own.width, 320);
  EXPECT_EQ(own.height, 70);
  auto header = read_bmp_header(testing::read_fixture("capture_44.bmp"));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->header_size, 44u);
  EXPECT_EQ(header->pixel_offset, 58u);
  EXPECT_EQ(header->bits_per_pixel, 32);
}

} // namespace
} // namespace ocr_service
