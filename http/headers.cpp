#include "http/headers.h"

#include "http/url.h"

namespace {

// The name with the first byte of every dash-separated piece upper-cased.
Text capitalise_pieces(const Text &name) {
  if (TextFind(name, "-") == -1)
    return capitalise_first(name);
  const TextArray pieces = TextSplit(name, "-");
  Text joined;
  for (int k = 1; k <= pieces.Count(); ++k) {
    if (k > 1)
      joined += "-";
    joined += capitalise_first(pieces.item(k));
  }
  // Splitting gives no piece after a dash at the very end; put the dash
  // back so the name keeps all its bytes.
  if (TextRight(name, 1) == "-")
    joined += "-";
  return joined;
}

bool holds_ignoring_case(const Text &headers, const char *name) {
  return TextFind(headers, name, std::nullopt, true) != -1;
}

} // namespace

Text normalise_header_names(const Text &headers) {
  const TextArray lines = TextSplit(headers, "\r\n");
  Text out;
  for (const Text &line : lines.items()) {
    const int colon = TextFind(line, ":");
    if (colon == -1)
      continue;
    out += capitalise_pieces(TextLeft(line, colon - 1));
    out += TextMid(line, colon, TextLength(line));
    out += "\r\n";
  }
  return TextLeft(out, TextLength(out) - 2);
}

Text capitalise_first(const Text &text) {
  return TextConcat(TextUpper(TextLeft(text, 1)), TextMid(text, 2, TextLength(text)));
}

Text pick_user_agent(const Text &headers) {
  const int line_at = TextFind(headers, "User-Agent:", std::nullopt, true);
  if (line_at == -1)
    return kDefaultUserAgent;
  const Text agent = TextTrim(text_between(TextConcat(headers, "\r\n"), "User-Agent:", "\r\n"));
  if (!agent.empty())
    return agent;
  // The name is written in another case: take the value from that line
  // alone, never the other header lines after it.
  const Text from_line = TextMid(headers, line_at, TextLength(headers));
  const int line_end = TextFind(from_line, "\r\n");
  return text_after_colon(line_end == -1 ? from_line : TextLeft(from_line, line_end - 1));
}

Text text_after_colon(const Text &text) {
  const int colon = TextFind(text, ":");
  if (colon == -1)
    return Text();
  return TextTrim(TextRight(text, TextLength(text) - colon));
}

void complete_request_headers(Text &headers, const Text &address, int method_index) {
  if (headers.empty())
    headers = "Accept: */*";
  if (!holds_ignoring_case(headers, "Accept:"))
    headers += "\r\nAccept: */*";
  if (!holds_ignoring_case(headers, "Referer:"))
    headers += TextConcat("\r\nReferer: ", address);
  if (!holds_ignoring_case(headers, "Accept-Language:"))
    headers += "\r\nAccept-Language: zh-cn";
  if (method_index == 1 && !holds_ignoring_case(headers, "Content-Type:"))
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
}

void append_cookie_header(Text &headers, const Text &cookies) {
  if (cookies.empty())
    return;
  // No line break in front of the first line: an empty line there would end
  // the request's header block.
  if (!headers.empty())
    headers += "\r\n";
  if (TextFind(cookies, "Cookie:") == -1)
    headers += "Cookie: ";
  headers += cookies;
}
