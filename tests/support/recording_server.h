// An HTTP(S) server for the tests that keeps what each request looked like on
// the wire: the request line and the header lines in the order the client
// sent them, and the body. The routing and the answers are cpp-httplib's; the
// connection, plain or TLS, is ours, so the raw bytes stay at hand.
#pragma once

#include <httplib.h>
#include <openssl/ssl.h>

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct RecordedRequest {
  // The request line and the header lines exactly as received, each ended by
  // "\r\n", followed by the empty line.
  std::string head;
  // The body after any transfer decoding.
  std::string body;
};

// Every recorded request of the server process, oldest first.
class RequestLog {
public:
  void add(RecordedRequest request);
  // back 0 is the latest request, 1 the one before, and so on.
  std::optional<RecordedRequest> from_end(std::size_t back) const;
  std::size_t count() const;

private:
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

// Serves one request per connection ("Connection: close"), which is all a
// client that opens a fresh connection for every request needs.
class RecordingServer : public httplib::Server {
public:
  // A null context serves plain http; the server does not own the context.
  explicit RecordingServer(SSL_CTX *tls_context) : tls_context_(tls_context) {}

  // Called when a connection starts and when it ends.
  void set_activity_callback(std::function<void()> callback) { on_activity_ = std::move(callback); }

  // The request line and headers of the request the calling handler serves.
  static std::string current_head();
  // The body bytes of the request the calling handler serves, as sent with
  // its Content-Length. Bodies cpp-httplib leaves unread (those of HEAD,
  // OPTIONS, TRACE and CONNECT) are read here.
  static std::string current_raw_body(std::size_t content_length);
  // Whether the request the calling handler serves came over TLS.
  static bool current_is_tls();
  // True the first time it is called for the request being served, so a
  // request that both a route and the error handler see is recorded once.
  static bool claim_current_record();

private:
  bool process_and_close_socket(socket_t sock) override;
  void serve(socket_t sock, SSL *ssl);

  SSL_CTX *tls_context_;
  std::function<void()> on_activity_;
};
