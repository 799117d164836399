// The loopback test server as a Windows test or benchmark under Wine sees
// it: started on first use (it is a native program, which Wine runs when
// asked to start it), asked over http for what it recorded, and ended when
// the process is done with it. The server also ends by itself when the lifeline
// connection this process holds closes, so a crashed test leaves nothing
// running.
//
// LUMISCRIBE_TEST_HTTP_PORT and LUMISCRIBE_TEST_HTTPS_PORT name a server that
// is already running (it is then left alone); LUMISCRIBE_TEST_SERVER names
// the program to start, which is otherwise looked for in the native build
// trees beside this program's own tree.
#pragma once

#include <windows.h>

#include <winsock2.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/win_handles.h"

namespace loopback {

// One request as the server received it.
struct Request {
  std::string method;
  std::string target;
  // The header lines in the order they were sent.
  std::vector<std::pair<std::string, std::string>> headers;
  // The same lines joined by "\r\n", as they were on the wire.
  std::string header_text;
  std::string body;

  // The value of the first header of that name (any ASCII case); empty if none.
  std::string header(std::string_view name) const {
    const auto *found = find(name);
    return found ? found->second : std::string();
  }
  bool has_header(std::string_view name) const { return find(name) != nullptr; }

private:
  const std::pair<std::string, std::string> *find(std::string_view name) const {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const auto &entry : headers) {
      const std::string &key = entry.first;
      bool same = key.size() == name.size();
      for (std::size_t i = 0; same && i < key.size(); ++i)
        same = lower(key[i]) == lower(name[i]);
      if (same)
        return &entry;
    }
    return nullptr;
  }
};

