#include "service/protocol.h"

#include "service/json_text.h"

namespace ocr_service {

std::string_view error_message(ErrorCode code) {
  switch (code) {
  case ErrorCode::none:
    return "";
  case ErrorCode::unsupported_method:
    return "Unsupported openapi method";
  case ErrorCode::queue_full:
    return "Open api qps request limit reached";
  case ErrorCode::token_invalid:
    return "Access token invalid or no longer valid";
  case ErrorCode::token_expired:
    return "Access token expired";
  case ErrorCode::invalid_param:
    return "invalid param";
  case ErrorCode::not_enough_param:
    return "not enough param";
  case ErrorCode::empty_image:
    return "empty image";
  case ErrorCode::image_format:
    return "image format error";
  case ErrorCode::image_size:
    return "image size error";
  case ErrorCode::internal:
    return "internal error";
  }
  return "internal error";
}

HttpAnswer token_answer(std::string_view access_token, std::int64_t expires_in) {
  HttpAnswer answer;
  answer.body = "{\"access_token\":" + json_string(access_token) +
                ",\"expires_in\":" + std::to_string(expires_in) +
                ",\"scope\":\"public ocr_accurate_basic ocr_general_basic\"}";
  return answer;
}

HttpAnswer oauth_error(int status, std::string_view error, std::string_view description) {
  HttpAnswer answer;
  answer.status = status;
  answer.body = "{\"error\":" + json_string(error) +
                ",\"error_description\":" + json_string(description) + "}";
  answer.log_error = std::string(error);
  return answer;
}

HttpAnswer recognition_error(ErrorCode code, std::uint64_t log_id) {
  HttpAnswer answer;
  answer.status = code == ErrorCode::unsupported_method ? 404 : 200;
  answer.body = "{\"error_code\":" + std::to_string(static_cast<int>(code)) +
                ",\"error_msg\":" + json_string(error_message(code)) +
                ",\"log_id\":" + std::to_string(log_id) + "}";
  answer.log_error = std::to_string(static_cast<int>(code));
  return answer;
}

HttpAnswer recognition_answer(const std::vector<std::string> &lines, std::uint64_t log_id) {
  HttpAnswer answer;
  std::string &body = answer.body;
  body = "{\"log_id\":" + std::to_string(log_id) +
         ",\"words_result_num\":" + std::to_string(lines.size()) + ",\"words_result\":[";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0)
      body.push_back(',');
    body += "{\"words\":" + json_string(lines[i]) + "}";
  }
  body += "]}";
  return answer;
}

} // namespace ocr_service
