// The object's life and its readers, against the real script engine.
#include "json/json_object.h"

#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "tests/json/json_engine_probe.h"

namespace {

// A recognition answer with every kind of value. The second line holds
// "中文" in code page 936; the third a backslash.
const Text answer =
    "{\"log_id\":1234,\"words_result_num\":3,\"words_result\":[{\"words\":\"first\"},"
    "{\"words\":\"\xd6\xd0\xce\xc4\"},{\"words\":\"a\\\\b\"}],\"flag\":true,"
    "\"nothing\":null,\"obj\":{\"x\":1,\"y\":\"two\"},\"num\":0.5,\"empty\":\"\","
    "\"list\":[\"a\",\"b\",7]}";

class JsonQueryTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(document.parse(answer)); }
  JsonObject document;
};

TEST(JsonObjectLife, StartsReadyWithAnEmptyDocument) {
  JsonObject document;
  EXPECT_FALSE(AutoIsEmpty(document.get_engine()));
  EXPECT_EQ(document.to_json(), "{}");
  EXPECT_EQ(document.type_of(""), 4);
  EXPECT_EQ(engine_eval_text(document, "str_Code.charCodeAt(0)"), "9216");
  EXPECT_EQ(engine_eval_text(document, "typeof get__extend"), "function");
}

TEST(JsonObjectLife, CopiesShareTheEngineAndOutliveTheOriginal) {
  JsonObject original;
  ASSERT_TRUE(original.parse("{\"a\":1}"));
  JsonObject twin = original.copy();
  EXPECT_TRUE(twin.set_value("b", "2", true));
  EXPECT_EQ(original.to_json(), "{\"a\":1,\"b\":2}");
  original.destroy();
  EXPECT_EQ(original.to_json(), "");
  EXPECT_EQ(twin.get_text("b"), "2");
}

TEST(JsonObjectLife, DestroyedObjectGivesEmptyValues) {
  JsonObject document;
  ASSERT_TRUE(document.parse(answer));
  document.destroy();
  EXPECT_TRUE(AutoIsEmpty(document.get_engine()));
  EXPECT_FALSE(document.parse(answer));
  EXPECT_EQ(document.get_text("words_result_num"), "");
  EXPECT_EQ(document.array_length("words_result"), 0);
  EXPECT_FALSE(document.set_value("a", "b"));
  TextArray names{"stale"};
  EXPECT_EQ(document.member_names(names, ""), 0);
  EXPECT_EQ(names.Count(), 0);
  document.destroy(); // a second time does nothing
}

TEST(JsonObjectLife, SecondParseStartsFromAFreshEngine) {
  JsonObject document;
  ASSERT_TRUE(document.parse("{\"first\":1}"));
  const AutoObject engine = document.get_engine();
  AutoCallBool(engine, "AddCode", {"var added_by_caller = 1"});
  ASSERT_EQ(engine_typeof(document, "added_by_caller"), "number");

  ASSERT_TRUE(document.parse("{\"second\":2}"));
  EXPECT_EQ(engine_typeof(document, "added_by_caller"), "undefined");
  EXPECT_EQ(document.to_json(), "{\"second\":2}");
  // The caller's reference still reaches the old engine, which is intact.
  EXPECT_EQ(AutoCallText(engine, "Eval", {"JSON.stringify(da)"}), "{\"first\":1}");
}

// COM is initialised once per object and uninitialised by its destroy, however
// often the engine is replaced: afterwards the thread is back where it was.
TEST(JsonObjectLife, ComInitialisationIsPaired) {
  HRESULT after = E_FAIL;
  Text copied;
  std::thread([&] {
    {
      JsonObject document;
      document.parse(answer);
      document.parse(answer);
      JsonObject twin = document.copy();
      JsonObject part = document.get_object("obj");
      document.destroy();
      copied = twin.get_text("obj.y") + part.get_text("y");
    }
    after = CoInitialize(nullptr);
    if (SUCCEEDED(after))
      CoUninitialize();
  }).join();
  EXPECT_EQ(copied, "twotwo");
  EXPECT_EQ(after, S_OK);
}