namespace detail {

template <class Function> Function wine_export(const char *name) {
  FARPROC proc = GetProcAddress(GetModuleHandleW(L"kernel32"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

inline std::wstring dos_path(const std::string &unix_path) {
  auto convert = wine_export<WCHAR *(CDECL *)(LPCSTR)>("wine_get_dos_file_name");
  WCHAR *converted = convert ? convert(unix_path.c_str()) : nullptr;
  if (!converted)
    return std::wstring();
  std::wstring result = converted;
  HeapFree(GetProcessHeap(), 0, converted);
  return result;
}

inline std::string unix_path(const std::wstring &dos_path) {
  auto convert = wine_export<char *(CDECL *)(LPCWSTR)>("wine_get_unix_file_name");
  char *converted = convert ? convert(dos_path.c_str()) : nullptr;
  if (!converted)
    return std::string();
  std::string result = converted;
  HeapFree(GetProcessHeap(), 0, converted);
  return result;
}

inline std::wstring widen(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// GET over the platform's own client, outside anything under test; the body
// of a 200 answer, or nothing.
inline std::optional<std::string> control_get(const std::string &url) {
  InternetHandle internet(
      InternetOpenW(L"loopback-control", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!internet)
    return std::nullopt;
  InternetHandle request(InternetOpenUrlW(internet.get(), widen(url).c_str(), nullptr, 0,
                                          INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                              INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI,
                                          0));
  DWORD status = 0, size = sizeof(status);
  if (!request ||
      !HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &size, nullptr) ||
      status != 200)
    return std::nullopt;
  std::string body;
  std::vector<char> chunk(64 * 1024);
  DWORD read = 0;
  while (InternetReadFile(request.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read) &&
         read > 0)
    body.append(chunk.data(), read);
  return body;
}

inline Request parse_record(const std::string &raw) {
  Request request;
  std::size_t end = raw.find("\r\n\r\n");
  std::string head = raw.substr(0, end);
  request.body = end == std::string::npos ? std::string() : raw.substr(end + 4);
  std::size_t line_end = head.find("\r\n");
  std::string request_line = head.substr(0, line_end);
  std::size_t space = request_line.find(' ');
  request.method = request_line.substr(0, space);
  request.target = request_line.substr(space + 1, request_line.rfind(' ') - space - 1);
  request.header_text = line_end == std::string::npos ? std::string() : head.substr(line_end + 2);
  for (std::size_t start = 0; start < request.header_text.size();) {
    std::size_t stop = request.header_text.find("\r\n", start);
    if (stop == std::string::npos)
      stop = request.header_text.size();
    std::string line = request.header_text.substr(start, stop - start);
    std::size_t colon = line.find(':');
    std::size_t value = line.find_first_not_of(' ', colon + 1);
    request.headers.emplace_back(line.substr(0, colon),
                                 value == std::string::npos ? std::string() : line.substr(value));
    start = stop + 2;
  }
  return request;
}

inline bool newer_file(const std::wstring &path, FILETIME &newest) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      CompareFileTime(&data.ftLastWriteTime, &newest) <= 0)
    return false;
  newest = data.ftLastWriteTime;
  return true;
}

// The server program: named by the environment, else the newest build of it
// in the native trees beside the tree of this program (<build>/win/<dir>/).
inline std::string find_server_program() {
  if (const char *named = std::getenv("LUMISCRIBE_TEST_SERVER"))
    return named;
  wchar_t own_path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own_path, MAX_PATH);
  std::string build = unix_path(own_path);
  for (int level = 0; level < 3 && !build.empty(); ++level)
    build.erase(build.rfind('/'));
  std::string found;
  FILETIME newest{};
  for (const char *tree : {"/native", "/bench"}) {
    std::string candidate = build + tree + "/tests/support/lumiscribe-test-server";
    if (newer_file(dos_path(candidate), newest))
      found = candidate;
  }
  return found;
}

// The lifeline is a plain TCP connection; Winsock is loaded here so that the
// programs using this header need not link it.
class Lifeline {
public:
  bool connect_to(int port) {
    HMODULE winsock = LoadLibraryW(L"ws2_32.dll");
    if (!winsock)
      return false;
    auto startup = export_of<int(WSAAPI *)(WORD, LPWSADATA)>(winsock, "WSAStartup");
    auto open = export_of<SOCKET(WSAAPI *)(int, int, int)>(winsock, "socket");
    auto connect = export_of<int(WSAAPI *)(SOCKET, const sockaddr *, int)>(winsock, "connect");
    close_ = export_of<int(WSAAPI *)(SOCKET)>(winsock, "closesocket");
    WSADATA data{};
    if (!startup || !open || !connect || !close_ || startup(MAKEWORD(2, 2), &data) != 0)
      return false;
    socket_ = open(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = static_cast<u_short>(((port & 0xFF) << 8) | ((port >> 8) & 0xFF));
    address.sin_addr.s_addr = 0x0100007F; // 127.0.0.1 in network order
    return socket_ != INVALID_SOCKET &&
           connect(socket_, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
  }
  void cut() {
    if (socket_ != INVALID_SOCKET && close_)
      close_(socket_);
    socket_ = INVALID_SOCKET;
  }

private:
  template <class Function> static Function export_of(HMODULE module, const char *name) {
    FARPROC proc = GetProcAddress(module, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
  }

  SOCKET socket_ = INVALID_SOCKET;
  int(WSAAPI *close_)(SOCKET) = nullptr;
};

inline int port_from(const std::string &text, const std::string &key) {
  std::size_t at = text.find(key + "=");
  return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + key.size() + 1);
}

inline std::string read_small_file(const std::wstring &path) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  char buffer[256] = {};
  DWORD read = 0;
  if (!file || !ReadFile(file.get(), buffer, sizeof(buffer) - 1, &read, nullptr))
    return std::string();
  return std::string(buffer, read);
}

} // namespace detail

class Server {
public:
  // The server of this process, started on first use.
  static Server &shared() {
    static Server server;
    return server;
  }

  bool running() const { return http_port_ > 0 && https_port_ > 0; }
  // Why the server is not running, for a test's failure message.
  const std::string &problem() const { return problem_; }
  int http_port() const { return http_port_; }
  int https_port() const { return https_port_; }

  // "http://127.0.0.1:<port>" or "https://..." followed by the path.
  std::string url(std::string_view path, bool https = false) const {
    return std::string(https ? "https" : "http") +
           "://127.0.0.1:" + std::to_string(https ? https_port_ : http_port_) + std::string(path);
  }

  // The latest recorded request (back 0), or the one `back` requests before.
  std::optional<Request> request(int back = 0) const {
    auto raw = detail::control_get(url("/_record?back=" + std::to_string(back)));
    if (!raw)
      return std::nullopt;
    return detail::parse_record(*raw);
  }
  // How many requests the server has recorded so far; -1 when it does not answer.
  int request_count() const {
    auto text = detail::control_get(url("/_count"));
    return text ? std::atoi(text->c_str()) : -1;
  }

  // Ends a server this process started; idempotent.
  void stop() {
    if (started_here_ && running())
      detail::control_get(url("/_quit"));
    lifeline_.cut();
    started_here_ = false;
    http_port_ = https_port_ = 0;
  }

  ~Server() { stop(); }
  Server(const Server &) = delete;
  Server &operator=(const Server &) = delete;

private:
  Server() {
    const char *http = std::getenv("LUMISCRIBE_TEST_HTTP_PORT");
    const char *https = std::getenv("LUMISCRIBE_TEST_HTTPS_PORT");
    if (http && https) {
      http_port_ = std::atoi(http);
      https_port_ = std::atoi(https);
      return;
    }
    start();
  }

  void start() {
    std::string program = detail::find_server_program();
    std::wstring program_dos = program.empty() ? std::wstring() : detail::dos_path(program);
    if (program_dos.empty()) {
      problem_ = "the loopback test server was not found: build the native tree first, or set "
                 "LUMISCRIBE_TEST_SERVER";
      return;
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring port_file = std::wstring(temp) + L"lumiscribe-loopback-" +
                             std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount64()) + L".ports";
    std::wstring command = L"\"" + program_dos + L"\" --lifeline --port-file \"" +
                           detail::widen(detail::unix_path(port_file)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program_dos.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
      problem_ = "the loopback test server could not be started: " + program;
      return;
    }
    for (HANDLE handle : {process.hThread, process.hProcess})
      if (handle && handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    wait_for_ports(port_file);
  }

  void wait_for_ports(const std::wstring &port_file) {
    for (int tries = 0; tries < 600 && !running(); ++tries) {
      Sleep(50);
      std::string text = detail::read_small_file(port_file);
      http_port_ = detail::port_from(text, "http");
      https_port_ = detail::port_from(text, "https");
      if (running() && !lifeline_.connect_to(detail::port_from(text, "lifeline")))
        http_port_ = https_port_ = 0;
    }
    DeleteFileW(port_file.c_str());
    started_here_ = running();
    if (!running())
      problem_ = "the loopback test server did not announce its ports";
  }

  int http_port_ = 0;
  int https_port_ = 0;
  bool started_here_ = false;
  detail::Lifeline lifeline_;
  std::string problem_;
};

} // namespace loopback
