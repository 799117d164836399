// Small picture files built byte by byte for the decoder and picture box tests.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace picture_builders {

inline void put16(Bytes &out, std::uint32_t value) {
  out.push_back(std::uint8_t(value));
  out.push_back(std::uint8_t(value >> 8));
}

inline void put32(Bytes &out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

struct DibSpec {
  DibSpec(int width_, int height_, int bits_, std::uint32_t header_size_ = 40,
          std::uint32_t compression_ = 0)
      : width(width_), height(height_), bits(bits_), header_size(header_size_),
        compression(compression_) {}

  int width = 0;
  int height = 0; // negative: rows stored top first
  int bits = 24;
  std::uint32_t header_size = 40;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks;   // written after a 40-byte header
  std::vector<std::uint32_t> palette; // 0x00RRGGBB
  Bytes rows;                         // already padded, in storage order
};

inline Bytes dib_bytes(const DibSpec &spec, int height_field) {
  Bytes out;
  put32(out, spec.header_size);
  put32(out, std::uint32_t(spec.width));
  put32(out, std::uint32_t(height_field));
  put16(out, 1);
  put16(out, std::uint32_t(spec.bits));
  put32(out, spec.compression);
  put32(out, std::uint32_t(spec.rows.size()));
  put32(out, 0);
  put32(out, 0);
  put32(out, std::uint32_t(spec.palette.size()));
  put32(out, 0);
  out.resize(spec.header_size, 0); // the capture format's zero colour entry
  for (auto mask : spec.masks)
    put32(out, mask);
  for (auto colour : spec.palette)
    put32(out, colour);
  return out;
}

// A BMP file; the pixel rows follow the header, masks and colour table.
inline Bytes bmp_file(const DibSpec &spec) {
  Bytes dib = dib_bytes(spec, spec.height);
  Bytes out = {'B', 'M'};
  put32(out, std::uint32_t(14 + dib.size() + spec.rows.size()));
  put32(out, 0);
  put32(out, std::uint32_t(14 + dib.size()));
  out.insert(out.end(), dib.begin(), dib.end());
  out.insert(out.end(), spec.rows.begin(), spec.rows.end());
  return out;
}

// A cursor file with one image: the colour rows, then the transparency mask.
inline Bytes cursor_file(const DibSpec &spec, const Bytes &mask_rows, int hotspot_x,
                         int hotspot_y) {
  Bytes image = dib_bytes(spec, spec.height * 2);
  image.insert(image.end(), spec.rows.begin(), spec.rows.end());
  image.insert(image.end(), mask_rows.begin(), mask_rows.end());
  Bytes out;
  put16(out, 0);
  put16(out, 2);
  put16(out, 1);
  out.push_back(std::uint8_t(spec.width));
  out.push_back(std::uint8_t(spec.height));
  out.push_back(0);
  out.push_back(0);
  put16(out, std::uint32_t(hotspot_x));
  put16(out, std::uint32_t(hotspot_y));
  put32(out, std::uint32_t(image.size()));
  put32(out, 6 + 16);
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

// A PCX header followed by the given run-length data.
inline Bytes pcx_file(int version, int bits, int planes, int width, int height, int bytes_per_line,
                      const Bytes &data) {
  Bytes out = {0x0A, std::uint8_t(version), 1, std::uint8_t(bits)};
  put16(out, 0);
  put16(out, 0);
  put16(out, std::uint32_t(width - 1));
  put16(out, std::uint32_t(height - 1));
  out.resize(65, 0);
  out.push_back(std::uint8_t(planes));
  put16(out, std::uint32_t(bytes_per_line));
  out.resize(128, 0);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

} // namespace picture_builders
