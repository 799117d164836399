// Shaping the request header text: lines "Name: value" joined by "\r\n",
// with no separator after the last line.
#pragma once

#include "runtime/text.h"

// The agent sent when the caller's headers name none.
inline constexpr const char *kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Each header name with the first letter of every dash-separated piece in
// upper case; lines without a colon, empty lines included, are dropped.
Text normalise_header_names(const Text &headers);

// The text with its first byte upper-cased (ASCII letters only).
Text capitalise_first(const Text &text);

// The agent string for the request: the value of the User-Agent line, or the
// default agent when the headers hold none.
Text pick_user_agent(const Text &headers);

// The trimmed text after the first colon; empty when there is no colon.
Text text_after_colon(const Text &text);

// Adds the default Accept, Referer (the address as given), Accept-Language
// and, for method index 1 (POST), Content-Type lines that are missing.
void complete_request_headers(Text &headers, const Text &address, int method_index);

// Adds the cookie text as a Cookie line; nothing when the cookie text is
// empty.
void append_cookie_header(Text &headers, const Text &cookies);
