// Finding where plain ASCII ends, the part of a text that every conversion
// between code page 936, UTF-16 and UTF-8 leaves as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The number of leading bytes below 0x80.
inline std::size_t ascii_prefix_length(const char *data, std::size_t size) {
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    if (word & 0x8080808080808080ull)
      break;
  }
  while (i < size && static_cast<unsigned char>(data[i]) < 0x80)
    ++i;
  return i;
}
