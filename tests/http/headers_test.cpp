#include "http/headers.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
  const char *input, *expected;
};

TEST(NormaliseHeaderNames, CapitalisesEveryPieceOfEachNameAndDropsLinesWithoutAColon) {
  const TextCase cases[] = {
      {"content-type: text/plain\r\nx-requested-WITH:1",
       "Content-Type: text/plain\r\nX-Requested-WITH:1"},
      {"accept: */*\r\n\r\nno colon here\r\nhost: a:b\r\n", "Accept: */*\r\nHost: a:b"},
      {"", ""},
      {"no colon", ""},
      {"\r\n\r\n", ""},
      {"a--b: 1", "A--B: 1"},
      {"-a: 1", "-A: 1"},
      // A dash at the end of a name stays.
      {"x-: 1\r\nx--: 2", "X-: 1\r\nX--: 2"},
      {"\xD6\xD0-x: \xCE\xC4", "\xD6\xD0-X: \xCE\xC4"},
      {": value", ": value"},
  };
  for (const TextCase &c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(normalise_header_names(c.input), c.expected);
  }
}

TEST(CapitaliseFirst, UpperCasesOnlyTheFirstByte) {
  const TextCase cases[] = {
      {"", ""}, {"a", "A"}, {"abC", "AbC"}, {"1a", "1a"}, {"\xD6\xD0", "\xD6\xD0"}};
  for (const TextCase &c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(capitalise_first(c.input), c.expected);
  }
}

TEST(PickUserAgent, TakesTheUserAgentLineOrTheDefault) {
  const TextCase cases[] = {
      {"", kDefaultUserAgent},
      {"Accept: */*", kDefaultUserAgent},
      {"User-Agent: Lumi/1.0\r\nAccept: */*", "Lumi/1.0"},
      {"Accept: */*\r\nUser-Agent:   spaced out  ", "spaced out"},
      // The name written in another case is found too, by its own line.
      {"user-agent: X", "X"},
      {"Accept: */*\r\nuser-agent: X\r\nReferer: r", "X"},
      {"USER-AGENT:Y", "Y"},
      {"User-Agent: \r\nAccept: */*", ""},
  };
  for (const TextCase &c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(pick_user_agent(c.input), c.expected);
  }
}

TEST(TextAfterColon, TrimsTheTextAfterTheFirstColon) {
  const TextCase cases[] = {{"a: b ", "b"}, {"none", ""}, {"a:b:c", "b:c"}, {"a:", ""}};
  for (const TextCase &c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(text_after_colon(c.input), c.expected);
  }
}

TEST(CompleteRequestHeaders, AddsTheDefaultLinesThatAreMissing) {
  struct Case {
    const char *headers;
    int method;
    const char *expected;
  } cases[] = {
      {"", 0, "Accept: */*\r\nReferer: https://H/p?q=1\r\nAccept-Language: zh-cn"},
      {"", 1,
       "Accept: */*\r\nReferer: https://H/p?q=1\r\nAccept-Language: zh-cn"
       "\r\nContent-Type: application/x-www-form-urlencoded"},
      // Names are searched as substrings and without regard to case.
      {"X-Accept: 1", 0, "X-Accept: 1\r\nReferer: https://H/p?q=1\r\nAccept-Language: zh-cn"},
      {"referer: R", 0, "referer: R\r\nAccept: */*\r\nAccept-Language: zh-cn"},
      {"Accept: a\r\nReferer: r\r\nAccept-Language: en\r\ncontent-type: text/plain", 1,
       "Accept: a\r\nReferer: r\r\nAccept-Language: en\r\ncontent-type: text/plain"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.headers);
    Text headers = c.headers;
    complete_request_headers(headers, "https://H/p?q=1", c.method);
    EXPECT_EQ(headers, c.expected);
  }
}

TEST(AppendCookieHeader, AddsTheCookiesAsALine) {
  struct Case {
    const char *headers, *cookies, *expected;
  } cases[] = {
      {"Accept: */*", "a=1; b=2", "Accept: */*\r\nCookie: a=1; b=2"},
      {"Accept: */*", "Cookie: a=1", "Accept: */*\r\nCookie: a=1"},
      {"Accept: */*", "", "Accept: */*"},
      // With no other header, no empty line goes in front.
      {"", "a=1", "Cookie: a=1"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.cookies);
    Text headers = c.headers;
    append_cookie_header(headers, c.cookies);
    EXPECT_EQ(headers, c.expected);
  }
}

} // namespace
