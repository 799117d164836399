#include "recording_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

constexpr int kTimeoutMs = 30000;

// A connection as cpp-httplib sees it, keeping a copy of every byte read.
class CapturingStream final : public httplib::Stream {
public:
  CapturingStream(socket_t sock, SSL *ssl) : sock_(sock), ssl_(ssl) {}

  bool is_readable() const override { return (ssl_ && SSL_pending(ssl_) > 0) || wait_for(POLLIN); }
  bool is_writable() const override { return wait_for(POLLOUT); }

  ssize_t read(char *buffer, size_t size) override {
    int chunk = static_cast<int>(std::min<size_t>(size, INT_MAX));
    ssize_t got = ssl_ ? SSL_read(ssl_, buffer, chunk) : recv(sock_, buffer, chunk, 0);
    if (got <= 0)
      return -1;
    captured_.append(buffer, static_cast<size_t>(got));
    return got;
  }

  ssize_t write(const char *data, size_t size) override {
    int chunk = static_cast<int>(std::min<size_t>(size, INT_MAX));
    ssize_t sent = ssl_ ? SSL_write(ssl_, data, chunk) : send(sock_, data, chunk, MSG_NOSIGNAL);
    return sent > 0 ? sent : -1;
  }

  void get_remote_ip_and_port(std::string &ip, int &port) const override {
    address_of(getpeername, ip, port);
  }
  void get_local_ip_and_port(std::string &ip, int &port) const override {
    address_of(getsockname, ip, port);
  }
  socket_t socket() const override { return sock_; }

  std::string head() const {
    size_t end = captured_.find("\r\n\r\n");
    return end == std::string::npos ? captured_ : captured_.substr(0, end + 4);
  }
  std::string raw_body(size_t length) {
    size_t start = head().size();
    char buffer[16 * 1024];
    while (captured_.size() < start + length &&
           read(buffer, std::min(sizeof(buffer), start + length - captured_.size())) > 0) {
    }
    return captured_.substr(std::min(start, captured_.size()), length);
  }
  bool is_tls() const { return ssl_ != nullptr; }
  bool claim_record() { return !std::exchange(recorded_, true); }

private:
  bool wait_for(short events) const {
    pollfd entry{sock_, events, 0};
    return poll(&entry, 1, kTimeoutMs) > 0;
  }

  template <class Query> void address_of(Query query, std::string &ip, int &port) const {
    sockaddr_in address{};
    socklen_t length = sizeof(address);
    ip.clear();
    port = -1;
    if (query(sock_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
      return;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof(text));
    ip = text;
    port = ntohs(address.sin_port);
  }

  socket_t sock_;
  SSL *ssl_;
  std::string captured_;
  bool recorded_ = false;
};

thread_local CapturingStream *current_stream = nullptr;

void set_timeouts(socket_t sock) {
  timeval timeout{kTimeoutMs / 1000, 0};
  setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
  setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
}

} // namespace

void RequestLog::add(RecordedRequest request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(std::move(request));
}

std::optional<RecordedRequest> RequestLog::from_end(std::size_t back) const {
  std::lock_guard lock(mutex_);
  if (back >= requests_.size())
    return std::nullopt;
  return requests_[requests_.size() - 1 - back];
}

std::size_t RequestLog::count() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

std::string RecordingServer::current_head() {
  return current_stream ? current_stream->head() : std::string();
}

std::string RecordingServer::current_raw_body(std::size_t content_length) {
  return current_stream ? current_stream->raw_body(content_length) : std::string();
}

bool RecordingServer::current_is_tls() {
  return current_stream && current_stream->is_tls();
}

bool RecordingServer::claim_current_record() {
  return current_stream && current_stream->claim_record();
}

bool RecordingServer::process_and_close_socket(socket_t sock) {
  if (on_activity_)
    on_activity_();
  set_timeouts(sock);
  SSL *ssl = nullptr;
  if (tls_context_) {
    ssl = SSL_new(tls_context_);
    if (ssl && SSL_set_fd(ssl, sock) == 1 && SSL_accept(ssl) == 1)
      serve(sock, ssl);
    if (ssl) {
      SSL_shutdown(ssl);
      SSL_free(ssl);
    }
  } else {
    serve(sock, nullptr);
  }
  shutdown(sock, SHUT_RDWR);
  close(sock);
  if (on_activity_)
    on_activity_();
  return true;
}

void RecordingServer::serve(socket_t sock, SSL *ssl) {
  CapturingStream stream(sock, ssl);
  current_stream = &stream;
  bool connection_closed = false;
  process_request(stream, true, connection_closed, [](httplib::Request &) {});
  current_stream = nullptr;
}
