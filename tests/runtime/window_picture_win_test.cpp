#include <cstdlib>

#include "tests/runtime/picture_builders.h"
#include "tests/runtime/picture_samples.h"
#include "tests/runtime/window_fixture_win.h"

namespace {

using namespace picture_builders;

// A solid 24-bit BMP of the given size and colour (0xRRGGBB).
Bytes solid_bmp(int width, int height, std::uint32_t colour) {
  DibSpec spec(width, height, 24);
  std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
  spec.rows.assign(stride * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t *pixel = spec.rows.data() + y * stride + 3 * x;
      pixel[0] = std::uint8_t(colour);
      pixel[1] = std::uint8_t(colour >> 8);
      pixel[2] = std::uint8_t(colour >> 16);
    }
  return bmp_file(spec);
}

bool close_to(std::uint32_t pixel, std::uint32_t expected, int tolerance = 6) {
  for (int shift : {0, 8, 16, 24})
    if (std::abs(int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

TEST(DecodePicture, PlatformFormatsDecodeToTheirPixels) {
  OleInit ole;
  auto jpeg = decode_picture(picture_samples::kRedJpeg40x20, true);
  ASSERT_EQ(jpeg.size(), 1u);
  EXPECT_EQ(jpeg[0].image.width, 40);
  EXPECT_EQ(jpeg[0].image.height, 20);
  EXPECT_TRUE(close_to(jpeg[0].image.pixels[420], 0xFFFF0000));

  auto png = decode_picture(picture_samples::kBlueHalfPng4x2, false);
  ASSERT_EQ(png.size(), 1u);
  EXPECT_EQ(png[0].image.pixels[0], 0xFF0000FFu);
  EXPECT_EQ(png[0].image.pixels[3] >> 24, 0u);

  auto icon = decode_picture(picture_samples::kGreenIcon16, false);
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(icon[0].image.width, 16);
  EXPECT_EQ(icon[0].image.pixels[0], 0xFF00FF00u);
}

TEST(DecodePicture, GifIsAnimatedOnlyWhenAsked) {
  OleInit ole;
  auto animated = decode_picture(picture_samples::kRedGreenGif8x8, true);
  ASSERT_EQ(animated.size(), 2u);
  EXPECT_EQ(animated[0].image.pixels[0], 0xFFFF0000u);
  EXPECT_EQ(animated[1].image.pixels[0], 0xFF00FF00u);
  EXPECT_EQ(animated[0].delay_ms, 50);
  EXPECT_EQ(decode_picture(picture_samples::kRedGreenGif8x8, false).size(), 1u);
}

TEST(DecodePicture, BytesThatHoldNoPictureGiveNothing) {
  OleInit ole;
  Bytes truncated_jpeg(picture_samples::kRedJpeg40x20.begin(),
                       picture_samples::kRedJpeg40x20.begin() + 30);
  for (const Bytes &bytes : {Bytes{}, ToBytes(Text("no picture here")), truncated_jpeg,
                             Bytes{0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}) {
    EXPECT_TRUE(decode_picture(bytes, true).empty());
  }
}

class PictureBoxTest : public WindowTest {
protected:
  Widget load_box(PictureMode mode, bool animate = false) {
    WindowForm form = plain_form(40, 40, 600, 560);
    ControlForm box;
    box.name = "box";
    box.kind = ControlKind::PictureBox;
    box.left = 10;
    box.top = 10;
    box.width = 481;
    box.height = 448;
    box.display_mode = mode;
    box.animate = animate;
    form.controls.push_back(box);
    Window &window = make(std::move(form));
    EXPECT_TRUE(WindowLoad(window));
    ProcessEvents();
    return window.control("box");
  }

  static std::uint32_t pixel_at(Widget box, int x, int y) {
    HWND hwnd = hwnd_of(box);
    UpdateWindow(hwnd);
    WindowDc dc(hwnd);
    COLORREF colour = GetPixel(dc.get(), x, y);
    return 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  }

  static std::uint32_t background() {
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    return 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  }
};

TEST_F(PictureBoxTest, BytesReadBackUnchangedWhateverTheyHold) {
  Widget box = load_box(PictureMode::Fitted);
  EXPECT_EQ(box.picture(), Bytes{});
  for (const Bytes &bytes : {solid_bmp(3, 3, 0x00FF00), picture_samples::kRedJpeg40x20,
                             ToBytes(Text("not a picture")), Bytes{'B', 'M', 0, 0, 0}, Bytes{}}) {
    box.set_picture(bytes);
    EXPECT_EQ(box.picture(), bytes);
  }
}

TEST_F(PictureBoxTest, NoPictureShowsTheBackground) {
  Widget box = load_box(PictureMode::Natural);
  box.set_picture(solid_bmp(481, 448, 0xFF0000));
  EXPECT_EQ(pixel_at(box, 5, 5), 0xFFFF0000u);
  box.set_picture(ToBytes(Text("BM but nothing after it")));
  EXPECT_EQ(pixel_at(box, 5, 5), background());
}

TEST_F(PictureBoxTest, FittedModeShrinksLargePicturesByOneFactorAndCentres) {
  Widget box = load_box(PictureMode::Fitted);
  // 962 x 100 halves to 481 x 50, placed at top (448 - 50) / 2 = 199.
  box.set_picture(solid_bmp(962, 100, 0xFF0000));
  EXPECT_EQ(pixel_at(box, 240, 198), background());
  EXPECT_TRUE(close_to(pixel_at(box, 0, 199), 0xFFFF0000));
  EXPECT_TRUE(close_to(pixel_at(box, 480, 248), 0xFFFF0000));
  EXPECT_EQ(pixel_at(box, 240, 249), background());

  // 100 x 50 is never enlarged: natural size at (190, 199).
  box.set_picture(solid_bmp(100, 50, 0x0000FF));
  EXPECT_EQ(pixel_at(box, 189, 220), background());
  EXPECT_EQ(pixel_at(box, 190, 199), 0xFF0000FFu);
  EXPECT_EQ(pixel_at(box, 289, 248), 0xFF0000FFu);
  EXPECT_EQ(pixel_at(box, 290, 220), background());
}

TEST_F(PictureBoxTest, NaturalModeAtTheCornerAndTiledModeRepeats) {
  Widget natural = load_box(PictureMode::Natural);
  natural.set_picture(solid_bmp(100, 50, 0x0000FF));
  EXPECT_EQ(pixel_at(natural, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(pixel_at(natural, 99, 49), 0xFF0000FFu);
  EXPECT_EQ(pixel_at(natural, 100, 20), background());

  Widget tiled = load_box(PictureMode::Tiled);
  tiled.set_picture(solid_bmp(100, 50, 0x0000FF));
  EXPECT_EQ(pixel_at(tiled, 450, 420), 0xFF0000FFu);
}

TEST_F(PictureBoxTest, TheProgramsOwnCaptureFormatIsShown) {
  Widget box = load_box(PictureMode::Natural);
  DibSpec capture(2, 2, 32, 44); // header-size field 44, pixels at 58
  capture.rows = {0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0};
  box.set_picture(bmp_file(capture));
  EXPECT_EQ(pixel_at(box, 1, 1), 0xFFFF0000u);
}

TEST_F(PictureBoxTest, AnimatedGifMovesOnToItsNextFrame) {
  Widget box = load_box(PictureMode::Natural, true);
  box.set_picture(picture_samples::kRedGreenGif8x8);
  EXPECT_EQ(pixel_at(box, 2, 2), 0xFFFF0000u);
  bool turned_green = false;
  for (int i = 0; i < 300 && !turned_green; ++i) {
    ProcessEvents();
    Sleep(10);
    turned_green = pixel_at(box, 2, 2) == 0xFF00FF00u;
  }
  EXPECT_TRUE(turned_green);
}

} // namespace
