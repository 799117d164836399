// Conversions between Text (code page 936) and UTF-8. The code pages are
// named explicitly, so the results do not depend on the system's locale.
#pragma once

#include "runtime/text.h"

// The UTF-8 form of the text; when the text is empty, the UTF-8 form of
// utf16 read as UTF-16LE code units (an odd last byte is ignored). Nothing
// is appended, no zero byte at the end.
Bytes ansi_to_utf8(const Text &text, const Bytes &utf16);

// The code page 936 form of UTF-8 text, up to the first zero byte.
// Characters without a code page 936 form and malformed UTF-8 come out as
// the conversion's replacement characters.
Text utf8_to_ansi(const Text &text);
