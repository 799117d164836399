#include "encoding/utf8_text.h"

#include <cstring>
#include <string>

#include "encoding/ascii_scan.h"
#include "runtime/codepage.h"

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
  // The text ends at its terminator, and so does the converted text.
  const std::string_view input(text.data(), std::strlen(text.c_str()));
  const std::size_t ascii = ascii_prefix_length(input.data(), input.size());
  Text out(input.substr(0, ascii));
  if (ascii < input.size()) {
    const Text rest = utf16_to_cp936(utf8_to_utf16(input.substr(ascii)));
    out.append(rest.data(), std::strlen(rest.c_str()));
  }
  return out;
}