TEST_F(JsonQueryTest, GetTextInPlainAndJsonMode) {
  struct Case {
    const char *path;
    const char *plain;
    const char *json;
  } cases[] = {
      {"words_result_num", "3", "3"},
      {"words_result[0].words", "first", "\"first\""},
      {"words_result[1].words", "\xd6\xd0\xce\xc4", "\"\xd6\xd0\xce\xc4\""},
      {"words_result[2].words", "a\\b", "\"a\\\\b\""},
      {"words_result[5].words", "", ""},
      {"missing", "", ""},
      {"missing.deeper", "", ""},
      {"nothing", "", "null"},
      {"empty", "", "\"\""},
      {"flag", "true", "true"},
      {"num", "0.5", "0.5"},
      {"obj", "[object Object]", "{\"x\":1,\"y\":\"two\"}"},
      {"list", "a,b,7", "[\"a\",\"b\",7]"},
      {"da.obj.y", "two", "\"two\""},
      {"[\"obj\"].x", "1", "1"},
      {"", "[object Object]", answer.c_str()},
      {"da", "[object Object]", answer.c_str()},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(document.get_text(c.path), c.plain);
    EXPECT_EQ(document.get_text(c.path, true), c.json);
    EXPECT_EQ(document.get_json(c.path), c.json);
  }
}

TEST_F(JsonQueryTest, ResolvePathRewritesIntoTheDocument) {
  struct Case {
    const char *path;
    const char *expression;
    bool found;
  } cases[] = {
      {"words_result_num", "da.words_result_num", true},
      {"[0]", "da[0]", false},
      {"", "da", true},
      {"da", "da", true},
      {"da.obj", "da.obj", true},
      {"da.missing", "da.da.missing", false},
      {"data.x", "da.data.x", false},
      {"nothing", "da.nothing", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.path);
    Text path = c.path;
    EXPECT_EQ(document.resolve_path(path), c.found);
    EXPECT_EQ(path, c.expression);
  }
}

