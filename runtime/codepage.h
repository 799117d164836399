// Conversion between code page 936, UTF-16 and UTF-8. The Windows half names
// the code pages explicitly (never the system's ANSI code page); the native
// half uses iconv. Both give the same results for the same input, including
// bad input, because the rules for bad input are applied by shared code and
// each half only converts runs that are known to be well formed:
//
// - Code page 936 in: 0x00..0x7F are ASCII, 0x80 is the euro sign U+20AC,
//   0xFF is U+F8F5, a lead byte 0x81..0xFE with a trail byte 0x40..0x7E or
//   0x80..0xFE is one character (the user-defined areas map to U+E000..U+E864
//   as Windows maps them). A lead byte followed by any other byte, or by the
//   end of the text, becomes U+FFFD on its own and the byte after it is
//   converted as usual. (Windows itself gives '?' and swallows that next
//   byte even when it is a CR or a quote; we do not lose it.)
// - UTF-8 in: each maximal ill-formed subsequence (as the Unicode standard
//   and the web's decoders count them) becomes one U+FFFD; overlong forms,
//   encoded surrogates and values above U+10FFFF are ill formed.
// - Code page 936 out: a character the code page cannot hold becomes '?',
//   with no "best fit" look-alikes (so U+00B2 is '?', not '2'); a surrogate
//   pair is one character and gives one '?', an unpaired surrogate gives '?'.
//   Text cannot hold a zero byte, so the result ends at the first U+0000.
// - UTF-8 out: an unpaired surrogate becomes U+FFFD (EF BF BD).
#pragma once

#include <string>
#include <string_view>

#include "runtime/text.h"

std::u16string cp936_to_utf16(std::string_view text);
Text utf16_to_cp936(std::u16string_view text);
std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);
