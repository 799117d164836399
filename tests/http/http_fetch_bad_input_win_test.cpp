// http_fetch with addresses and header texts that are not what they should
// be, and with servers that cannot be reached: no crash, no hang, and the
// empty or odd-but-defined results the routine promises.
#include <gtest/gtest.h>

#include "tests/http/http_fetch_fixture_win.h"

namespace {

TEST_F(HttpFetchTest, OddAddressesGiveDefinedResults) {
  const std::string port = std::to_string(server().http_port());
  const std::string https_port = std::to_string(server().https_port());
  struct Case {
    std::string url;
    const char *body;
    // The target the server saw, or nullptr when nothing may reach it.
    const char *target;
  } cases[] = {
      {"", "", nullptr},
      {"127.0.0.1:" + port + "/hello", "hello from loopback", "/hello"},
      {"HTTP://127.0.0.1:" + port + "/hello?Q=A", "hello from loopback", "/hello?Q=A"},
      {"http://127.0.0.1:" + port, "", "/"},
      {"https://127.0.0.1:" + https_port + "?x=1", "", "/"},
      {"http://127.0.0.1:abc/hello", "", nullptr},
      {"http://127.0.0.1:70000/hello", "", nullptr},
      {"http://127.0.0.1:-1/hello", "", nullptr},
      {"http://", "", nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("url: " + c.url);
    int before = server().request_count();
    Text response_headers = "untouched";
    Bytes body = http_fetch(c.url, kHttpGet, std::nullopt, {}, {}, {}, response_headers);
    EXPECT_EQ(text_of(body), c.body);
    if (c.target) {
      EXPECT_EQ(last_request().target, c.target);
    } else {
      EXPECT_EQ(server().request_count(), before) << "a request reached the server";
    }
  }
}

TEST_F(HttpFetchTest, HeaderLinesWithoutColonAreDroppedAndNamesCapitalised) {
  Text headers = "NoColonHere\r\n\r\ncontent-type: text/plain\r\nx-requested-WITH:1\r\n";
  http_fetch(url("/echo"), kHttpPost, "body", {}, {}, headers);
  EXPECT_EQ(headers, "Content-Type: text/plain\r\nX-Requested-WITH:1\r\nAccept: */*\r\nReferer: " +
                         url("/echo") + "\r\nAccept-Language: zh-cn");
  loopback::Request sent = last_request();
  EXPECT_EQ(sent.header_text.find("NoColonHere"), std::string::npos);
  EXPECT_EQ(sent.header("Content-Type"), "text/plain");
  EXPECT_EQ(sent.header("X-Requested-WITH"), "1");
}

TEST_F(HttpFetchTest, CallerHeadersPassAsGivenWhenNeitherFixedNorCompleted) {
  Text headers = "user-agent: Custom/1.0\r\nx-trace: abc";
  http_fetch(url("/hello"), kHttpGet, std::nullopt, {}, {}, headers, {}, std::nullopt, {},
             std::nullopt, std::nullopt, false, false);
  EXPECT_EQ(headers, "user-agent: Custom/1.0\r\nx-trace: abc");
  loopback::Request sent = last_request();
  EXPECT_EQ(sent.header("User-Agent"), "Custom/1.0");
  EXPECT_EQ(sent.header("X-Trace"), "abc");
  EXPECT_FALSE(sent.has_header("Referer"));
  EXPECT_FALSE(sent.has_header("Accept-Language"));
}

TEST_F(HttpFetchTest, UnreachableServersGiveEmptyResults) {
  const char *addresses[] = {
      "http://127.0.0.1:1/refused",
      "https://127.0.0.1:1/refused",
      "http://lumiscribe-no-such-host.invalid/x",
      "https://lumiscribe-no-such-host.invalid/x",
  };
  for (const char *address : addresses) {
    SCOPED_TRACE(address);
    Text cookies = "a=1", response_cookies = "stale", response_headers = "stale";
    Bytes body =
        http_fetch(address, kHttpPost, "body", cookies, response_cookies, {}, response_headers);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(response_headers, "");
    EXPECT_EQ(response_cookies, "a=1");
    EXPECT_EQ(cookies, "a=1");
  }
}

} // namespace
