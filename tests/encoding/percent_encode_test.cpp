#include "encoding/percent.h"
#include "encoding/utf8_text.h"

#include <gtest/gtest.h>

namespace {

struct EncodeCase {
  const char *input, *expected;
};

TEST(UrlEncode, KeepsPrintableAsciiButTheFourFormSeparatorsAndEncodesTheRest) {
  const EncodeCase cases[] = {
      {"", ""},
      {" ", "%20"},
      {"+", "%2B"},
      {"%", "%25"},
      {"&", "%26"},
      {"#", "%23"},
      {"\r\n", "%0D%0A"},
      {"\t", "%09"},
      {"\x01\x1F", "%01%1F"},
      {"\x7F", "%7F"},
      {"a=b/c?d:e;f", "a=b/c?d:e;f"},
      {"!\"$'()*,-.<>@[\\]^_`{|}~", "!\"$'()*,-.<>@[\\]^_`{|}~"},
      // Base64 text: letters, digits, "/" and "=" stay, each "+" goes.
      {"iVBOR+w0K/Gg==", "iVBOR%2Bw0K/Gg=="},
  };
  for (const EncodeCase &c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(url_encode(c.input), c.expected);
  }
}

// Text is code page 936; the service reads UTF-8, so the encoder must
// percent-encode the UTF-8 bytes, never the code page 936 ones.
TEST(UrlEncode, EncodesCodePage936TextAsItsUtf8Bytes) {
  const EncodeCase cases[] = {
      {"\xD6\xD0", "%E4%B8%AD"},                  // 中
      {"\xD6\xD0\xCE\xC4", "%E4%B8%AD%E6%96%87"}, // 中文
      {"a \xD6\xD0+b", "a%20%E4%B8%AD%2Bb"},
      {"\x80", "%E2%82%AC"},     // the euro sign
      {"\xA3\xC1", "%EF%BC%A1"}, // full-width A
      // A trail byte in the ASCII range belongs to its character.
      {"\x81\x40", "%E4%B8%82"},
  };
  for (const EncodeCase &c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(url_encode(c.input), c.expected);
  }
}

TEST(UrlEncode, WritesUpperCaseDigitsAndAtMostThreeBytesPerUtf8Byte) {
  Text every_byte;
  for (int k = 1; k < 0x80; ++k)
    every_byte += static_cast<char>(k);
  every_byte += "\xD6\xD0";
  const Text encoded = url_encode(every_byte);
  EXPECT_LE(encoded.size(), 3 * ansi_to_utf8(every_byte, Bytes()).size());
  for (std::size_t at = encoded.find('%'); at != Text::npos; at = encoded.find('%', at + 1)) {
    ASSERT_LE(at + 3, encoded.size());
    EXPECT_NE(Text("0123456789ABCDEF").find(encoded[at + 1]), Text::npos) << at;
    EXPECT_NE(Text("0123456789ABCDEF").find(encoded[at + 2]), Text::npos) << at;
  }
}

// Each UTF-8 byte on its own, as the form encoding defines it.
Text encode_bytewise(const Bytes &utf8) {
  Text out;
  for (std::uint8_t byte : utf8) {
    const bool literal =
        byte >= 0x21 && byte <= 0x7E && byte != '#' && byte != '%' && byte != '&' && byte != '+';
    if (literal) {
      out += static_cast<char>(byte);
    } else {
      out += '%';
      out += "0123456789ABCDEF"[byte >> 4];
      out += "0123456789ABCDEF"[byte & 15];
    }
  }
  return out;
}

// Long values go through the block encoder; however the bytes to encode are
// spaced, it must agree with encoding byte by byte.
TEST(UrlEncode, EncodesLongValuesByteForByte) {
  const char *special[] = {"+", "%", " ", "\xD6\xD0", "&#", "\x7F", "\r\n"};
  for (int spacing : {1, 2, 5, 17, 63, 64, 65, 200}) {
    SCOPED_TRACE(spacing);
    Text value;
    for (int k = 0; value.size() < 3000; ++k)
      value += k % spacing == 0 ? special[k / spacing % 7] : "iVBOR/w0=";
    EXPECT_EQ(url_encode(value), encode_bytewise(ansi_to_utf8(value, Bytes())));
    const Text ascii_only = TextReplace(value, "\xD6\xD0", "+");
    EXPECT_EQ(url_encode(ascii_only), encode_bytewise(ToBytes(ascii_only)));
  }
}

TEST(AnsiToUtf8, ConvertsTheTextOrElseTheUtf16Units) {
  struct Case {
    const char *name;
    Text text;
    Bytes utf16;
    Bytes expected;
  } cases[] = {
      {"ascii", "abc", {}, {'a', 'b', 'c'}},
      {"chinese", "x\xD6\xD0", {}, {'x', 0xE4, 0xB8, 0xAD}},
      {"text wins over units", "a", {0x2D, 0x4E}, {'a'}},
      {"units of an empty text", "", {0x2D, 0x4E, 'b', 0}, {0xE4, 0xB8, 0xAD, 'b'}},
      {"odd last byte ignored", "", {'A', 0, 'B'}, {'A'}},
      {"surrogate pair", "", {0x3D, 0xD8, 0x00, 0xDE}, {0xF0, 0x9F, 0x98, 0x80}},
      {"both empty", "", {}, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ansi_to_utf8(c.text, c.utf16), c.expected);
  }
}

} // namespace
