// The main window and the recognition sequence, end to end: the real program
// under Wine against the scripted service.
#include <filesystem>

#include "encoding/base64.h"
#include "encoding/percent.h"
#include "tests/e2e/e2e_fixture.h"

namespace {

const std::string kService = std::string("https://") + LUMISCRIBE_API_HOST;
const std::string kToken = "24.fake-token.2592000";

std::string expected_body(const std::string &picture) {
  return "image=" + url_encode(base64_encode(Bytes(picture.begin(), picture.end())));
}

TEST_F(E2eTest, StartsWithEmptyBoxesAndModeOneChecked) {
  EXPECT_EQ(session.text("main"), "Lumiscribe 免费版 更多免费软件请点击进群交流 660012345");
  EXPECT_EQ(session.text("edit"), "");
  EXPECT_TRUE(session.checked(kModeOne));
  EXPECT_FALSE(session.checked(kModeTwo));
  for (const auto &button : {kCaptureButton, kRecogniseButton, kClearButton, kAboutButton})
    EXPECT_EQ(session.command("enabled " + button), "ok 1") << button;
  ScreenRect main = session.rect("main");
  EXPECT_EQ(main.right - main.left, 1028);
  EXPECT_EQ(main.bottom - main.top, 545);
  EXPECT_TRUE(service->requests().empty());
}

TEST_F(E2eTest, TokenRequestIsExactlyAsTheProtocolSays) {
  service->answer_recognition({200, words_answer({"one"})});
  EXPECT_EQ(recognise(), "one\r\n");
  auto requests = service->requests();
  ASSERT_EQ(requests.size(), 2u);
  const ReceivedRequest &token = requests[0];
  EXPECT_EQ(request_line(token.head), "POST /oauth/2.0/token? HTTP/1.1");
  EXPECT_EQ(header_lines(token.head, {"Accept", "Referer", "Accept-Language", "Content-Type"}),
            (std::vector<std::string>{"Accept: */*", "Referer: " + kService + "/oauth/2.0/token?",
                                      "Accept-Language: zh-cn",
                                      "Content-Type: application/x-www-form-urlencoded"}));
  EXPECT_EQ(
      header_lines(token.head, {"User-Agent"}),
      std::vector<std::string>{"User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"});
  EXPECT_EQ(token.body, std::string("grant_type=client_credentials&client_id=") +
                            LUMISCRIBE_API_KEY + "&client_secret=" + LUMISCRIBE_SECRET_KEY);
}

TEST_F(E2eTest, RecognitionRequestGoesToTheEndpointTheSwitchesChoose) {
  recognise();
  session.click(kModeTwo); // the user's real click
  EXPECT_TRUE(session.checked(kModeTwo));
  EXPECT_FALSE(session.checked(kModeOne));
  recognise();
  auto requests = service->requests();
  ASSERT_EQ(requests.size(), 4u);
  const std::string accurate = "/rest/2.0/ocr/v1/accurate_basic?access_token=" + kToken;
  const std::string general = "/rest/2.0/ocr/v1/general_basic?access_token=" + kToken;
  EXPECT_EQ(request_line(requests[1].head), "POST " + accurate + " HTTP/1.1");
  EXPECT_EQ(request_line(requests[3].head), "POST " + general + " HTTP/1.1");
  for (auto [request, path] : {std::pair(requests[1], accurate), std::pair(requests[3], general)}) {
    EXPECT_EQ(request.body, expected_body(sample));
    EXPECT_EQ(header_lines(request.head, {"Referer", "Content-Type"}),
              (std::vector<std::string>{"Referer: " + kService + path,
                                        "Content-Type: application/x-www-form-urlencoded"}));
  }
}

TEST_F(E2eTest, ResultBoxShowsWhatTheAnswerHolds) {
  struct Case {
    const char *what;
    std::string answer;
    std::string appended;
  } cases[] = {
      {"three lines", words_answer({"first", "second", "third"}), "first\r\nsecond\r\nthird\r\n"},
      {"none", words_answer({}), ""},
      {"no words_result_num", words_answer_with_count("", {"unseen"}), ""},
      {"fewer entries than the count", words_answer_with_count("3", {"only"}), "only\r\n\r\n\r\n"},
      {"Chinese", words_answer({"截图识字，免费好用", "第二行：中文"}),
       "截图识字，免费好用\r\n第二行：中文\r\n"},
      {"percent signs stay", words_answer({"50% off", "%41%42 100%"}),
       "50% off\r\n%41%42 100%\r\n"},
      {"a count that is not a number", words_answer_with_count("\"2\"", {"a", "b", "c"}),
       "a\r\nb\r\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    service->answer_recognition({200, c.answer});
    ASSERT_TRUE(session.press(kClearButton));
    EXPECT_EQ(recognise(), c.appended);
  }
}

TEST_F(E2eTest, PressingTwiceAppendsTheLinesTwice) {
  service->answer_recognition({200, words_answer({"alpha", "beta"})});
  recognise();
  EXPECT_EQ(recognise(), "alpha\r\nbeta\r\nalpha\r\nbeta\r\n");
  EXPECT_EQ(service->requests().size(), 4u); // a fresh token each time
}

TEST_F(E2eTest, WithoutPictureFileBothRequestsAreStillSent) {
  std::filesystem::remove(session.directory() + "/1.jpg");
  service->answer_recognition({200, words_answer({"from the service"})});
  EXPECT_EQ(recognise(), "from the service\r\n");
  auto requests = service->requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].body, "image=");
  EXPECT_TRUE(session.alive());
}

TEST_F(E2eTest, ClearEmptiesTheResultBoxOnly) {
  service->answer_recognition({200, words_answer({"kept?"})});
  recognise();
  std::string preview_before = session.pixel("picture", 240, 224);
  ASSERT_TRUE(session.press(kClearButton));
  EXPECT_EQ(session.text("edit"), "");
  EXPECT_EQ(session.pixel("picture", 240, 224), preview_before);
  EXPECT_EQ(read_file(session.directory() + "/1.jpg"), sample);
}

TEST_F(E2eTest, BuiltInPictureThenRecognitionShowsAndSendsThePictureFile) {
  std::string blank = session.pixel("picture", 240, 224);
  ASSERT_TRUE(session.press(kAboutButton));
  std::string about = session.pixel("picture", 240, 224);
  EXPECT_NE(about, blank); // the about card is dark where the empty box is grey
  EXPECT_TRUE(service->requests().empty());
  recognise();
  // The sample is white around its text; the about card is gone.
  EXPECT_EQ(session.pixel("picture", 30, 160), "ffffff");
  auto requests = service->requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].body, expected_body(sample));
}

TEST_F(E2eTest, EscEndsTheProgramEvenFromTheResultBox) {
  session.click("edit");
  session.key("Escape");
  EXPECT_EQ(session.wait_for_exit(20000), std::optional<int>(0));
}

TEST_F(E2eTest, EnterInTheResultBoxBreaksTheLineAndKeepsTheWindow) {
  session.click("edit");
  run_program({"xdotool", "key", "a", "b", "Return", "c"});
  EXPECT_EQ(session.text("edit"), "ab\r\nc");
  EXPECT_TRUE(session.alive());
}

} // namespace
