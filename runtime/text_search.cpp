// Searching, replacing, splitting and trimming. All of them walk the text one
// character at a time: a byte of 0x80 or above and the byte after it are one
// character, so a match only ever begins where a character begins and a trail
// byte is never matched on its own.
#include <algorithm>
#include <cstring>

#include "runtime/text.h"

namespace {

// Bytes from `at` to the start of the next character. A lead byte that ends
// the text steps past the end, which ends any walk.
std::size_t character_size(const Text &text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

unsigned char ascii_lower(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Compares sub with the bytes of text at `at`; the caller has made sure
// enough bytes remain.
bool matches_at(const Text &text, std::size_t at, const Text &sub, bool ignore_case) {
  if (!ignore_case)
    return std::memcmp(text.data() + at, sub.data(), sub.size()) == 0;
  for (std::size_t k = 0; k < sub.size(); ++k) {
    if (ascii_lower(static_cast<unsigned char>(text[at + k])) !=
        ascii_lower(static_cast<unsigned char>(sub[k])))
      return false;
  }
  return true;
}

// Walks bytes [begin, end) of text and returns the 0-based place of the first
// (or, with want_last, the last) match of sub, or npos.
std::size_t find_in_region(const Text &text, std::size_t begin, std::size_t end, const Text &sub,
                           bool ignore_case, bool want_last) {
  std::size_t found = Text::npos;
  const std::size_t m = sub.size();
  for (std::size_t at = begin; at < end && end - at >= m; at += character_size(text, at)) {
    if (matches_at(text, at, sub, ignore_case)) {
      if (!want_last)
        return at;
      found = at;
    }
  }
  return found;
}

bool is_blank_at(const Text &text, std::size_t at) {
  unsigned char byte = static_cast<unsigned char>(text[at]);
  if (byte == 0x20)
    return true;
  return byte == 0xA1 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0xA1;
}

} // namespace

int TextFind(const Text &text, const Text &sub, std::optional<int> start, bool ignore_case) {
  const std::size_t len = text.size();
  std::size_t begin = 0;
  if (start)
    begin = static_cast<std::size_t>(std::max(*start - 1, 0));
  if (begin >= len)
    return -1;
  if (sub.empty())
    return 1;
  std::size_t at = find_in_region(text, begin, len, sub, ignore_case, false);
  return at == Text::npos ? -1 : static_cast<int>(at + 1);
}

int TextFindLast(const Text &text, const Text &sub, std::optional<int> start, bool ignore_case) {
  const std::size_t len = text.size();
  std::size_t end = len;
  if (start) {
    std::size_t e = static_cast<std::size_t>(std::max(*start - 1, 0));
    end = std::min(e, len);
  }
  if (end == 0)
    return -1;
  if (sub.empty())
    return 1;
  std::size_t at = find_in_region(text, 0, end, sub, ignore_case, true);
  return at == Text::npos ? -1 : static_cast<int>(at + 1);
}

Text TextReplace(const Text &text, const Text &find, std::optional<Text> replacement,
                 std::optional<int> start, std::optional<int> count, bool case_sensitive) {
  const std::size_t len = text.size();
  const std::size_t begin = static_cast<std::size_t>(std::max(start.value_or(1) - 1, 0));
  if (text.empty() || find.empty() || begin >= len || (count && *count == 0))
    return text;
  const Text &with = replacement ? *replacement : Text();
  const std::size_t m = find.size();
  std::optional<int> left = count;
  Text result;
  result.reserve(len);
  result.append(text, 0, begin);
  std::size_t at = begin;
  while (len - at >= m) {
    if (matches_at(text, at, find, !case_sensitive)) {
      result.append(with);
      at += m;
      if (left && --*left == 0)
        break;
    } else {
      std::size_t step = std::min(character_size(text, at), len - at);
      result.append(text, at, step);
      at += step;
    }
  }
  result.append(text, at, Text::npos);
  return result;
}

TextArray TextSplit(const Text &text, std::optional<Text> separator, std::optional<int> limit) {
  TextArray result;
  const Text sep = separator.value_or(",");
  const int max_items = limit ? std::max(*limit, 0) : -1; // -1: no limit
  if (text.empty() || max_items == 0)
    return result;
  if (sep.empty()) {
    result.Append(text);
    return result;
  }
  const std::size_t len = text.size();
  const std::size_t m = sep.size();
  std::size_t cut = 0;
  std::size_t at = 0;
  while (at < len && len - at >= m) {
    if (!matches_at(text, at, sep, false)) {
      at += character_size(text, at);
      continue;
    }
    result.Append(text.substr(cut, at - cut));
    at += m;
    cut = at;
    if (result.Count() == max_items)
      return result;
  }
  if (cut < len)
    result.Append(text.substr(cut));
  return result;
}

Text TextTrim(const Text &text) {
  const std::size_t len = text.size();
  std::size_t first = 0;
  while (first < len && is_blank_at(text, first))
    first += character_size(text, first);
  // The trailing run of blanks is found walking forwards, so a trail byte
  // that happens to be 0x20 or 0xA1 never counts as a blank.
  std::size_t run_start = Text::npos;
  for (std::size_t at = first; at < len; at += character_size(text, at)) {
    if (is_blank_at(text, at)) {
      if (run_start == Text::npos)
        run_start = at;
    } else {
      run_start = Text::npos;
    }
  }
  std::size_t last = run_start == Text::npos ? len : run_start;
  return text.substr(first, last - first);
}
