#include <windows.h>

#include "runtime/codepage.h"

// Placeholder until the conversion module lands.
std::u16string cp936_to_utf16(std::string_view text) {
  std::u16string out;
  int n = MultiByteToWideChar(936, 0, text.data(), (int)text.size(), nullptr, 0);
  out.resize(n);
  MultiByteToWideChar(936, 0, text.data(), (int)text.size(), (wchar_t *)out.data(), n);
  return out;
}
