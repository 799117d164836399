// Edits by path, against the real script engine. The flag each edit returns
// is what its statement yields, taken as a flag by the automation layer.
#include "json/json_object.h"

#include <gtest/gtest.h>

#include "tests/json/json_engine_probe.h"

namespace {

class JsonEditTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(document.parse("{\"s\":\"old\",\"b\":true,\"n\":1,\"o\":{\"a\":\"x\",\"k\":[1]},"
                               "\"list\":[1,2,3]}"));
  }
  JsonObject document;
};

TEST_F(JsonEditTest, TextModeStoresTheTextExactly) {
  const Text awkward = "back\\slash 'single' \"double\"\r\nline\\";
  document.set_value("s", awkward);
  EXPECT_EQ(document.get_text("s"), awkward);
  EXPECT_EQ(document.get_text("s", true), "\"back\\slash 'single' \\\"double\\\"\\r\\nline\\\"");

  // A code page 936 character whose trail byte is 0x5C, next to the
  // characters the escaping changes.
  const Text trail = "\x95\x5c'\x95\x5c\"\x95\x5c\\\x95\x5c";
  document.set_value("t", trail);
  EXPECT_EQ(document.get_text("t"), trail);
  EXPECT_EQ(engine_eval_text(document, "da.t.length"), "7");
}

TEST_F(JsonEditTest, TextModeResultIsTheStringAsAFlag) {
  EXPECT_FALSE(document.set_value("created", "abc"));
  EXPECT_EQ(document.get_text("created"), "abc");
  // A string that reads as a number or a flag converts to one.
  EXPECT_TRUE(document.set_value("one", "1"));
  EXPECT_FALSE(document.set_value("zero", "0"));
  EXPECT_EQ(document.type_of("one"), 6);
}

TEST_F(JsonEditTest, TextModeOnAMemberOfAnAbsentMemberFails) {
  const Text before = document.to_json();
  EXPECT_FALSE(document.set_value("missing.x", "v"));
  EXPECT_EQ(document.to_json(), before);
}

TEST_F(JsonEditTest, JsonModeAssignsOrMerges) {
  struct Case {
    const char *path;
    const char *value;
    const char *after; // the value at path afterwards, as JSON
  } cases[] = {
      {"o", "", "{\"a\":\"x\",\"k\":[1]}"}, // {} merged: nothing changes
      {"o", "{\"a\":\"y\",\"new\":2}", "{\"a\":\"y\",\"k\":[1],\"new\":2}"},
      {"o", "{\"k\":[2,3]}", "{\"a\":\"x\",\"k\":[1,2,3]}"}, // merged into the inner array
      {"list", "{\"a\":1}", "[1,2,3]"},                      // an object has no length
      {"list", "[4,[5]]", "[1,2,3,4,[5]]"},
      {"fresh", "{\"a\":[1]}", "{\"a\":[1]}"},
      {"fresh", "\"text\"", "\"text\""}, // a string is stored, never run
      {"fresh", "", "{}"},               // an empty value makes an empty object
      {"s", "{\"a\":1}", "\"old\""},     // a string target has no members to merge
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.path) + " <- " + c.value);
    ASSERT_TRUE(document.parse("{\"s\":\"old\",\"o\":{\"a\":\"x\",\"k\":[1]},\"list\":[1,2,3]}"));
    document.set_value(c.path, c.value, true);
    EXPECT_EQ(document.get_json(c.path), c.after);
  }
}

// A number member of a plain object cannot be merged: the script stops at it,
// keeping what it merged before.
TEST_F(JsonEditTest, MergeStopsAtANumberMember) {
  EXPECT_FALSE(document.set_value("", "{\"s\":\"new\",\"n\":2,\"b\":false}", true));
  EXPECT_EQ(document.get_text("s"), "new");
  EXPECT_EQ(document.get_text("n"), "1");
  EXPECT_EQ(document.get_text("b"), "true");
}

TEST_F(JsonEditTest, InvalidJsonSourceChangesNothing) {
  const Text before = document.to_json();
  EXPECT_FALSE(document.set_value("s", "{broken", true));
  EXPECT_FALSE(document.set_value("x", "{broken", true));
  EXPECT_EQ(document.to_json(), before);
}

