// The real thing: the program against the local OCR server, recognising the
// rendered sample picture.
#include <chrono>
#include <thread>

#include "tests/e2e/e2e_fixture.h"

namespace {

class LocalServerTest : public testing::Test {
protected:
  void SetUp() override {
    state_ = session.directory() + "/server-state";
    std::string listen = "127.0.0.1:" + std::to_string(built_in_service_port());
    server_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        e2e_settings().ocr_server, "--listen", listen, "--state-dir", state_, "--workers", "1"});
    ASSERT_TRUE(server_->started());
    // Ready once its certificate exists and it accepts a token request.
    bool ready = false;
    for (int i = 0; i < 300 && !ready && server_->running(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      ready = run_program({"curl", "-sk", "-o", "/dev/null", "https://" + listen + "/"}, 5000) == 0;
    }
    ASSERT_TRUE(ready) << "lumiscribe-ocr-server did not start on " << listen;
    session.put_picture(read_file(e2e_settings().sample));
    ASSERT_TRUE(session.start());
  }

  void TearDown() override {
    if (server_)
      server_->kill();
  }

  LumiscribeSession session;
  std::string state_;
  std::unique_ptr<ChildProcess> server_;
};

TEST_F(LocalServerTest, RecognisesTheSamplePicture) {
  ASSERT_TRUE(session.press(kRecogniseButton));
  EXPECT_EQ(session.text("edit"), "Lumiscribe 识别示例\r\n"
                                  "截图识字，免费好用\r\n"
                                  "The quick brown fox jumps over the lazy dog\r\n"
                                  "OCR 2024\r\n");
}

} // namespace
