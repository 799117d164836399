#include "test_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "service/certificate.h"
#include "service/form.h"

namespace ocr_service::testing {
namespace {

std::unique_ptr<httplib::SSLClient> client(int port) {
  auto cli = std::make_unique<httplib::SSLClient>("127.0.0.1", port);
  cli->enable_server_certificate_verification(false);
  cli->set_read_timeout(300);
  return cli;
}

Reply reply_of(const httplib::Result &result) {
  if (!result)
    return {};
  return {result->status, result->body};
}

// A whole response: its head and as much body as Content-Length says.
bool response_complete(const std::string &response) {
  std::size_t head_end = response.find("\r\n\r\n");
  if (head_end == std::string::npos)
    return false;
  std::size_t length_at = response.find("Content-Length: ");
  if (length_at == std::string::npos || length_at > head_end)
    return false;
  std::size_t length = std::strtoul(response.c_str() + length_at + 16, nullptr, 10);
  return response.size() >= head_end + 4 + length;
}

} // namespace

namespace {

std::string made_dir; // set once test_cert_dir() has made it

// The temporary directory goes when the tests end.
class RemoveTestDir : public ::testing::Environment {
public:
  void TearDown() override {
    std::error_code ignored;
    if (!made_dir.empty())
      std::filesystem::remove_all(made_dir, ignored);
  }
};
[[maybe_unused]] ::testing::Environment *const remove_test_dir =
    ::testing::AddGlobalTestEnvironment(new RemoveTestDir);

} // namespace

const std::string &test_cert_dir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/lumiscribe-ocr-test-XXXXXX";
    const char *made = mkdtemp(pattern);
    if (!made)
      throw std::runtime_error("no temporary directory");
    made_dir = made;
    CertificateFiles files = ensure_certificate(made);
    if (!files.error.empty())
      throw std::runtime_error(files.error);
    return std::string(made);
  }();
  return dir;
}

TestServer::TestServer(int workers, int queue, EngineFactory make_engine)
    : tokens_([this] { return now_.load(); }, kTokenLifetimeSeconds),
      pool_(workers, queue, make_engine), service_({kClientId, kClientSecret}, tokens_, pool_) {
  CertificateFiles files = ensure_certificate(test_cert_dir());
  http_ =
      std::make_unique<HttpServer>(service_, files.cert_file, files.key_file, workers + queue + 4);
  if (!http_->valid())
    throw std::runtime_error("test certificate unusable");
  port_ = http_->bind("127.0.0.1", 0);
  if (port_ <= 0)
    throw std::runtime_error("no free port");
  thread_ = std::thread([this] { http_->run(); });
}

TestServer::~TestServer() {
  http_->stop();
  thread_.join();
}

Reply TestServer::post(const std::string &target, const std::string &body) const {
  return reply_of(client(port_)->Post(target, body, "application/x-www-form-urlencoded"));
}

Reply TestServer::get(const std::string &target) const {
  return reply_of(client(port_)->Get(target));
}

std::string TestServer::token() const {
  Reply reply = post("/oauth/2.0/token", std::string("grant_type=client_credentials&client_id=") +
                                             kClientId + "&client_secret=" + kClientSecret);
  return json_field(reply.body, "access_token");
}

Reply TestServer::recognize(const std::string &endpoint, const std::vector<std::uint8_t> &picture,
                            const std::string &extra_fields) const {
  return post("/rest/2.0/ocr/v1/" + endpoint + "?access_token=" + token(),
              "image=" + percent_encode(base64_of(picture)) + extra_fields);
}

std::string raw_exchange(int port, const std::string &request) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    ::close(fd);
    return "";
  }
  timeval timeout{30, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  SSL_CTX *context = SSL_CTX_new(TLS_client_method());
  SSL *ssl = SSL_new(context);
  SSL_set_fd(ssl, fd);
  std::string answer;
  if (SSL_connect(ssl) == 1 &&
      SSL_write(ssl, request.data(), static_cast<int>(request.size())) > 0) {
    char buffer[4096];
    int got;
    while (!response_complete(answer) && (got = SSL_read(ssl, buffer, sizeof buffer)) > 0)
      answer.append(buffer, got);
  }
  SSL_free(ssl);
  SSL_CTX_free(context);
  ::close(fd);
  return answer;
}

std::string base64_of(const std::vector<std::uint8_t> &bytes) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t chunk = bytes[i] << 16;
    if (i + 1 < bytes.size())
      chunk |= bytes[i + 1] << 8;
    if (i + 2 < bytes.size())
      chunk |= bytes[i + 2];
    out.push_back(alphabet[(chunk >> 18) & 63]);
    out.push_back(alphabet[(chunk >> 12) & 63]);
    out.push_back(i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=');
    out.push_back(i + 2 < bytes.size() ? alphabet[chunk & 63] : '=');
  }
  return out;
}

std::string percent_encode(const std::string &text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(digits[c >> 4]);
      out.push_back(digits[c & 15]);
    }
  }
  return out;
}

std::vector<std::uint8_t> read_fixture(const std::string &name) {
  std::ifstream in(std::string(OCR_FIXTURES_DIR) + "/" + name, std::ios::binary);
  if (!in)
    throw std::runtime_error("missing fixture " + name);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string read_fixture_text(const std::string &name) {
  auto bytes = read_fixture(name);
  return {bytes.begin(), bytes.end()};
}

std::vector<std::string> split_lines(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    if (end > start)
      lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string without_log_id(const std::string &body) {
  const std::string field = "\"log_id\":";
  std::string out = body;
  std::size_t at = out.find(field);
  if (at == std::string::npos)
    return out;
  std::size_t digits = at + field.size(), end = digits;
  while (end < out.size() && std::isdigit(static_cast<unsigned char>(out[end])))
    ++end;
  if (end == digits)
    return out;
  return out.replace(digits, end - digits, "N");
}

std::string json_field(const std::string &body, const std::string &name) {
  std::string key = "\"" + name + "\":\"";
  std::size_t start = body.find(key);
  if (start == std::string::npos)
    return "";
  start += key.size();
  std::size_t end = body.find('"', start);
  return end == std::string::npos ? "" : body.substr(start, end - start);
}

std::string error_body(int code, const std::string &message) {
  return "{\"error_code\":" + std::to_string(code) + ",\"error_msg\":\"" + message +
         "\",\"log_id\":N}";
}

} // namespace ocr_service::testing
