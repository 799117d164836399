#include "http/cookies.h"

#include <gtest/gtest.h>

namespace {

TEST(CollectResponseCookies, TakesTheFirstPairOfEachSetCookieLine) {
  struct Case {
    const char *raw, *expected;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; Path=/; HttpOnly\r\nContent-Type: text/plain\r\n"
       "Set-Cookie: lang=zh\r\n\r\n",
       "sid=abc; lang=zh"},
      {"HTTP/1.1 200 OK\r\nset-cookie: a=1\r\n\r\n", ""},
      {"HTTP/1.1 200 OK\r\nSet-Cookie:a=1\r\n\r\n", ""}, // no ": " after the name
      {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"", ""},
      {"Set-Cookie:  spaced=1  ; Path=/", "spaced=1"},
      {"Set-Cookie: x=a:b", "x=a:b"},
      {"Set-Cookie: \xD6\xD0=\xCE\xC4", "\xD6\xD0=\xCE\xC4"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.raw);
    EXPECT_EQ(collect_response_cookies(c.raw), c.expected);
  }
}

TEST(TextBefore, TakesTheBytesBeforeTheFirstSeparator) {
  EXPECT_EQ(text_before("Set-Cookie: a=1", ": "), "Set-Cookie");
  EXPECT_EQ(text_before("a: b: c", ": "), "a");
  EXPECT_EQ(text_before("no separator", ": "), "");
  EXPECT_EQ(text_before(": lead", ": "), "");
}

TEST(MergeCookies, PutsFreshItemsFirstAndDropsDeletedAndRepeatedOnes) {
  struct Case {
    const char *old_cookies, *fresh, *merged;
  } cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
      {"sid=1; uid=7", "uid=deleted", "sid=1"},
      {"a=1;", "", "a=1"},
      {"  a=1; ", "b=2;", "b=2; a=1"},
      {"", "x=1; x=1", "x=1"},
      {"", "x=1; x=2", "x=1; x=2"},
      {"", "", ""},
      // Of old items sharing a name only the first survives.
      {"a=1; a=2; b=3", "", "a=1; b=3"},
      {"a=1; a=2", "a=9", "a=9"},
      {" a =1", "a=2", "a=2"},
      {"flag; a=1", "flag", "flag; a=1"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.old_cookies << " + " << c.fresh);
    Text cookies = c.old_cookies;
    Text fresh = c.fresh;
    EXPECT_EQ(merge_cookies(cookies, fresh), c.merged);
    EXPECT_EQ(cookies, c.merged);
  }
}

TEST(MergeCookies, LeavesTheFreshTextTrimmed) {
  Text cookies = "a=1";
  Text fresh = "  b=2;";
  merge_cookies(cookies, fresh);
  EXPECT_EQ(fresh, "b=2; ");
}

TEST(MergeCookies, MergesThousandsOfCookies) {
  Text cookies, fresh, expected;
  for (int k = 0; k < 20000; ++k) {
    cookies += "old" + std::to_string(k) + "=1; ";
    fresh += "new" + std::to_string(k % 10000) + "=2; ";
  }
  for (int k = 0; k < 10000; ++k)
    expected += "new" + std::to_string(k) + "=2; ";
  for (int k = 0; k < 20000; ++k)
    expected += "old" + std::to_string(k) + "=1; ";
  expected.resize(expected.size() - 2);
  EXPECT_EQ(merge_cookies(cookies, fresh), expected);
}

TEST(CookieItems, NamesListsAndIndexes) {
  EXPECT_EQ(cookie_name(" sid = abc"), "sid");
  EXPECT_EQ(cookie_name(" flag "), "flag");
  EXPECT_EQ(cookie_name("=v"), "");
  EXPECT_EQ(cookie_name("a=b=c"), "a");

  const TextArray list{"a=1", " b =2", "flag"};
  EXPECT_TRUE(cookie_listed(list, "b"));
  EXPECT_TRUE(cookie_listed(list, "flag"));
  EXPECT_FALSE(cookie_listed(list, "c"));
  EXPECT_FALSE(cookie_listed(TextArray(), ""));

  EXPECT_EQ(item_index(list, "a=1"), 1);
  EXPECT_EQ(item_index(list, "flag"), 3);
  EXPECT_EQ(item_index(list, "b=2"), -1);
  EXPECT_EQ(item_index(TextArray{"x", "x"}, "x"), 1);
}

TEST(DedupeItems, KeepsTheFirstOfEachExactRepeat) {
  EXPECT_EQ(dedupe_items("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(dedupe_items("a, A, a", ", "), "a, A");
  EXPECT_EQ(dedupe_items("a;;a", ";"), "a;");
  EXPECT_EQ(dedupe_items("", "; "), "");
}

} // namespace
