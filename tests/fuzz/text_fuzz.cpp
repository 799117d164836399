// The searching, replacing, splitting, trimming and case family over any
// bytes. The first byte picks the routine; the rest gives its arguments.
// Each routine is checked against properties that hold for every input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/text.h"

namespace {

void check(bool condition) {
  if (!condition)
    std::abort();
}

// A Text never holds a zero byte.
Text take_text(FuzzedDataProvider &input, std::size_t max_size) {
  Text text = input.ConsumeRandomLengthString(max_size);
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  return text;
}

std::optional<int> take_position(FuzzedDataProvider &input) {
  if (!input.ConsumeBool())
    return std::nullopt;
  return input.ConsumeIntegralInRange<int>(-3, 300);
}

bool no_zero(const Text &text) {
  return text.find('\0') == Text::npos;
}

// Places where a character starts when walking from byte `from`.
std::vector<bool> character_starts(const Text &text, std::size_t from) {
  std::vector<bool> starts(text.size() + 1, false);
  for (std::size_t at = from; at < text.size();
       at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1)
    starts[at] = true;
  return starts;
}

bool same_bytes(const Text &text, std::size_t at, const Text &sub, bool ignore_case) {
  if (at + sub.size() > text.size())
    return false;
  for (std::size_t k = 0; k < sub.size(); ++k) {
    unsigned char a = static_cast<unsigned char>(text[at + k]);
    unsigned char b = static_cast<unsigned char>(sub[k]);
    if (ignore_case) {
      a = (a >= 'A' && a <= 'Z') ? a + 32 : a;
      b = (b >= 'A' && b <= 'Z') ? b + 32 : b;
    }
    if (a != b)
      return false;
  }
  return true;
}

void fuzz_find(FuzzedDataProvider &input) {
  const bool ignore_case = input.ConsumeBool();
  const std::optional<int> start = take_position(input);
  const Text sub = take_text(input, 8);
  const Text text = take_text(input, 4096);
  const std::size_t begin = start ? static_cast<std::size_t>(std::max(*start - 1, 0)) : 0;

  const int first = TextFind(text, sub, start, ignore_case);
  check(first == -1 || (first >= 1 && first <= static_cast<int>(text.size())));
  if (!sub.empty() && begin < text.size()) {
    // The first match is the first character start (walking from `begin`)
    // where the bytes match.
    const std::vector<bool> starts = character_starts(text, begin);
    int expected = -1;
    for (std::size_t at = begin; at < text.size(); ++at) {
      if (starts[at] && same_bytes(text, at, sub, ignore_case)) {
        expected = static_cast<int>(at + 1);
        break;
      }
    }
    check(first == expected);
  }

  const int last = TextFindLast(text, sub, start, ignore_case);
  check(last == -1 || (last >= 1 && last <= static_cast<int>(text.size())));
  if (last != -1 && !sub.empty()) {
    const std::size_t end = start ? std::min<std::size_t>(begin, text.size()) : text.size();
    check(character_starts(text, 0)[static_cast<std::size_t>(last - 1)]);
    check(static_cast<std::size_t>(last - 1) + sub.size() <= end);
    check(same_bytes(text, static_cast<std::size_t>(last - 1), sub, ignore_case));
  }
}

void fuzz_replace(FuzzedDataProvider &input) {
  const bool case_sensitive = input.ConsumeBool();
  const std::optional<int> start = take_position(input);
  const std::optional<int> count =
      input.ConsumeBool() ? std::optional<int>(input.ConsumeIntegralInRange<int>(-2, 20))
                          : std::nullopt;
  const Text find = take_text(input, 8);
  const Text replacement = take_text(input, 8);
  const Text text = take_text(input, 4096);

  const Text result = TextReplace(text, find, replacement, start, count, case_sensitive);
  check(no_zero(result));
  if (case_sensitive)
    check(TextReplace(text, find, find, start, count, true) == text);
  // With nothing to find from the start on, nothing changes.
  if (!find.empty() && TextFind(text, find, start, !case_sensitive) == -1)
    check(result == text);
  // Removing every occurrence leaves none to find at a place the walk visits.
  if (case_sensitive && !find.empty() && !count && !start) {
    const Text removed = TextReplace(text, find);
    check(removed.size() <= text.size());
    check((text.size() - removed.size()) % find.size() == 0);
  }
}

void fuzz_split(FuzzedDataProvider &input) {
  const std::optional<int> limit =
      input.ConsumeBool() ? std::optional<int>(input.ConsumeIntegralInRange<int>(-2, 40))
                          : std::nullopt;
  const Text separator = take_text(input, 4);
  const Text text = take_text(input, 4096);

  const TextArray parts = TextSplit(text, separator, limit);
  if (limit)
    check(parts.Count() <= std::max(*limit, 0));
  for (const Text &part : parts.items())
    check(no_zero(part) && part.size() <= text.size());
  if (limit || separator.empty() || text.empty())
    return;
  // Joining gives the text back, less a separator that ended it.
  Text joined;
  for (int k = 1; k <= parts.Count(); ++k)
    joined += (k > 1 ? separator : Text()) + parts.item(k);
  check(joined == text || joined + separator == text);
}

void fuzz_trim_and_case(FuzzedDataProvider &input) {
  const Text text = take_text(input, 4096);
  const Text trimmed = TextTrim(text);
  check(no_zero(trimmed));
  check(TextTrim(trimmed) == trimmed);
  check(text.find(trimmed) != Text::npos);
  check(trimmed.empty() || (trimmed[0] != ' ' && !TextStartsWith(trimmed, "\xA1\xA1")));

  const Text upper = TextUpper(text);
  const Text lower = TextLower(text);
  check(upper.size() == text.size() && lower.size() == text.size());
  check(TextLower(upper) == lower && TextUpper(lower) == upper);
  check(TextFind(upper, lower, std::nullopt, true) == (text.empty() ? -1 : 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  FuzzedDataProvider input(data + 1, size - 1);
  switch (data[0] % 4) {
  case 0:
    fuzz_find(input);
    break;
  case 1:
    fuzz_replace(input);
    break;
  case 2:
    fuzz_split(input);
    break;
  default:
    fuzz_trim_and_case(input);
    break;
  }
  return 0;
}
