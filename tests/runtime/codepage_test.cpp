// One table of conversions, run natively (iconv) and under Wine (the
// platform's converters): both halves must give the same results.
#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/codepage.h"

namespace {

struct DecodeCase {
  const char *name;
  std::string_view input;
  std::u16string_view expected;
};

TEST(Codepage, Cp936ToUtf16) {
  using namespace std::string_view_literals;
  const DecodeCase cases[] = {
      {"ASCII", "abc 1\r\n"sv, u"abc 1\r\n"},
      {"Chinese", "\xD6\xD0\xCE\xC4"sv, u"\u4E2D\u6587"},
      {"GBK extension", "\x81\x40"sv, u"\u4E02"},
      {"euro sign at 0x80", "a\x80"sv, u"a\u20AC"},
      {"0xFF", "\xFF"sv, u"\uF8F5"},
      {"lead byte cut off at the end", "a\xD6"sv, u"a\uFFFD"},
      {"lead byte before a space keeps the space", "\x81 x"sv, u"\uFFFD x"},
      {"lead byte before CR LF", "\xD6\r\n"sv, u"\uFFFD\r\n"},
      {"lead byte before 0x7F", "\xD6\x7F"sv, u"\uFFFD\x7F"},
      {"lead byte before lead byte", "\xD6\xFF\xD6\xD0"sv, u"\uFFFD\uF8F5\u4E2D"},
      {"zero byte", "a\0b"sv, u"a\0b"sv},
      {"user-defined area 1", "\xAA\xA1"sv, u"\uE000"},
      {"user-defined area 3", "\xA1\x40\xA7\xA0"sv, u"\uE4C6\uE765"},
      {"last user-defined place", "\xFE\xA0"sv, u"\uE864"},
      {"empty", ""sv, u""},
  };
  for (const DecodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(cp936_to_utf16(c.input), c.expected);
  }
}

TEST(Codepage, Utf8ToUtf16ReplacesEachIllFormedSubpartOnce) {
  using namespace std::string_view_literals;
  const DecodeCase cases[] = {
      {"ASCII", "abc"sv, u"abc"},
      {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87"sv, u"\u4E2D\u6587"},
      {"beyond the basic plane", "\xF0\x9F\x98\x80"sv, u"\U0001F600"},
      {"lead byte at the end", "a\xC3"sv, u"a\uFFFD"},
      {"cut-off sequence then ASCII", "\xE4\xB8x"sv, u"\uFFFDx"},
      {"cut-off four-byte sequence", "\xF0\x9F\x98"sv, u"\uFFFD"},
      {"overlong", "\xC0\x80"sv, u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80"sv, u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80"sv, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"lone continuation bytes", "\x80\xBF"sv, u"\uFFFD\uFFFD"},
      {"0xFF",
       "a\xFF"
       "b"sv,
       u"a\uFFFDb"},
      {"cp936 bytes are not UTF-8", "\xD6\xD0"sv, u"\uFFFD\uFFFD"},
  };
  for (const DecodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8_to_utf16(c.input), c.expected);
  }
}

struct EncodeCase {
  const char *name;
  std::u16string_view input;
  std::string_view expected;
};

TEST(Codepage, Utf16ToCp936) {
  using namespace std::string_view_literals;
  const EncodeCase cases[] = {
      {"ASCII", u"abc", "abc"sv},
      {"Chinese", u"\u4E2D\u6587", "\xD6\xD0\xCE\xC4"sv},
      {"euro sign", u"\u20AC", "\x80"sv},
      {"middle dot", u"\u00B7", "\xA1\xA4"sv},
      {"Hangul is outside code page 936", u"a\uD55C", "a?"sv},
      {"no best fit", u"\u00B2\u00AA", "??"sv},
      {"beyond the basic plane is one character", u"\U0001F600x", "?x"sv},
      {"unpaired surrogates",
       u"\xD800"
       u"a\xDC00",
       "?a?"sv},
      {"user-defined areas", u"\uE000\uE4C6\uE864", "\xAA\xA1\xA1\x40\xFE\xA0"sv},
      {"U+F8F5", u"\uF8F5", "\xFF"sv},
      {"ends at U+0000", u"a\0b"sv, "a"sv},
  };
  for (const EncodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf16_to_cp936(c.input), c.expected);
  }
}

TEST(Codepage, Utf16ToUtf8) {
  using namespace std::string_view_literals;
  const EncodeCase cases[] = {
      {"ASCII", u"abc", "abc"sv},
      {"Chinese", u"\u4E2D", "\xE4\xB8\xAD"sv},
      {"surrogate pair", u"\U0001F600", "\xF0\x9F\x98\x80"sv},
      {"unpaired high surrogate",
       u"\xD800"
       u"a",
       "\xEF\xBF\xBD"
       "a"sv},
      {"unpaired low surrogate at the end", u"a\xDC00", "a\xEF\xBF\xBD"sv},
      {"zero", u"a\0b"sv, "a\0b"sv},
  };
  for (const EncodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf16_to_utf8(c.input), c.expected);
  }
}

template <class Units> std::uint64_t fnv1a(const Units &units) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (auto unit : units) {
    hash ^= static_cast<std::make_unsigned_t<decltype(unit)>>(unit);
    hash *= 0x100000001b3u;
  }
  return hash;
}

std::string every_cp936_pair() {
  std::string all;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F)
        continue;
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(trail));
    }
  }
  return all;
}

// The hashes are of Windows' own code page 936 table (without best fit),
// taken once under Wine: each half must reproduce the whole table.
TEST(Codepage, EveryTwoByteCharacterDecodesAsWindowsDoesAndRoundTrips) {
  const std::string all = every_cp936_pair();
  const std::u16string wide = cp936_to_utf16(all);
  ASSERT_EQ(wide.size(), all.size() / 2);
  EXPECT_EQ(fnv1a(wide), 0x4FDE592DBB449C0Bu);
  EXPECT_EQ(utf16_to_cp936(wide), all);
}

TEST(Codepage, EveryBasicPlaneCharacterEncodesAsWindowsDoes) {
  std::u16string all;
  for (char32_t unit = 1; unit <= 0xFFFF; ++unit) {
    if (unit < 0xD800 || unit > 0xDFFF)
      all.push_back(static_cast<char16_t>(unit));
  }
  const std::string encoded = utf16_to_cp936(all);
  EXPECT_EQ(fnv1a(encoded), 0xF1CC8667885C1894u);
  EXPECT_EQ(utf8_to_utf16(utf16_to_utf8(all)), all);
}

} // namespace
