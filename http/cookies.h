// Cookie text: items "name=value" joined by "; ", no separator after the
// last item. Cookies live only in the caller's cookie text, carried from one
// request to the next.
#pragma once

#include "runtime/text.h"

// The name=value pairs of the raw response headers' "Set-Cookie: " lines, in
// order, as cookie text.
Text collect_response_cookies(const Text &raw_headers);

// The bytes before the first separator; empty when it does not occur.
Text text_before(const Text &text, const Text &separator);

// Merges the fresh cookies of a response into the caller's cookies: fresh
// items first, then the old items whose names fresh does not hold; items
// ending "=deleted" and exact repeats are dropped. fresh comes back trimmed;
// the merged text is written back into cookies and returned.
Text merge_cookies(Text &cookies, Text &fresh);

// The trimmed text before the item's first "=", or the whole trimmed item.
Text cookie_name(const Text &item);

// Whether some item of the list has the given cookie name.
bool cookie_listed(const TextArray &list, const Text &name);

// The pieces of the text in order with exact repeats removed, joined again
// by the separator.
Text dedupe_items(const Text &text, const Text &separator);

// The 1-based position of the first element equal to the item, or -1.
int item_index(const TextArray &list, const Text &item);
