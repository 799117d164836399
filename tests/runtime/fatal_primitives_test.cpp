// Programming errors in the primitives end the program with a report.
#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

const auto exits_fatally = testing::ExitedWithCode(3);

TEST(PrimitivesDeathTest, TextArrayIndexOutsideCount) {
  TextArray array{"a", "b"};
  EXPECT_EXIT((void)array.item(0), exits_fatally, "TextArray index 0 outside 1..2");
  EXPECT_EXIT((void)array.item(3), exits_fatally, "TextArray index 3 outside 1..2");
  const TextArray empty;
  EXPECT_EXIT((void)empty.item(1), exits_fatally, "TextArray index 1 outside 1..0");
}

TEST(PrimitivesDeathTest, BytesIndexOutsideCount) {
  Bytes data{1, 2};
  EXPECT_EXIT((void)BytesGet(data, 3), exits_fatally, "Bytes index 3 outside 1..2");
  EXPECT_EXIT(BytesSet(data, 0, 1), exits_fatally, "Bytes index 0 outside 1..2");
}

TEST(PrimitivesDeathTest, ZeroDivisor) {
  EXPECT_EXIT((void)IntDivide(1, 0), exits_fatally, "IntDivide by zero");
  EXPECT_EXIT((void)Modulo(1, 0), exits_fatally, "Modulo by zero");
}

TEST(PrimitivesDeathTest, UnknownBytesReadKind) {
  const Bytes data{1, 2, 3, 4};
  EXPECT_EXIT((void)BytesRead(data, 0, 1), exits_fatally, "BytesRead kind 0 is not 1..10");
  EXPECT_EXIT((void)BytesRead(data, 11, 1), exits_fatally, "BytesRead kind 11 is not 1..10");
}

} // namespace
