// The routines that read header and cookie text a caller or a server gives:
// URL splitting, header normalising and completing, cookie collecting and
// merging. The first byte picks the routine; the rest is its input, cut in
// two at the first 0x01 byte where a routine takes two texts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "http/cookies.h"
#include "http/headers.h"
#include "http/url.h"

namespace {

void check(bool condition) {
  if (!condition)
    std::abort();
}

void fuzz_url(const Text &address) {
  const Text host = url_host(address);
  check(url_host(address, true).substr(0, host.size()) == host);
  url_port(address);
  const Text path = url_path(address);
  check(!path.empty() && path[0] == '/');
}

void fuzz_request_headers(const Text &headers, const Text &cookies) {
  Text normalised = normalise_header_names(headers);
  check(normalise_header_names(normalised) == normalised);
  pick_user_agent(headers);
  complete_request_headers(normalised, cookies, 1);
  check(TextFind(normalised, "Content-Type:", std::nullopt, true) != -1);
  append_cookie_header(normalised, cookies);
}

void fuzz_cookies(const Text &old_cookies, const Text &raw_headers) {
  Text fresh = collect_response_cookies(raw_headers);
  Text cookies = old_cookies;
  const Text merged = merge_cookies(cookies, fresh);
  check(merged == cookies);
  check(dedupe_items(merged, "; ") == merged);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  Text input(reinterpret_cast<const char *>(data) + 1, size - 1);
  input.erase(std::remove(input.begin(), input.end(), '\0'), input.end());
  const std::size_t cut = std::min(input.find('\x01'), input.size());
  const Text first = input.substr(0, cut);
  const Text second = cut < input.size() ? input.substr(cut + 1) : Text();

  switch (data[0] % 4) {
  case 0:
    fuzz_url(input);
    break;
  case 1:
    fuzz_request_headers(first, second);
    break;
  case 2:
    fuzz_cookies(first, second);
    break;
  default:
    text_between(input, first, second, static_cast<int>(data[0]) - 128, data[0] & 0x80);
    break;
  }
  return 0;
}
