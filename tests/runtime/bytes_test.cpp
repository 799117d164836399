#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

TEST(BytesCut, LeftAndMidClampIntoTheBytes) {
  const Bytes data{1, 2, 3, 4};
  EXPECT_EQ(BytesLeft(data, 2), (Bytes{1, 2}));
  EXPECT_EQ(BytesLeft(data, 9), data);
  EXPECT_EQ(BytesLeft(data, -1), Bytes{});
  EXPECT_EQ(BytesMid(data, 0, 2), (Bytes{1, 2})); // unlike TextMid
  EXPECT_EQ(BytesMid(data, -7, 1), (Bytes{1}));
  EXPECT_EQ(BytesMid(data, 3, 9), (Bytes{3, 4}));
  EXPECT_EQ(BytesMid(data, 5, 1), Bytes{});
  EXPECT_EQ(BytesMid(data, 2, -1), Bytes{});
  EXPECT_EQ(BytesMid(data, 2147483647, 2147483647), Bytes{});
  EXPECT_EQ(BytesLength(Bytes{}), 0);
}

TEST(BytesBuild, ZeroedConcatAndCompare) {
  EXPECT_EQ(BytesZeroed(3), (Bytes{0, 0, 0}));
  EXPECT_EQ(BytesZeroed(0), Bytes{});
  EXPECT_EQ(BytesZeroed(-1), Bytes{});
  const Bytes a{1, 0}, b{}, c{2};
  EXPECT_EQ(BytesConcat(a, b, c), (Bytes{1, 0, 2}));
  EXPECT_EQ(BytesConcat(b, b), Bytes{});
  EXPECT_EQ(BytesCompare(Bytes{1, 2, 3}, Bytes{1, 2, 4}, 2), 0);
  EXPECT_EQ(BytesCompare(Bytes{1, 2, 3}, Bytes{1, 2, 4}, 3), -1);
  EXPECT_EQ(BytesCompare(Bytes{0x80}, Bytes{0x7F}, 1), 1);
  EXPECT_EQ(BytesCompare(Bytes{1}, Bytes{1, 2}, 5), -1);
}

TEST(BytesAccess, GetsAndSetsByOneBasedIndex) {
  Bytes data{5, 6};
  EXPECT_EQ(BytesGet(data, 2), 6);
  BytesSet(data, 1, 9);
  EXPECT_EQ(data, (Bytes{9, 6}));
}

TEST(BytesRead, ReadsEachKindLittleEndianWithMissingBytesAsZero) {
  Bytes bmp = BytesZeroed(29);
  BytesSet(bmp, 29, 24);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(bmp, 2, 29)), 24);

  const Bytes data{0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xF0, 0x3F};
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 1, 1)), 0xFE);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 2, 1)), -2);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 3, 1)), -2);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 4, 1)), 0x3FF00000FFFFFFFELL);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 7, 2)), 1);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(Bytes{0, 0, 0, 0}, 7, 1)), 0);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 9, 1)), 0xFFFFFFFELL);
  EXPECT_EQ(std::get<double>(BytesRead(Bytes{0, 0, 0x80, 0x3F}, 5, 1)), 1.0);
  EXPECT_EQ(std::get<double>(BytesRead(Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}, 6, 1)), 1.0);
  EXPECT_EQ(std::get<double>(BytesRead(Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}, 8, 1)), 1.0);
  EXPECT_EQ(std::get<Text>(BytesRead(Bytes{'x', 'a', 'b', 0, 'c'}, 10, 2)), "ab");
  EXPECT_EQ(std::get<Text>(BytesRead(Bytes{'x', 'a'}, 10, 2)), "a");
  EXPECT_EQ(std::get<Text>(BytesRead(Bytes{'x'}, 10, 5)), "");
  // A position below 1 or past the end reads nothing, that is zero.
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 3, 0)), 0);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 3, 100)), 0);
  EXPECT_EQ(std::get<std::int64_t>(BytesRead(data, 3, 8)), 0x3F);
}

} // namespace
