#include "json/json_grammar.h"

#include <vector>

namespace {

bool is_digit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool is_hex_digit(char16_t c) {
  return is_digit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Reads one token at a time; each reader leaves the position after what it
// accepted.
class JsonScanner {
public:
  explicit JsonScanner(std::u16string_view text) : text_(text) {}

  void skip_whitespace() {
    while (at_ < text_.size() && (text_[at_] == u' ' || text_[at_] == u'\t' ||
                                  text_[at_] == u'\n' || text_[at_] == u'\r'))
      ++at_;
  }
  bool at_end() const { return at_ == text_.size(); }
  char16_t peek() const { return at_ < text_.size() ? text_[at_] : u'\0'; }
  bool take(char16_t expected) {
    if (peek() != expected || at_end())
      return false;
    ++at_;
    return true;
  }

  bool string() {
    if (!take(u'"'))
      return false;
    while (!at_end()) {
      const char16_t c = text_[at_++];
      if (c == u'"')
        return true;
      if (c < 0x20)
        return false;
      if (c == u'\\' && !escape())
        return false;
    }
    return false;
  }

  bool number() {
    take(u'-');
    if (!take(u'0')) {
      if (!is_digit(peek()) || at_end())
        return false;
      digits();
    }
    if (take(u'.') && !digits())
      return false;
    if (take(u'e') || take(u'E')) {
      if (!take(u'+'))
        take(u'-');
      if (!digits())
        return false;
    }
    return true;
  }

  bool literal(std::u16string_view word) {
    if (text_.substr(at_, word.size()) != word)
      return false;
    at_ += word.size();
    return true;
  }

private:
  bool digits() {
    const std::size_t start = at_;
    while (!at_end() && is_digit(text_[at_]))
      ++at_;
    return at_ > start;
  }

  bool escape() {
    if (at_end())
      return false;
    const char16_t c = text_[at_++];
    if (c == u'u') {
      for (int k = 0; k < 4; ++k)
        if (at_end() || !is_hex_digit(text_[at_++]))
          return false;
      return true;
    }
    return std::u16string_view(u"\"\\/bfnrt").find(c) != std::u16string_view::npos;
  }

  std::u16string_view text_;
  std::size_t at_ = 0;
};

// Where the reader stands between tokens.
enum class Expect { value, first_element, first_member, member, after_value };

// A scalar, or the opening of a container; false when nothing valid starts.
bool read_value(JsonScanner &in, std::vector<char16_t> &open, int max_nesting, Expect &next) {
  const char16_t c = in.peek();
  if ((c == u'{' || c == u'[') && !in.at_end()) {
    if (static_cast<int>(open.size()) >= max_nesting)
      return false;
    in.take(c);
    open.push_back(c);
    next = c == u'{' ? Expect::first_member : Expect::first_element;
    return true;
  }
  next = Expect::after_value;
  if (c == u'"')
    return in.string();
  if (c == u'-' || is_digit(c))
    return in.number();
  return in.literal(u"true") || in.literal(u"false") || in.literal(u"null");
}

bool read_member_name(JsonScanner &in, Expect &next) {
  if (!in.string())
    return false;
  in.skip_whitespace();
  next = Expect::value;
  return in.take(u':');
}

// After a complete value inside a container: a comma or the closing bracket.
bool read_separator(JsonScanner &in, std::vector<char16_t> &open, Expect &next) {
  const bool in_object = open.back() == u'{';
  if (in.take(u',')) {
    next = in_object ? Expect::member : Expect::value;
    return true;
  }
  if (!in.take(in_object ? u'}' : u']'))
    return false;
  open.pop_back();
  next = Expect::after_value;
  return true;
}

bool close_empty(JsonScanner &in, std::vector<char16_t> &open, char16_t closer, Expect &next) {
  if (!in.take(closer))
    return false;
  open.pop_back();
  next = Expect::after_value;
  return true;
}

} // namespace

bool json_text_is_valid(std::u16string_view text, int max_nesting) {
  JsonScanner in(text);
  std::vector<char16_t> open;
  Expect next = Expect::value;
  for (;;) {
    in.skip_whitespace();
    bool ok = false;
    switch (next) {
    case Expect::value:
      ok = read_value(in, open, max_nesting, next);
      break;
    case Expect::first_element:
      ok = close_empty(in, open, u']', next) || read_value(in, open, max_nesting, next);
      break;
    case Expect::first_member:
      ok = close_empty(in, open, u'}', next) || read_member_name(in, next);
      break;
    case Expect::member:
      ok = read_member_name(in, next);
      break;
    case Expect::after_value:
      if (open.empty())
        return in.at_end();
      ok = read_separator(in, open, next);
      break;
    }
    if (!ok)
      return false;
  }
}
