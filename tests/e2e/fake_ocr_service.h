// A scripted stand-in for the OCR service on loopback https, at the host and
// port the program has built in: it answers the token and recognition
// exchanges as each test sets them and keeps every request as it arrived.
#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class RecordingServer;

struct FakeAnswer {
  int status = 200;
  std::string body;
  std::string content_type = "application/json";
};

struct ReceivedRequest {
  std::string path; // without the query
  std::string head; // request line and header lines exactly as received
  std::string body;
  std::chrono::steady_clock::time_point arrived; // once the body was read
};

class FakeOcrService {
public:
  explicit FakeOcrService(int port);
  ~FakeOcrService();
  FakeOcrService(const FakeOcrService &) = delete;
  FakeOcrService &operator=(const FakeOcrService &) = delete;

  bool listening() const { return listening_; }
  void answer_token(FakeAnswer answer);
  void answer_recognition(FakeAnswer answer);
  std::vector<ReceivedRequest> requests() const;
  void forget_requests();
  // When connections started and ended, in order (for the speed figures).
  std::vector<std::chrono::steady_clock::time_point> connection_activity() const;

private:
  FakeAnswer answer_for(const std::string &path) const;

  SSL_CTX *tls_ = nullptr;
  std::unique_ptr<RecordingServer> server_;
  std::thread thread_;
  bool listening_ = false;
  mutable std::mutex mutex_;
  FakeAnswer token_;
  FakeAnswer recognition_;
  std::vector<ReceivedRequest> requests_;
  std::vector<std::chrono::steady_clock::time_point> activity_;
};

// The port of the built-in service host ("host:port", 443 without a port).
int built_in_service_port();
