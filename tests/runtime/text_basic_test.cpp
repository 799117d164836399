#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

TEST(TextCut, LeftRightMidClampToTheText) {
  EXPECT_EQ(TextLeft("abc", 2), "ab");
  EXPECT_EQ(TextLeft("abc", 9), "abc");
  EXPECT_EQ(TextLeft("abc", 0), "");
  EXPECT_EQ(TextLeft("abc", -1), "");
  EXPECT_EQ(TextRight("abc", 2), "bc");
  EXPECT_EQ(TextRight("abc", 9), "abc");
  EXPECT_EQ(TextRight("abc", -1), "");
  EXPECT_EQ(TextMid("abcde", 2, 3), "bcd");
  EXPECT_EQ(TextMid("abcde", 4, 9), "de");
  EXPECT_EQ(TextMid("abcde", 0, 2), "");
  EXPECT_EQ(TextMid("abcde", 6, 1), "");
  EXPECT_EQ(TextMid("abcde", 1, 0), "");
  // Cutting by count may split a two-byte character.
  EXPECT_EQ(TextLeft("\xD6\xD0", 1), "\xD6");
}

TEST(TextCase, ChangesAsciiLettersOnly) {
  EXPECT_EQ(TextUpper(""), "");
  EXPECT_EQ(TextLower(""), "");
  EXPECT_EQ(TextUpper("aBz{"), "ABZ{");
  EXPECT_EQ(TextLower("AbZ@"), "abz@");
  // The trail byte 'a' of 0xB0 0x61 belongs to the two-byte character.
  EXPECT_EQ(TextUpper("\xB0"
                      "ab"),
            "\xB0"
            "aB");
  EXPECT_EQ(TextLower("\xB0"
                      "AB"),
            "\xB0"
            "Ab");
}

TEST(TextCompare, OrdersBytesAsUnsigned) {
  EXPECT_EQ(TextCompare("", Text()), 0);
  EXPECT_EQ(TextCompare("abc", "abc"), 0);
  EXPECT_EQ(TextCompare("abc", "abd"), -1);
  EXPECT_EQ(TextCompare("abd", "abc"), 1);
  EXPECT_EQ(TextCompare("ab", "abc"), -1);
  EXPECT_EQ(TextCompare("\xB0", "a"), 1);
  EXPECT_TRUE(TextStartsWith("abc", ""));
  EXPECT_TRUE(TextStartsWith("abc", "ab"));
  EXPECT_FALSE(TextStartsWith("abc", "AB"));
  EXPECT_FALSE(TextStartsWith("ab", "abc"));
}

TEST(TextBuild, SpacesCharactersAndConcatenation) {
  EXPECT_EQ(TextSpaces(3), "   ");
  EXPECT_EQ(TextSpaces(0), "");
  EXPECT_EQ(TextSpaces(-2), "");
  EXPECT_EQ(CharFromCode('A'), "A");
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(0xB0), "\xB0");
  EXPECT_EQ(CharCodeAt("\xB0\xA1"), -80);
  EXPECT_EQ(CharCodeAt("A"), 65);
  EXPECT_EQ(CharCodeAt(""), 0);
  EXPECT_EQ(CharCodeAt("ab", 2), 'b');
  EXPECT_EQ(CharCodeAt("ab", 3), 0);
  EXPECT_EQ(CharCodeAt("ab", 0), 0);
  EXPECT_EQ(TextConcat(Text("a"), Text(), "b", Text("cd")), "abcd");
  EXPECT_EQ(TextLength("\xD6\xD0"
                       "a"),
            3);
}

TEST(TextArray, AppendsCopiesAndIndexesFromOne) {
  TextArray array;
  Text text = "a";
  array.Append(text);
  text = "changed";
  array.Append("b");
  ASSERT_EQ(array.Count(), 2);
  EXPECT_EQ(array.item(1), "a");
  array.item(2) = "c";
  EXPECT_EQ(array.item(2), "c");
}

} // namespace
