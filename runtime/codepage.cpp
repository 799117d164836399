// The rules for bad input and for the user-defined areas, shared by both
// platform halves (see codepage.h). Each routine walks its input once, hands
// well-formed runs to the platform half, and deals with everything else here.
#include "runtime/codepage.h"

#include "runtime/codepage_runs.h"

namespace {

constexpr char16_t replacement_character = 0xFFFD;

bool is_cp936_trail(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Cheap tests that keep the common characters away from the user-defined
// area lookups: those areas lie in rows 0xA1..0xAF, 0xD7 and 0xF8..0xFE, and
// map to U+E000..U+E864.
bool may_be_user_defined_row(unsigned char lead) {
  return (lead >= 0xA1 && lead <= 0xAF) || lead == 0xD7 || lead >= 0xF8;
}
bool may_be_user_defined_unit(char16_t unit) {
  return unit >= 0xE000 && unit <= 0xE864;
}

bool is_high_surrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low_surrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
bool is_surrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// Collects the well-formed stretch of the input and hands it over in pieces.
template <class Unit, class Out, class Flush> class RunCollector {
public:
  RunCollector(std::basic_string_view<Unit> input, Out &out, Flush flush)
      : input_(input), out_(out), flush_(flush) {}

  // Adds input[at, at + size) to the current run, which must end at `at`.
  void extend(std::size_t at, std::size_t size) {
    if (at - start_ >= max_run_units)
      finish(at);
    end_ = at + size;
  }
  // Ends the current run before input[at].
  void finish(std::size_t at) {
    if (end_ > start_)
      flush_(input_.substr(start_, end_ - start_), out_);
    start_ = end_ = at;
  }

private:
  std::basic_string_view<Unit> input_;
  Out &out_;
  Flush flush_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};

template <class Unit, class Out, class Flush>
RunCollector<Unit, Out, Flush> make_collector(std::basic_string_view<Unit> input, Out &out,
                                              Flush flush) {
  return RunCollector<Unit, Out, Flush>(input, out, flush);
}

// Length of the well-formed UTF-8 sequence at `at`, or, when it is ill
// formed, the negated length of its maximal ill-formed subpart (at least 1).
long utf8_sequence(std::string_view text, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80)
    return 1;
  std::size_t need;
  unsigned char low = 0x80, high = 0xBF; // bounds of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    if (lead == 0xE0)
      low = 0xA0;
    if (lead == 0xED)
      high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    if (lead == 0xF0)
      low = 0x90;
    if (lead == 0xF4)
      high = 0x8F;
  } else {
    return -1;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if (at + k >= text.size())
      return -static_cast<long>(k);
    const unsigned char byte = static_cast<unsigned char>(text[at + k]);
    if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF))
      return -static_cast<long>(k);
  }
  return static_cast<long>(need + 1);
}

} // namespace

std::u16string cp936_to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  auto runs = make_collector(text, out, append_cp936_run_as_utf16);
  std::size_t at = 0;
  while (at < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead <= 0x80) {
      runs.extend(at, 1);
      ++at;
      continue;
    }
    if (lead == 0xFF || at + 1 == text.size() ||
        !is_cp936_trail(static_cast<unsigned char>(text[at + 1]))) {
      runs.finish(at);
      out.push_back(lead == 0xFF ? u'\xF8F5' : replacement_character);
      ++at;
      runs.finish(at);
      continue;
    }
    const unsigned char trail = static_cast<unsigned char>(text[at + 1]);
    std::optional<char16_t> unit;
    if (may_be_user_defined_row(lead) && (unit = cp936_user_defined_to_utf16(lead, trail))) {
      runs.finish(at);
      out.push_back(*unit);
      at += 2;
      runs.finish(at);
      continue;
    }
    runs.extend(at, 2);
    at += 2;
  }
  runs.finish(at);
  return out;
}

Text utf16_to_cp936(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  Text out;
  out.reserve(text.size() * 2);
  auto runs = make_collector(text, out, append_utf16_run_as_cp936);
  std::size_t at = 0;
  while (at < text.size()) {
    const char16_t unit = text[at];
    std::optional<unsigned> user_defined;
    if (!is_surrogate(unit) && unit != 0xF8F5 &&
        !(may_be_user_defined_unit(unit) && (user_defined = utf16_to_cp936_user_defined(unit)))) {
      runs.extend(at, 1);
      ++at;
      continue;
    }
    runs.finish(at);
    std::size_t size = 1;
    if (user_defined) {
      out.push_back(static_cast<char>(*user_defined >> 8));
      out.push_back(static_cast<char>(*user_defined & 0xFF));
    } else if (unit == 0xF8F5) {
      out.push_back('\xFF');
    } else {
      // No character beyond the basic plane is in code page 936.
      out.push_back('?');
      if (is_high_surrogate(unit) && at + 1 < text.size() && is_low_surrogate(text[at + 1]))
        size = 2;
    }
    at += size;
    runs.finish(at);
  }
  runs.finish(at);
  return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  auto runs = make_collector(text, out, append_utf8_run_as_utf16);
  std::size_t at = 0;
  while (at < text.size()) {
    long size = utf8_sequence(text, at);
    if (size > 0) {
      runs.extend(at, static_cast<std::size_t>(size));
      at += static_cast<std::size_t>(size);
      continue;
    }
    runs.finish(at);
    out.push_back(replacement_character);
    at += static_cast<std::size_t>(-size);
    runs.finish(at);
  }
  runs.finish(at);
  return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  auto runs = make_collector(text, out, append_utf16_run_as_utf8);
  std::size_t at = 0;
  while (at < text.size()) {
    const char16_t unit = text[at];
    if (!is_surrogate(unit)) {
      runs.extend(at, 1);
      ++at;
    } else if (is_high_surrogate(unit) && at + 1 < text.size() && is_low_surrogate(text[at + 1])) {
      runs.extend(at, 2);
      at += 2;
    } else {
      runs.finish(at);
      out.append("\xEF\xBF\xBD");
      ++at;
      runs.finish(at);
    }
  }
  runs.finish(at);
  return out;
}
