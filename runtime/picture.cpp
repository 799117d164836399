#include "runtime/picture.h"

#include <algorithm>
#include <cstring>

namespace {

bool starts_with(const Bytes &bytes, std::initializer_list<std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Icon and cursor directories: reserved 0, type 1 or 2, a non-zero count.
bool icon_directory(const Bytes &bytes, std::uint8_t type) {
  return starts_with(bytes, {0, 0, type, 0}) && (bytes[4] | bytes[5]) != 0;
}

} // namespace

PictureFormat picture_format(const Bytes &bytes) {
  if (bytes.size() < 8)
    return PictureFormat::None;
  if (starts_with(bytes, {'B', 'M'}))
    return PictureFormat::Bmp;
  if (starts_with(bytes, {0xFF, 0xD8}))
    return PictureFormat::Jpeg;
  if (starts_with(bytes, {0x89, 'P', 'N', 'G'}))
    return PictureFormat::Png;
  if (icon_directory(bytes, 1))
    return PictureFormat::Icon;
  if (icon_directory(bytes, 2))
    return PictureFormat::Cursor;
  if (starts_with(bytes, {'G', 'I', 'F', '8', '7', 'a'}) ||
      starts_with(bytes, {'G', 'I', 'F', '8', '9', 'a'}))
    return PictureFormat::Gif;
  if (bytes[0] == 0x0A && bytes[1] <= 5 && bytes[2] == 1 && bytes[3] == 8)
    return PictureFormat::Pcx256;
  if (starts_with(bytes, {0x0A, 3, 1, 1}))
    return PictureFormat::PcxMono;
  return PictureFormat::None;
}

bool picture_size_acceptable(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kPictureMaxSide && height <= kPictureMaxSide &&
         width * height <= kPictureMaxPixels;
}

PictureRect picture_fit(int box_width, int box_height, int image_width, int image_height) {
  if (box_width <= 0 || box_height <= 0 || image_width <= 0 || image_height <= 0)
    return {};
  int width = image_width;
  int height = image_height;
  if (image_width > box_width || image_height > box_height) {
    double factor = std::min(double(box_width) / image_width, double(box_height) / image_height);
    width = static_cast<int>(image_width * factor);
    height = static_cast<int>(image_height * factor);
    // The division and the product can land a hair past the box's side.
    width = std::min(width, box_width);
    height = std::min(height, box_height);
  }
  return {(box_width - width) / 2, (box_height - height) / 2, width, height};
}
