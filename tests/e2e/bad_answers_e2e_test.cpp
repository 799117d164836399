// What a broken or hostile service can send: the program stays up and
// appends nothing wrong.
#include <filesystem>

#include "tests/e2e/e2e_fixture.h"

namespace {

TEST_F(E2eTest, AnswersThatAreNotJsonAppendNothing) {
  struct Case {
    const char *what;
    FakeAnswer answer;
  } cases[] = {
      {"HTML", {200, "<html><body>502 Bad Gateway</body></html>", "text/html"}},
      {"truncated JSON", {200, R"({"words_result_num":2,"words_result":[{"words":"a"})"}},
      {"an error document", {500, R"({"error_code":282000,"error_msg":"internal error"})"}},
      {"nothing", {200, ""}},
      {"binary",
       {200, std::string("\x00\xff\xfe{\"words_result_num\":1}", 24), "application/octet-stream"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    service->answer_recognition(c.answer);
    EXPECT_EQ(recognise(), "");
    EXPECT_TRUE(session.alive());
  }
}

TEST_F(E2eTest, JavaScriptInsteadOfJsonIsNeverRun) {
  // Each would append a line or leave a file behind if it ran.
  std::string marker = session.directory() + "/ran.txt";
  std::string windows_marker = "Z:" + marker;
  for (char &c : windows_marker)
    if (c == '/')
      c = '\\';
  std::string escaped;
  for (char c : windows_marker)
    escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  const std::string scripts[] = {
      R"({"words_result_num":1,"words_result":[{"words":"x"+"y"}]})",
      "(function(){return {words_result_num:1,words_result:[{words:'ran'}]}})()",
      "{words_result_num:1,words_result:[{words:'ran'}]}",
      "new ActiveXObject('Scripting.FileSystemObject').CreateTextFile('" + escaped + "')",
      R"({"words_result_num":1,"words_result":[{"words":"a"}]}; da = {words_result_num:1})",
  };
  for (const auto &script : scripts) {
    SCOPED_TRACE(script);
    service->answer_recognition({200, script, "application/javascript"});
    EXPECT_EQ(recognise(), "");
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_TRUE(session.alive());
}

TEST_F(E2eTest, FiveMegabyteAnswerIsReadWhole) {
  std::string padding(5 * 1024 * 1024, 'p');
  std::string answer =
      R"({"log_id":1,"padding":")" + padding +
      R"(","words_result_num":2,"words_result":[{"words":"after"},{"words":"five megabytes"}]})";
  service->answer_recognition({200, answer});
  EXPECT_EQ(recognise(), "after\r\nfive megabytes\r\n");
  EXPECT_TRUE(session.alive());
}

TEST_F(E2eTest, HugeCountIsCappedAndTheProgramStaysResponsive) {
  service->answer_recognition({200, words_answer_with_count("2147483647", {"one"})});
  std::string text = recognise();
  EXPECT_EQ(text.substr(0, 5), "one\r\n");
  EXPECT_EQ(text.size(), 5u + 2u * (10000 - 1));
  EXPECT_TRUE(session.alive());
}

TEST_F(E2eTest, NoServiceListeningAppendsNothing) {
  service.reset(); // the port is closed now
  EXPECT_EQ(recognise(), "");
  EXPECT_TRUE(session.alive());
  EXPECT_TRUE(session.press(kClearButton));
}

} // namespace
