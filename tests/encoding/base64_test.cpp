#include "encoding/base64.h"

#include <gtest/gtest.h>

namespace {

Bytes bytes_of(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// A plain bit-by-bit encoder to hold the table-driven one against.
Text reference_base64(const Bytes &data) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  Text out;
  for (std::size_t i = 0; i < data.size(); i += 3) {
    const std::size_t left = data.size() - i;
    unsigned group = data[i] << 16;
    if (left > 1)
      group |= data[i + 1] << 8;
    if (left > 2)
      group |= data[i + 2];
    for (int k = 0; k < 4; ++k)
      out += k <= int(left) ? alphabet[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

TEST(Base64Encode, MatchesTheRfc4648Vectors) {
  struct Case {
    const char *input, *expected;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(base64_encode(bytes_of(c.input)), c.expected);
  }
}

TEST(Base64Encode, EncodesZeroBytesAndTheTopTwoValuesAsPlusAndSlash) {
  struct Case {
    Bytes input;
    const char *expected;
  } cases[] = {
      {{0x00}, "AA=="},           {{0x00, 0x00}, "AAA="},       {{0x00, 0x00, 0x00}, "AAAA"},
      {{'a', 0x00, 'b'}, "YQBi"}, {{0xFB, 0xEF, 0xBE}, "++++"}, {{0xFF, 0xFF, 0xFF}, "////"},
      {{0xFB, 0xFF}, "+/8="},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(base64_encode(c.input), c.expected);
  }
}

// The encoder works in blocks of six bytes with single groups and the
// padded tail after them; every length around those boundaries, with every
// byte value, must give the plain encoding.
TEST(Base64Encode, AgreesWithThePlainEncoderAtEveryBlockBoundary) {
  Bytes data;
  for (int length = 0; length <= 80; ++length) {
    SCOPED_TRACE(length);
    EXPECT_EQ(base64_encode(data), reference_base64(data));
    data.push_back(static_cast<std::uint8_t>(length * 97 + 13));
  }
  Bytes every_byte(256);
  for (int k = 0; k < 256; ++k)
    every_byte[k] = static_cast<std::uint8_t>(k);
  EXPECT_EQ(base64_encode(every_byte), reference_base64(every_byte));
}

TEST(Base64Encode, WritesALargeInputOnOneLine) {
  Bytes data(100000);
  for (std::size_t k = 0; k < data.size(); ++k)
    data[k] = static_cast<std::uint8_t>(k * 31 + (k >> 8));
  const Text encoded = base64_encode(data);
  ASSERT_EQ(encoded.size(), 133336u);
  EXPECT_EQ(encoded.find_first_of("\r\n \t"), Text::npos);
  EXPECT_EQ(encoded, reference_base64(data));
}

} // namespace
