#include "http/url.h"

Text text_between(const Text &text, const Text &left, const Text &right, std::optional<int> start,
                  bool case_insensitive) {
  const int left_at = TextFind(text, left, start, case_insensitive);
  if (left_at == -1)
    return Text();
  const int value_at = left_at + TextLength(left);
  const int right_at = TextFind(text, right, value_at, case_insensitive);
  if (right_at == -1)
    return Text();
  return TextMid(text, value_at, right_at - value_at);
}

namespace {

// The lower-cased address ending in "/", with "http://" put in front when it
// names no scheme, and the scheme marker the host follows.
struct SchemedAddress {
  Text text;
  Text marker;
};

SchemedAddress with_scheme(const Text &address) {
  Text lowered = TextLower(address);
  if (TextRight(lowered, 1) != "/")
    lowered = TextConcat(lowered, "/");
  if (TextLeft(lowered, 8) == "https://")
    return {lowered, "https://"};
  if (TextFind(lowered, "http://") == -1)
    lowered = TextConcat("http://", lowered);
  return {lowered, "http://"};
}

} // namespace

Text url_host(const Text &address, bool keep_port) {
  const SchemedAddress schemed = with_scheme(address);
  Text host = text_between(schemed.text, schemed.marker, "/");
  const int colon = TextFind(host, ":");
  if (!keep_port && colon != -1)
    host = TextLeft(host, colon - 1);
  return host;
}

std::int32_t url_port(const Text &address) {
  const Text host = url_host(address, true);
  const int colon = TextFindLast(host, ":");
  if (colon != -1)
    return ToInt(TextRight(host, TextLength(host) - colon));
  return TextLeft(TextLower(address), 5) == "https" ? 443 : 80;
}

Text url_path(const Text &address) {
  const Text host = url_host(address, false);
  // The host is looked for after the scheme, so that a host such as "t" or
  // "s" is not found inside "https://" itself.
  const Text lowered = TextLower(address);
  int after_scheme = 1;
  if (TextLeft(lowered, 8) == "https://")
    after_scheme = 9;
  else if (const int http_at = TextFind(lowered, "http://"); http_at != -1)
    after_scheme = http_at + 7;
  const int host_at = TextFind(address, host, after_scheme, true);
  const int slash_at = TextFind(address, "/", host_at, true);
  if (slash_at <= 0)
    return "/";
  return TextRight(address, TextLength(address) - slash_at + 1);
}
