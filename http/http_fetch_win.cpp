// http_fetch over WinINet. The routine composes the request from the portable
// URL, header and cookie routines and only translates to and from the
// platform here; texts go to the wide functions after conversion from code
// page 936, whatever the system's code page is.
#include <windows.h>

#include <wininet.h>

#include <string>
#include <utility>

#include "http/cookies.h"
#include "http/headers.h"
#include "http/http_fetch.h"
#include "http/url.h"
#include "runtime/codepage.h"
#include "runtime/win_handles.h"

namespace {

constexpr const char *kVerbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                  "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr DWORD kBaseRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
// Certificate problems of any kind do not stop a request.
constexpr DWORD kSecurityFlags =
    SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_UNKNOWN_CA |
    SECURITY_FLAG_IGNORE_WRONG_USAGE | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
    SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS |
    SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP | SECURITY_FLAG_IGNORE_WEAK_SIGNATURE;
static_assert(kSecurityFlags == 0x0001F380);
constexpr DWORD kReadChunk = 1024;
// Characters of raw response headers asked for first; a longer header block
// is read again with the size the platform reports.
constexpr DWORD kRawHeaderChars = 5000;

std::wstring wide(const Text &text) {
  std::u16string utf16 = cp936_to_utf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

bool is_https(const Text &url) {
  return TextCompare(TextLower(TextLeft(url, 8)), "https://") == 0;
}

InternetHandle open_internet(const Text &agent, const Text &proxy_text) {
  if (TextLength(proxy_text) == 0)
    return InternetHandle(
        InternetOpenW(wide(agent).c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  return InternetHandle(InternetOpenW(wide(agent).c_str(), INTERNET_OPEN_TYPE_PROXY,
                                      wide(proxy_text).c_str(), L"", 0));
}

DWORD request_flags(bool https, bool cookies_given, bool no_redirect) {
  DWORD flags = kBaseRequestFlags;
  if (cookies_given)
    flags |= INTERNET_FLAG_NO_COOKIES;
  if (no_redirect)
    flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return flags;
}

// A failed send is not reported: the read that follows finds no body and the
// header query finds no headers.
void send_request(HINTERNET request, const Text &headers, const Bytes *body) {
  std::wstring header_text = wide(headers);
  const wchar_t *header_pointer = header_text.empty() ? nullptr : header_text.c_str();
  void *body_pointer = nullptr;
  DWORD body_length = 0;
  if (body && !body->empty()) {
    body_pointer = const_cast<std::uint8_t *>(body->data());
    body_length = static_cast<DWORD>(body->size());
  }
  HttpSendRequestW(request, header_pointer, static_cast<DWORD>(header_text.size()), body_pointer,
                   body_length);
}

Bytes read_body(HINTERNET request) {
  Bytes body;
  std::uint8_t chunk[kReadChunk] = {};
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request, chunk, kReadChunk, &read) || read == 0)
      return body;
    body.insert(body.end(), chunk, chunk + read);
  }
}

// The status line and header lines, each ended by "\r\n"; empty when the
// request got no answer.
Text query_raw_headers(HINTERNET request) {
  std::wstring buffer(kRawHeaderChars, L'\0');
  DWORD size = kRawHeaderChars * sizeof(wchar_t);
  if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      return Text();
    buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr))
      return Text();
  }
  buffer.resize(size / sizeof(wchar_t));
  Text raw = utf16_to_cp936(
      std::u16string_view(reinterpret_cast<const char16_t *>(buffer.data()), buffer.size()));
  // With no answer at all the platform may still report an empty header block.
  return raw.find_first_not_of(" \r\n") == Text::npos ? Text() : raw;
}

struct RequestHandles {
  InternetHandle internet;
  InternetHandle connection;
  InternetHandle request;

  // Closes in the order request, connection, internet handle.
  void close() {
    request.reset();
    connection.reset();
    internet.reset();
  }
};

// Opens the internet handle, the connection and the request. On failure the
// handles opened so far stay in `handles` and close with it, the request
// first: members go in the reverse of their order.
bool open_request(RequestHandles &handles, const Text &url, const Text &verb, const Text &agent,
                  const Text &proxy, DWORD flags) {
  handles.internet = open_internet(agent, http_proxy_text(url, proxy));
  if (!handles.internet)
    return false;
  // A port the platform cannot take is a failed connection, never some
  // other port after truncation.
  std::int32_t port = url_port(url);
  if (port < 0 || port > 65535)
    return false;
  handles.connection = InternetHandle(InternetConnectW(
      handles.internet.get(), wide(url_host(url)).c_str(), static_cast<INTERNET_PORT>(port),
      nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!handles.connection)
    return false;
  handles.request = InternetHandle(HttpOpenRequestW(handles.connection.get(), wide(verb).c_str(),
                                                    wide(url_path(url)).c_str(), L"HTTP/1.1",
                                                    nullptr, nullptr, flags, 0));
  if (!handles.request)
    return false;
  DWORD security_flags = kSecurityFlags;
  InternetSetOptionW(handles.request.get(), INTERNET_OPTION_SECURITY_FLAGS, &security_flags,
                     sizeof(security_flags));
  return true;
}

std::int32_t method_in_range(std::optional<std::int32_t> method) {
  std::int32_t index = method.value_or(kHttpGet);
  return index < kHttpGet || index > kHttpConnect ? kHttpGet : index;
}

} // namespace

Text http_proxy_text(const Text &url, const Text &proxy) {
  if (TextLength(proxy) == 0)
    return Text();
  return is_https(url) ? proxy : TextConcat("http=", proxy);
}

Text http_method_verb(std::int32_t method) {
  if (method < kHttpGet || method > kHttpConnect)
    method = kHttpGet;
  return kVerbs[method];
}

Bytes http_fetch(const Text &url, std::optional<std::int32_t> method, std::optional<Text> body_text,
                 OptionalOut<Text> cookies, OptionalOut<Text> response_cookies,
                 OptionalOut<Text> headers, OptionalOut<Text> response_headers,
                 std::optional<bool> no_redirect, OptionalOut<Bytes> body_bytes,
                 std::optional<Text> proxy, std::optional<bool> update_cookies,
                 std::optional<bool> complete_headers, std::optional<bool> fix_header_case) {
  Text &header_text = headers.get();
  if (fix_header_case.value_or(true))
    header_text = normalise_header_names(header_text);
  const std::int32_t method_index = method_in_range(method);

  RequestHandles handles;
  DWORD flags = request_flags(is_https(url), cookies.given(), no_redirect.value_or(false));
  if (!open_request(handles, url, http_method_verb(method_index), pick_user_agent(header_text),
                    proxy.value_or(Text()), flags))
    return Bytes();

  if (complete_headers.value_or(true))
    complete_request_headers(header_text, url, method_index);
  append_cookie_header(header_text, cookies.get());
  if (method_index == kHttpGet) {
    send_request(handles.request.get(), header_text, nullptr);
  } else {
    Bytes &body = body_bytes.get();
    if (body.empty())
      body = ToBytes(body_text.value_or(Text()));
    send_request(handles.request.get(), header_text, &body);
  }
  Bytes body = read_body(handles.request.get());
  Text raw_headers = query_raw_headers(handles.request.get());
  handles.close();

  Text fresh_cookies = collect_response_cookies(raw_headers);
  if (update_cookies.value_or(true) && cookies.given())
    fresh_cookies = merge_cookies(cookies.get(), fresh_cookies);
  response_headers.set(std::move(raw_headers));
  response_cookies.set(std::move(fresh_cookies));
  return body;
}
