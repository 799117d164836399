// What the loopback test server answers, by path. Every path outside "/_"
// records its request before answering; the "/_" paths let a test read the
// record back and end the server.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "recording_server.h"

struct LoopbackState {
  RequestLog log;
  // Asks the server process to end once the current answer is out.
  std::function<void()> request_stop;
  // The default large body, made on first use.
  const std::string &big_body();

private:
  std::once_flag big_body_made_;
  std::string big_body_;
};

void add_loopback_routes(RecordingServer &server, LoopbackState &state);
