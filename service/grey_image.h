// An 8-bit grey picture, rows top to bottom, no padding between rows. Every
// picture the server recognises is brought to this form first: the engines
// work on grey, and one form keeps the preparation steps simple to test.
#pragma once

#include <cstdint>
#include <vector>

namespace ocr_service {

struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  GreyImage() = default;
  GreyImage(int w, int h, std::uint8_t fill = 255)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint8_t &at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool empty() const { return width <= 0 || height <= 0; }
};

// Luminance of an sRGB pixel, the weights every grey conversion here uses.
inline std::uint8_t grey_of(int red, int green, int blue) {
  return static_cast<std::uint8_t>((red * 299 + green * 587 + blue * 114 + 500) / 1000);
}

} // namespace ocr_service