TEST_F(JsonQueryTest, TypeCodes) {
  // The flags say nothing here: a date or a pattern does not convert to one.
  document.set_expression("when", "new Date(0)");
  document.set_expression("pattern", "/x/");
  struct Case {
    const char *path;
    int code;
  } cases[] = {
      {"", 4},           {"words_result", 5}, {"words_result_num", 2}, {"flag", 1},
      {"obj.y", 6},      {"empty", 6},        {"nothing", 0},          {"missing", 0},
      {"missing.x", -1}, {"when", -1},        {"pattern", -1},         {"obj..y", -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(document.type_of(c.path), c.code);
  }
}

TEST_F(JsonQueryTest, MemberNamesOfObjectsOnly) {
  TextArray names{"replaced"};
  EXPECT_EQ(document.member_names(names, "obj"), 2);
  EXPECT_EQ(names, (TextArray{"x", "y"}));
  // Function members are left out; so are the two every object inherits.
  document.set_expression("obj.f", "function () {}");
  ASSERT_EQ(document.type_of("obj.f"), -1);
  EXPECT_EQ(document.member_names(names, "obj"), 2);
  for (const char *path : {"list", "obj.y", "missing", "nothing", "missing.x"}) {
    SCOPED_TRACE(path);
    names = TextArray{"stale"};
    EXPECT_EQ(document.member_names(names, path), 0);
    EXPECT_EQ(names.Count(), 0);
  }
}

// The engine enumerates members in the order they were made, numeric names
// included (an ES2015 engine would put "10" and "2" first, ascending).
TEST(JsonQueryOrder, MemberNamesComeInCreationOrder) {
  JsonObject document;
  ASSERT_TRUE(document.parse("{\"b\":1,\"a\":2,\"10\":3,\"2\":4}"));
  TextArray names;
  EXPECT_EQ(document.member_names(names, ""), 4);
  EXPECT_EQ(names, (TextArray{"b", "a", "10", "2"}));
  EXPECT_EQ(document.to_json(), "{\"b\":1,\"a\":2,\"10\":3,\"2\":4}");
}

TEST_F(JsonQueryTest, ArrayLengthOfArraysOnly) {
  EXPECT_EQ(document.array_length("words_result"), 3);
  EXPECT_EQ(document.array_length("list"), 3);
  for (const char *path : {"obj", "obj.y", "missing", "nothing", "", "missing.x"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(document.array_length(path), 0);
  }
}

TEST_F(JsonQueryTest, NumbersAndElements) {
  EXPECT_EQ(document.get_number("num"), 0.5);
  EXPECT_EQ(document.get_number("words_result_num"), 3);
  EXPECT_EQ(document.get_number("obj.y"), 0);
  EXPECT_EQ(document.get_number("missing"), 0);
  // A flag comes through COM as VARIANT_TRUE, which is -1.
  EXPECT_EQ(document.get_number("flag"), -1);

  EXPECT_EQ(document.get_element_text(1, "list"), "b");
  EXPECT_EQ(document.get_element_text(1, "list", true), "\"b\"");
  // Without a toString step only string elements read as plain text.
  EXPECT_EQ(document.get_element_text(2, "list"), "");
  EXPECT_EQ(document.get_element_text(2, "list", true), "7");
  EXPECT_EQ(document.get_element_text(0, "words_result"), "");
  EXPECT_EQ(document.get_element_text(0, "words_result", true), "{\"words\":\"first\"}");
  EXPECT_EQ(document.get_element_text(9, "list"), "");
  EXPECT_EQ(document.get_element_text(9, "list", true), "");
}

TEST_F(JsonQueryTest, ObjectsReadOutAreIndependent) {
  JsonObject part = document.get_object("obj");
  EXPECT_EQ(part.to_json(), "{\"x\":1,\"y\":\"two\"}");
  EXPECT_EQ(part.get_text("words_result_num"), "");
  ASSERT_TRUE(part.set_value("x", "9", true));
  ASSERT_TRUE(document.set_value("obj.z", "3", true));
  EXPECT_EQ(document.get_text("obj.x"), "1");
  EXPECT_EQ(part.get_text("z"), "");

  JsonObject line = document.get_element_object(1, "words_result");
  EXPECT_EQ(line.get_text("words"), "\xd6\xd0\xce\xc4");
  JsonObject absent = document.get_object("missing");
  EXPECT_EQ(absent.type_of(""), 0);
  EXPECT_FALSE(AutoIsEmpty(absent.get_engine()));
}

TEST(JsonBackslashes, StandInCharacterReadsAsABackslash) {
  JsonObject document;
  ASSERT_TRUE(document.parse("{\"parsed\":\"a\\u2400b\"}"));
  EXPECT_EQ(document.get_text("parsed"), "a\\b");

  const Text path = "C:\\new\\table";
  document.set_value("stored", path);
  EXPECT_EQ(document.get_text("stored"), path);
  // Not doubled in JSON mode either: the stand-in is replaced after escaping.
  EXPECT_EQ(document.get_text("stored", true), "\"" + path + "\"");
  EXPECT_EQ(engine_eval_text(document, "da.stored.length"), "12");
  // A copy keeps the stand-ins, so the text reads back the same through it.
  JsonObject copy = document.get_object("");
  EXPECT_EQ(copy.get_text("stored"), path);
  EXPECT_EQ(copy.get_text("parsed"), "a\\b");
}

TEST(JsonCopies, CharactersOutsideCodePage936SurviveACopy) {
  JsonObject document;
  ASSERT_TRUE(document.parse("{\"t\":\"\\u0e01\\ud83d\\ude00\\u4e2d\"}"));
  JsonObject copy = document.get_object("");
  EXPECT_EQ(
      engine_eval_text(copy, "da.t.length + ':' + da.t.charCodeAt(0) + ':' + da.t.charCodeAt(2)"),
      "4:3585:56832");
}

} // namespace
