// The code-page walkers over any bytes: the first byte picks the direction.
// Whatever comes in, what goes out is well formed and well-formed input
// survives a round trip.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/codepage.h"

namespace {

void check(bool condition) {
  if (!condition)
    std::abort();
}

bool well_formed_utf16(std::u16string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] >= 0xDC00 && text[at] <= 0xDFFF)
      return false;
    if (text[at] >= 0xD800 && text[at] <= 0xDBFF) {
      if (at + 1 == text.size() || text[at + 1] < 0xDC00 || text[at + 1] > 0xDFFF)
        return false;
      ++at;
    }
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string_view bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
  switch (data[0] % 3) {
  case 0: {
    // UTF-8 in: the result is well formed, and converting it back and forth
    // again changes nothing.
    const std::u16string wide = utf8_to_utf16(bytes);
    check(well_formed_utf16(wide));
    const std::string utf8 = utf16_to_utf8(wide);
    check(utf8_to_utf16(utf8) == wide);
    check(utf8.size() <= 3 * bytes.size());
    break;
  }
  case 1: {
    // Code page 936 in: one unit per character, and a text that decodes
    // without replacement comes back byte for byte.
    const std::u16string wide = cp936_to_utf16(bytes);
    check(wide.size() <= bytes.size() && well_formed_utf16(wide));
    if (wide.find(u'\xFFFD') == std::u16string::npos && bytes.find('\0') == std::string::npos)
      check(utf16_to_cp936(wide) == bytes);
    break;
  }
  default: {
    // UTF-16 in (pairs of bytes): code page 936 out never holds a zero byte.
    std::u16string wide(bytes.size() / 2, u'\0');
    for (std::size_t k = 0; k < wide.size(); ++k)
      wide[k] = static_cast<char16_t>(data[1 + 2 * k] | data[2 + 2 * k] << 8);
    const Text text = utf16_to_cp936(wide);
    check(text.find('\0') == Text::npos && text.size() <= 2 * wide.size());
    check(well_formed_utf16(utf8_to_utf16(utf16_to_utf8(wide))));
    break;
  }
  }
  return 0;
}
