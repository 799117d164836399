// Real recognition over HTTPS: rendered fixtures (Chinese and English lines,
// PNG, JPEG, 24-bit BMP and the program's own 44-byte-header BMP) read by
// Tesseract workers in the server.
#include <gtest/gtest.h>

#include "service/image_decode.h"
#include "service/tesseract_engine.h"
#include "test_server.h"

namespace ocr_service::testing {
namespace {

class RecognitionTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    limit_engine_threads();
    quiet_image_library();
    server_ = new TestServer(2, 8, [] { return std::make_unique<TesseractEngine>(""); });
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  static std::string answer(const std::vector<std::string> &lines) {
    std::string body = "{\"log_id\":N,\"words_result_num\":" + std::to_string(lines.size()) +
                       ",\"words_result\":[";
    for (std::size_t i = 0; i < lines.size(); ++i)
      body += (i ? ",{\"words\":\"" : "{\"words\":\"") + lines[i] + "\"}";
    return body + "]}";
  }
  static std::string expected(const std::string &picture) {
    return answer(split_lines(read_fixture_text(picture.substr(0, picture.rfind('.')) + ".txt")));
  }

  static TestServer *server_;
};
TestServer *RecognitionTest::server_ = nullptr;

TEST_F(RecognitionTest, ReadsRenderedLinesInEveryFormat) {
  struct Case {
    const char *picture, *endpoint, *fields;
  } cases[] = {
      {"chinese_line.png", "accurate_basic", ""},
      {"chinese_line.png", "general_basic", ""},
      {"english_line.jpg", "accurate_basic", "&language_type=ENG"},
      {"english_line.jpg", "accurate_basic", ""},
      {"dark_ground.bmp", "accurate_basic", ""},
      {"capture_44.bmp", "accurate_basic", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " " + c.endpoint + c.fields);
    Reply reply = server_->recognize(c.endpoint, read_fixture(c.picture), c.fields);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(without_log_id(reply.body), expected(c.picture));
  }
}

TEST_F(RecognitionTest, ConcurrentCapturesAreAllReadRight) {
  auto picture = read_fixture("capture_44.bmp");
  std::vector<std::string> bodies(3);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    threads.emplace_back([&, i] {
      bodies[i] = without_log_id(
          server_->recognize(i % 2 ? "general_basic" : "accurate_basic", picture).body);
    });
  }
  for (std::thread &thread : threads)
    thread.join();
  for (const std::string &body : bodies)
    EXPECT_EQ(body, expected("capture_44.bmp"));
}

TEST_F(RecognitionTest, OwnCaptureWithoutPixelsIsASizeError) {
  // What the program stores when the clipboard held no bitmap: 58 bytes,
  // header size 44, every size field 0.
  std::vector<std::uint8_t> empty(58, 0);
  empty[0] = 'B';
  empty[1] = 'M';
  empty[2] = 58;
  empty[10] = 58;
  empty[14] = 44;
  Reply reply = server_->recognize("accurate_basic", empty);
  EXPECT_EQ(without_log_id(reply.body), error_body(216202, "image size error"));
}

TEST_F(RecognitionTest, PictureThatDoesNotDecodeIsAFormatError) {
  auto picture = read_fixture("english_line.jpg");
  picture.resize(picture.size() / 3); // the header is whole, the scan is not
  picture.resize(picture.size() + 2, 0);
  Reply reply = server_->recognize("general_basic", picture);
  // Leptonica reads what it can of a cut JPEG; either it reads nothing
  // usable or it refuses: never an internal error or a crash.
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body.find("282000"), std::string::npos) << reply.body;
  auto bmp = read_fixture("capture_44.bmp");
  bmp.resize(bmp.size() / 2);
  EXPECT_EQ(without_log_id(server_->recognize("accurate_basic", bmp).body),
            error_body(216201, "image format error"));
}

} // namespace
} // namespace ocr_service::testing
