#include "runtime/picture_dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitFields = 3;
constexpr std::uint32_t kCompressionAlphaBitFields = 6;

struct DibLayout {
  std::int64_t width = 0;
  std::int64_t height = 0; // of the colour image, always positive
  bool top_down = false;
  int bits = 0;
  std::uint32_t compression = 0;
  std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
  bool explicit_alpha_mask = false;
  std::vector<std::uint32_t> palette;
  std::size_t pixel_offset = 0;
};

bool valid_depth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

void default_masks(DibLayout &layout, bool icon_image) {
  if (layout.bits == 16)
    layout.masks = {0x7C00, 0x03E0, 0x001F, 0};
  else if (layout.bits == 32)
    layout.masks = {0xFF0000, 0xFF00, 0xFF, icon_image ? 0xFF000000u : 0u};
}

// Reads the masks of a bit-fields bitmap, which either sit inside a larger
// header or follow a 40-byte one; returns where the colour table starts.
std::optional<std::size_t> read_masks(ByteSpan dib, std::size_t header_size, DibLayout &layout) {
  std::size_t count = layout.compression == kCompressionAlphaBitFields ? 4 : 3;
  bool inside = header_size >= 40 + 4 * count;
  std::size_t at = inside ? 40 : header_size;
  for (std::size_t i = 0; i < count; ++i) {
    auto mask = read_u32(dib, at + 4 * i);
    if (!mask)
      return std::nullopt;
    layout.masks[i] = *mask;
  }
  if (count == 3 && header_size >= 56) {
    layout.masks[3] = read_u32(dib, 52).value_or(0);
  }
  layout.explicit_alpha_mask = layout.masks[3] != 0;
  return inside ? header_size : header_size + 4 * count;
}

bool read_palette(ByteSpan dib, std::size_t at, std::size_t count, std::size_t entry_size,
                  DibLayout &layout) {
  if (at > dib.size() || (dib.size() - at) / entry_size < count)
    return false;
  layout.palette.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t *entry = dib.data() + at + i * entry_size;
    layout.palette[i] = make_pixel(entry[2], entry[1], entry[0]);
  }
  return true;
}

std::optional<DibLayout> read_core_header(ByteSpan dib) {
  DibLayout layout;
  layout.width = read_u16(dib, 4).value_or(0);
  layout.height = read_u16(dib, 6).value_or(0);
  layout.bits = int(read_u16(dib, 10).value_or(0));
  if (!valid_depth(layout.bits) || layout.bits == 16 || layout.bits == 32)
    return std::nullopt;
  std::size_t colours = layout.bits <= 8 ? std::size_t(1) << layout.bits : 0;
  if (!read_palette(dib, 12, colours, 3, layout))
    return std::nullopt;
  layout.pixel_offset = 12 + 3 * colours;
  return layout;
}

std::optional<DibLayout> read_info_header(ByteSpan dib, std::size_t header_size, bool icon_image) {
  DibLayout layout;
  layout.width = std::int32_t(*read_u32(dib, 4));
  std::int64_t height = std::int32_t(*read_u32(dib, 8));
  layout.bits = int(*read_u16(dib, 14));
  layout.compression = *read_u32(dib, 16);
  std::uint32_t colours_used = *read_u32(dib, 32);
  if (!valid_depth(layout.bits))
    return std::nullopt;
  layout.top_down = height < 0 && !icon_image;
  layout.height = height < 0 ? -height : height;
  std::size_t table_at = header_size;
  if (layout.compression == kCompressionBitFields ||
      layout.compression == kCompressionAlphaBitFields) {
    if (layout.bits != 16 && layout.bits != 32)
      return std::nullopt;
    auto after = read_masks(dib, header_size, layout);
    if (!after)
      return std::nullopt;
    table_at = *after;
  } else if (layout.compression == kCompressionRgb) {
    default_masks(layout, icon_image);
  } else {
    return std::nullopt; // run-length and embedded JPEG/PNG bitmaps
  }
  std::size_t colours = colours_used;
  if (layout.bits <= 8) {
    std::size_t full = std::size_t(1) << layout.bits;
    colours = colours == 0 ? full : std::min(colours, full);
    if (!read_palette(dib, table_at, colours, 4, layout))
      return std::nullopt;
  }
  // An unused colour table may follow a deeper bitmap; the rows come after it.
  layout.pixel_offset = table_at + 4 * std::min<std::size_t>(colours, 1u << 16);
  return layout;
}

std::optional<DibLayout> read_layout(const DibSource &source) {
  auto header_size = read_u32(source.dib, 0);
  if (!header_size)
    return std::nullopt;
  std::optional<DibLayout> layout;
  if (*header_size == 12)
    layout = read_core_header(source.dib);
  else if (*header_size >= 40 && *header_size <= source.dib.size())
    layout = read_info_header(source.dib, *header_size, source.icon_image);
  if (!layout)
    return std::nullopt;
  if (source.icon_image)
    layout->height /= 2;
  if (source.pixel_offset)
    layout->pixel_offset = *source.pixel_offset;
  if (!picture_size_acceptable(layout->width, layout->height))
    return std::nullopt;
  return layout;
}

std::uint32_t scale_channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0)
    return 0;
  int shift = std::countr_zero(mask);
  std::uint32_t field = mask >> shift;
  std::uint32_t maximum = field;
  std::uint32_t channel = (value & mask) >> shift;
  int width = std::bit_width(field);
  if (width >= 8)
    return channel >> (width - 8);
  return (channel * 255 + maximum / 2) / maximum;
}

