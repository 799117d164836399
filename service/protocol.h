// The OCR service protocol as this server speaks it: limits, error codes and
// the JSON answers of the token exchange and the recognition endpoints.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ocr_service {

inline constexpr std::string_view kTokenPath = "/oauth/2.0/token";
inline constexpr std::string_view kAccuratePath = "/rest/2.0/ocr/v1/accurate_basic";
inline constexpr std::string_view kGeneralPath = "/rest/2.0/ocr/v1/general_basic";

inline constexpr std::int64_t kTokenLifetimeSeconds = 2592000; // 30 days
inline constexpr std::size_t kMaxBodyBytes = 12u << 20;
inline constexpr std::size_t kMaxEncodedImageBytes = 10u << 20;
inline constexpr int kMinImageSide = 15;
inline constexpr int kMaxImageSide = 8192;

enum class ErrorCode : int {
  none = 0,
  unsupported_method = 3,
  queue_full = 18,
  token_invalid = 110,
  token_expired = 111,
  invalid_param = 216100,
  not_enough_param = 216101,
  empty_image = 216200,
  image_format = 216201,
  image_size = 216202,
  internal = 282000,
};

std::string_view error_message(ErrorCode code);

// What goes back over HTTP, and what the request log says about it: the error
// code or OAuth error name, "0" on success.
struct HttpAnswer {
  int status = 200;
  std::string body;
  std::string log_error = "0";
};

HttpAnswer token_answer(std::string_view access_token, std::int64_t expires_in);
HttpAnswer oauth_error(int status, std::string_view error, std::string_view description);

// Recognition errors travel with HTTP 200, as the cloud service sends them,
// except that an unknown method is also an HTTP 404.
HttpAnswer recognition_error(ErrorCode code, std::uint64_t log_id);
HttpAnswer recognition_answer(const std::vector<std::string> &lines, std::uint64_t log_id);

} // namespace ocr_service
