// PCX files: run-length encoded scan lines after a 128-byte header. Two kinds
// are shown: 8 bits per pixel with the 256-colour table at the end of the file
// (one plane, or three planes of red, green and blue), and monochrome.
#include <vector>

#include "runtime/picture_dib.h"

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 768;

struct PcxLayout {
  int width = 0;
  int height = 0;
  int bits = 0;
  int planes = 0;
  std::size_t bytes_per_line = 0;
};

std::optional<PcxLayout> read_layout(ByteSpan file) {
  if (file.size() < kHeaderSize || file[0] != 0x0A || file[2] != 1)
    return std::nullopt;
  PcxLayout layout;
  std::int64_t width = std::int64_t(*read_u16(file, 8)) - *read_u16(file, 4) + 1;
  std::int64_t height = std::int64_t(*read_u16(file, 10)) - *read_u16(file, 6) + 1;
  layout.bits = file[3];
  layout.planes = file[65];
  layout.bytes_per_line = *read_u16(file, 66);
  bool known = (layout.bits == 8 && (layout.planes == 1 || layout.planes == 3)) ||
               (layout.bits == 1 && layout.planes == 1);
  if (!known || !picture_size_acceptable(width, height))
    return std::nullopt;
  layout.width = int(width);
  layout.height = int(height);
  if (layout.bytes_per_line < (std::size_t(layout.width) * layout.bits + 7) / 8)
    return std::nullopt;
  return layout;
}

// Decodes the run-length stream into `size` bytes; runs may cross lines.
std::optional<std::vector<std::uint8_t>> unpack(ByteSpan data, std::size_t size) {
  // A run holds at most 63 bytes, so a short stream cannot fill a huge image.
  if (size / 63 > data.size())
    return std::nullopt;
  std::vector<std::uint8_t> out;
  out.reserve(size);
  std::size_t at = 0;
  while (out.size() < size) {
    if (at >= data.size())
      return std::nullopt;
    std::uint8_t byte = data[at++];
    std::size_t count = 1;
    if ((byte & 0xC0) == 0xC0) {
      if (at >= data.size())
        return std::nullopt;
      count = byte & 0x3F;
      byte = data[at++];
    }
    out.insert(out.end(), std::min(count, size - out.size()), byte);
  }
  return out;
}

std::optional<std::vector<std::uint32_t>> trailing_palette(ByteSpan file) {
  if (file.size() < kHeaderSize + kPaletteSize + 1 || file[file.size() - kPaletteSize - 1] != 0x0C)
    return std::nullopt;
  const std::uint8_t *rgb = file.data() + file.size() - kPaletteSize;
  std::vector<std::uint32_t> palette(256);
  for (std::size_t i = 0; i < 256; ++i)
    palette[i] = make_pixel(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return palette;
}

std::uint32_t line_pixel(const std::uint8_t *line, const PcxLayout &layout, int x,
                         const std::vector<std::uint32_t> &palette) {
  if (layout.bits == 1)
    return (line[x / 8] >> (7 - x % 8)) & 1 ? make_pixel(255, 255, 255) : make_pixel(0, 0, 0);
  if (layout.planes == 1)
    return palette[line[x]];
  std::size_t plane = layout.bytes_per_line;
  return make_pixel(line[x], line[plane + x], line[2 * plane + x]);
}

} // namespace

PictureImage decode_pcx(ByteSpan file) {
  auto layout = read_layout(file);
  if (!layout)
    return {};
  std::vector<std::uint32_t> palette;
  ByteSpan data = file.subspan(kHeaderSize);
  if (layout->bits == 8 && layout->planes == 1) {
    auto table = trailing_palette(file);
    if (!table)
      return {};
    palette = std::move(*table);
    data = data.first(data.size() - kPaletteSize - 1);
  }
  std::size_t line_size = layout->bytes_per_line * layout->planes;
  auto rows = unpack(data, line_size * layout->height);
  if (!rows)
    return {};
  PictureImage image;
  image.width = layout->width;
  image.height = layout->height;
  image.pixels.resize(std::size_t(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t *line = rows->data() + std::size_t(y) * line_size;
    for (int x = 0; x < image.width; ++x)
      image.pixels[std::size_t(y) * image.width + x] = line_pixel(line, *layout, x, palette);
  }
  return image;
}
