// Conversion between code page 936, UTF-16 and UTF-8. The Windows half names
// the code pages explicitly (never the system's ANSI code page); the native
// half uses iconv. Both give the same results for the same input.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text.h"

std::u16string cp936_to_utf16(std::string_view text);
Text utf16_to_cp936(std::u16string_view text);
std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);
