// The server's TLS certificate when none is given: a self-signed one for
// 127.0.0.1 and localhost, made once in the state directory and reused.
#pragma once

#include <string>

namespace ocr_service {

// $XDG_STATE_HOME/lumiscribe, or ~/.local/state/lumiscribe.
std::string default_state_dir();

struct CertificateFiles {
  std::string cert_file;
  std::string key_file;
  bool created = false;
  std::string error; // set on failure
};

// Makes the directory, and the pair when either file is missing.
CertificateFiles ensure_certificate(const std::string &state_dir);

} // namespace ocr_service
