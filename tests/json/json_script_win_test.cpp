// The embedded script's JSON definitions, called directly in the engine.
#include "json/json_object.h"

#include <gtest/gtest.h>

#include "tests/json/json_engine_probe.h"

namespace {

class JsonScriptTest : public testing::Test {
protected:
  Text eval(const Text &script) const { return engine_eval_text(document, script); }
  // The name of the error JSON.parse throws for a text, or "parsed".
  Text parse_outcome(const Text &text_expression) const {
    return eval(
        "(function (t) { try { JSON.parse(t); return 'parsed' } catch (e) { return e.name } "
        "})(" +
        text_expression + ")");
  }
  JsonObject document;
};

TEST_F(JsonScriptTest, StringifyEscapes) {
  struct Case {
    const char *codes;
    const char *json;
  } cases[] = {
      {"8,9,10,12,13,34,92", "\"\\b\\t\\n\\f\\r\\\"\\\\\""},
      {"0,31,127,159,173", "\"\\u0000\\u001f\\u007f\\u009f\\u00ad\""},
      {"0x600,0x604,0x70f,0x17b4,0x17b5", "\"\\u0600\\u0604\\u070f\\u17b4\\u17b5\""},
      {"0x200c,0x200f,0x2028,0x202f,0x2060,0x206f",
       "\"\\u200c\\u200f\\u2028\\u202f\\u2060\\u206f\""},
      {"0xfeff,0xfff0,0xffff", "\"\\ufeff\\ufff0\\uffff\""},
      {"47,32,126,0xa0,0x605,0x2030", nullptr}, // written as they are
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.codes);
    const Text value = Text("String.fromCharCode(") + c.codes + ")";
    if (c.json) {
      EXPECT_EQ(eval("JSON.stringify(" + value + ")"), c.json);
    } else {
      EXPECT_EQ(eval("JSON.stringify(" + value + ") == '\"' + " + value + " + '\"' ? 'same' : ''"),
                "same");
    }
  }
  // The backslash stand-in is not escaped, so the readers can turn it back.
  EXPECT_EQ(eval("JSON.stringify(str_Code) == '\"' + str_Code + '\"' ? 'same' : ''"), "same");
}

