// The split between the shared conversion rules (codepage.cpp) and the
// platform halves (codepage_win.cpp, codepage_posix.cpp). The shared code
// walks the input, deals with bad input and the user-defined areas itself,
// and hands each half only runs it knows to be well formed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Platform halves: each appends the conversion of one run to `out`.
// cp936 runs hold ASCII, 0x80 and two-byte characters outside the
// user-defined areas. utf16 runs hold no surrogates and, for code page 936,
// no user-defined-area characters and no U+0000. utf8 runs are well formed.
// A character a half still cannot convert becomes U+FFFD, or '?' in code
// page 936.
void append_cp936_run_as_utf16(std::string_view run, std::u16string &out);
void append_utf16_run_as_cp936(std::u16string_view run, std::string &out);
void append_utf8_run_as_utf16(std::string_view run, std::u16string &out);
void append_utf16_run_as_utf8(std::u16string_view run, std::string &out);

// Windows maps the user-defined areas of code page 936 (and a few unassigned
// places) to the private use area U+E000..U+E864; iconv has no such mapping,
// so the shared code applies it for both halves.
std::optional<char16_t> cp936_user_defined_to_utf16(unsigned char lead, unsigned char trail);
// Returns the two bytes (lead << 8 | trail), or nothing for other characters.
std::optional<unsigned> utf16_to_cp936_user_defined(char16_t unit);

// Runs are handed over in pieces of at most this many code units, so the
// platform calls' int lengths never overflow.
inline constexpr std::size_t max_run_units = std::size_t{1} << 20;
