// Conversions between texts, numbers and bytes.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "runtime/text.h"

namespace {

// printf's exponent has at least two digits on some C libraries and three on
// others; the program always writes three ('1e+013').
Text widen_exponent(const char *formatted) {
  Text text = formatted;
  std::size_t e = text.find('e');
  if (e == Text::npos || e + 2 > text.size())
    return text;
  std::size_t digits = e + 2; // past the sign
  std::size_t count = text.size() - digits;
  if (count < 3)
    text.insert(digits, 3 - count, '0');
  return text;
}

// Full-width ASCII and a few full-width signs become their ASCII bytes so
// that numbers typed with a Chinese input method parse like ASCII ones.
Text fold_full_width(const Text &text) {
  Text folded;
  folded.reserve(text.size());
  const std::size_t len = text.size();
  std::size_t at = 0;
  while (at < len) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80 || at + 1 >= len) {
      folded.push_back(text[at]);
      ++at;
      continue;
    }
    unsigned char trail = static_cast<unsigned char>(text[at + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
      folded.push_back(static_cast<char>(trail & 0x7F));
    else if (lead == 0xA1 && trail == 0xA1)
      folded.push_back(' ');
    else if (lead == 0xA1 && trail == 0xAB)
      folded.push_back('~');
    else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
      folded.push_back('*');
    else
      folded.append(text, at, 2);
    at += 2;
  }
  return folded;
}

bool is_space(unsigned char byte) {
  return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D);
}

} // namespace

Text ToText(std::int32_t value) {
  return std::to_string(value);
}

Text ToText(std::uint8_t value) {
  return std::to_string(static_cast<unsigned>(value));
}

Text ToText(double value) {
  // Spelled out so both C libraries agree.
  if (std::isnan(value))
    return "nan";
  if (std::isinf(value))
    return value < 0 ? "-inf" : "inf";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return widen_exponent(buffer);
}

Text ToText(const Bytes &bytes) {
  if (bytes.empty())
    return {};
  const void *zero = std::memchr(bytes.data(), 0, bytes.size());
  std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const std::uint8_t *>(zero) - bytes.data())
           : bytes.size();
  return Text(reinterpret_cast<const char *>(bytes.data()), length);
}

std::int32_t ToInt(const Text &text) {
  const Text folded = fold_full_width(text);
  const std::size_t len = folded.size();
  std::size_t at = 0;
  while (at < len && is_space(static_cast<unsigned char>(folded[at])))
    ++at;
  bool negative = false;
  if (at < len && (folded[at] == '+' || folded[at] == '-')) {
    negative = folded[at] == '-';
    ++at;
  }
  // Unsigned arithmetic wraps modulo 2^32, which is the rule for overflow.
  std::uint32_t value = 0;
  for (; at < len && folded[at] >= '0' && folded[at] <= '9'; ++at)
    value = value * 10u + static_cast<std::uint32_t>(folded[at] - '0');
  if (negative)
    value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t ToInt(double value) {
  if (std::isnan(value))
    return 0;
  double whole = std::trunc(value);
  if (whole <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(whole);
}

std::uint8_t ToByte(std::int32_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

Bytes ToBytes(const Text &text) {
  return Bytes(text.begin(), text.end());
}

Bytes ToBytes(std::int32_t value) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  return Bytes{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
               static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

double ToNumber(bool flag) {
  return flag ? 1.0 : 0.0;
}
