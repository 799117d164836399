#include "service/text_cleanup.h"

#include <optional>

#include "service/json_text.h"

namespace ocr_service {
namespace {

bool is_space(char32_t c) {
  return c == U' ' || c == U'\t';
}
bool is_ascii_alnum(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

// The nearest character before (step -1) or after (step +1) index that is not
// a space.
std::optional<char32_t> neighbour(const std::u32string &text, std::size_t index, int step) {
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(index) + step;
       i >= 0 && i < static_cast<std::ptrdiff_t>(text.size()); i += step) {
    if (!is_space(text[i]))
      return text[i];
  }
  return std::nullopt;
}

bool cjk_at(const std::u32string &text, std::size_t index, int step) {
  auto c = neighbour(text, index, step);
  return c && is_cjk(*c);
}

char32_t fullwidth_of(char32_t c) {
  switch (c) {
  case U',':
    return U'，';
  case U':':
    return U'：';
  case U';':
    return U'；';
  case U'?':
    return U'？';
  case U'!':
    return U'！';
  case U'.':
    return U'。';
  case U'(':
    return U'（';
  case U')':
    return U'）';
  default:
    return c;
  }
}

bool converts_alone(const std::u32string &text, std::size_t i) {
  char32_t c = text[i];
  if (c == U'.') {
    // A full stop closes a Chinese sentence; "v1.2", "文件.txt" and "..." stay.
    bool dot_run = (i > 0 && text[i - 1] == U'.') || (i + 1 < text.size() && text[i + 1] == U'.');
    auto after = neighbour(text, i, +1);
    return !dot_run && cjk_at(text, i, -1) && !(after && is_ascii_alnum(*after));
  }
  if (c == U',' || c == U':' || c == U';' || c == U'?' || c == U'!' || c == U'(' || c == U')')
    return cjk_at(text, i, -1) || cjk_at(text, i, +1);
  return false;
}

// Parentheses change as a pair, so that "函数(x)" does not end up half-wide.
std::u32string convert_punctuation(const std::u32string &text) {
  std::u32string out = text;
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'(') {
      open.push_back(i);
    } else if (text[i] == U')' && !open.empty()) {
      std::size_t start = open.back();
      open.pop_back();
      if (converts_alone(text, start) || converts_alone(text, i)) {
        out[start] = U'（';
        out[i] = U'）';
      }
    } else if (converts_alone(text, i)) {
      out[i] = fullwidth_of(text[i]);
    }
  }
  for (std::size_t start : open) {
    if (converts_alone(text, start))
      out[start] = U'（';
  }
  return out;
}

// The Chinese model often reads a full-width opening parenthesis as an angle
// bracket; an angle bracket closed by a parenthesis is one.
void mend_parentheses(std::u32string &text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'〈')
      continue;
    std::size_t close = text.find_first_of(U"〉）", i + 1);
    if (close != std::u32string::npos && text[close] == U'）')
      text[i] = U'（';
  }
}

std::u32string remove_spaces(const std::u32string &text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    if (!is_space(text[i])) {
      out.push_back(text[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && is_space(text[end]))
      ++end;
    bool has_before = !out.empty(), has_after = end < text.size();
    char32_t before = has_before ? out.back() : 0, after = has_after ? text[end] : 0;
    bool drop = !has_before || !has_after || (is_cjk(before) && is_cjk(after)) ||
                is_fullwidth_punctuation(before) || is_fullwidth_punctuation(after);
    if (!drop)
      out.append(text, i, end - i);
    i = end;
  }
  return out;
}

std::string_view trim(std::string_view text) {
  const char *spaces = " \t\r\n\f\v";
  std::size_t first = text.find_first_not_of(spaces);
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

} // namespace

bool is_fullwidth_punctuation(char32_t c) {
  return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F) ||
         (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) ||
         (c >= 0xFF5B && c <= 0xFF65);
}

bool is_cjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x3000 && c <= 0x312F) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
         (c >= 0x20000 && c <= 0x2FA1F);
}

std::u32string utf8_to_u32(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = utf8_sequence_length(utf8, i);
    if (length == 0) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    auto byte = [&](std::size_t k) {
      return static_cast<char32_t>(static_cast<unsigned char>(utf8[i + k]));
    };
    char32_t c = length == 1   ? byte(0)
                 : length == 2 ? ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F)
                 : length == 3
                     ? ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F)
                     : ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) |
                           ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    out.push_back(c);
    i += length;
  }
  return out;
}

std::string u32_to_utf8(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string clean_chinese_line(std::string_view line) {
  std::u32string text = convert_punctuation(utf8_to_u32(trim(line)));
  mend_parentheses(text);
  return u32_to_utf8(remove_spaces(text));
}

std::vector<std::string> clean_lines(const std::vector<std::string> &lines, bool chinese) {
  std::vector<std::string> out;
  for (const std::string &line : lines) {
    std::string cleaned = chinese ? clean_chinese_line(line) : std::string(trim(line));
    if (!cleaned.empty())
      out.push_back(std::move(cleaned));
  }
  return out;
}

} // namespace ocr_service
