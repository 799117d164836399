// One complete HTTP or HTTPS request per call, over the platform's internet
// API. Nothing is shared between calls: each call opens its own internet
// handle, connection and request and closes them before it returns; cookies
// live in the caller's cookie text, carried from one call to the next.
#pragma once

#include <cstdint>
#include <optional>

#include "http/optional_out.h"
#include "runtime/text.h"

// Method indexes; any other value is taken as GET.
enum HttpMethod : std::int32_t {
  kHttpGet = 0,
  kHttpPost = 1,
  kHttpHead = 2,
  kHttpPut = 3,
  kHttpOptions = 4,
  kHttpDelete = 5,
  kHttpTrace = 6,
  kHttpConnect = 7,
};

// Sends one request to `url` ("http://" or "https://"; no scheme counts as
// http) and returns the response body as read, whatever the status; empty
// when the request could not be made.
//
//   method            index into GET POST HEAD PUT OPTIONS DELETE TRACE
//                     CONNECT; out of range means GET (default GET)
//   body_text         body to send when body_bytes is empty
//   cookies           cookie text to send ("a=1; b=2"). Giving it, even as
//                     empty text, keeps the platform's own cookie store out of
//                     the request, and the response's cookies are merged into
//                     it on return (when update_cookies)
//   response_cookies  the response's cookies, or the merged text
//   headers           extra request lines "Name: value" joined by "\r\n"; on
//                     return the header text as sent
//   response_headers  the raw response headers, status line first
//   no_redirect       answer a redirect with its own body (default false)
//   body_bytes        body to send; when empty and a body is sent, it takes
//                     the bytes of body_text, which the caller then sees
//   proxy             "host:port" of an HTTP proxy; empty for none
//   update_cookies    merge the response's cookies (default true)
//   complete_headers  add the default request headers (default true)
//   fix_header_case   capitalise the header names (default true)
//
// GET never sends a body; every other method does. Certificate errors do not
// stop an https request.
Bytes http_fetch(const Text &url, std::optional<std::int32_t> method = std::nullopt,
                 std::optional<Text> body_text = std::nullopt, OptionalOut<Text> cookies = {},
                 OptionalOut<Text> response_cookies = {}, OptionalOut<Text> headers = {},
                 OptionalOut<Text> response_headers = {},
                 std::optional<bool> no_redirect = std::nullopt, OptionalOut<Bytes> body_bytes = {},
                 std::optional<Text> proxy = std::nullopt,
                 std::optional<bool> update_cookies = std::nullopt,
                 std::optional<bool> complete_headers = std::nullopt,
                 std::optional<bool> fix_header_case = std::nullopt);

// The proxy text handed to the platform for `url`: empty for a direct
// connection, the proxy as given for https addresses, "http=" and the proxy
// for all others (so that only http requests go through it).
Text http_proxy_text(const Text &url, const Text &proxy);

// The verb of a method index; an index out of range gives "GET".
Text http_method_verb(std::int32_t method);
