// Texts from outside: only JSON is loaded, nothing in a text runs, and large,
// deep or malformed input ends in the empty values without a crash.
#include "json/json_object.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "encoding/utf8_text.h"
#include "tests/json/json_engine_probe.h"

namespace {

// A file the hostile texts try to create.
class JsonHostileTest : public testing::Test {
protected:
  void SetUp() override {
    char directory[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, directory), 0u);
    target = Text(directory) + "lumiscribe_json_hostile.txt";
    DeleteFileA(target.c_str());
    for (char c : target)
      target_in_script += c == '\\' ? Text("\\\\") : Text(1, c);
  }
  void TearDown() override { DeleteFileA(target.c_str()); }
  bool target_exists() const {
    return GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  Text create_file_script() const {
    return "new ActiveXObject('Scripting.FileSystemObject').CreateTextFile('" + target_in_script +
           "')";
  }

  Text target;
  Text target_in_script;
};

TEST_F(JsonHostileTest, TheFilePayloadWorksWhenRunAsScript) {
  JsonObject document;
  AutoCallBool(document.get_engine(), "Eval", {create_file_script() + ".Close()"});
  EXPECT_TRUE(target_exists());
}

TEST_F(JsonHostileTest, ScriptThatIsNotJsonIsNeitherRunNorLoaded) {
  const Text texts[] = {
      create_file_script(),
      "{\"a\":" + create_file_script() + "}",
      "[1," + create_file_script() + "]",
      "(function () { made_by_call = 1; return {}; })()",
      "made_by_assignment = {\"a\":1}",
      "{\"a\":1}; made_after_object = 1",
      "{\"a\":1}\n/* comment */",
      "// comment\n{\"a\":1}",
      "{a:1}",
      "{'a':1}",
      "[1,2,]",
      "NaN",
      "undefined",
      "null",
      "",
  };
  for (const Text &text : texts) {
    SCOPED_TRACE(text);
    JsonObject document;
    EXPECT_FALSE(document.parse(text));
    EXPECT_EQ(document.type_of(""), 0);
    EXPECT_EQ(document.to_json(), "null");
    EXPECT_EQ(document.get_text("a"), "");
    for (const char *name : {"made_by_call", "made_by_assignment", "made_after_object"})
      EXPECT_EQ(engine_typeof(document, name), "undefined") << name;
    EXPECT_FALSE(target_exists());
  }
}

TEST_F(JsonHostileTest, StringsThatLookLikeScriptStayStrings) {
  JsonObject document;
  const Text text = "\"" + Text("made_by_string = 1") + "\"";
  EXPECT_TRUE(document.parse(text));
  EXPECT_EQ(document.type_of(""), 6);
  EXPECT_EQ(document.get_text(""), "made_by_string = 1");
  EXPECT_EQ(engine_typeof(document, "made_by_string"), "undefined");

  const Text payload = create_file_script();
  Text quoted;
  for (char c : payload)
    quoted += c == '\\' ? Text("\\\\") : Text(1, c);
  EXPECT_TRUE(document.parse("{\"a\":\"" + quoted + "\"}"));
  EXPECT_EQ(document.get_text("a"), payload);
  EXPECT_FALSE(target_exists());
}

TEST_F(JsonHostileTest, ATextValueCannotLeaveItsQuotes) {
  // 0x80 is a one-byte character in code page 936; a byte scanner that took
  // it for a lead byte would let the quote after it through unescaped.
  JsonObject document;
  const Text value = "\x80'; made_by_value = 1; '\x81";
  document.set_value("v", value);
  EXPECT_EQ(engine_typeof(document, "made_by_value"), "undefined");
  EXPECT_EQ(document.type_of("v"), 6);
}

TEST(JsonScalars, ZeroFalseAndEmptyStringLoadNullDoesNot) {
  struct Case {
    const char *text;
    bool loaded;
    int type;
    const char *plain;
  } cases[] = {
      {"0", true, 2, "0"},   {"false", true, 1, "false"}, {"\"\"", true, 6, ""},
      {" 0 ", true, 2, "0"}, {"null", false, 0, ""},      {"-1.5e2", true, 2, "-150"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    JsonObject document;
    EXPECT_EQ(document.parse(c.text), c.loaded);
    EXPECT_EQ(document.type_of(""), c.type);
    EXPECT_EQ(document.get_text(""), c.plain);
  }
}

TEST(JsonBadInput, MegabyteAnswer) {
  Text text = "{\"words_result\":[";
  int lines = 0;
  while (text.size() < 1'000'000) {
    if (lines > 0)
      text += ",";
    text += "{\"words\":\"line " + ToText(lines) + " \xd6\xd0\xce\xc4 \\\\ \\\" \xb1\x5c\"}";
    ++lines;
  }
  text += "],\"words_result_num\":" + ToText(lines) + "}";
  JsonObject document;
  ASSERT_TRUE(document.parse(text));
  EXPECT_EQ(document.array_length("words_result"), lines);
  EXPECT_EQ(document.get_text("words_result_num"), ToText(lines));
  EXPECT_EQ(document.get_text("words_result[" + ToText(lines - 1) + "].words"),
            "line " + ToText(lines - 1) + " \xd6\xd0\xce\xc4 \\ \" \xb1\x5c");
  EXPECT_EQ(document.to_json().size(), text.size());
}

Text nested_arrays(int depth) {
  return Text(depth, '[') + Text(depth, ']');
}

TEST(JsonBadInput, DeepNesting) {
  JsonObject document;
  EXPECT_FALSE(document.parse(nested_arrays(10000)));
  EXPECT_EQ(document.to_json(), "null");

  Text objects;
  for (int k = 0; k < 10000; ++k)
    objects += "{\"a\":";
  objects += "1" + Text(10000, '}');
  EXPECT_FALSE(document.parse(objects));

  // As deep as the loader allows still loads, writes and copies.
  const Text deepest = nested_arrays(1000);
  ASSERT_TRUE(document.parse(deepest));
  EXPECT_EQ(document.to_json(), deepest);
  EXPECT_EQ(document.get_object("").to_json(), deepest);
}

TEST(JsonBadInput, TextConvertedFromInvalidUtf8) {
  const Text converted = utf8_to_ansi("{\"words\":\"a\xff\xfe b\xc3( \xe4\xb8 \xed\xa0\x80 z\"}");
  JsonObject document;
  ASSERT_TRUE(document.parse(converted));
  const Text words = document.get_text("words");
  EXPECT_EQ(words.front(), 'a');
  EXPECT_EQ(words.back(), 'z');
}

TEST(JsonBadInput, TrailByte5cNextToQuotesAndBackslashes) {
  struct Case {
    const char *text;
    const char *value; // of element 0, plain
  } cases[] = {
      {"[\"\x95\x5c\"]", "\x95\x5c"},
      {"[\"\x95\x5c\\\\\"]", "\x95\x5c\\"},
      {"[\"\\\"\x95\x5c\\\"\"]", "\"\x95\x5c\""},
      {"[\"\x95\x5c\x95\x5c\",\"x\"]", "\x95\x5c\x95\x5c"},
      {"{\"\x95\x5c\":\"\x95\x5c\"}", nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    JsonObject document;
    ASSERT_TRUE(document.parse(c.text));
    if (c.value) {
      EXPECT_EQ(document.get_element_text(0, ""), c.value);
    }
    EXPECT_EQ(document.to_json(), c.text);
  }
}

// A lead byte with no trail byte after it is not a character; whatever the
// conversion makes of it, the text is judged as the engine would see it.
TEST(JsonBadInput, BrokenTwoByteCharacters) {
  for (const char *text : {"[\"\x81\"]", "[\"\x81", "[\"a\"]\x81", "\x81", "[\"\xff\"]"}) {
    SCOPED_TRACE(text);
    JsonObject document;
    const bool loaded = document.parse(text);
    EXPECT_EQ(document.type_of(""), loaded ? 5 : 0);
  }
}

TEST(JsonBadInput, PathsThatAreNotExpressions) {
  JsonObject document;
  ASSERT_TRUE(document.parse("{\"a\":{\"b\":[1]}}"));
  const Text before = document.to_json();
  // Not every broken path fails in this engine: it runs "delete da.a b" as
  // "delete da.a", for one. These fail in every operation.
  for (const char *path : {"a..b", "[", "a[", ")", "'", "a.\"b", "a.b.c.d"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(document.get_text(path), "");
    EXPECT_EQ(document.get_text(path, true), "");
    EXPECT_EQ(document.type_of(path), -1);
    TextArray names{"x"};
    EXPECT_EQ(document.member_names(names, path), 0);
    EXPECT_EQ(document.array_length(path), 0);
    EXPECT_EQ(document.get_number(path), 0);
    EXPECT_FALSE(document.set_value(path, "v"));
    EXPECT_FALSE(document.set_value(path, "1", true));
    EXPECT_FALSE(document.push("v", path));
    EXPECT_FALSE(document.remove(path));
    EXPECT_FALSE(document.set_number(path, 1));
    EXPECT_EQ(document.get_object(path).type_of(""), 0);
  }
  EXPECT_EQ(document.to_json(), before);
}

} // namespace
