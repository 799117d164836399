// The core of url_encode over UTF-8 bytes: an exact length pass and the
// encoding pass, both working sixteen bytes at a time where the processor
// allows, since the picture's Base64 text is tens of megabytes of which
// only the "+" signs change.
#pragma once

#include <cstddef>

struct FormScan {
  std::size_t encoded_length; // bytes the encoding of the input takes
  bool ascii;                 // no byte of 0x80 or above
};

FormScan scan_form_bytes(const unsigned char *in, std::size_t size);

// Writes the encoding of the input at dest and returns its length. dest
// must have room for the encoded length plus kFormSlack bytes, which may be
// overwritten.
inline constexpr std::size_t kFormSlack = 64;
std::size_t encode_form_bytes(const unsigned char *in, std::size_t size, char *dest);
