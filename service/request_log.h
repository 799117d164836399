// One line per request on standard error. It names the method, the path
// without its query (the query holds the access token), the HTTP status, the
// error code and the time taken; never the picture, a secret or a token.
#pragma once

#include <string>
#include <string_view>

namespace ocr_service {

std::string format_log_line(std::string_view method, std::string_view path, int status,
                            std::string_view error, long milliseconds);

// Writes the line with a time stamp; safe to call from several threads.
void write_log_line(const std::string &line);

} // namespace ocr_service
