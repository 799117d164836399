// Shared by the BMP, cursor and PCX decoders: bounds-checked little-endian
// reads and the device-independent bitmap decoder that BMP files and the
// images inside cursor files both carry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "runtime/picture.h"

using ByteSpan = std::span<const std::uint8_t>;

inline std::optional<std::uint32_t> read_u16(ByteSpan bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2)
    return std::nullopt;
  return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8;
}

inline std::optional<std::uint32_t> read_u32(ByteSpan bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4)
    return std::nullopt;
  return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
         std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

inline std::uint32_t make_pixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                                std::uint32_t alpha = 255) {
  return alpha << 24 | red << 16 | green << 8 | blue;
}

struct DibSource {
  ByteSpan dib; // from the info header to the end of what is available
  // Where the pixel rows start within `dib`; when absent they follow the
  // header, the colour masks and the colour table.
  std::optional<std::size_t> pixel_offset;
  // An image of an icon or cursor file: the height counts the colour rows and
  // the transparency mask rows together, and 32-bit pixels carry alpha.
  bool icon_image = false;
};

PictureImage decode_dib(const DibSource &source);

// The first image of an icon (type 1) or cursor (type 2) file.
struct IconDirectoryEntry {
  ByteSpan image;
  int hotspot_x = 0;
  int hotspot_y = 0;
};
std::optional<IconDirectoryEntry> first_icon_entry(ByteSpan file, int type);
