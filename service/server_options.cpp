#include "service/server_options.h"

#include <charconv>

namespace ocr_service {
namespace {

bool parse_int(const std::string &text, int low, int high, int &value) {
  int parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
    return false;
  value = parsed;
  return true;
}

// Options that take a value; the value is the next argument or follows '='.
bool apply_value(ServerOptions &options, const std::string &name, const std::string &value,
                 std::string &error) {
  if (name == "--listen") {
    if (!parse_listen_address(value, options.host, options.port))
      error = "bad address for --listen: " + value;
  } else if (name == "--cert") {
    options.cert_file = value;
  } else if (name == "--key") {
    options.key_file = value;
  } else if (name == "--workers") {
    if (!parse_int(value, 1, 256, options.workers))
      error = "--workers takes a number from 1 to 256";
  } else if (name == "--queue") {
    if (!parse_int(value, 0, 4096, options.queue))
      error = "--queue takes a number from 0 to 4096";
  } else if (name == "--client-id") {
    options.client_id = value;
  } else if (name == "--client-secret") {
    options.client_secret = value;
  } else if (name == "--state-dir") {
    options.state_dir = value;
  } else if (name == "--tessdata") {
    options.tessdata_dir = value;
  } else {
    error = "unknown option " + name;
  }
  return error.empty();
}

} // namespace

bool parse_listen_address(const std::string &text, std::string &host, int &port) {
  std::string host_part = "127.0.0.1", port_part = text;
  if (!text.empty() && text.front() == '[') {
    std::size_t close = text.find(']');
    if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':')
      return false;
    host_part = text.substr(1, close - 1);
    port_part = text.substr(close + 2);
  } else if (std::size_t colon = text.rfind(':'); colon != std::string::npos) {
    host_part = text.substr(0, colon);
    port_part = text.substr(colon + 1);
  }
  int parsed = 0;
  if (host_part.empty() || !parse_int(port_part, 0, 65535, parsed))
    return false;
  host = host_part;
  port = parsed;
  return true;
}

ParsedOptions parse_server_options(const std::vector<std::string> &arguments,
                                   const ServerOptions &defaults) {
  ServerOptions options = defaults;
  std::string error;
  for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
    std::string name = arguments[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name == "--version") {
      options.version = true;
      continue;
    }
    std::string value;
    if (std::size_t equals = name.find('=');
        name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected argument " + name;
      break;
    }
    apply_value(options, name, value, error);
  }
  if (error.empty() && options.cert_file.empty() != options.key_file.empty())
    error = "--cert and --key go together";
  if (!error.empty())
    return {std::nullopt, error};
  return {options, {}};
}

std::string usage_text() {
  return "Usage: lumiscribe-ocr-server [options]\n"
         "Answers the OCR service protocol (token exchange, accurate_basic and\n"
         "general_basic recognition) over HTTPS with a local recogniser.\n"
         "\n"
         "  --listen HOST:PORT     address to listen on (default 127.0.0.1:8443)\n"
         "  --cert FILE --key FILE TLS certificate and key in PEM (default: a\n"
         "                         self-signed pair made once in the state directory)\n"
         "  --workers N            recognition workers (default: one per core)\n"
         "  --queue N              requests that may wait for a worker (default 4 per worker)\n"
         "  --client-id ID         accepted client id (default: the built-in one)\n"
         "  --client-secret S      accepted client secret (default: the built-in one)\n"
         "  --state-dir DIR        where the certificate is kept (default\n"
         "                         $XDG_STATE_HOME/lumiscribe or ~/.local/state/lumiscribe)\n"
         "  --tessdata DIR         folder of the recognition models (default: Tesseract's)\n"
         "  --help, --version\n";
}

} // namespace ocr_service
