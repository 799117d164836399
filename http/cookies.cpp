#include "http/cookies.h"

#include <string_view>
#include <unordered_set>

#include "http/url.h"

namespace {

// Trimmed, with one blank after a final ";" so that splitting on "; " does
// not leave the ";" on the last item.
Text tidy_cookie_text(const Text &cookies) {
  Text tidy = TextTrim(cookies);
  if (TextRight(tidy, 1) == ";")
    tidy += " ";
  return tidy;
}

// The value of one "Set-Cookie: " line: the pair before the first attribute.
Text set_cookie_value(const Text &line) {
  if (TextFind(line, ";") != -1)
    return TextTrim(text_between(line, "Set-Cookie:", ";"));
  return TextTrim(TextReplace(line, "Set-Cookie:", Text(), std::nullopt, std::nullopt, false));
}

} // namespace

Text collect_response_cookies(const Text &raw_headers) {
  const TextArray lines = TextSplit(raw_headers, "\r\n");
  Text out;
  for (const Text &line : lines.items()) {
    if (text_before(line, ": ") != "Set-Cookie")
      continue;
    out += set_cookie_value(line);
    out += "; ";
  }
  return TextLeft(out, TextLength(out) - 2);
}

Text text_before(const Text &text, const Text &separator) {
  const int at = TextFind(text, separator);
  if (at == -1)
    return Text();
  return TextLeft(text, at - 1);
}

Text merge_cookies(Text &cookies, Text &fresh) {
  cookies = tidy_cookie_text(cookies);
  fresh = tidy_cookie_text(fresh);
  TextArray merged = TextSplit(fresh, "; ");
  const TextArray old_items = TextSplit(cookies, "; ");

  // The names already in the merged list, kept in a set so that a response
  // with thousands of cookies does not take quadratic time; the outcome is
  // the one cookie_listed gives.
  std::unordered_set<Text> names;
  for (const Text &item : merged.items())
    names.insert(cookie_name(item));
  for (const Text &item : old_items.items()) {
    if (names.insert(cookie_name(item)).second)
      merged.Append(item);
  }

  Text joined;
  for (const Text &item : merged.items()) {
    if (TextRight(item, 8) == "=deleted")
      continue;
    joined += item;
    joined += "; ";
  }
  cookies = dedupe_items(TextLeft(joined, TextLength(joined) - 2), "; ");
  return cookies;
}

Text cookie_name(const Text &item) {
  const int equals = TextFind(item, "=");
  if (equals == -1)
    return TextTrim(item);
  return TextTrim(TextLeft(item, equals - 1));
}

bool cookie_listed(const TextArray &list, const Text &name) {
  for (const Text &item : list.items()) {
    if (TextCompare(cookie_name(item), name) == 0)
      return true;
  }
  return false;
}

Text dedupe_items(const Text &text, const Text &separator) {
  const TextArray pieces = TextSplit(text, separator);
  // A set stands in for the list of pieces already seen (item_index), so
  // the walk stays linear.
  std::unordered_set<std::string_view> seen;
  Text out;
  for (const Text &piece : pieces.items()) {
    if (!seen.insert(piece).second)
      continue;
    out += piece;
    out += separator;
  }
  return TextLeft(out, TextLength(out) - TextLength(separator));
}

int item_index(const TextArray &list, const Text &item) {
  for (int k = 1; k <= list.Count(); ++k) {
    if (TextCompare(list.item(k), item) == 0)
      return k;
  }
  return -1;
}
