#include "encoding/base64.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "encoding/text_buffer.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Every 12-bit value as its two characters, the first in the low byte, so a
// group of three input bytes becomes two lookups.
constexpr std::array<std::uint16_t, 4096> make_pair_table() {
  std::array<std::uint16_t, 4096> table{};
  for (unsigned value = 0; value < 4096; ++value)
    table[value] =
        static_cast<std::uint16_t>(static_cast<unsigned char>(kAlphabet[value >> 6]) |
                                   static_cast<unsigned char>(kAlphabet[value & 63]) << 8);
  return table;
}

constexpr std::array<std::uint16_t, 4096> kPairs = make_pair_table();

inline std::uint64_t load_big_endian_64(const std::uint8_t *in) {
  std::uint64_t value;
  std::memcpy(&value, in, 8);
  return __builtin_bswap64(value);
}

inline void encode_group(std::uint32_t group, char *out) {
  std::uint32_t chars = kPairs[group >> 12] | std::uint32_t(kPairs[group & 0xFFF]) << 16;
  std::memcpy(out, &chars, 4);
}

} // namespace

Text base64_encode(const Bytes &data) {
  const std::size_t n = data.size();
  if (n == 0)
    return Text();
  const std::size_t groups = (n + 2) / 3;
  Text out = make_text_buffer(groups * 4);
  const std::uint8_t *in = data.data();
  char *dest = out.data();
  std::size_t i = 0;

  // Two groups per step from one 8-byte load; the load reads two bytes past
  // the six it uses, so stop while 8 remain.
  for (; i + 8 <= n; i += 6, dest += 8) {
    const std::uint64_t word = load_big_endian_64(in + i);
    const std::uint64_t chars = kPairs[(word >> 52) & 0xFFF] |
                                std::uint64_t(kPairs[(word >> 40) & 0xFFF]) << 16 |
                                std::uint64_t(kPairs[(word >> 28) & 0xFFF]) << 32 |
                                std::uint64_t(kPairs[(word >> 16) & 0xFFF]) << 48;
    std::memcpy(dest, &chars, 8);
  }
  for (; i + 3 <= n; i += 3, dest += 4)
    encode_group(std::uint32_t(in[i]) << 16 | std::uint32_t(in[i + 1]) << 8 | in[i + 2], dest);

  // The last one or two bytes are encoded as if zero bytes followed, then
  // the characters standing for the missing bytes become "=".
  const std::size_t rest = n - i;
  if (rest > 0) {
    const std::uint32_t b1 = rest == 2 ? in[i + 1] : 0;
    encode_group(std::uint32_t(in[i]) << 16 | b1 << 8, dest);
    dest[3] = '=';
    if (rest == 1)
      dest[2] = '=';
  }
  return out;
}
