#include "runtime/window.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowGeometry, PositionsAndSizesAreClamped) {
  EXPECT_EQ(clamp_position(-40000), -32627);
  EXPECT_EQ(clamp_position(40000), 32627);
  EXPECT_EQ(clamp_position(-5), -5);
  EXPECT_EQ(clamp_size(-5), 0);
  EXPECT_EQ(clamp_size(32628), 32627);
  EXPECT_EQ(clamp_size(1028), 1028);
}

TEST(KeyEvents, KeypadKeysGiveTheMainKeysCodes) {
  struct Case {
    int virtual_key, code;
  } cases[] = {
      {0x60, 48},  {0x65, 53},   {0x69, 57},   {0x6D, 189}, {0x6E, 190},
      {0x6F, 191}, {0x6A, 0x6A}, {0x6B, 0x6B}, {27, 27},    {13, 13},
      {46, 46},    {37, 37},     {40, 40},     {'A', 'A'},  {0xBD, 189},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.virtual_key);
    EXPECT_EQ(event_key_code(c.virtual_key), c.code);
  }
}

TEST(KeyEvents, TheKeyItselfIsNotCountedInTheFlags) {
  struct Case {
    int virtual_key;
    bool ctrl, shift, alt;
    int flags;
  } cases[] = {
      {0x10, false, true, false, 0}, // Shift alone
      {0xA1, false, true, false, 0}, // right Shift
      {0x11, true, true, false, 2},  // Ctrl with Shift held
      {0x12, true, false, true, 1},  // Alt with Ctrl held
      {'A', true, true, true, 7},    {'A', false, false, false, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.virtual_key);
    EXPECT_EQ(key_modifier_flags(c.virtual_key, c.ctrl, c.shift, c.alt), c.flags);
  }
  EXPECT_EQ(mouse_modifier_flags(true, false, true), 5);
}

TEST(PointerValue, FourBytesAreANumberAnythingElseIsNot) {
  EXPECT_EQ(pointer_number(ToBytes(4)), 4);
  EXPECT_EQ(pointer_number(Bytes{0x0E, 0, 0, 0}), 14);
  EXPECT_EQ(pointer_number(Bytes{0, 0, 2, 0, 1, 0}), -1);
  EXPECT_EQ(pointer_number(Bytes{}), -1);
}

TEST(EventHandlerAdapter, HandlersWithoutAResultNeverSuppress) {
  int seen = 0;
  MouseHandler plain = [&](int x, int y, int flags) { seen = x + y + flags; };
  MouseHandler refusing = [](int, int, int) { return false; };
  MouseHandler none;
  EXPECT_TRUE(plain(1, 2, 4));
  EXPECT_EQ(seen, 7);
  EXPECT_FALSE(refusing(0, 0, 0));
  EXPECT_FALSE(bool(none));
  EXPECT_TRUE(none(0, 0, 0));
}

} // namespace
