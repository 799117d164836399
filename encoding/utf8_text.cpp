#include "encoding/utf8_text.h"

#include <cstring>
#include <string>
#include <string_view>

#include "encoding/ascii_scan.h"
#include "encoding/text_buffer.h"
#include "runtime/codepage.h"

namespace {

// Long texts are converted in pieces of about this size, so the UTF-16
// intermediate stays small and in cache instead of twice the text's size.
constexpr std::size_t kPiece = 64 * 1024;

// Where the piece that starts at from ends: right after an ASCII byte, which
// is a whole character in UTF-8 and never part of a malformed sequence, so
// converting piece by piece gives what converting the whole text gives.
std::size_t piece_end(std::string_view text, std::size_t from) {
  if (text.size() - from <= kPiece)
    return text.size();
  const std::size_t limit = from + kPiece;
  for (std::size_t at = limit; at > from; --at) {
    if (static_cast<unsigned char>(text[at - 1]) < 0x80)
      return at;
  }
  for (std::size_t at = limit; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) < 0x80)
      return at + 1;
  }
  return text.size();
}

} // namespace

Bytes ansi_to_utf8(const Text &text, const Bytes &utf16) {
  if (text.empty()) {
    std::u16string units(utf16.size() / 2, u'\0');
    for (std::size_t k = 0; k < units.size(); ++k)
      units[k] = static_cast<char16_t>(utf16[2 * k] | utf16[2 * k + 1] << 8);
    const std::string utf8 = utf16_to_utf8(units);
    return Bytes(utf8.begin(), utf8.end());
  }
  // ASCII reads the same in code page 936 and UTF-8, and a two-byte
  // character cannot begin before the first byte of 0x80 or above, so only
  // the rest from there needs converting.
  const std::size_t ascii = ascii_prefix_length(text.data(), text.size());
  Bytes out(text.begin(), text.begin() + ascii);
  if (ascii < text.size()) {
    const std::string rest = utf16_to_utf8(cp936_to_utf16(std::string_view(text).substr(ascii)));
    out.insert(out.end(), rest.begin(), rest.end());
  }
  return out;
}

Text utf8_to_ansi(const Text &text) {
  // The text ends at its terminator; without a zero byte to convert, the
  // converted text holds none either.
  const std::string_view input(text.data(), std::strlen(text.c_str()));
  const std::size_t ascii = ascii_prefix_length(input.data(), input.size());
  // Code page 936 is seldom longer than UTF-8 (two bytes for three for
  // Chinese); replacements of malformed bytes may grow it, which appending
  // allows.
  Text out = reserve_text(input.size());
  out.append(input.substr(0, ascii));
  for (std::size_t from = ascii; from < input.size();) {
    const std::size_t end = piece_end(input, from);
    out += utf16_to_cp936(utf8_to_utf16(input.substr(from, end - from)));
    from = end;
  }
  return out;
}
