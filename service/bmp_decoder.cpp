#include "service/bmp_decoder.h"

#include <array>
#include <bit>
#include <climits>

#include "service/byte_reader.h"

namespace ocr_service {
namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeaderSize = 14;

// One colour channel behind a bit mask, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (mask == 0)
      return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  int value(std::uint32_t pixel) const {
    if (max == 0)
      return 0;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
  }
};

std::size_t row_stride(const BmpHeader &header) {
  return (static_cast<std::size_t>(header.width) * header.bits_per_pixel + 31) / 32 * 4;
}

std::vector<std::uint8_t> read_palette(const ByteReader &in, const BmpHeader &header) {
  std::size_t entries =
      header.colours_used != 0 ? header.colours_used : 1u << header.bits_per_pixel;
  if (entries > 256)
    entries = 256;
  std::vector<std::uint8_t> palette(256, 0);
  std::size_t at = kFileHeaderSize + header.header_size;
  for (std::size_t i = 0; i < entries && in.has(at + i * 4, 4); ++i) {
    const std::uint8_t *entry = &in.bytes[at + i * 4];
    palette[i] = grey_of(entry[2], entry[1], entry[0]);
  }
  return palette;
}

void decode_indexed(const ByteReader &in, const BmpHeader &header, GreyImage &image) {
  std::vector<std::uint8_t> palette = read_palette(in, header);
  int bits = header.bits_per_pixel;
  int per_byte = 8 / bits;
  std::uint8_t mask = static_cast<std::uint8_t>((1 << bits) - 1);
  for (int y = 0; y < header.height; ++y) {
    const std::uint8_t *row = &in.bytes[header.pixel_offset + y * row_stride(header)];
    int target_y = header.top_down ? y : header.height - 1 - y;
    for (int x = 0; x < header.width; ++x) {
      int shift = (per_byte - 1 - x % per_byte) * bits;
      image.at(x, target_y) = palette[(row[x / per_byte] >> shift) & mask];
    }
  }
}

void decode_direct(const ByteReader &in, const BmpHeader &header, GreyImage &image) {
  int bytes_per_pixel = header.bits_per_pixel / 8;
  std::array<std::uint32_t, 3> masks = {0, 0, 0};
  if (header.compression == kBitFields) {
    masks = {in.le(54, 4), in.le(58, 4), in.le(62, 4)};
  } else if (header.bits_per_pixel == 16) {
    masks = {0x7C00, 0x03E0, 0x001F};
  } else {
    masks = {0xFF0000, 0x00FF00, 0x0000FF};
  }
  Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (int y = 0; y < header.height; ++y) {
    std::size_t row = header.pixel_offset + y * row_stride(header);
    int target_y = header.top_down ? y : header.height - 1 - y;
    for (int x = 0; x < header.width; ++x) {
      std::uint32_t pixel =
          in.le(row + static_cast<std::size_t>(x) * bytes_per_pixel, bytes_per_pixel);
      image.at(x, target_y) = grey_of(red.value(pixel), green.value(pixel), blue.value(pixel));
    }
  }
}

bool supported(const BmpHeader &header) {
  switch (header.bits_per_pixel) {
  case 1:
  case 4:
  case 8:
  case 24:
    return header.compression == kRgb;
  case 16:
  case 32:
    return header.compression == kRgb || header.compression == kBitFields;
  default:
    return false;
  }
}

} // namespace

std::optional<BmpHeader> read_bmp_header(const std::vector<std::uint8_t> &bytes) {
  ByteReader in{bytes};
  if (!in.has(0, 2) || bytes[0] != 'B' || bytes[1] != 'M' || !in.has(14, 4))
    return std::nullopt;
  BmpHeader header;
  header.header_size = in.le(14, 4);
  header.pixel_offset = in.le(10, 4);
  if (header.header_size == 12) { // the old OS/2 header: 16-bit sizes
    if (!in.has(18, 8))
      return std::nullopt;
    header.width = static_cast<int>(in.le(18, 2));
    header.height = static_cast<int>(in.le(20, 2));
    header.bits_per_pixel = static_cast<int>(in.le(24, 2));
    return header;
  }
  if (header.header_size < 40 || !in.has(14, 40))
    return std::nullopt;
  auto width = static_cast<std::int32_t>(in.le(18, 4));
  auto height = static_cast<std::int32_t>(in.le(22, 4));
  if (width < 0 || height == INT_MIN)
    return std::nullopt;
  header.width = width;
  header.top_down = height < 0;
  header.height = height < 0 ? -height : height;
  header.bits_per_pixel = static_cast<int>(in.le(28, 2));
  header.compression = in.le(30, 4);
  header.colours_used = in.le(46, 4);
  return header;
}

std::optional<GreyImage> decode_bmp(const std::vector<std::uint8_t> &bytes) {
  auto header = read_bmp_header(bytes);
  if (!header || header->header_size < 40 || !supported(*header) || header->width <= 0 ||
      header->height <= 0)
    return std::nullopt;
  ByteReader in{bytes};
  if (header->compression == kBitFields && !in.has(54, 12))
    return std::nullopt;
  // Every row must be there; the last row may do without its padding.
  std::size_t stride = row_stride(*header);
  std::size_t last_row = (static_cast<std::size_t>(header->width) * header->bits_per_pixel + 7) / 8;
  if (header->pixel_offset < kFileHeaderSize + header->header_size ||
      !in.has(header->pixel_offset, stride * (header->height - 1) + last_row))
    return std::nullopt;
  GreyImage image(header->width, header->height);
  if (header->bits_per_pixel <= 8) {
    decode_indexed(in, *header, image);
  } else {
    decode_direct(in, *header, image);
  }
  return image;
}

} // namespace ocr_service
