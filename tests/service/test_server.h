// A server under test: the real HTTPS front and protocol logic in this
// process, on a free loopback port, with a clock the test moves and the
// engines the test chooses. Plus the client side: requests over HTTPS.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "service/http_server.h"
#include "service/ocr_service.h"
#include "service/token_issuer.h"
#include "service/worker_pool.h"

namespace ocr_service::testing {

inline constexpr const char *kClientId = "test-client-id";
inline constexpr const char *kClientSecret = "test-client-secret";

struct Reply {
  int status = 0; // 0: no answer at all
  std::string body;
};

class TestServer {
public:
  TestServer(int workers, int queue, EngineFactory make_engine);
  ~TestServer();

  int port() const { return port_; }
  void advance_clock(std::int64_t seconds) { now_ += seconds; }
  std::size_t jobs_waiting() { return pool_.waiting(); }

  Reply post(const std::string &target, const std::string &body) const;
  Reply get(const std::string &target) const;
  std::string token() const; // a fresh access token, or "" on failure
  Reply recognize(const std::string &endpoint, const std::vector<std::uint8_t> &picture,
                  const std::string &extra_fields = "") const;

private:
  std::atomic<std::int64_t> now_{1700000000};
  TokenIssuer tokens_;
  WorkerPool pool_;
  OcrService service_;
  std::unique_ptr<HttpServer> http_;
  int port_ = -1;
  std::thread thread_;
};

// The certificate pair every test server uses, made once per test run.
const std::string &test_cert_dir();

// Sends bytes as they are over TLS and returns everything the server answers
// until it closes the connection or stops answering.
std::string raw_exchange(int port, const std::string &request);

std::string base64_of(const std::vector<std::uint8_t> &bytes);
std::string percent_encode(const std::string &text);
std::vector<std::uint8_t> read_fixture(const std::string &name);
std::string read_fixture_text(const std::string &name);
std::vector<std::string> split_lines(const std::string &text);

// The answer with its log id replaced by N, for comparing whole answers.
std::string without_log_id(const std::string &body);
std::string error_body(int code, const std::string &message);
// A string field of a flat JSON answer, or "".
std::string json_field(const std::string &body, const std::string &name);

} // namespace ocr_service::testing