TEST_F(JsonScriptTest, StringifyWritesValuesAsJson) {
  struct Case {
    const char *value;
    const char *json;
  } cases[] = {
      {"[NaN, Infinity, -Infinity, 1.5, -0]", "[null,null,null,1.5,0]"},
      {"{a: undefined, b: function () {}, c: [undefined, function () {}]}", "{\"c\":[null,null]}"},
      {"[new String('s'), new Number(1), new Boolean(false)]", "[\"s\",1,false]"},
      {"new Date(Date.UTC(2024, 0, 2, 3, 4, 5))", "\"2024-01-02T03:04:05Z\""},
      {"new Date(NaN)", "null"},
      {"(function () { function F() { this.own = 1 } F.prototype.inherited = 2; return new F })()",
       "{\"own\":1}"},
      {"{'\\u4e2d': '\\u4e2d'}", "{\"\xd6\xd0\":\"\xd6\xd0\"}"},
      {"{}", "{}"},
      {"[]", "[]"},
      {"{toJSON: function () { return 'mine' }}", "\"mine\""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(eval(Text("JSON.stringify(") + c.value + ")"), c.json);
  }
  EXPECT_EQ(eval("typeof JSON.stringify(undefined)"), "undefined");
  EXPECT_EQ(eval("typeof JSON.stringify(function () {})"), "undefined");
}

TEST_F(JsonScriptTest, StringifyReplacerAndSpace) {
  EXPECT_EQ(eval("JSON.stringify({a: 1, b: [1, 2], c: {}}, null, 2)"),
            "{\n  \"a\": 1,\n  \"b\": [\n    1,\n    2\n  ],\n  \"c\": {}\n}");
  EXPECT_EQ(eval("JSON.stringify([1], null, '--')"), "[\n--1\n]");
  EXPECT_EQ(eval("JSON.stringify({a: 1, b: 2, c: 3}, ['c', 'a'])"), "{\"c\":3,\"a\":1}");
  EXPECT_EQ(eval("JSON.stringify({a: 1, b: 'x'}, function (k, v) { "
                 "return typeof v === 'number' ? v * 10 : v })"),
            "{\"a\":10,\"b\":\"x\"}");
}

TEST_F(JsonScriptTest, StringifyRefusesCycles) {
  EXPECT_EQ(eval("(function () { var a = {}; a.self = a; try { return JSON.stringify(a) } "
                 "catch (e) { return e.name } })()"),
            "TypeError");
  // The same object twice, side by side, is not a cycle.
  EXPECT_EQ(eval("(function () { var a = [1]; return JSON.stringify([a, a]) })()"), "[[1],[1]]");
}

TEST_F(JsonScriptTest, ParseLoadsJson) {
  EXPECT_EQ(eval("JSON.parse('{\"a\":[1,\"x\",true,null]}').a[1]"), "x");
  EXPECT_EQ(eval("JSON.parse(' [1, 2.5e1] ')[1]"), "25");
  EXPECT_EQ(eval("JSON.parse('\"\\\\u4e2d\"')"), "\xd6\xd0");
  EXPECT_EQ(eval("JSON.parse('0')"), "0");
  // Line separators are legal inside JSON strings, unlike script literals.
  EXPECT_EQ(eval("JSON.parse('\"a' + String.fromCharCode(0x2028, 0x2029) + 'b\"').length"), "4");
}

TEST_F(JsonScriptTest, ParseRefusesAnythingElseWithoutRunningIt) {
  const char *texts[] = {
      "made_by_parse = 1",
      "(function () { made_by_parse = 1 })()",
      "{\"a\": (made_by_parse = 1)}",
      "{\"a\":1} // c",
      "{a:1}",
      "[1,]",
      "'x'",
      "",
      "[1] [2]",
      "{\"a\" 1}",
      "\"\\x41\"",
  };
  for (const char *text : texts) {
    SCOPED_TRACE(text);
    document.set_value("t", text);
    EXPECT_EQ(parse_outcome("da.t.replace(str_reg, '\\\\')"), "SyntaxError");
    EXPECT_EQ(engine_typeof(document, "made_by_parse"), "undefined");
  }
}

TEST_F(JsonScriptTest, ParseReviver) {
  EXPECT_EQ(eval("JSON.stringify(JSON.parse('{\"a\":1,\"b\":{\"c\":2},\"d\":[3]}', "
                 "function (k, v) { return typeof v === 'number' ? v * 10 : v }))"),
            "{\"a\":10,\"b\":{\"c\":20},\"d\":[30]}");
  EXPECT_EQ(eval("JSON.stringify(JSON.parse('{\"a\":1,\"b\":2}', "
                 "function (k, v) { return k === 'a' ? undefined : v }))"),
            "{\"b\":2}");
}

TEST_F(JsonScriptTest, ParseHandlesDepthAndSizeWithoutRecursion) {
  EXPECT_EQ(parse_outcome("new Array(10001).join('[') + new Array(10001).join(']')"),
            "SyntaxError");
  EXPECT_EQ(parse_outcome("new Array(1001).join('[') + new Array(1001).join(']')"), "parsed");
  // A megabyte of strings and numbers.
  EXPECT_EQ(eval("(function () { var piece = '\"abcdefghij\\\\n\",12345,'; var parts = []; "
                 "for (var i = 0; i < 50000; i++) parts.push(piece); "
                 "var text = '[' + parts.join('') + '0]'; "
                 "return text.length > 1000000 && JSON.parse(text).length })()"),
            "100001");
}

TEST_F(JsonScriptTest, EveryObjectHasToJsonStringAndParseJson) {
  EXPECT_EQ(eval("({a: [1]}).toJSONString()"), "{\"a\":[1]}");
  EXPECT_EQ(eval("'{\"a\":2}'.parseJSON().a"), "2");
  // They are enumerable, which is why the member listing skips functions.
  EXPECT_EQ(eval("(function () { var n = []; for (var k in {}) n.push(k); return n.join() })()"),
            "toJSONString,parseJSON");
}

} // namespace
