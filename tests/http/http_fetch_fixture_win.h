// What the http_fetch tests share: the loopback server, addresses on it, and
// the request it recorded last.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "http/http_fetch.h"
#include "tests/support/loopback_server_win.h"

class HttpFetchTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(server().running()) << server().problem(); }

  static loopback::Server &server() { return loopback::Server::shared(); }
  static Text url(std::string_view path, bool https = false) { return server().url(path, https); }

  // The request the server received last; fails the test when there is none.
  static loopback::Request last_request(int back = 0) {
    auto request = server().request(back);
    EXPECT_TRUE(request.has_value()) << "the server recorded no request";
    return request.value_or(loopback::Request{});
  }

  // A path on the server answering with one Set-Cookie line per item.
  static std::string set_cookie_path(std::initializer_list<std::string_view> lines) {
    std::string path = "/set-cookie";
    char separator = '?';
    for (std::string_view line : lines) {
      path += separator;
      path += "c=" + percent_encode(line);
      separator = '&';
    }
    return path;
  }

  static Bytes bytes_of(std::string_view text) { return Bytes(text.begin(), text.end()); }
  static Text text_of(const Bytes &bytes) { return Text(bytes.begin(), bytes.end()); }

private:
  static std::string percent_encode(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
        out += static_cast<char>(c);
      } else {
        out += '%';
        out += digits[c >> 4];
        out += digits[c & 15];
      }
    }
    return out;
  }
};
