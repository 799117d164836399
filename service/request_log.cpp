#include "service/request_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace ocr_service {
namespace {

// Whatever a client puts in the request line reaches the log printable and
// short, so that it cannot forge or flood log lines.
std::string printable(std::string_view text, std::size_t limit) {
  std::string out;
  for (char c : text.substr(0, limit)) {
    unsigned char byte = static_cast<unsigned char>(c);
    out.push_back(byte < 0x21 || byte >= 0x7F ? '?' : c);
  }
  if (text.size() > limit)
    out += "...";
  return out;
}

} // namespace

std::string format_log_line(std::string_view method, std::string_view path, int status,
                            std::string_view error, long milliseconds) {
  return printable(method, 16) + " " + printable(path, 200) + " " + std::to_string(status) +
         " error=" + printable(error, 40) + " " + std::to_string(milliseconds) + "ms";
}

void write_log_line(const std::string &line) {
  static std::mutex mutex;
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  std::lock_guard lock(mutex);
  std::fprintf(stderr, "%s %s\n", stamp, line.c_str());
  std::fflush(stderr);
}

} // namespace ocr_service
