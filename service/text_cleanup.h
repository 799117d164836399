// Clean-up of recognised lines. The Chinese model puts spaces between Chinese
// characters and reads full-width punctuation as ASCII with spaces around it
// ("时间 : 12"); Chinese text has neither.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ocr_service {

// Han characters, kana, CJK and full-width punctuation and forms.
bool is_cjk(char32_t c);
bool is_fullwidth_punctuation(char32_t c);

std::u32string utf8_to_u32(std::string_view utf8); // invalid bytes become U+FFFD
std::string u32_to_utf8(std::u32string_view text);

// One line of Chinese text: ASCII , : ; ? ! . and parentheses next to CJK
// characters become their full-width forms, spaces between two CJK characters
// and around full-width punctuation go, an angle bracket closed by a
// full-width parenthesis becomes one, and the line is trimmed.
std::string clean_chinese_line(std::string_view line);

// Every line trimmed (and, for Chinese, cleaned); empty lines dropped.
std::vector<std::string> clean_lines(const std::vector<std::string> &lines, bool chinese);

} // namespace ocr_service
