// The loopback HTTP(S) server the Windows tests talk to.
//
//   lumiscribe-test-server [--port-file PATH] [--idle-seconds N] [--lifeline]
//
// Listens on 127.0.0.1 on free ports: plain http, and https with a
// certificate made at start. The ports go to standard output, or to the port
// file ("http=N", "https=N", "lifeline=N" lines, written whole by a rename).
// The server ends on GET /_quit, after N idle seconds (default 300), and,
// with --lifeline, when the one connection made to the lifeline port closes,
// which is how a test process that dies without saying so still ends it.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "loopback_routes.h"
#include "tls_identity.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::string port_file;
  int idle_seconds = 300;
  bool lifeline = false;
};

// Lets any thread ask for the end and the main thread wait for it.
class StopSignal {
public:
  void request() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  bool requested() {
    std::lock_guard lock(mutex_);
    return stopped_;
  }
  // True once a stop was asked for; false when the wait timed out.
  bool wait_for(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return stopped_; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopped_ = false;
};

bool parse_options(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--port-file" && i + 1 < argc)
      options.port_file = argv[++i];
    else if (arg == "--idle-seconds" && i + 1 < argc)
      options.idle_seconds = std::atoi(argv[++i]);
    else if (arg == "--lifeline")
      options.lifeline = true;
    else
      return false;
  }
  return options.idle_seconds > 0;
}

int listen_on_loopback() {
  int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (sock < 0 || bind(sock, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
      listen(sock, 1) != 0 || getsockname(sock, reinterpret_cast<sockaddr *>(&address), &length))
    return -1;
  return sock;
}

int port_of(int sock) {
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  getsockname(sock, reinterpret_cast<sockaddr *>(&address), &length);
  return ntohs(address.sin_port);
}

// Waits until stop is requested or the fd is readable; true when readable.
bool wait_readable(int fd, StopSignal &stop) {
  while (!stop.requested()) {
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, 250) > 0)
      return true;
  }
  return false;
}

// The test process connects once; when that connection ends, so do we. A
// process that never connects within a minute is taken as gone as well.
void watch_lifeline(int listener, StopSignal &stop) {
  auto deadline = Clock::now() + std::chrono::seconds(60);
  int peer = -1;
  while (peer < 0 && !stop.requested() && Clock::now() < deadline) {
    pollfd entry{listener, POLLIN, 0};
    if (poll(&entry, 1, 250) > 0)
      peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  }
  char scratch[256];
  while (peer >= 0 && wait_readable(peer, stop) && recv(peer, scratch, sizeof(scratch), 0) > 0) {
  }
  if (peer >= 0)
    close(peer);
  stop.request();
}

bool announce_ports(const Options &options, int http, int https, int lifeline) {
  std::string text = "http=" + std::to_string(http) + "\nhttps=" + std::to_string(https) +
                     "\nlifeline=" + std::to_string(lifeline) + "\n";
  if (options.port_file.empty()) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    return true;
  }
  std::string partial = options.port_file + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file)
      return false;
  }
  return std::rename(partial.c_str(), options.port_file.c_str()) == 0;
}

// Started by a test process whose output a test runner may be waiting on:
// holding on to its pipes would keep the runner waiting for us.
void detach_standard_streams() {
  int null_fd = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null_fd < 0)
    return;
  dup2(null_fd, STDIN_FILENO);
  dup2(null_fd, STDOUT_FILENO);
  dup2(null_fd, STDERR_FILENO);
  close(null_fd);
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parse_options(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--port-file PATH] [--idle-seconds N] [--lifeline]\n", argv[0]);
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  if (!options.port_file.empty())
    detach_standard_streams();

  SSL_CTX *tls_context = make_self_signed_tls_context();
  if (!tls_context)
    return 1;
  StopSignal stop;
  LoopbackState state;
  state.request_stop = [&stop] { stop.request(); };
  std::atomic<Clock::rep> last_activity{Clock::now().time_since_epoch().count()};
  auto touch = [&last_activity] { last_activity = Clock::now().time_since_epoch().count(); };

  RecordingServer http(nullptr), https(tls_context);
  for (RecordingServer *server : {&http, &https}) {
    add_loopback_routes(*server, state);
    server->set_activity_callback(touch);
  }
  int http_port = http.bind_to_any_port("127.0.0.1");
  int https_port = https.bind_to_any_port("127.0.0.1");
  int lifeline = options.lifeline ? listen_on_loopback() : -1;
  if (http_port <= 0 || https_port <= 0 || (options.lifeline && lifeline < 0))
    return 1;
  std::thread http_thread([&http] { http.listen_after_bind(); });
  std::thread https_thread([&https] { https.listen_after_bind(); });
  std::thread lifeline_thread;
  if (lifeline >= 0)
    lifeline_thread = std::thread(watch_lifeline, lifeline, std::ref(stop));
  if (!announce_ports(options, http_port, https_port, lifeline >= 0 ? port_of(lifeline) : 0))
    stop.request();

  auto idle_limit = std::chrono::seconds(options.idle_seconds);
  while (!stop.wait_for(std::chrono::milliseconds(250))) {
    Clock::time_point last{Clock::duration(last_activity.load())};
    if (Clock::now() - last > idle_limit)
      stop.request();
  }
  http.stop();
  https.stop();
  http_thread.join();
  https_thread.join();
  if (lifeline_thread.joinable())
    lifeline_thread.join();
  if (lifeline >= 0)
    close(lifeline);
  if (!options.port_file.empty())
    std::remove(options.port_file.c_str());
  SSL_CTX_free(tls_context);
  return 0;
}
