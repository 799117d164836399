// ToInt over any bytes, against a plain reference: the full-width pre-pass,
// then a decimal parse computed in 64 bits and reduced modulo 2^32.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/text.h"

namespace {

std::int32_t reference_to_int(const std::string &text) {
  std::string ascii;
  for (std::size_t at = 0; at < text.size();) {
    const unsigned lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80 || at + 1 == text.size()) {
      ascii += text[at++];
      continue;
    }
    const unsigned trail = static_cast<unsigned char>(text[at + 1]);
    const unsigned code = lead << 8 | trail;
    if (code >= 0xA3A1 && code <= 0xA3FE)
      ascii += static_cast<char>(trail - 0x80);
    else if (code == 0xA1A1)
      ascii += ' ';
    else if (code == 0xA1AB)
      ascii += '~';
    else if (code == 0xA1EE || code == 0xA1EF)
      ascii += '*';
    else
      ascii += text.substr(at, 2);
    at += 2;
  }
  std::size_t at = ascii.find_first_not_of(" \t\n\v\f\r");
  if (at == std::string::npos)
    return 0;
  long long sign = 1;
  if (ascii[at] == '-' || ascii[at] == '+')
    sign = ascii[at++] == '-' ? -1 : 1;
  long long value = 0;
  const long long modulus = 1LL << 32;
  while (at < ascii.size() && ascii[at] >= '0' && ascii[at] <= '9')
    value = (value * 10 + (ascii[at++] - '0')) % modulus;
  value = (sign * value % modulus + modulus) % modulus;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  Text text(reinterpret_cast<const char *>(data), size);
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  if (ToInt(text) != reference_to_int(text))
    std::abort();
  return 0;
}
