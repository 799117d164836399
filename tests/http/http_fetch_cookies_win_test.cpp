// Cookies through http_fetch: the caller's cookie text against the
// platform's own store, merging across calls, and the cookies of a header
// block too large for the first header buffer.
#include <gtest/gtest.h>

#include "tests/http/http_fetch_fixture_win.h"

namespace {

Bytes fetch_with_cookies(const Text &address, Text &cookies, Text &response_cookies,
                         std::optional<bool> update_cookies = std::nullopt) {
  return http_fetch(address, kHttpGet, std::nullopt, cookies, response_cookies, {}, {},
                    std::nullopt, {}, std::nullopt, update_cookies);
}

TEST_F(HttpFetchTest, CookiesGivenAsEmptyTextKeepThePlatformStoreOut) {
  // Left out, the cookies are the platform's: it stores what it is sent and
  // sends it back.
  http_fetch(url(set_cookie_path({"store_probe=1; Path=/"})));
  http_fetch(url("/hello"));
  EXPECT_NE(last_request().header("Cookie").find("store_probe=1"), std::string::npos);

  Text cookies, response_cookies;
  fetch_with_cookies(url(set_cookie_path({"given_probe=2; Path=/"})), cookies, response_cookies);
  EXPECT_FALSE(last_request().has_header("Cookie"));
  EXPECT_EQ(cookies, "given_probe=2");
  EXPECT_EQ(response_cookies, "given_probe=2");

  http_fetch(url("/hello"));
  EXPECT_EQ(last_request().header("Cookie").find("given_probe"), std::string::npos)
      << "the platform stored a cookie of a request that had its own";

  // The store outlives the test: leave it as it was.
  http_fetch(url(set_cookie_path({"store_probe=; Path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT"})));
  http_fetch(url("/hello"));
  EXPECT_FALSE(last_request().has_header("Cookie"));
}

TEST_F(HttpFetchTest, CookiesCarryAcrossCalls) {
  Text cookies = "keep=1; gone=2", response_cookies;
  fetch_with_cookies(url(set_cookie_path({"sid=abc; Path=/; HttpOnly", "gone=deleted; Max-Age=0"})),
                     cookies, response_cookies);
  EXPECT_EQ(last_request().header("Cookie"), "keep=1; gone=2");
  EXPECT_EQ(cookies, "sid=abc; keep=1");
  EXPECT_EQ(response_cookies, "sid=abc; keep=1");

  fetch_with_cookies(url("/hello", true), cookies, response_cookies);
  EXPECT_EQ(last_request().header("Cookie"), "sid=abc; keep=1");
  EXPECT_EQ(cookies, "sid=abc; keep=1");
}

TEST_F(HttpFetchTest, WithoutUpdateTheCallersCookiesStayAndOnlyTheFreshOnesComeBack) {
  Text cookies = "keep=1", response_cookies;
  fetch_with_cookies(url(set_cookie_path({"fresh=9"})), cookies, response_cookies, false);
  EXPECT_EQ(last_request().header("Cookie"), "keep=1");
  EXPECT_EQ(cookies, "keep=1");
  EXPECT_EQ(response_cookies, "fresh=9");
}

TEST_F(HttpFetchTest, CookieLineInTheCookieTextGoesOutAsItsOwnLine) {
  Text cookies = "Cookie: whole=line", headers;
  http_fetch(url("/hello"), kHttpGet, std::nullopt, cookies, {}, headers);
  EXPECT_EQ(last_request().header("Cookie"), "whole=line");
  EXPECT_NE(headers.find("\r\nCookie: whole=line"), std::string::npos) << headers;
}

// The first header buffer holds 5000 characters; a larger block is read again
// at the size the platform asks for, so its cookies are not lost.
TEST_F(HttpFetchTest, LargeHeaderBlockKeepsItsCookies) {
  for (int filler : {6000, 60000}) {
    SCOPED_TRACE(filler);
    Text cookies, response_cookies, response_headers;
    Bytes body = http_fetch(url("/big-headers?bytes=" + std::to_string(filler), true), kHttpGet,
                            std::nullopt, cookies, response_cookies, {}, response_headers);
    EXPECT_EQ(text_of(body), "big headers");
    EXPECT_GT(TextLength(response_headers), filler);
    EXPECT_EQ(response_headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(response_headers.find("\r\nSet-Cookie: big_b=2; HttpOnly\r\n"), std::string::npos);
    EXPECT_EQ(response_cookies, "big_a=1; big_b=2");
    EXPECT_EQ(cookies, "big_a=1; big_b=2");
  }
}

} // namespace
