// The command line of lumiscribe-ocr-server.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ocr_service {

struct ServerOptions {
  std::string host = "127.0.0.1";
  int port = 8443;
  std::string cert_file;
  std::string key_file;
  int workers = 0;       // 0: one per core
  int queue = 0;         // 0: four waiting requests per worker
  std::string client_id; // defaults: the program's built-in pair
  std::string client_secret;
  std::string state_dir; // empty: the default state directory
  std::string tessdata_dir;
  bool help = false;
  bool version = false;
};

struct ParsedOptions {
  std::optional<ServerOptions> options;
  std::string error; // set when options is empty
};

ParsedOptions parse_server_options(const std::vector<std::string> &arguments,
                                   const ServerOptions &defaults);

// "host:port"; a bare port means the loopback address. Brackets allow IPv6.
bool parse_listen_address(const std::string &text, std::string &host, int &port);

std::string usage_text();

} // namespace ocr_service
