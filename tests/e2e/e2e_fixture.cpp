#include "tests/e2e/e2e_fixture.h"

#include <algorithm>
#include <sstream>

namespace {

std::string json_string(const std::string &text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

} // namespace

std::string words_answer_with_count(const std::string &count,
                                    const std::vector<std::string> &lines) {
  std::string answer = "{\"log_id\":7203914551,";
  if (!count.empty())
    answer.append("\"words_result_num\":").append(count).append(",");
  answer.append("\"words_result\":[");
  for (std::size_t i = 0; i < lines.size(); ++i)
    answer.append(i ? ",{\"words\":" : "{\"words\":").append(json_string(lines[i])).append("}");
  return answer.append("]}");
}

std::string words_answer(const std::vector<std::string> &lines) {
  return words_answer_with_count(std::to_string(lines.size()), lines);
}

std::string request_line(const std::string &head) {
  return head.substr(0, head.find("\r\n"));
}

std::vector<std::string> header_lines(const std::string &head,
                                      const std::vector<std::string> &names) {
  std::vector<std::string> found;
  std::istringstream lines(head);
  std::string line;
  std::getline(lines, line); // the request line
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    std::string name = lower(line.substr(0, line.find(':')));
    for (const auto &wanted : names)
      if (name == lower(wanted))
        found.push_back(line);
  }
  return found;
}

void E2eTest::SetUp() {
  service = std::make_unique<FakeOcrService>(built_in_service_port());
  ASSERT_TRUE(service->listening())
      << "port " << built_in_service_port() << " is taken (is `make run` running?)";
  sample = read_file(e2e_settings().sample);
  ASSERT_FALSE(sample.empty());
  session.put_picture(sample);
  ASSERT_TRUE(session.start());
}

std::string E2eTest::recognise() {
  EXPECT_TRUE(session.press(kRecogniseButton));
  return session.text("edit");
}
