#include "service/ocr_service.h"

#include <openssl/rand.h>

#include <variant>

#include "service/base64_decode.h"
#include "service/form.h"

namespace ocr_service {
namespace {

// A field from the body, or else from the query string.
std::optional<std::string> field(const FormFields &body, const FormFields &query,
                                 std::string_view name) {
  if (auto value = form_value(body, name))
    return value;
  return form_value(query, name);
}

bool side_in_range(int side) {
  return side >= kMinImageSide && side <= kMaxImageSide;
}

} // namespace

OcrService::OcrService(ClientCredentials credentials, TokenIssuer &tokens, JobRunner &runner)
    : credentials_(std::move(credentials)), tokens_(tokens), runner_(runner) {
  // Log ids start at a random point below 2^53, so that they stay exact in a
  // JavaScript number and differ between runs of the server.
  std::uint64_t start = 0;
  RAND_bytes(reinterpret_cast<unsigned char *>(&start), sizeof start);
  log_id_ = (start & ((1ull << 52) - 1)) + 1;
}

std::uint64_t OcrService::next_log_id() {
  return log_id_.fetch_add(1);
}

HttpAnswer OcrService::token(std::string_view query, std::string_view body) {
  FormFields body_fields = parse_form(body), query_fields = parse_form(query);
  auto grant = field(body_fields, query_fields, "grant_type");
  if (grant != "client_credentials")
    return oauth_error(400, "unsupported_grant_type",
                       "The authorization grant type is not supported");
  if (field(body_fields, query_fields, "client_id") != credentials_.client_id)
    return oauth_error(401, "invalid_client", "unknown client id");
  if (field(body_fields, query_fields, "client_secret") != credentials_.client_secret)
    return oauth_error(401, "invalid_client", "Client authentication failed");
  return token_answer(tokens_.issue(), tokens_.lifetime());
}

std::variant<ErrorCode, RecognitionJob> OcrService::read_job(std::string_view query,
                                                             std::string_view body) {
  FormFields body_fields = parse_form(body), query_fields = parse_form(query);
  auto token = field(body_fields, query_fields, "access_token");
  switch (token ? tokens_.check(*token) : TokenCheck::invalid) {
  case TokenCheck::invalid:
    return ErrorCode::token_invalid;
  case TokenCheck::expired:
    return ErrorCode::token_expired;
  case TokenCheck::valid:
    break;
  }
  RecognitionJob job;
  auto language = field(body_fields, query_fields, "language_type").value_or("CHN_ENG");
  if (language == "ENG") {
    job.language = Language::english;
  } else if (language != "CHN_ENG") {
    return ErrorCode::invalid_param;
  }
  auto image = form_value(body_fields, "image");
  if (!image)
    return ErrorCode::not_enough_param;
  if (image->empty())
    return ErrorCode::empty_image;
  if (image->size() > kMaxEncodedImageBytes)
    return ErrorCode::image_size;
  auto bytes = base64_decode(*image);
  if (!bytes)
    return ErrorCode::image_format;
  if (bytes->empty())
    return ErrorCode::empty_image;
  ImageProbe probe = probe_image(*bytes);
  if (probe.format == ImageFormat::unknown || !probe.has_size)
    return ErrorCode::image_format;
  if (!side_in_range(probe.width) || !side_in_range(probe.height))
    return ErrorCode::image_size;
  job.format = probe.format;
  job.image = std::move(*bytes);
  return job;
}

HttpAnswer OcrService::recognize(Endpoint endpoint, std::string_view query, std::string_view body) {
  std::uint64_t log_id = next_log_id();
  auto job = read_job(query, body);
  if (auto *code = std::get_if<ErrorCode>(&job))
    return recognition_error(*code, log_id);
  std::get<RecognitionJob>(job).endpoint = endpoint;
  auto outcome = runner_.run(std::move(std::get<RecognitionJob>(job)));
  if (!outcome)
    return recognition_error(ErrorCode::queue_full, log_id);
  if (outcome->error != ErrorCode::none)
    return recognition_error(outcome->error, log_id);
  return recognition_answer(outcome->lines, log_id);
}

} // namespace ocr_service
