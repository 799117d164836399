// Form fields, Base64 and JSON text: the parsing and quoting around the
// protocol.
#include <gtest/gtest.h>

#include "service/base64_decode.h"
#include "service/form.h"
#include "service/json_text.h"
#include "service/request_log.h"

namespace ocr_service {
namespace {

TEST(FormTest, FieldsAreSplitAndDecoded) {
  FormFields fields = parse_form("a=1&b=x%2By+z&&flag&c=%zz&a=2&=v");
  EXPECT_EQ(
      fields,
      (FormFields{{"a", "1"}, {"b", "x+y z"}, {"flag", ""}, {"c", "%zz"}, {"a", "2"}, {"", "v"}}));
  EXPECT_EQ(form_value(fields, "a"), "1");
  EXPECT_EQ(form_value(fields, "flag"), "");
  EXPECT_EQ(form_value(fields, "missing"), std::nullopt);
  EXPECT_EQ(form_decode("%E4%B8%AD%2"), "\xe4\xb8\xad%2");
}

TEST(FormTest, QueryOfTarget) {
  EXPECT_EQ(query_of("/p?access_token=t&x=1"), "access_token=t&x=1");
  EXPECT_EQ(query_of("/p?a=1#frag"), "a=1");
  EXPECT_EQ(query_of("/p"), "");
}

TEST(Base64DecodeTest, Table) {
  struct Case {
    const char *text;
    std::optional<std::string> bytes;
  } cases[] = {
      {"", ""},
      {"Zg==", "f"},
      {"Zm8=", "fo"},
      {"Zm9v", "foo"},
      {"Zm9vYg", "foob"},         // padding left off
      {"Zm9v\r\nYmFy", "foobar"}, // line breaks
      {"-_8", "\xfb\xff"},        // URL-safe alphabet
      {"+/8=", "\xfb\xff"},
      {" /8=", "\xfb\xff"}, // '+' turned into a space by form decoding
      {"Zm9v!", std::nullopt},
      {"Zm9vY", std::nullopt},    // a dangling sixth of a byte
      {"Zg==Zg==", std::nullopt}, // padding inside
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    auto bytes = base64_decode(c.text);
    ASSERT_EQ(bytes.has_value(), c.bytes.has_value());
    if (bytes) {
      EXPECT_EQ(std::string(bytes->begin(), bytes->end()), *c.bytes);
    }
  }
}

TEST(JsonTextTest, Quoting) {
  struct Case {
    const char *text, *json;
  } cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
      {"a\tb\nc\x01", "\"a\\tb\\nc\\u0001\""},
      {"中文 50%", "\"中文 50%\""},
      {"\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""},                 // overlong
      {"\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""}, // surrogate
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(json_string(c.text), c.json);
  }
}

TEST(RequestLogTest, LineNamesRequestAndNothingUnsafe) {
  EXPECT_EQ(format_log_line("POST", "/rest/2.0/ocr/v1/general_basic", 200, "216201", 42),
            "POST /rest/2.0/ocr/v1/general_basic 200 error=216201 42ms");
  EXPECT_EQ(format_log_line("GET", "/a\nFAKE 200", 404, "3", 0), "GET /a?FAKE?200 404 error=3 0ms");
  EXPECT_EQ(format_log_line("GET", std::string(300, 'x'), 404, "3", 0).size(),
            std::string("GET ").size() + 200 + 3 + std::string(" 404 error=3 0ms").size());
}

} // namespace
} // namespace ocr_service
