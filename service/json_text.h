// JSON string literals for the answers.
#pragma once

#include <string>
#include <string_view>

namespace ocr_service {

// The text as a quoted JSON string. UTF-8 passes through unescaped (the
// answers carry Chinese text as UTF-8); quotes, backslashes and control
// characters are escaped, and bytes that are not valid UTF-8 become U+FFFD so
// the answer is always valid JSON.
std::string json_string(std::string_view utf8);

// Length in bytes of the valid UTF-8 sequence starting at text[i], or 0.
std::size_t utf8_sequence_length(std::string_view text, std::size_t i);

} // namespace ocr_service
