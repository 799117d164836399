#include "tests/e2e/fake_ocr_service.h"

#include "tests/support/recording_server.h"
#include "tests/support/tls_identity.h"

FakeOcrService::FakeOcrService(int port)
    : tls_(make_self_signed_tls_context()), server_(std::make_unique<RecordingServer>(tls_)) {
  token_.body = R"({"access_token":"24.fake-token.2592000","expires_in":2592000})";
  recognition_.body = R"({"log_id":1,"words_result_num":0,"words_result":[]})";
  // Bodies are taken through a content reader: the library's own reading
  // refuses form bodies over 8 KB, and a picture is far larger.
  auto handle = [this](const httplib::Request &request, httplib::Response &response,
                       const httplib::ContentReader &reader) {
    std::string body;
    reader([&body](const char *data, std::size_t size) {
      body.append(data, size);
      return true;
    });
    ReceivedRequest received{request.path, RecordingServer::current_head(), std::move(body),
                             std::chrono::steady_clock::now()};
    FakeAnswer answer = answer_for(request.path);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(std::move(received));
    }
    response.status = answer.status;
    response.set_content(answer.body, answer.content_type);
  };
  server_->Post(R"(/oauth/2\.0/token)", handle);
  server_->Post(R"(/rest/2\.0/ocr/v1/\w+)", handle);
  server_->set_payload_max_length(64 * 1024 * 1024);
  server_->set_activity_callback([this] {
    std::lock_guard lock(mutex_);
    activity_.push_back(std::chrono::steady_clock::now());
  });
  if (tls_ && server_->bind_to_port("127.0.0.1", port)) {
    listening_ = true;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
  }
}

FakeOcrService::~FakeOcrService() {
  server_->stop();
  if (thread_.joinable())
    thread_.join();
  server_.reset();
  SSL_CTX_free(tls_);
}

void FakeOcrService::answer_token(FakeAnswer answer) {
  std::lock_guard lock(mutex_);
  token_ = std::move(answer);
}

void FakeOcrService::answer_recognition(FakeAnswer answer) {
  std::lock_guard lock(mutex_);
  recognition_ = std::move(answer);
}

std::vector<ReceivedRequest> FakeOcrService::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FakeOcrService::forget_requests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
  activity_.clear();
}

std::vector<std::chrono::steady_clock::time_point> FakeOcrService::connection_activity() const {
  std::lock_guard lock(mutex_);
  return activity_;
}

FakeAnswer FakeOcrService::answer_for(const std::string &path) const {
  std::lock_guard lock(mutex_);
  return path == "/oauth/2.0/token" ? token_ : recognition_;
}

int built_in_service_port() {
  std::string host = LUMISCRIBE_API_HOST;
  std::size_t colon = host.rfind(':');
  return colon == std::string::npos ? 443 : std::stoi(host.substr(colon + 1));
}
