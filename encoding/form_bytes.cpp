#include "encoding/form_bytes.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr bool is_literal(unsigned byte) {
  return byte >= 0x21 && byte <= 0x7E && byte != '#' && byte != '%' && byte != '&' && byte != '+';
}

// For every byte, its encoded form in the low three bytes and the length of
// that form in the top byte: one lookup and one 4-byte store per byte.
constexpr std::array<std::uint32_t, 256> make_encode_table() {
  constexpr char digits[] = "0123456789ABCDEF";
  std::array<std::uint32_t, 256> table{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (is_literal(byte))
      table[byte] = byte | 1u << 24;
    else
      table[byte] =
          '%' | unsigned(digits[byte >> 4]) << 8 | unsigned(digits[byte & 15]) << 16 | 3u << 24;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kEncoded = make_encode_table();

inline char *encode_byte(unsigned char byte, char *dest) {
  const std::uint32_t entry = kEncoded[byte];
  std::memcpy(dest, &entry, 4);
  return dest + (entry >> 24);
}

#if defined(__SSE2__)

// 0xFF in every lane whose byte must be percent-encoded. Bytes of 0x80 and
// above are negative as signed lanes, so the signed range test drops them.
inline __m128i encoded_lanes(__m128i v) {
  const __m128i printable =
      _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(0x20)), _mm_cmplt_epi8(v, _mm_set1_epi8(0x7F)));
  const __m128i separators = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('#')), _mm_cmpeq_epi8(v, _mm_set1_epi8('%'))),
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('&')), _mm_cmpeq_epi8(v, _mm_set1_epi8('+'))));
  return _mm_or_si128(_mm_andnot_si128(printable, _mm_set1_epi8(-1)), separators);
}

inline __m128i load16(const unsigned char *in) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
}

#endif

} // namespace

FormScan scan_form_bytes(const unsigned char *in, std::size_t size) {
  std::size_t encoded = 0;
  unsigned high_bits = 0;
  std::size_t i = 0;
#if defined(__SSE2__)
  __m128i high = _mm_setzero_si128();
  while (i + 16 <= size) {
    // Byte lanes count up to 255 blocks before they are summed.
    __m128i counts = _mm_setzero_si128();
    for (int block = 0; block < 255 && i + 16 <= size; ++block, i += 16) {
      const __m128i v = load16(in + i);
      counts = _mm_sub_epi8(counts, encoded_lanes(v));
      high = _mm_or_si128(high, v);
    }
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    encoded += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
  }
  high_bits = static_cast<unsigned>(_mm_movemask_epi8(high));
  encoded = i + 2 * encoded;
#endif
  for (; i < size; ++i) {
    encoded += kEncoded[in[i]] >> 24;
    high_bits |= in[i] & 0x80;
  }
  return {encoded, high_bits == 0};
}

std::size_t encode_form_bytes(const unsigned char *in, std::size_t size, char *dest) {
  char *const start = dest;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Blocks of 64 bytes: the literal runs between the bytes to encode are
  // moved 64 bytes at a time (the excess is overwritten by what follows),
  // so a block costs a few moves per encoded byte and none per literal one.
  // A run's copy reads up to 64 bytes past the block, hence the margin.
  for (; i + 128 <= size; i += 64) {
    std::uint64_t mask = 0;
    for (int part = 0; part < 4; ++part)
      mask |= std::uint64_t(static_cast<unsigned>(
                  _mm_movemask_epi8(encoded_lanes(load16(in + i + 16 * part)))))
              << (16 * part);
    std::size_t run_start = 0;
    while (mask != 0) {
      const std::size_t at = static_cast<std::size_t>(__builtin_ctzll(mask));
      std::memcpy(dest, in + i + run_start, 64);
      dest = encode_byte(in[i + at], dest + (at - run_start));
      run_start = at + 1;
      mask &= mask - 1;
    }
    std::memcpy(dest, in + i + run_start, 64);
    dest += 64 - run_start;
  }
#endif
  for (; i < size; ++i)
    dest = encode_byte(in[i], dest);
  return static_cast<std::size_t>(dest - start);
}
