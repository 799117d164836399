#include "service/base64_decode.h"

#include <array>

namespace ocr_service {
namespace {

constexpr int kSkip = -2;
constexpr int kInvalid = -1;

constexpr std::array<int, 256> make_table() {
  std::array<int, 256> table{};
  for (int &entry : table)
    entry = kInvalid;
  for (int i = 0; i < 26; ++i) {
    table['A' + i] = i;
    table['a' + i] = 26 + i;
  }
  for (int i = 0; i < 10; ++i)
    table['0' + i] = 52 + i;
  table['+'] = table['-'] = table[' '] = 62;
  table['/'] = table['_'] = 63;
  table['\r'] = table['\n'] = table['\t'] = kSkip;
  return table;
}

constexpr std::array<int, 256> kTable = make_table();

} // namespace

std::optional<std::vector<std::uint8_t>> base64_decode(std::string_view text) {
  // Trailing padding first; '=' anywhere else is an error.
  while (!text.empty() &&
         (text.back() == '=' || kTable[static_cast<unsigned char>(text.back())] == kSkip))
    text.remove_suffix(1);
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3 + 3);
  std::uint32_t buffer = 0;
  int bits = 0;
  int symbols = 0;
  for (char c : text) {
    int value = kTable[static_cast<unsigned char>(c)];
    if (value == kSkip)
      continue;
    if (value == kInvalid)
      return std::nullopt;
    buffer = (buffer << 6) | static_cast<std::uint32_t>(value);
    bits += 6;
    ++symbols;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<std::uint8_t>(buffer >> bits));
      buffer &= (1u << bits) - 1;
    }
  }
  if (symbols % 4 == 1)
    return std::nullopt;
  return out;
}

} // namespace ocr_service