std::uint32_t masked_pixel(std::uint32_t value, const DibLayout &layout) {
  std::uint32_t alpha = layout.masks[3] ? scale_channel(value, layout.masks[3]) : 255;
  return make_pixel(scale_channel(value, layout.masks[0]), scale_channel(value, layout.masks[1]),
                    scale_channel(value, layout.masks[2]), alpha);
}

std::uint32_t read_pixel(const std::uint8_t *row, std::int64_t x, const DibLayout &layout) {
  switch (layout.bits) {
  case 1:
  case 4:
  case 8: {
    std::int64_t bit = x * layout.bits;
    unsigned byte = row[bit / 8];
    unsigned index = (byte >> (8 - layout.bits - bit % 8)) & ((1u << layout.bits) - 1);
    return index < layout.palette.size() ? layout.palette[index] : make_pixel(0, 0, 0);
  }
  case 16:
    return masked_pixel(row[2 * x] | row[2 * x + 1] << 8, layout);
  case 24:
    return make_pixel(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
  default: {
    const std::uint8_t *p = row + 4 * x;
    return masked_pixel(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                            std::uint32_t(p[3]) << 24,
                        layout);
  }
  }
}

// Rows of the common layouts (24 bits, and 32 bits with the standard masks,
// which screen captures use) are converted without the general per-channel
// path: a full-screen capture has two million pixels.
bool standard_layout(const DibLayout &layout) {
  return layout.bits == 24 ||
         (layout.bits == 32 && layout.masks[0] == 0xFF0000 && layout.masks[1] == 0xFF00 &&
          layout.masks[2] == 0xFF && (layout.masks[3] == 0 || layout.masks[3] == 0xFF000000u));
}

void read_standard_row(const std::uint8_t *row, std::int64_t width, const DibLayout &layout,
                       std::uint32_t *out) {
  if (layout.bits == 24) {
    for (std::int64_t x = 0; x < width; ++x, row += 3)
      out[x] = 0xFF000000u | std::uint32_t(row[2]) << 16 | std::uint32_t(row[1]) << 8 | row[0];
    return;
  }
  std::memcpy(out, row, std::size_t(width) * 4);
  if (layout.masks[3] == 0)
    for (std::int64_t x = 0; x < width; ++x)
      out[x] |= 0xFF000000u;
}

void read_row(const std::uint8_t *row, const DibLayout &layout, std::uint32_t *out) {
  if (standard_layout(layout)) {
    read_standard_row(row, layout.width, layout, out);
    return;
  }
  for (std::int64_t x = 0; x < layout.width; ++x)
    out[x] = read_pixel(row, x, layout);
}

bool any_alpha(const PictureImage &image) {
  return std::any_of(image.pixels.begin(), image.pixels.end(),
                     [](std::uint32_t pixel) { return (pixel >> 24) != 0; });
}

void make_opaque(PictureImage &image) {
  for (auto &pixel : image.pixels)
    pixel |= 0xFF000000u;
}

// The transparency mask of an icon image: a set bit is a transparent pixel.
void apply_and_mask(PictureImage &image, ByteSpan mask_rows) {
  std::size_t stride = ((std::size_t(image.width) + 31) / 32) * 4;
  if (mask_rows.size() / stride < std::size_t(image.height))
    return;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t *row = mask_rows.data() + (image.height - 1 - y) * stride;
    for (int x = 0; x < image.width; ++x) {
      bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
      auto &pixel = image.pixels[std::size_t(y) * image.width + x];
      pixel = transparent ? (pixel & 0x00FFFFFFu) : (pixel | 0xFF000000u);
    }
  }
}

} // namespace

PictureImage decode_dib(const DibSource &source) {
  auto layout = read_layout(source);
  if (!layout)
    return {};
  std::size_t stride = ((std::size_t(layout->width) * layout->bits + 31) / 32) * 4;
  std::size_t offset = layout->pixel_offset;
  if (offset > source.dib.size() ||
      (source.dib.size() - offset) / stride < std::size_t(layout->height))
    return {};
  PictureImage image;
  image.width = int(layout->width);
  image.height = int(layout->height);
  image.pixels.resize(std::size_t(image.width) * image.height);
  const std::uint8_t *rows = source.dib.data() + offset;
  for (int y = 0; y < image.height; ++y) {
    std::size_t stored = layout->top_down ? y : image.height - 1 - y;
    const std::uint8_t *row = rows + stored * stride;
    read_row(row, *layout, image.pixels.data() + std::size_t(y) * image.width);
  }
  if (source.icon_image) {
    // Images with alpha of their own carry the mask only for old systems.
    if (layout->bits != 32 || !any_alpha(image))
      apply_and_mask(image, source.dib.subspan(offset + stride * image.height));
  } else if (!layout->explicit_alpha_mask || !any_alpha(image)) {
    // A plain bitmap's fourth byte is reserved, and a bitmap whose alpha mask
    // leaves every pixel at zero was never meant to be invisible.
    make_opaque(image);
  }
  return image;
}

std::optional<IconDirectoryEntry> first_icon_entry(ByteSpan file, int type) {
  if (read_u16(file, 0) != 0u || read_u16(file, 2) != std::uint32_t(type))
    return std::nullopt;
  auto count = read_u16(file, 4);
  auto size = read_u32(file, 6 + 8);
  auto offset = read_u32(file, 6 + 12);
  if (!count || *count == 0 || !size || !offset || *offset > file.size())
    return std::nullopt;
  IconDirectoryEntry entry;
  entry.image = file.subspan(*offset, std::min<std::size_t>(*size, file.size() - *offset));
  entry.hotspot_x = int(*read_u16(file, 6 + 4));
  entry.hotspot_y = int(*read_u16(file, 6 + 6));
  return entry;
}
