#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/text.h"

namespace {

TEST(ToText, WritesRealsAsThirteenSignificantDigits) {
  const struct {
    double value;
    const char *expected;
  } cases[] = {
      {3.0, "3"},
      {0.1 + 0.2, "0.3"},
      {1e13, "1e+013"},
      {9999999999999.0, "9999999999999"},
      {-2.5, "-2.5"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {1.0 / 3.0, "0.3333333333333"},
      {123456789012345678.0, "1.234567890123e+017"},
      {1e300, "1e+300"},
      {-1.5e-300, "-1.5e-300"},
      {0.0, "0"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {std::nan(""), "nan"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(ToText(c.value), c.expected);
  }
}

TEST(ToText, WritesIntegersBytesAndByteStrings) {
  EXPECT_EQ(ToText(std::int32_t{-5}), "-5");
  EXPECT_EQ(ToText(std::int32_t{-2147483647 - 1}), "-2147483648");
  EXPECT_EQ(ToText(std::uint8_t{255}), "255");
  EXPECT_EQ(ToText(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(ToText(Bytes{'a', 'b'}), "ab");
  EXPECT_EQ(ToText(Bytes{}), "");
}

TEST(ToInt, FoldsFullWidthThenParsesDecimal) {
  const struct {
    const char *text;
    std::int32_t expected;
  } cases[] = {
      {" 42abc", 42},
      {"abc", 0},
      {"", 0},
      {"\t\r\n\v\f-17", -17},
      {"+8", 8},
      {"- 8", 0},
      {"\xA3\xAD\xA3\xB1\xA3\xB2", -12}, // full-width "-12"
      {"\xA1\xA1\xA3\xAB\xA3\xB3", 3},   // full-width space, "+3"
      {"\xA3\xB4"
       "2",
       42}, // full-width and ASCII digits mixed
      {"\xD6\xD0"
       "5",
       0}, // a Chinese character is not a number
      {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1}, // wraps modulo 2^32
      {"4294967297", 1},
      {"-2147483648", -2147483647 - 1},
      {"99999999999999999999", 1661992959},
      {"\xA3", 0}, // a lone lead byte at the end
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ToInt(Text(c.text)), c.expected);
  }
}

TEST(ToInt, TruncatesRealsTowardZero) {
  EXPECT_EQ(ToInt(2.9), 2);
  EXPECT_EQ(ToInt(-2.9), -2);
  EXPECT_EQ(ToInt(-0.5), 0);
  // Out of range and not-a-number are held at the nearest integer, and 0.
  EXPECT_EQ(ToInt(1e12), 2147483647);
  EXPECT_EQ(ToInt(-1e12), -2147483647 - 1);
  EXPECT_EQ(ToInt(std::nan("")), 0);
}

TEST(ToBytes, GivesTextBytesAndLittleEndianIntegers) {
  EXPECT_EQ(ToBytes(Text("ab")), (Bytes{'a', 'b'}));
  EXPECT_EQ(ToBytes(Text()), Bytes{});
  EXPECT_EQ(ToBytes(std::int32_t{0x01020304}), (Bytes{4, 3, 2, 1}));
  EXPECT_EQ(ToBytes(std::int32_t{-2}), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(ToByte(0x1FF), 0xFF);
  EXPECT_EQ(ToByte(-1), 0xFF);
  EXPECT_EQ(ToNumber(true), 1.0);
  EXPECT_EQ(ToNumber(false), 0.0);
}

} // namespace
