#include "http/url.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBetween, TakesTheTextBetweenTheFirstLeftMarkerAndTheNextRightOne) {
  struct Case {
    const char *text, *left, *right, *expected;
  } cases[] = {
      {"a=1;b=2", "a=", ";", "1"},
      {"a=1;b=2", "b=", ";", ""}, // no right marker after the left one
      {"a=1;b=2", "c=", ";", ""}, // no left marker
      {"a=;b=2", "a=", ";", ""},  // markers side by side
      {";a=1", "a=", ";", ""},    // the right marker only before the left one
      {"x=1;x=2;", "x=", ";", "1"},
      {"Set-Cookie: sid=abc; Path=/", "Set-Cookie:", ";", " sid=abc"},
      {"\xD6\xD0=\xCE\xC4;", "=", ";", "\xCE\xC4"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text_between(c.text, c.left, c.right), c.expected);
  }
}

TEST(TextBetween, HonoursTheStartPositionAndTheCaseFlag) {
  EXPECT_EQ(text_between("a=1;a=2;", "a=", ";", 2), "2");
  EXPECT_EQ(text_between("A=1;", "a=", ";"), "");
  EXPECT_EQ(text_between("A=1;", "a=", ";", std::nullopt, true), "1");
  EXPECT_EQ(text_between("a=1X", "a=", "x", std::nullopt, true), "1");
}

TEST(UrlSplitting, TakesHostPortAndPathFromTheAddress) {
  struct Case {
    const char *address, *host, *host_and_port;
    int port;
    const char *path;
  } cases[] = {
      {"https://Api.Example.COM/Path/A?b=C", "api.example.com", "api.example.com", 443,
       "/Path/A?b=C"},
      {"http://Host.Example:8080/x", "host.example", "host.example:8080", 8080, "/x"},
      {"HTTPS://HOST.EXAMPLE", "host.example", "host.example", 443, "/"},
      {"Host.Example/a", "host.example", "host.example", 80, "/a"},
      {"https://host.example:444", "host.example", "host.example:444", 444, "/"},
      {"127.0.0.1:8443/oauth/2.0/token?x=1", "127.0.0.1", "127.0.0.1:8443", 8443,
       "/oauth/2.0/token?x=1"},
      {"http://host.example:abc/", "host.example", "host.example:abc", 0, "/"},
      {"", "", "", 80, "/"},
      // No "/" after the host: the query is taken for part of the host and
      // the path is the root.
      {"https://host.example?x=1", "host.example?x=1", "host.example?x=1", 443, "/"},
      // A host that also occurs inside the scheme is found after it.
      {"http://t/x", "t", "t", 80, "/x"},
      {"https://s:8443/Token", "s", "s:8443", 8443, "/Token"},
      {"https://ps.example/p", "ps.example", "ps.example", 443, "/p"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(url_host(c.address), c.host);
    EXPECT_EQ(url_host(c.address, true), c.host_and_port);
    EXPECT_EQ(url_port(c.address), c.port);
    EXPECT_EQ(url_path(c.address), c.path);
  }
}

} // namespace
