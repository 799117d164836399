#include "encoding/percent.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "encoding/ascii_scan.h"
#include "encoding/form_bytes.h"
#include "encoding/text_buffer.h"
#include "encoding/utf8_text.h"

namespace {

const unsigned char *bytes_of(const char *data) {
  return reinterpret_cast<const unsigned char *>(data);
}

// The value of the digit at the 0-based index: its place in
// "0123456789ABCDEF" after upper-casing, -2 for any other byte, 0 past the
// end.
int digit_value(std::string_view text, std::size_t index) {
  if (index >= text.size())
    return 0;
  const unsigned char byte = static_cast<unsigned char>(text[index]);
  if (byte >= '0' && byte <= '9')
    return byte - '0';
  if (byte >= 'A' && byte <= 'F')
    return byte - 'A' + 10;
  if (byte >= 'a' && byte <= 'f')
    return byte - 'a' + 10;
  return -2;
}

// Copies the run to dest without its zero bytes, which a Text cannot hold;
// returns the bytes written.
std::size_t copy_without_zeros(std::string_view run, char *dest) {
  std::size_t written = 0;
  while (!run.empty()) {
    const std::size_t zero = std::min(run.find('\0'), run.size());
    std::memcpy(dest + written, run.data(), zero);
    written += zero;
    run.remove_prefix(std::min(zero + 1, run.size()));
  }
  return written;
}

} // namespace

Text url_encode(const Text &value) {
  const FormScan scan = scan_form_bytes(bytes_of(value.data()), value.size());
  if (scan.ascii) {
    // Plain ASCII is its own UTF-8: the Base64 text of a picture is encoded
    // straight from the value.
    Text out = make_text_buffer(scan.encoded_length + kFormSlack);
    out.resize(encode_form_bytes(bytes_of(value.data()), value.size(), out.data()));
    return out;
  }
  // A two-byte character cannot begin before the first byte of 0x80 or
  // above, so the ASCII before it is encoded as it stands and only the rest
  // goes through the conversion.
  const std::size_t ascii = ascii_prefix_length(value.data(), value.size());
  const Bytes converted = ansi_to_utf8(value.substr(ascii), Bytes());
  const std::size_t length = scan_form_bytes(bytes_of(value.data()), ascii).encoded_length +
                             scan_form_bytes(converted.data(), converted.size()).encoded_length;
  Text out = make_text_buffer(length + kFormSlack);
  std::size_t written = encode_form_bytes(bytes_of(value.data()), ascii, out.data());
  written += encode_form_bytes(converted.data(), converted.size(), out.data() + written);
  out.resize(written);
  return out;
}

Text url_decode(const Text &text, bool to_ansi) {
  const std::string_view input(text);
  // Decoding never lengthens the text.
  Text out = make_text_buffer(input.size());
  std::size_t written = 0;
  std::size_t i = 0;
  while (i < input.size()) {
    const std::size_t percent = std::min(input.find('%', i), input.size());
    written += copy_without_zeros(input.substr(i, percent - i), out.data() + written);
    if (percent == input.size())
      break;
    const int high = digit_value(input, percent + 1);
    const int low = digit_value(input, percent + 2);
    // The two's complement wrap gives the value modulo 256 for the negative
    // sums that non-digits make.
    const auto byte = static_cast<char>((high * 16 + low) & 0xFF);
    if (byte != 0)
      out[written++] = byte;
    i = percent + 3;
  }
  out.resize(written);
  if (to_ansi)
    return utf8_to_ansi(out);
  return out;
}
