#include "service/http_server.h"

#include <httplib.h>

#include <charconv>
#include <chrono>

#include "service/form.h"
#include "service/request_log.h"

namespace ocr_service {
namespace {

// What the logger needs to know about the request this thread is serving:
// httplib serves one request at a time per thread.
thread_local std::chrono::steady_clock::time_point request_start;
thread_local char request_error[48] = "0";

void set_request_error(std::string_view error) {
  std::size_t size = std::min(error.size(), sizeof request_error - 1);
  error.copy(request_error, size);
  request_error[size] = '\0';
}

void send(httplib::Response &res, const HttpAnswer &answer) {
  res.status = answer.status;
  res.set_content(answer.body, "application/json; charset=utf-8");
  set_request_error(answer.log_error);
}

std::optional<std::size_t> declared_length(const httplib::Request &req) {
  if (!req.has_header("Content-Length"))
    return std::nullopt;
  std::string text = req.get_header_value("Content-Length");
  std::size_t length = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
  if (error != std::errc() || end != text.data() + text.size())
    return SIZE_MAX;
  return length;
}

// The body, or nothing when it is over the limit. A declared length over the
// limit is refused before any of the body is read; a chunked body is read
// only up to the limit.
std::optional<std::string> read_body(const httplib::Request &req,
                                     const httplib::ContentReader &reader) {
  auto length = declared_length(req);
  if (length && *length > kMaxBodyBytes)
    return std::nullopt;
  std::string body;
  if (length)
    body.reserve(*length);
  bool too_large = false;
  reader([&](const char *data, std::size_t size) {
    if (body.size() + size > kMaxBodyBytes) {
      too_large = true;
      return false;
    }
    body.append(data, size);
    return true;
  });
  if (too_large)
    return std::nullopt;
  return body;
}

// httplib takes route patterns as regular expressions; the paths hold dots.
std::string exact_path(std::string_view path) {
  std::string pattern;
  for (char c : path) {
    if (std::string_view(".^$|()[]{}*+?\\").find(c) != std::string_view::npos)
      pattern.push_back('\\');
    pattern.push_back(c);
  }
  return pattern;
}

void refuse_large_body(OcrService &service, httplib::Response &res) {
  send(res, service.error(ErrorCode::image_size));
  // The rest of the body is still on its way; the connection cannot carry
  // another request after it.
  res.set_header("Connection", "close");
}

} // namespace

HttpServer::HttpServer(OcrService &service, const std::string &cert_file,
                       const std::string &key_file, int connection_threads)
    : service_(service),
      server_(std::make_unique<httplib::SSLServer>(cert_file.c_str(), key_file.c_str())) {
  server_->new_task_queue = [connection_threads] {
    return new httplib::ThreadPool(static_cast<std::size_t>(connection_threads));
  };
  server_->set_payload_max_length(kMaxBodyBytes);
  server_->set_read_timeout(30);
  server_->set_write_timeout(30);
  server_->set_keep_alive_timeout(10);
  add_routes();
}

HttpServer::~HttpServer() = default;

bool HttpServer::valid() const {
  return server_->is_valid();
}

void HttpServer::add_routes() {
  using httplib::ContentReader, httplib::Request, httplib::Response;
  server_->set_pre_routing_handler([](const Request &, Response &) {
    request_start = std::chrono::steady_clock::now();
    set_request_error("0");
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server_->set_expect_100_continue_handler([this](const Request &req, Response &res) {
    auto length = declared_length(req);
    if (!length || *length <= kMaxBodyBytes)
      return 100;
    refuse_large_body(service_, res);
    return res.status;
  });
  server_->Post(exact_path(kTokenPath),
                [this](const Request &req, Response &res, const ContentReader &reader) {
                  auto body = read_body(req, reader);
                  if (!body)
                    return refuse_large_body(service_, res);
                  send(res, service_.token(query_of(req.target), *body));
                });
  for (auto [path, endpoint] :
       {std::pair{kAccuratePath, Endpoint::accurate}, std::pair{kGeneralPath, Endpoint::general}}) {
    server_->Post(exact_path(path), [this, endpoint = endpoint](const Request &req, Response &res,
                                                                const ContentReader &reader) {
      auto body = read_body(req, reader);
      if (!body)
        return refuse_large_body(service_, res);
      send(res, service_.recognize(endpoint, query_of(req.target), *body));
    });
  }
  server_->set_error_handler([this](const Request &, Response &res) {
    // Unknown paths and methods. Answers of the endpoints themselves (the
    // token exchange's 400 and 401) keep their own body.
    if (!res.body.empty())
      return;
    if (res.status == 413)
      return refuse_large_body(service_, res);
    int status = res.status;
    send(res, service_.error(ErrorCode::unsupported_method));
    if (status != 404)
      res.status = status;
  });
  server_->set_logger([](const Request &req, const Response &res) {
    auto elapsed = std::chrono::steady_clock::now() - request_start;
    long ms =
        static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    write_log_line(format_log_line(req.method.empty() ? "-" : req.method,
                                   req.path.empty() ? "-" : req.path, res.status, request_error,
                                   ms));
    // A request that never reaches routing (an unreadable request line)
    // is timed from the end of the one before.
    request_start = std::chrono::steady_clock::now();
    set_request_error("0");
  });
}

int HttpServer::bind(const std::string &host, int port) {
  if (port == 0)
    return server_->bind_to_any_port(host);
  return server_->bind_to_port(host, port) ? port : -1;
}

bool HttpServer::run() {
  return server_->listen_after_bind();
}

void HttpServer::stop() {
  server_->stop();
}

} // namespace ocr_service
