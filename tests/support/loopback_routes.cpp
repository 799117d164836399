#include "loopback_routes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "loopback_pattern.h"

namespace {

using httplib::Request;
using httplib::Response;
using Handler = httplib::Server::Handler;

constexpr const char *kBinary = "application/octet-stream";
constexpr const char *kPlain = "text/plain";
constexpr std::size_t kMaxGeneratedBytes = 256u * 1024 * 1024;

std::size_t size_param(const Request &req, const char *name, std::size_t fallback) {
  if (!req.has_param(name))
    return fallback;
  unsigned long long value = std::strtoull(req.get_param_value(name).c_str(), nullptr, 10);
  return value > kMaxGeneratedBytes ? kMaxGeneratedBytes : static_cast<std::size_t>(value);
}

std::string make_pattern_body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    body[i] = static_cast<char>(loopback_pattern_byte(i));
  return body;
}

std::string pattern_body(LoopbackState &state, std::size_t size) {
  const std::string &big = state.big_body();
  return size <= big.size() ? big.substr(0, size) : make_pattern_body(size);
}

// The same answer whatever the method; HEAD is served by the GET handler.
void on_every_method(RecordingServer &server, const std::string &pattern, Handler handler) {
  server.Get(pattern, handler);
  server.Post(pattern, handler);
  server.Put(pattern, handler);
  server.Delete(pattern, handler);
  server.Options(pattern, handler);
  server.Patch(pattern, handler);
}

void add_set_cookie_lines(const Request &req, Response &res,
                          std::initializer_list<const char *> defaults) {
  std::size_t count = req.get_param_value_count("c");
  if (count == 0) {
    for (const char *line : defaults)
      res.headers.emplace("Set-Cookie", line);
    return;
  }
  for (std::size_t i = 0; i < count; ++i)
    res.headers.emplace("Set-Cookie", req.get_param_value("c", i));
}

void redirect(const Request &req, Response &res) {
  std::string target = req.has_param("to") ? req.get_param_value("to") : "/hello";
  std::string scheme = RecordingServer::current_is_tls() ? "https://" : "http://";
  res.status = 302;
  res.set_header("Location", scheme + req.get_header_value("Host") + target);
  res.set_content("redirect body", kPlain);
}

// Header lines sort by name in the answer, so the fillers ("Filler-...")
// come before the Set-Cookie lines and push them past the first bytes.
void big_headers(const Request &req, Response &res) {
  std::size_t wanted = size_param(req, "bytes", 6000);
  std::string value(100, 'x');
  char name[32];
  for (std::size_t line = 0, written = 0; written < wanted; ++line) {
    std::snprintf(name, sizeof(name), "Filler-%05zu", line);
    res.headers.emplace(name, value);
    written += std::string(name).size() + 2 + value.size() + 2;
  }
  add_set_cookie_lines(req, res, {"big_a=1; Path=/", "big_b=2; HttpOnly"});
  res.set_content("big headers", kPlain);
}

void record(LoopbackState &state, const Request &req) {
  if (!RecordingServer::claim_current_record())
    return;
  std::string body = req.body;
  if (req.has_header("Content-Length"))
    body = RecordingServer::current_raw_body(
        std::strtoull(req.get_header_value("Content-Length").c_str(), nullptr, 10));
  state.log.add({RecordingServer::current_head(), std::move(body)});
}

void add_test_routes(RecordingServer &server, LoopbackState &state) {
  auto recorded = [&state](Handler handler) {
    return [&state, handler](const Request &req, Response &res) {
      record(state, req);
      handler(req, res);
    };
  };
  on_every_method(server, "/echo", recorded([](const Request &req, Response &res) {
                    res.set_content(req.body, kBinary);
                  }));
  on_every_method(server, "/hello", recorded([](const Request &, Response &res) {
                    res.set_content("hello from loopback", kPlain);
                  }));
  on_every_method(server, R"(/status/(\d+))", recorded([](const Request &req, Response &res) {
                    res.status = std::atoi(req.matches[1].str().c_str());
                    res.set_content("status " + req.matches[1].str(), kPlain);
                  }));
  on_every_method(server, "/set-cookie", recorded([](const Request &req, Response &res) {
                    add_set_cookie_lines(req, res, {"sid=abc; Path=/; HttpOnly", "lang=zh"});
                    res.set_content("cookies set", kPlain);
                  }));
  on_every_method(server, "/redirect", recorded(redirect));
  on_every_method(server, "/big", recorded([&state](const Request &req, Response &res) {
                    res.set_content(
                        pattern_body(state, size_param(req, "bytes", kLoopbackBigBodySize)),
                        kBinary);
                  }));
  on_every_method(server, "/big-headers", recorded(big_headers));
  on_every_method(server, "/slow", recorded([](const Request &req, Response &res) {
                    std::this_thread::sleep_for(
                        std::chrono::milliseconds(size_param(req, "ms", 1500)));
                    res.set_content("slow answer", kPlain);
                  }));
}

void add_control_routes(RecordingServer &server, LoopbackState &state) {
  server.Get("/_record", [&state](const Request &req, Response &res) {
    auto request = state.log.from_end(size_param(req, "back", 0));
    if (!request) {
      res.status = 404;
      return;
    }
    res.set_content(request->head + request->body, kBinary);
  });
  server.Get("/_count", [&state](const Request &, Response &res) {
    res.set_content(std::to_string(state.log.count()), kPlain);
  });
  server.Get("/_ping", [](const Request &, Response &res) { res.set_content("pong", kPlain); });
  server.Get("/_quit", [&state](const Request &, Response &res) {
    res.set_content("bye", kPlain);
    state.request_stop();
  });
}

} // namespace

const std::string &LoopbackState::big_body() {
  std::call_once(big_body_made_, [this] { big_body_ = make_pattern_body(kLoopbackBigBodySize); });
  return big_body_;
}

void add_loopback_routes(RecordingServer &server, LoopbackState &state) {
  add_test_routes(server, state);
  add_control_routes(server, state);
  // Requests no route takes (a proxy's absolute address, CONNECT, TRACE, an
  // unknown path) are recorded all the same before their error answer.
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([&state](const Request &req, Response &) {
        if (req.path.rfind("/_", 0) != 0)
          record(state, req);
        return httplib::Server::HandlerResponse::Unhandled;
      }));
}
