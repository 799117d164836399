#include "encoding/percent.h"
#include "encoding/utf8_text.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
  const char *name;
  Text input;
  Text expected;
};

// Without conversion the decoded bytes come back as they are. A "%" always
// takes the two positions after it: a digit counts its value, any other
// byte -2, a position past the end 0; the byte is the sum modulo 256 and a
// zero byte is dropped.
TEST(UrlDecode, FollowsTheDigitRuleForEveryPercentSequence) {
  const DecodeCase cases[] = {
      {"upper-case digits", "%41%42", "AB"},
      {"lower-case digits", "%e4%b8%ad", "\xE4\xB8\xAD"},
      {"plus stays", "a+b", "a+b"},
      {"space", "%20", " "},
      {"plain text", "words_result", "words_result"},
      {"empty", "", ""},
      {"percent at the end", "abc%", "abc"},
      {"lone percent", "%", ""},
      {"one digit at the end", "%4", "\x40"},
      {"non-digit high", "%G1", "\xE1"},
      {"percent as high digit", "%%41",
       "\xE4"
       "1"},
      {"two non-digits", "%zz", "\xDE"},
      {"non-digit low", "%0-", "\xFE"},
      {"non-digit then end", "%-", "\xE0"},
      {"zero byte dropped", "a%00b", "ab"},
      {"zero from cut sequence", "x%0", "x"},
      {"byte 0xFF kept", "%FF", "\xFF"},
      {"two-byte character as digits", "%\xD6\xD0z",
       "\xDE"
       "z"},
      {"sequence after sequence", "%41%", "A"},
  };
  for (const DecodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(url_decode(c.input, false), c.expected);
  }
}

TEST(UrlDecode, ConvertsTheDecodedUtf8ToCodePage936WhenAsked) {
  const DecodeCase cases[] = {
      {"percent-encoded", "%e4%b8%ad", "\xD6\xD0"},
      {"raw utf-8", "{\"words\":\"\xE4\xB8\xAD\xE6\x96\x87\"}", "{\"words\":\"\xD6\xD0\xCE\xC4\"}"},
      {"percent in the answer is decoded", "50%25", "50%"},
      {"ascii", "%41b", "Ab"},
      {"euro sign", "%E2%82%AC", "\x80"},
      // Thai has no code page 936 form: the code page's default character.
      {"outside code page 936", "a\xE0\xB8\x81", "a?"},
  };
  for (const DecodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(url_decode(c.input, true), c.expected);
  }
}

TEST(UrlDecode, UndoesUrlEncode) {
  const Text value = "image=iVBOR+w0K/Gg== \xD6\xD0\xCE\xC4 50% & #1\r\n\x80";
  EXPECT_EQ(url_decode(url_encode(value), true), value);
}

TEST(Utf8ToAnsi, ConvertsToCodePage936UpToTheFirstZeroByte) {
  const DecodeCase cases[] = {
      {"empty", "", ""},
      {"ascii", "abc", "abc"},
      {"chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
      {"ascii around chinese",
       "a\xE4\xB8\xAD"
       "b",
       "a\xD6\xD0"
       "b"},
      {"full-width colon", "\xEF\xBC\x9A", "\xA3\xBA"},
      {"ends at a zero byte", Text("a\0\xE4\xB8\xAD", 5), "a"},
  };
  for (const DecodeCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8_to_ansi(c.input), c.expected);
  }
}

// Long texts are converted piece by piece; the pieces must join up whatever
// the text holds where a piece would end.
TEST(Utf8ToAnsi, ConvertsLongTextsWhole) {
  Text mixed, mixed_expected;
  for (int k = 0; k < 30000; ++k) {
    mixed += "\xE4\xB8\xAD\xE6\x96\x87 ok,";
    mixed_expected += "\xD6\xD0\xCE\xC4 ok,";
  }
  EXPECT_EQ(utf8_to_ansi(mixed), mixed_expected);

  Text chinese, chinese_expected;
  for (int k = 0; k < 100000; ++k) {
    chinese += "\xE4\xB8\xAD";
    chinese_expected += "\xD6\xD0";
  }
  EXPECT_EQ(utf8_to_ansi(chinese + "!" + chinese), chinese_expected + "!" + chinese_expected);
}

// How malformed UTF-8 is replaced is the conversion's business; what matters
// is that the text around it survives and no zero byte gets in.
TEST(Utf8ToAnsi, KeepsTheTextAroundMalformedUtf8) {
  const Text converted = utf8_to_ansi("ok\xE4\xB8 end\xFF");
  EXPECT_EQ(converted.substr(0, 2), "ok");
  EXPECT_NE(converted.find(" end"), Text::npos);
  EXPECT_EQ(converted.find('\0'), Text::npos);
}

} // namespace
