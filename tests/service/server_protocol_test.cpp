// The protocol over HTTPS against the server in process, with a stand-in
// engine: the token exchange, routing of the recognition endpoints and every
// error of the protocol.
#include <gtest/gtest.h>

#include "fake_engines.h"
#include "test_server.h"

namespace ocr_service::testing {
namespace {

class ProtocolTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    server_ = new TestServer(1, 8, [] { return std::make_unique<EchoEngine>(&calls_); });
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

  static TestServer *server_;
  static std::atomic<int> calls_;
};
TestServer *ProtocolTest::server_ = nullptr;
std::atomic<int> ProtocolTest::calls_{0};

const std::string kCredentials =
    std::string("client_id=") + kClientId + "&client_secret=" + kClientSecret;

TEST_F(ProtocolTest, TokenExchangeGivesPrintableRandomTokens) {
  struct Case {
    const char *name;
    std::string target, body;
  } cases[] = {
      {"fields in the body", "/oauth/2.0/token?", "grant_type=client_credentials&" + kCredentials},
      {"fields in the query", "/oauth/2.0/token?grant_type=client_credentials&" + kCredentials, ""},
      {"unknown fields ignored", "/oauth/2.0/token",
       "scope=x&grant_type=client_credentials&" + kCredentials},
  };
  std::string previous;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Reply reply = server_->post(c.target, c.body);
    EXPECT_EQ(reply.status, 200);
    std::string token = json_field(reply.body, "access_token");
    EXPECT_GE(token.size(), 32u);
    for (char ch : token)
      EXPECT_TRUE(ch > ' ' && ch < 0x7F) << reply.body;
    EXPECT_EQ(reply.body, "{\"access_token\":\"" + token +
                              "\",\"expires_in\":2592000,\"scope\":\"" +
                              json_field(reply.body, "scope") + "\"}");
    EXPECT_NE(token, previous);
    previous = token;
  }
}

TEST_F(ProtocolTest, TokenExchangeRefusesWrongClientsAndGrants) {
  struct Case {
    std::string body;
    int status;
    std::string answer;
  } cases[] = {
      {"grant_type=client_credentials&client_id=someone&client_secret=" +
           std::string(kClientSecret),
       401, R"({"error":"invalid_client","error_description":"unknown client id"})"},
      {"grant_type=client_credentials&client_secret=" + std::string(kClientSecret), 401,
       R"({"error":"invalid_client","error_description":"unknown client id"})"},
      {"grant_type=client_credentials&client_id=" + std::string(kClientId) + "&client_secret=wrong",
       401, R"({"error":"invalid_client","error_description":"Client authentication failed"})"},
      {"grant_type=password&" + kCredentials, 400,
       R"({"error":"unsupported_grant_type","error_description":"The authorization grant type is not supported"})"},
      {kCredentials, 400,
       R"({"error":"unsupported_grant_type","error_description":"The authorization grant type is not supported"})"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.body);
    Reply reply = server_->post("/oauth/2.0/token", c.body);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.body, c.answer);
  }
}

TEST_F(ProtocolTest, RecognitionRoutesEndpointLanguageAndFormat) {
  auto png = png_header(120, 40);
  struct Case {
    std::string endpoint, fields;
    std::vector<std::string> lines;
  } cases[] = {
      {"accurate_basic", "", {"accurate", "CHN_ENG", "png", "120"}},
      {"general_basic", "", {"general", "CHN_ENG", "png", "120"}},
      {"accurate_basic", "&language_type=ENG", {"accurate", "ENG", "png", "120"}},
      {"general_basic",
       "&language_type=CHN_ENG&detect_direction=true&probability=false",
       {"general", "CHN_ENG", "png", "120"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.endpoint + c.fields);
    Reply reply = server_->recognize(c.endpoint, png, c.fields);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(without_log_id(reply.body), answer(c.lines));
  }
}

TEST_F(ProtocolTest, TokenAndFieldsMayComeInEitherPlace) {
  std::string token = server_->token();
  std::string image = "image=" + percent_encode(base64_of(png_header(99, 40)));
  Reply in_body =
      server_->post("/rest/2.0/ocr/v1/accurate_basic", image + "&access_token=" + token);
  EXPECT_EQ(without_log_id(in_body.body), answer({"accurate", "CHN_ENG", "png", "99"}));
  // A client that sends Base64 unencoded has its '+' turned into spaces.
  std::string raw = base64_of(png_header(0xFBFF, 40));
  ASSERT_NE(raw.find('+'), std::string::npos);
  Reply unencoded =
      server_->post("/rest/2.0/ocr/v1/general_basic?access_token=" + token, "image=" + raw);
  EXPECT_EQ(without_log_id(unencoded.body), error_body(216202, "image size error"));
}

TEST_F(ProtocolTest, RecognitionErrorsFollowTheTable) {
  std::string token = server_->token();
  std::string tampered = token;
  tampered[10] = tampered[10] == 'a' ? 'b' : 'a';
  auto image = [](const std::vector<std::uint8_t> &bytes) {
    return "image=" + percent_encode(base64_of(bytes));
  };
  std::vector<std::uint8_t> text(100, 'x');
  struct Case {
    const char *name;
    std::string token, body;
    int code;
    const char *message;
  } cases[] = {
      {"no token", "", image(png_header(100, 40)), 110, "Access token invalid or no longer valid"},
      {"made-up token", "abc", image(png_header(100, 40)), 110,
       "Access token invalid or no longer valid"},
      {"tampered token", tampered, image(png_header(100, 40)), 110,
       "Access token invalid or no longer valid"},
      {"unknown language", token, image(png_header(100, 40)) + "&language_type=JAP", 216100,
       "invalid param"},
      {"no image", token, "language_type=ENG", 216101, "not enough param"},
      {"empty image", token, "image=", 216200, "empty image"},
      {"not Base64", token, "image=%21%21%21%21", 216201, "image format error"},
      {"not a picture", token, image(text), 216201, "image format error"},
      {"GIF", token, image({'G', 'I', 'F', '8', '9', 'a', 20, 0, 20, 0}), 216201,
       "image format error"},
      {"PNG cut short", token, image({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0}), 216201,
       "image format error"},
      {"too narrow", token, image(png_header(14, 40)), 216202, "image size error"},
      {"too tall", token, image(png_header(100, 8193)), 216202, "image size error"},
      {"header claims a huge picture", token, image(png_header(0x7FFFFFFF, 0x7FFFFFFF)), 216202,
       "image size error"},
  };
  int calls_before = calls_;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Reply reply = server_->post("/rest/2.0/ocr/v1/accurate_basic?access_token=" + c.token, c.body);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(without_log_id(reply.body), error_body(c.code, c.message));
  }
  EXPECT_EQ(calls_, calls_before) << "no refused picture reaches an engine";
}

