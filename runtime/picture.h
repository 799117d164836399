// Pictures for the picture box: recognising the format from the first bytes,
// the decoders that need no platform help (BMP, cursor files, PCX), and the
// geometry of the display modes. JPEG, PNG, GIF and icons are decoded by the
// platform (picture_decode_win.cpp).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/text.h"

// Top-down rows of pixels, each 0xAARRGGBB (in memory: blue, green, red,
// alpha, as the platform's 32-bit bitmaps lay them out). Alpha 255 is opaque.
struct PictureImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool empty() const { return width <= 0 || height <= 0; }
};

// One frame of a picture; a still picture has one, an animated GIF several.
struct PictureFrame {
  PictureImage image;
  int delay_ms = 0;
};

enum class PictureFormat { None, Bmp, Jpeg, Png, Icon, Cursor, Gif, Pcx256, PcxMono };

// The format the picture box takes the bytes for; fewer than 8 bytes, or bytes
// that start like no known format, give None.
PictureFormat picture_format(const Bytes &bytes);

// Each decoder gives the empty image for anything it cannot read in full.
PictureImage decode_bmp(std::span<const std::uint8_t> file);
PictureImage decode_cursor(std::span<const std::uint8_t> file);
PictureImage decode_pcx(std::span<const std::uint8_t> file);

// The first image of an icon or cursor file when it is stored as PNG (which
// the platform decodes); empty when the first image is a bitmap or missing.
std::span<const std::uint8_t> icon_png_payload(std::span<const std::uint8_t> file);

// Every format the picture box knows, with the platform's help (Windows
// only); an empty list for bytes that hold no picture. Without `animate` a GIF
// gives its first frame only.
std::vector<PictureFrame> decode_picture(const Bytes &bytes, bool animate);

// The decoders refuse images larger than this (side or pixel count), so a
// header cannot make them allocate without bound.
inline constexpr int kPictureMaxSide = 32768;
inline constexpr std::int64_t kPictureMaxPixels = std::int64_t(1) << 26;
bool picture_size_acceptable(std::int64_t width, std::int64_t height);

struct PictureRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PictureRect &) const = default;
};

// Display mode 2 ("fitted"): a picture that fits the box keeps its natural
// size, a larger one is shrunk by one factor for both sides (never enlarged),
// sides truncated to whole pixels; either way it is centred.
PictureRect picture_fit(int box_width, int box_height, int image_width, int image_height);

// Modes: 0 natural size at the top-left corner, 1 tiled, 2 fitted.
enum class PictureMode { Natural = 0, Tiled = 1, Fitted = 2 };
