// Percent-decoding of whatever a server sends, and the encoder it undoes.
// The first byte picks whether the decoded text is converted to code page
// 936; the rest is the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "encoding/percent.h"
#include "encoding/utf8_text.h"

namespace {

void check(bool condition) {
  if (!condition)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  const bool to_ansi = data[0] & 1;
  Text text(reinterpret_cast<const char *>(data) + 1, size - 1);
  // A Text never holds a zero byte.
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());

  const Text decoded = url_decode(text, to_ansi);
  check(decoded.find('\0') == Text::npos);
  if (!to_ansi)
    check(decoded.size() <= text.size());

  const Text encoded = url_encode(text);
  check(std::all_of(encoded.begin(), encoded.end(), [](char c) { return c >= 0x21 && c <= 0x7E; }));
  const Bytes utf8 = ansi_to_utf8(text, Bytes());
  check(encoded.size() <= 3 * utf8.size());
  check(url_decode(encoded, false) == Text(utf8.begin(), utf8.end()));
  return 0;
}
