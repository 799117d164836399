// How fast http_fetch brings a 10 MB body over loopback, under Wine: against
// the loopback test server (started here, ended on exit), over https and http,
// and, for scale, the same https body read by the platform in 64 KB pieces
// instead of http_fetch's 1024-byte reads.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "http/http_fetch.h"
#include "tests/support/loopback_pattern.h"
#include "tests/support/loopback_server_win.h"

namespace {

constexpr int kRuns = 5;

double seconds_now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One fetch; returns the bytes received.
using Fetch = std::function<std::size_t()>;

// Megabytes (2^20 bytes) per second of each run, after one warm-up run.
std::vector<double> measure(const Fetch &fetch) {
  fetch();
  std::vector<double> rates;
  for (int run = 0; run < kRuns; ++run) {
    double start = seconds_now();
    std::size_t size = fetch();
    double elapsed = seconds_now() - start;
    if (size != kLoopbackBigBodySize) {
      std::printf("  run %d: got %zu bytes, expected %zu\n", run, size, kLoopbackBigBodySize);
      continue;
    }
    rates.push_back(static_cast<double>(size) / (1024.0 * 1024.0) / elapsed);
  }
  return rates;
}

void report(const char *name, std::vector<double> rates) {
  if (rates.empty()) {
    std::printf("%-34s failed\n", name);
    return;
  }
  std::sort(rates.begin(), rates.end());
  std::printf("%-34s median %7.1f MB/s   best %7.1f MB/s   (%zu runs)\n", name,
              rates[rates.size() / 2], rates.back(), rates.size());
}

// The same request straight on the platform, reading 64 KB at a time.
std::size_t platform_fetch(int port) {
  InternetHandle internet(InternetOpenW(L"bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  InternetHandle connection(InternetConnectW(internet.get(), L"127.0.0.1",
                                             static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", L"/big", L"HTTP/1.1", nullptr,
                                          nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_SECURE, 0));
  DWORD security_flags = 0x0001F380;
  InternetSetOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &security_flags,
                     sizeof(security_flags));
  if (!request || !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0))
    return 0;
  std::vector<char> body;
  std::vector<char> chunk(64 * 1024);
  DWORD read = 0;
  while (InternetReadFile(request.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read) &&
         read > 0)
    body.insert(body.end(), chunk.begin(), chunk.begin() + read);
  return body.size();
}

} // namespace

int main() {
  loopback::Server &server = loopback::Server::shared();
  if (!server.running()) {
    std::printf("http_fetch_win_bench: %s\n", server.problem().c_str());
    return 1;
  }
  const std::string https_url = server.url("/big", true);
  const std::string http_url = server.url("/big");
  std::printf("10 MB body over loopback, %d runs each\n", kRuns);
  report("http_fetch https", measure([&] { return http_fetch(https_url).size(); }));
  report("http_fetch http", measure([&] { return http_fetch(http_url).size(); }));
  report("platform https, 64 KB reads",
         measure([&] { return platform_fetch(server.https_port()); }));
  server.stop();
  return 0;
}
