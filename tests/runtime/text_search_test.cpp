#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

struct FindCase {
  const char *text;
  const char *sub;
  std::optional<int> start;
  bool ignore_case;
  int expected;
};

TEST(TextFind, FollowsPositionAndCaseRules) {
  const FindCase cases[] = {
      {"abc", "", std::nullopt, false, 1},
      {"", "", std::nullopt, false, -1},
      {"abcabc", "c", 4, false, 6},
      {"abc", "c", 4, false, -1},
      {"abcabc", "a", 0, false, 1},
      {"abcabc", "a", -5, false, 1},
      {"abcabc", "a", 2, false, 4},
      {"ABC", "b", std::nullopt, true, 2},
      {"ABC", "b", std::nullopt, false, -1},
      {"abc", "abcd", std::nullopt, false, -1},
      // A trail byte is never matched on its own.
      {"\xB0\x41", "A", std::nullopt, false, -1},
      {"\xB0\x41"
       "A",
       "A", std::nullopt, false, 3},
      // Case folding is ASCII only and byte by byte.
      {"\xD6\xD0x", "\xD6\xD0X", std::nullopt, true, 1},
      // A start inside a two-byte character walks from that byte.
      {"\xB0\x41"
       "A",
       "A", 2, false, 2},
      // A lead byte that ends the text is still a place a match may begin.
      {"ab\xB0", "\xB0", std::nullopt, false, 3},
  };
  for (const FindCase &c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' / '" << c.sub << "'");
    EXPECT_EQ(TextFind(c.text, c.sub, c.start, c.ignore_case), c.expected);
  }
}

TEST(TextFindLast, FindsLastMatchWhollyBeforeStart) {
  const FindCase cases[] = {
      {"a.b.c", ".", std::nullopt, false, 4},
      {"a.b.c", ".", 4, false, 2},
      {"a.b.c", ".", 5, false, 4},
      {"a.b.c", ".", 1, false, -1},
      {"a.b.c", ".", -3, false, -1},
      {"a.b.c", ".", 99, false, 4},
      {"a.b.c", "", std::nullopt, false, 1},
      {"", "", std::nullopt, false, -1},
      {"abab", "ab", 4, false, 1}, // the match at 3 does not end before 4
      {"xAbxab", "aB", std::nullopt, true, 5},
      {"\xB0\x5C\x5C", "\x5C", std::nullopt, false, 3},
      {"\xB0\x5C", "\x5C", std::nullopt, false, -1},
  };
  for (const FindCase &c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' / '" << c.sub << "'");
    EXPECT_EQ(TextFindLast(c.text, c.sub, c.start, c.ignore_case), c.expected);
  }
}

struct ReplaceCase {
  const char *text;
  const char *find;
  std::optional<Text> replacement;
  std::optional<int> start;
  std::optional<int> count;
  bool case_sensitive;
  const char *expected;
};

TEST(TextReplace, ReplacesLeftToRightWithoutRescanning) {
  const auto none = std::nullopt;
  const ReplaceCase cases[] = {
      {"abc", "", Text("x"), none, none, true, "abc"},
      {"abcb", "b", Text("x"), none, 0, true, "abcb"},
      {"abc", "b", Text("x"), 4, none, true, "abc"},
      {"", "b", Text("x"), none, none, true, ""},
      {"set-cookie: x", "Set-Cookie:", none, none, none, false, " x"},
      {"set-cookie: x", "Set-Cookie:", none, none, none, true, "set-cookie: x"},
      {"aaa", "aa", Text("b"), none, none, true, "ba"},
      {"a,b,c,d", ",", Text("; "), none, 2, true, "a; b; c,d"},
      {"a,b,c,d", ",", Text("-"), 3, none, true, "a,b-c-d"},
      {"a,b,c,d", ",", Text("-"), -4, -1, true, "a-b-c-d"},
      {"abab", "ab", Text("abab"), none, none, true, "abababab"},
      // The second byte of 0xB0 0x41 is not an 'A'.
      {"\xB0\x41"
       "A",
       "A", Text("z"), none, none, true, "\xB0\x41z"},
      {"\xB0\x41"
       "a",
       "A", Text("z"), none, none, false, "\xB0\x41z"},
      // A lead byte at the very end is copied as it is.
      {"xx\xB0", "x", Text("y"), none, none, true, "yy\xB0"},
  };
  for (const ReplaceCase &c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' / '" << c.find << "'");
    EXPECT_EQ(TextReplace(c.text, c.find, c.replacement, c.start, c.count, c.case_sensitive),
              c.expected);
  }
}

struct SplitCase {
  const char *text;
  std::optional<Text> separator;
  std::optional<int> limit;
  TextArray expected;
};

TEST(TextSplit, KeepsInnerEmptyFieldsAndDropsTrailingOne) {
  const auto none = std::nullopt;
  const SplitCase cases[] = {
      {"a,,b", Text(","), none, {"a", "", "b"}},
      {",a", Text(","), none, {"", "a"}},
      {"a,b,", Text(","), none, {"a", "b"}},
      {",", Text(","), none, {""}},
      {"a,b,c", Text(","), 2, {"a", "b"}},
      {"a,b,c", Text(","), 3, {"a", "b", "c"}},
      {"a,b,c", Text(","), 0, {}},
      {"a,b,c", Text(","), -1, {}},
      {"abc", Text(""), none, {"abc"}},
      {"", Text(","), none, {}},
      {"a,b", none, none, {"a", "b"}},
      {"k=v; n=m", Text("; "), none, {"k=v", "n=m"}},
      // Separators are only found at character starts.
      {"\xB0,x,y", Text(","), none, {"\xB0,x", "y"}},
      {"a\r\nb\r\n", Text("\r\n"), none, {"a", "b"}},
  };
  for (const SplitCase &c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    EXPECT_EQ(TextSplit(c.text, c.separator, c.limit), c.expected);
  }
}

TEST(TextTrim, RemovesSpacesAndFullWidthSpacesOnly) {
  const struct {
    const char *text;
    const char *expected;
  } cases[] = {
      {"\ta ", "\ta"},
      {"\xA1\xA1"
       "a\xA1\xA1",
       "a"},
      {"  a b  ", "a b"},
      {"   ", ""},
      {"", ""},
      {"\r\na\r\n", "\r\na\r\n"},
      // 0xB0 0x20 is one character: its trail byte is not a blank.
      {"a\xB0 ", "a\xB0 "},
      // 0xB0 0xA1 then 0xA1 0xA1 is a character and then one blank.
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {" \xA1", "\xA1"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    EXPECT_EQ(TextTrim(c.text), c.expected);
  }
}

} // namespace
