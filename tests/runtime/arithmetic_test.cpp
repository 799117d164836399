#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

TEST(Arithmetic, DivisionTruncatesTowardZero) {
  EXPECT_EQ(IntDivide(-7, 2), -3);
  EXPECT_EQ(IntDivide(7, 2), 3);
  EXPECT_EQ(IntDivide(7, -2), -3);
  EXPECT_EQ(ToText(IntDivide(-1, 2)), "0");
  EXPECT_EQ(Modulo(-7, 3), -1);
  EXPECT_EQ(Modulo(7, -3), 1);
  EXPECT_EQ(Modulo(7.5, 2), 1.5);
  EXPECT_EQ(ToText(Modulo(-6, 3)), "0");
  EXPECT_EQ(AbsValue(-2.5), 2.5);
}

TEST(Arithmetic, BitsAndShifts) {
  EXPECT_EQ(BitAnd(0xFF, 0x0F, 0x3C), 0x0C);
  EXPECT_EQ(BitOr(1, 2, 8), 11);
  EXPECT_EQ(BitXor(0xFF, 0x0F, 1), 0xF1);
  EXPECT_EQ(ShiftRight(-8, 1), -4);
  EXPECT_EQ(ShiftLeft(1, 33), 2);
  EXPECT_EQ(ShiftLeft(1, 31), -2147483647 - 1);
  EXPECT_EQ(ShiftLeft(3, -1), -2147483647 - 1); // -1 mod 32 is 31
  EXPECT_EQ(ShiftRight(-1, 40), -1);
  EXPECT_EQ(ShiftRight(256, 32), 256);
}

TEST(Arithmetic, MakeRgbTakesLowBytesOfEachComponent) {
  EXPECT_EQ(MakeRgb(10, 100, 130), 0x0082640A);
  EXPECT_EQ(MakeRgb(0x1FF, -1, 256), 0x0000FFFF);
}

} // namespace
