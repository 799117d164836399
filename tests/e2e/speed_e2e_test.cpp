// The time from pressing "开始识别" to the last appended line, for a picture
// the size of a 1920 x 1080 capture, against the scripted service (which
// answers at once, so nearly all of it is the program's own work). Run by
// `make bench` (bench/recognition_press_bench.sh); not part of the suite.
#include <algorithm>
#include <cstdio>
#include <random>

#include "tests/e2e/e2e_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

// A capture as the program writes it: 32 bits, header-size field 44, rows
// at 58. Screen-like content: flat areas with text-like noise.
std::string capture_bmp(int width, int height) {
  std::uint32_t image_size = std::uint32_t(width) * height * 4;
  std::string file(58 + image_size, '\0');
  auto put = [&file](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      file[at + i] = char(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, 58 + image_size, 4);
  put(10, 58, 4);
  put(14, 44, 4);
  put(18, std::uint32_t(width), 4);
  put(22, std::uint32_t(height), 4);
  put(26, 1, 2);
  put(28, 32, 2);
  put(34, image_size, 4);
  std::mt19937 random(7);
  for (std::size_t i = 58; i < file.size(); i += 4) {
    bool ink = random() % 9 == 0;
    file[i] = file[i + 1] = file[i + 2] = char(ink ? 30 : 240);
  }
  return file;
}

double ms(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST_F(E2eTest, DISABLED_PressToLastLineForAScreenCapture) {
  session.put_picture(capture_bmp(1920, 1080));
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i)
    lines.push_back("第 " + std::to_string(i + 1) + " 行 recognised text of a full screen");
  service->answer_recognition({200, words_answer(lines)});
  std::vector<double> total, before_token, between, upload, after_answer;
  std::size_t body_size = 0;
  for (int run = 0; run < 5; ++run) {
    ASSERT_TRUE(session.press(kClearButton));
    service->forget_requests();
    Clock::time_point pressed = Clock::now();
    ASSERT_TRUE(session.press(kRecogniseButton));
    Clock::time_point done = Clock::now();
    auto requests = service->requests();
    auto activity = service->connection_activity(); // start, end per connection
    ASSERT_EQ(requests.size(), 2u);
    ASSERT_EQ(activity.size(), 4u);
    body_size = requests[1].body.size();
    total.push_back(ms(done - pressed));
    before_token.push_back(ms(requests[0].arrived - pressed));
    between.push_back(ms(activity[2] - requests[0].arrived));
    upload.push_back(ms(requests[1].arrived - activity[2]));
    after_answer.push_back(ms(done - requests[1].arrived));
  }
  std::string expected;
  for (const auto &line : lines)
    expected += line + "\r\n";
  EXPECT_EQ(session.text("edit"), expected);
  std::printf("press to last line, 1920x1080 capture (%zu bytes), median of 5 runs:\n",
              capture_bmp(1920, 1080).size());
  std::printf("  total                                   %8.1f ms\n", median(total));
  std::printf("  press -> token request in               %8.1f ms  (client: script engine, "
              "connection)\n",
              median(before_token));
  std::printf("  token answered -> picture request opens %8.1f ms  (client: read, preview, "
              "Base64 + URL encoding)\n",
              median(between));
  std::printf("  picture request on the wire             %8.1f ms  (client sends, service "
              "reads %zu bytes)\n",
              median(upload), body_size);
  std::printf("  answer sent -> last line appended       %8.1f ms  (client: read, convert, "
              "parse, append)\n",
              median(after_answer));
}

} // namespace