TEST_F(JsonEditTest, SetExpressionStoresTheExpressionsValue) {
  EXPECT_TRUE(document.set_expression("sum", "1 + 2"));
  EXPECT_EQ(document.get_text("sum"), "3");
  document.set_expression("word", "'abc'.toUpperCase()");
  EXPECT_EQ(document.get_text("word"), "ABC");
  EXPECT_FALSE(document.set_expression("bad", "1 +"));
  EXPECT_EQ(document.type_of("bad"), 0);
}

TEST_F(JsonEditTest, PushAppendsAndMakesArrays) {
  EXPECT_TRUE(document.push("4", "list", true));
  EXPECT_EQ(document.get_json("list"), "[1,2,3,4]");
  EXPECT_TRUE(document.push("{\"a\":1}", "list", true));
  EXPECT_EQ(document.get_json("list[4]"), "{\"a\":1}");
  EXPECT_TRUE(document.push("word", "s"));
  EXPECT_EQ(document.get_json("s"), "[\"word\"]");
  EXPECT_TRUE(document.push("x", "absent"));
  EXPECT_EQ(document.get_json("absent"), "[\"x\"]");
  EXPECT_TRUE(document.push("\xd6\xd0", "absent"));
  EXPECT_EQ(document.get_element_text(1, "absent"), "\xd6\xd0");
}

TEST_F(JsonEditTest, TextWithAQuoteIsRefusedWhole) {
  const Text before = document.to_json();
  EXPECT_FALSE(document.push("it's", "s"));
  EXPECT_FALSE(document.push("x'); da.injected = ('1", "list"));
  EXPECT_FALSE(document.set_element(0, "list", "x'; da.injected = '1"));
  EXPECT_EQ(document.to_json(), before);
  EXPECT_EQ(document.type_of("s"), 6); // not turned into an array either
}

TEST_F(JsonEditTest, SetElement) {
  EXPECT_TRUE(document.set_element(1, "list", "9", true));
  EXPECT_FALSE(document.set_element(0, "list", "0", true)); // the value 0 as a flag
  document.set_element(4, "list", "far");
  EXPECT_EQ(document.get_json("list"), "[0,9,3,null,\"far\"]");
  EXPECT_FALSE(document.set_element(0, "missing.list", "1", true));
}

TEST_F(JsonEditTest, RemoveElementAndRemove) {
  // The array of removed elements comes back, which the engine gives as true.
  EXPECT_TRUE(document.remove_element(1, "list"));
  EXPECT_EQ(document.get_json("list"), "[1,3]");
  document.remove_element(7, "list");
  EXPECT_EQ(document.get_json("list"), "[1,3]");
  EXPECT_FALSE(document.remove_element(0, "s"));

  EXPECT_TRUE(document.remove("o.a"));
  EXPECT_EQ(document.get_json("o"), "{\"k\":[1]}");
  EXPECT_TRUE(document.remove("never_there"));
  EXPECT_FALSE(document.remove("missing.x"));
}

TEST_F(JsonEditTest, SetNumberReturnsTheNumberAsAFlag) {
  EXPECT_FALSE(document.set_number("n", 0));
  EXPECT_EQ(document.get_json("n"), "0");
  EXPECT_TRUE(document.set_number("n", -2.5));
  EXPECT_EQ(document.get_number("n"), -2.5);
  // Stored exactly, though the engine writes at most 15 digits.
  EXPECT_TRUE(document.set_number("n", 0.1 + 0.2));
  EXPECT_EQ(document.get_number("n"), 0.1 + 0.2);
  EXPECT_EQ(document.get_text("n"), "0.3");
  EXPECT_TRUE(document.set_number("n", 1e21));
  EXPECT_EQ(document.get_text("n"), "1E+21");
  EXPECT_TRUE(document.set_number("n", 1.0 / 0.0));
  EXPECT_EQ(document.get_json("n"), "null");
  EXPECT_FALSE(document.set_number("missing.n", 1));
}

TEST_F(JsonEditTest, ClearEmptiesTheDocument) {
  // The new empty object does not convert to a flag.
  EXPECT_FALSE(document.clear());
  EXPECT_EQ(document.to_json(), "{}");
  EXPECT_EQ(document.type_of(""), 4);
}

} // namespace
