// Little- and big-endian fields of picture headers, read without overrunning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ocr_service {

struct ByteReader {
  const std::vector<std::uint8_t> &bytes;

  bool has(std::size_t offset, std::size_t size) const {
    return offset <= bytes.size() && size <= bytes.size() - offset;
  }
  std::uint32_t le(std::size_t offset, std::size_t size) const {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
      value = (value << 8) | bytes[offset + i];
    return value;
  }
  std::uint32_t be(std::size_t offset, std::size_t size) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
      value = (value << 8) | bytes[offset + i];
    return value;
  }
};

} // namespace ocr_service
