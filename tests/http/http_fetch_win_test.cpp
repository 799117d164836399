// http_fetch against the loopback server: what goes out (verbs, default
// headers, bodies, proxy) and what comes back (bodies, redirects, https).
#include <gtest/gtest.h>

#include "tests/http/http_fetch_fixture_win.h"
#include "tests/support/loopback_pattern.h"

namespace {

constexpr const char *kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST_F(HttpFetchTest, DefaultHeadersAndAgentOfGetAndPost) {
  struct Case {
    const char *name;
    bool https;
    std::int32_t method;
    const char *verb;
    const char *content_type_line;
    const char *body;
  } cases[] = {
      {"GET over http", false, kHttpGet, "GET", "", ""},
      {"POST over http", false, kHttpPost, "POST",
       "\r\nContent-Type: application/x-www-form-urlencoded", "a=1&b=%E4"},
      {"POST over https", true, kHttpPost, "POST",
       "\r\nContent-Type: application/x-www-form-urlencoded", "x=\xC4\xE3"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Text address = url("/echo", c.https);
    Text headers;
    Bytes body = http_fetch(address, c.method, c.body, {}, {}, headers);

    Text expected =
        "Accept: */*\r\nReferer: " + address + "\r\nAccept-Language: zh-cn" + c.content_type_line;
    EXPECT_EQ(headers, expected);
    loopback::Request sent = last_request();
    EXPECT_EQ(sent.method, c.verb);
    EXPECT_EQ(sent.target, "/echo");
    EXPECT_EQ(sent.header("User-Agent"), kAgent);
    EXPECT_NE(sent.header_text.find(expected), std::string::npos) << sent.header_text;
    EXPECT_EQ(sent.body, c.body);
    EXPECT_EQ(text_of(body), c.body);
  }
}

TEST_F(HttpFetchTest, MethodIndexPicksTheVerbAndOnlyGetSendsNoBody) {
  struct Case {
    std::int32_t method;
    const char *verb;
  } cases[] = {
      {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"}, {4, "OPTIONS"},
      {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}, {-1, "GET"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.method);
    http_fetch(url("/echo"), c.method, "payload");
    loopback::Request sent = last_request();
    EXPECT_EQ(sent.method, c.verb);
    bool get = std::string(c.verb) == "GET";
    EXPECT_EQ(sent.body, get ? "" : "payload");
    EXPECT_EQ(sent.has_header("Content-Length"), !get);
    EXPECT_EQ(sent.has_header("Content-Type"), c.method == kHttpPost);
  }
}

TEST_F(HttpFetchTest, GetSendsNoBodyAndLeavesBodyBytesAlone) {
  Bytes body_bytes = bytes_of("bytes");
  http_fetch(url("/echo"), kHttpGet, "text", {}, {}, {}, {}, std::nullopt, body_bytes);
  loopback::Request sent = last_request();
  EXPECT_EQ(sent.body, "");
  EXPECT_FALSE(sent.has_header("Content-Length"));
  EXPECT_EQ(body_bytes, bytes_of("bytes"));
}

TEST_F(HttpFetchTest, BodyBytesWinOverBodyText) {
  const Bytes binary = {0x00, 0x01, 0xFF, 0x80, 'z', 0x00};
  Bytes body_bytes = binary;
  Bytes echoed =
      http_fetch(url("/echo"), kHttpPut, "ignored", {}, {}, {}, {}, std::nullopt, body_bytes);
  EXPECT_EQ(bytes_of(last_request().body), binary);
  EXPECT_EQ(echoed, binary);
  EXPECT_EQ(body_bytes, binary);
}

TEST_F(HttpFetchTest, EmptyBodyBytesTakeTheBodyTextAndTheCallerSeesIt) {
  Bytes body_bytes;
  http_fetch(url("/echo"), kHttpPost, "from text", {}, {}, {}, {}, std::nullopt, body_bytes);
  EXPECT_EQ(last_request().body, "from text");
  EXPECT_EQ(body_bytes, bytes_of("from text"));
}

TEST_F(HttpFetchTest, PostWithNoBodyAtAllSendsAnEmptyBody) {
  http_fetch(url("/echo"), kHttpPost);
  loopback::Request sent = last_request();
  EXPECT_EQ(sent.body, "");
  EXPECT_EQ(sent.header("Content-Length"), "0");
}

TEST_F(HttpFetchTest, AnswersComeBackWhateverTheirStatus) {
  struct Case {
    const char *path;
    const char *body;
    const char *status_line;
  } cases[] = {
      {"/hello", "hello from loopback", "HTTP/1.1 200 OK\r\n"},
      {"/status/404", "status 404", "HTTP/1.1 404 Not Found\r\n"},
      {"/status/500", "status 500", "HTTP/1.1 500 Internal Server Error\r\n"},
      {"/slow?ms=700", "slow answer", "HTTP/1.1 200 OK\r\n"},
  };
  for (bool https : {false, true}) {
    for (const Case &c : cases) {
      SCOPED_TRACE(std::string(c.path) + (https ? " over https" : " over http"));
      Text response_headers;
      Bytes body =
          http_fetch(url(c.path, https), kHttpGet, std::nullopt, {}, {}, {}, response_headers);
      EXPECT_EQ(text_of(body), c.body);
      EXPECT_EQ(response_headers.rfind(c.status_line, 0), 0u) << response_headers;
      EXPECT_EQ(response_headers.substr(response_headers.size() - 4), "\r\n\r\n");
    }
  }
}

TEST_F(HttpFetchTest, RedirectIsFollowedUnlessTurnedOff) {
  for (bool https : {false, true}) {
    SCOPED_TRACE(https ? "https" : "http");
    Text response_headers;
    Bytes body = http_fetch(url("/redirect?to=/hello", https), kHttpGet, std::nullopt, {}, {}, {},
                            response_headers, false);
    EXPECT_EQ(text_of(body), "hello from loopback");
    EXPECT_EQ(last_request().target, "/hello");
    EXPECT_EQ(last_request(1).target, "/redirect?to=/hello");

    body = http_fetch(url("/redirect?to=/hello", https), kHttpGet, std::nullopt, {}, {}, {},
                      response_headers, true);
    EXPECT_EQ(text_of(body), "redirect body");
    EXPECT_EQ(response_headers.rfind("HTTP/1.1 302", 0), 0u) << response_headers;
    EXPECT_EQ(last_request().target, "/redirect?to=/hello");
  }
}

TEST_F(HttpFetchTest, CertificateProblemsDoNotStopHttps) {
  // Self-signed, and for 127.0.0.1 only: "localhost" is not its name.
  EXPECT_EQ(text_of(http_fetch(url("/hello", true))), "hello from loopback");
  Text other_name = "https://localhost:" + std::to_string(server().https_port()) + "/hello";
  EXPECT_EQ(text_of(http_fetch(other_name)), "hello from loopback");
}

TEST_F(HttpFetchTest, TenMegabyteBodyArrivesByteForByte) {
  for (bool https : {false, true}) {
    SCOPED_TRACE(https ? "https" : "http");
    Bytes body = http_fetch(url("/big", https));
    ASSERT_EQ(body.size(), kLoopbackBigBodySize);
    std::size_t first_difference = body.size();
    for (std::size_t i = 0; i < body.size() && first_difference == body.size(); ++i)
      if (body[i] != loopback_pattern_byte(i))
        first_difference = i;
    EXPECT_EQ(first_difference, body.size()) << "bodies differ from byte " << first_difference;
  }
}

TEST(HttpProxyText, HttpAddressesNameTheProtocolHttpsOnesPassTheProxyUnchanged) {
  struct Case {
    const char *url;
    const char *proxy;
    const char *expected;
  } cases[] = {
      {"http://example.com/", "10.0.0.1:8080", "http=10.0.0.1:8080"},
      {"example.com/a", "proxy:3128", "http=proxy:3128"},
      {"https://example.com/", "10.0.0.1:8080", "10.0.0.1:8080"},
      {"HTTPS://EXAMPLE.COM/", "10.0.0.1:8080", "10.0.0.1:8080"},
      {"https://example.com/", "", ""},
      {"http://example.com/", "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(http_proxy_text(c.url, c.proxy), c.expected);
  }
}

// The loopback server stands in for the proxy: what reaches it shows that the
// request went through the proxy text handed to the platform.
TEST_F(HttpFetchTest, ProxyCarriesHttpAndHttpsRequests) {
  Text proxy = "127.0.0.1:" + std::to_string(server().http_port());
  http_fetch("http://proxied.invalid/hello?x=1", kHttpGet, std::nullopt, {}, {}, {}, {},
             std::nullopt, {}, proxy);
  loopback::Request sent = last_request();
  EXPECT_EQ(sent.method, "GET");
  // The absolute form, whether or not the platform writes the default port.
  EXPECT_EQ(sent.target.rfind("http://proxied.invalid", 0), 0u) << sent.target;
  EXPECT_EQ(sent.target.substr(sent.target.find('/', 7)), "/hello?x=1") << sent.target;

  Bytes body = http_fetch("https://proxied.invalid/hello", kHttpGet, std::nullopt, {}, {}, {}, {},
                          std::nullopt, {}, proxy);
  sent = last_request();
  EXPECT_EQ(sent.method, "CONNECT");
  EXPECT_EQ(sent.target, "proxied.invalid:443");
  EXPECT_TRUE(body.empty());
}

} // namespace
