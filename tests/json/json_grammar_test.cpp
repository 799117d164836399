#include "json/json_grammar.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct GrammarCase {
  const char16_t *text;
  bool valid;
};

TEST(JsonGrammar, AcceptsJsonTextsAndNothingElse) {
  const GrammarCase cases[] = {
      // Every kind of value, alone and nested, with white space around.
      {u"{}", true},
      {u"[]", true},
      {u" \t\r\n{ \"a\" : [ 1 , -2.5e+3 , true , false , null , \"x\" ] }\n", true},
      {u"{\"words_result\":[{\"words\":\"a\"},{\"words\":\"b\"}],\"words_result_num\":2}", true},
      {u"0", true},
      {u"false", true},
      {u"\"\"", true},
      {u"null", true},
      {u"-0.0e-0", true},
      {u"1E5", true},
      {u"\"\\\" \\\\ \\/ \\b \\f \\n \\r \\t \\u00e9 \\uD83D\\uDE00 \\ud800\"", true},
      {u"\"\u4e2d\u6587 \u2400 \x7f\"", true},
      {u"{\"a\":{\"a\":{}},\"b\":[[],[{}]]}", true},
      {u"{\"a\":1,\"a\":2}", true},
      // Not JSON.
      {u"", false},
      {u"   ", false},
      {u"01", false},
      {u"1.", false},
      {u".5", false},
      {u"+1", false},
      {u"-", false},
      {u"1e", false},
      {u"0x10", false},
      {u"NaN", false},
      {u"Infinity", false},
      {u"undefined", false},
      {u"True", false},
      {u"nul", false},
      {u"'a'", false},
      {u"\"a", false},
      {u"\"a\tb\"", false},
      {u"\"a\nb\"", false},
      {u"\"\\x41\"", false},
      {u"\"\\u12\"", false},
      {u"\"\\'\"", false},
      {u"[1,]", false},
      {u"[,1]", false},
      {u"[1 2]", false},
      {u"{\"a\":1,}", false},
      {u"{\"a\" 1}", false},
      {u"{\"a\":}", false},
      {u"{a:1}", false},
      {u"{'a':1}", false},
      {u"{1:1}", false},
      {u"[1]]", false},
      {u"[[1]", false},
      {u"{\"a\":1]", false},
      {u"1 2", false},
      {u"{} {}", false},
      {u"[1]\u00a0", false},
      {u"\ufeff[1]", false},
      // Script that is not JSON.
      {u"alert(1)", false},
      {u"x = 1", false},
      {u"new ActiveXObject('Scripting.FileSystemObject')", false},
      {u"{\"a\":1} // comment", false},
      {u"/* comment */ {}", false},
      {u"[1,(function(){return 2})()]", false},
      {u"{\"a\":1}; evil()", false},
      {u"(1)", false},
  };
  for (const GrammarCase &c : cases) {
    const std::u16string text(c.text);
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(json_text_is_valid(text), c.valid);
  }
}

TEST(JsonGrammar, NulInsideAStringIsAControlCharacter) {
  EXPECT_FALSE(json_text_is_valid(std::u16string(u"\"a\0b\"", 5)));
  EXPECT_FALSE(json_text_is_valid(std::u16string(u"[1]\0", 4)));
}

std::u16string nested_arrays(int depth) {
  return std::u16string(static_cast<std::size_t>(depth), u'[') +
         std::u16string(static_cast<std::size_t>(depth), u']');
}

TEST(JsonGrammar, NestingIsLimitedWithoutRecursion) {
  EXPECT_TRUE(json_text_is_valid(nested_arrays(json_max_nesting)));
  EXPECT_FALSE(json_text_is_valid(nested_arrays(json_max_nesting + 1)));
  EXPECT_FALSE(json_text_is_valid(nested_arrays(10000)));
  EXPECT_TRUE(json_text_is_valid(nested_arrays(100000), 100000));

  std::u16string objects;
  for (int k = 0; k < 10000; ++k)
    objects += u"{\"a\":";
  objects += u"1" + std::u16string(10000, u'}');
  EXPECT_FALSE(json_text_is_valid(objects));
  EXPECT_TRUE(json_text_is_valid(objects, 10000));
}

TEST(JsonGrammar, ReadsAMegabyteText) {
  std::u16string text = u"[";
  while (text.size() < 1'000'000)
    text += u"{\"words\":\"\u8bc6\u522b \\\\ \\\"\",\"n\":-12.5e3},";
  text += u"null]";
  EXPECT_TRUE(json_text_is_valid(text));
  text.back() = u'}';
  EXPECT_FALSE(json_text_is_valid(text));
}

} // namespace
