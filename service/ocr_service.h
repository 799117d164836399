// The protocol logic of the server, apart from HTTP and the engines: it takes
// a request's path, query and body and gives the answer.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "service/protocol.h"
#include "service/recognition_job.h"
#include "service/token_issuer.h"

namespace ocr_service {

struct ClientCredentials {
  std::string client_id;
  std::string client_secret;
};

class OcrService {
public:
  OcrService(ClientCredentials credentials, TokenIssuer &tokens, JobRunner &runner);

  // The token exchange; the fields may come in the query or in the body.
  HttpAnswer token(std::string_view query, std::string_view body);
  // A recognition request to kAccuratePath or kGeneralPath.
  HttpAnswer recognize(Endpoint endpoint, std::string_view query, std::string_view body);

  HttpAnswer error(ErrorCode code) { return recognition_error(code, next_log_id()); }
  std::uint64_t next_log_id();

private:
  std::variant<ErrorCode, RecognitionJob> read_job(std::string_view query, std::string_view body);

  ClientCredentials credentials_;
  TokenIssuer &tokens_;
  JobRunner &runner_;
  std::atomic<std::uint64_t> log_id_;
};

} // namespace ocr_service