TEST_F(ProtocolTest, EncodedPictureOverTenMegabytesIsRefused) {
  std::string body = "image=" + std::string((10u << 20) + 4, 'A');
  Reply reply =
      server_->post("/rest/2.0/ocr/v1/general_basic?access_token=" + server_->token(), body);
  EXPECT_EQ(without_log_id(reply.body), error_body(216202, "image size error"));
}

TEST_F(ProtocolTest, BodyOverTwelveMegabytesIsRefusedBeforeItArrives) {
  // Only the head is sent: the answer must come without waiting for the body.
  std::string request = "POST /rest/2.0/ocr/v1/accurate_basic?access_token=" + server_->token() +
                        " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                        "Content-Type: application/x-www-form-urlencoded\r\n"
                        "Content-Length: 13000000\r\n\r\nimage=AAAA";
  std::string response = raw_exchange(server_->port(), request);
  EXPECT_EQ(response.rfind("HTTP/1.1 200", 0), 0u) << response;
  std::size_t body = response.find("\r\n\r\n");
  ASSERT_NE(body, std::string::npos);
  EXPECT_EQ(without_log_id(response.substr(body + 4)), error_body(216202, "image size error"));
}

TEST_F(ProtocolTest, UnknownMethodsAndPathsAreRefused) {
  struct Case {
    std::string target;
    bool post;
  } cases[] = {{"/rest/2.0/ocr/v1/handwriting", true},
               {"/rest/2x0/ocr/v1/accurate_basic", true},
               {"/rest/2.0/ocr/v1/accurate_basic", false},
               {"/", false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.target);
    Reply reply = c.post ? server_->post(c.target, "") : server_->get(c.target);
    EXPECT_EQ(reply.status, 404);
    EXPECT_EQ(without_log_id(reply.body), error_body(3, "Unsupported openapi method"));
  }
}

TEST_F(ProtocolTest, TokensExpireWithTheClock) {
  std::string token = server_->token();
  auto ask = [&] {
    return without_log_id(server_
                              ->post("/rest/2.0/ocr/v1/accurate_basic?access_token=" + token,
                                     "image=" + percent_encode(base64_of(png_header(100, 40))))
                              .body);
  };
  server_->advance_clock(2592000 - 1);
  EXPECT_EQ(ask(), answer({"accurate", "CHN_ENG", "png", "100"}));
  server_->advance_clock(1);
  EXPECT_EQ(ask(), error_body(111, "Access token expired"));
  // A token fetched now is good for its own thirty days.
  token = server_->token();
  EXPECT_EQ(ask(), answer({"accurate", "CHN_ENG", "png", "100"}));
}

TEST_F(ProtocolTest, ConcurrentRequestsEachGetTheirOwnAnswer) {
  constexpr int kThreads = 8, kRequests = 4;
  std::vector<std::thread> threads;
  std::atomic<int> right{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kRequests; ++i) {
        std::uint32_t width = 100 + t * 10 + i;
        Reply reply =
            server_->recognize(i % 2 ? "general_basic" : "accurate_basic", png_header(width, 40));
        if (without_log_id(reply.body) ==
            answer({i % 2 ? "general" : "accurate", "CHN_ENG", "png", std::to_string(width)}))
          ++right;
      }
    });
  }
  for (std::thread &thread : threads)
    thread.join();
  EXPECT_EQ(right, kThreads * kRequests);
}

TEST(ProtocolLimitsTest, FullQueueAnswersQpsLimit) {
  Gate gate;
  TestServer server(1, 1, [&gate] { return std::make_unique<GateEngine>(gate); });
  auto picture = png_header(100, 40);
  // One request on the worker, one waiting: the queue is full.
  std::thread first([&] {
    EXPECT_NE(server.recognize("accurate_basic", picture).body.find("done"), std::string::npos);
  });
  gate.wait_for_waiters(1);
  std::thread second([&] {
    EXPECT_NE(server.recognize("general_basic", picture).body.find("done"), std::string::npos);
  });
  while (server.jobs_waiting() < 1)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::string refused = server.recognize("accurate_basic", picture).body;
  EXPECT_EQ(without_log_id(refused), error_body(18, "Open api qps request limit reached"));
  gate.open();
  first.join();
  second.join();
}

TEST(ProtocolLimitsTest, EngineFailureIsAnInternalError) {
  TestServer server(1, 1, [] { return std::make_unique<ThrowingEngine>(); });
  Reply reply = server.recognize("accurate_basic", png_header(100, 40));
  EXPECT_EQ(without_log_id(reply.body), error_body(282000, "internal error"));
}

} // namespace
} // namespace ocr_service::testing
