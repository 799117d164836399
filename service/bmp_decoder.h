// BMP files, read by the server itself: the program sends its captures as
// 32-bit BMPs whose header-size field is 44 (the 40-byte header plus one
// colour entry), which common decoders refuse.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "service/grey_image.h"

namespace ocr_service {

struct BmpHeader {
  std::uint32_t header_size = 0;
  std::uint32_t pixel_offset = 0;
  int width = 0;
  int height = 0; // always positive; top_down says which row comes first
  bool top_down = false;
  int bits_per_pixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
};

// The header fields, or nothing when the file is not a BMP or is cut short.
std::optional<BmpHeader> read_bmp_header(const std::vector<std::uint8_t> &bytes);

// Uncompressed BMPs of 1, 4, 8 (with a colour table), 16, 24 and 32 bits per
// pixel, including bit-field masks; any header of 40 bytes or more. Nothing
// for anything else or for pixel data shorter than the header promises.
std::optional<GreyImage> decode_bmp(const std::vector<std::uint8_t> &bytes);

} // namespace ocr_service
