// Percent-encoding of form values and its reverse.
#pragma once

#include "runtime/text.h"

// The UTF-8 form of the text, percent-encoded for an
// application/x-www-form-urlencoded body. Bytes 0x21..0x7E other than
// "#", "%", "&" and "+" stay literal; every other byte becomes "%XX" with
// upper-case digits (a space becomes %20, never "+").
Text url_encode(const Text &value);

// Undoes percent-encoding byte by byte, then with to_ansi converts the
// result from UTF-8 to code page 936. A "+" stays "+". A "%" always consumes
// the two positions after it: a digit counts its value (either case), any
// other byte -2, a position past the end 0, and the byte taken is
// (high * 16 + low) mod 256. A zero byte is never put into the result.
Text url_decode(const Text &text, bool to_ansi);
