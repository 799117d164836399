// Text primitives that cut by count, compare or build texts. These work on
// bytes and need not respect two-byte characters.
#include <algorithm>
#include <string>

#include "runtime/fatal.h"
#include "runtime/text.h"

namespace {

[[noreturn]] void fail_index(const char *what, int index, int count) {
  std::string message = std::string(what) + " index " + std::to_string(index) + " outside 1.." +
                        std::to_string(count);
  FatalError(message.c_str());
}

bool is_lead_byte(unsigned char byte) {
  return byte >= 0x80;
}

// Applies `change` to every single-byte character, stepping over two-byte
// characters so their trail bytes stay as they are.
template <class Change> Text map_single_bytes(const Text &text, Change change) {
  Text result = text;
  std::size_t i = 0;
  while (i < result.size()) {
    unsigned char byte = static_cast<unsigned char>(result[i]);
    if (is_lead_byte(byte)) {
      i += 2;
      continue;
    }
    result[i] = static_cast<char>(change(byte));
    ++i;
  }
  return result;
}

} // namespace

const Text &TextArray::item(int index) const {
  if (index < 1 || index > Count())
    fail_index("TextArray", index, Count());
  return items_[static_cast<std::size_t>(index - 1)];
}

Text &TextArray::item(int index) {
  if (index < 1 || index > Count())
    fail_index("TextArray", index, Count());
  return items_[static_cast<std::size_t>(index - 1)];
}

int TextLength(const Text &text) {
  return static_cast<int>(text.size());
}

Text TextLeft(const Text &text, int n) {
  if (n <= 0)
    return {};
  return text.substr(0, std::min<std::size_t>(static_cast<std::size_t>(n), text.size()));
}

Text TextRight(const Text &text, int n) {
  if (n <= 0)
    return {};
  std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), text.size());
  return text.substr(text.size() - take);
}

Text TextMid(const Text &text, int position, int n) {
  int length = TextLength(text);
  if (position < 1 || position > length || n <= 0)
    return {};
  int take = std::min(n, length - position + 1);
  return text.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(take));
}

Text TextUpper(const Text &text) {
  return map_single_bytes(text, [](unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
  });
}

Text TextLower(const Text &text) {
  return map_single_bytes(text, [](unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
  });
}

bool TextStartsWith(const Text &text, const Text &prefix) {
  return prefix.size() <= text.size() && text.compare(0, prefix.size(), prefix) == 0;
}

Text TextSpaces(int n) {
  if (n < 1)
    return {};
  return Text(static_cast<std::size_t>(n), ' ');
}

Text CharFromCode(std::uint8_t code) {
  if (code == 0)
    return {};
  return Text(1, static_cast<char>(code));
}

int CharCodeAt(const Text &text, std::optional<int> position) {
  int at = position.value_or(1);
  if (at < 1 || at > TextLength(text))
    return 0;
  return static_cast<std::int8_t>(text[static_cast<std::size_t>(at - 1)]);
}

int TextCompare(const Text &a, const Text &b) {
  // std::string compares through char_traits<char>::compare, which orders
  // bytes as unsigned values.
  int order = a.compare(b);
  return (order > 0) - (order < 0);
}

Text TextConcatList(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view part : parts)
    total += part.size();
  Text result;
  result.reserve(total);
  for (std::string_view part : parts)
    result.append(part);
  return result;
}
