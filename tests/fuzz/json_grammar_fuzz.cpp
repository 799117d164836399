// Any text must be judged without a crash, a leak or a hang. Bytes below 0x80
// stand for themselves so the fuzzer can spell JSON; the others become CJK
// characters.
#include "json/json_grammar.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::u16string text;
  text.reserve(size);
  for (std::size_t k = 0; k < size; ++k)
    text += data[k] < 0x80 ? char16_t(data[k]) : char16_t(0x4e00 + data[k]);
  const bool valid = json_text_is_valid(text);
  // A text valid at depth 2 is valid at any greater depth.
  if (json_text_is_valid(text, 2) && !valid)
    __builtin_trap();
  return 0;
}
