#include "service/form.h"

namespace ocr_service {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

} // namespace

std::string form_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
               hex_value(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2])));
      i += 2;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

FormFields parse_form(std::string_view text) {
  FormFields fields;
  while (!text.empty()) {
    std::size_t end = text.find('&');
    std::string_view pair = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (pair.empty())
      continue;
    std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos) {
      fields.emplace_back(form_decode(pair), std::string());
    } else {
      fields.emplace_back(form_decode(pair.substr(0, equals)),
                          form_decode(pair.substr(equals + 1)));
    }
  }
  return fields;
}

std::optional<std::string> form_value(const FormFields &fields, std::string_view name) {
  for (const auto &[field_name, value] : fields) {
    if (field_name == name)
      return value;
  }
  return std::nullopt;
}

std::string_view query_of(std::string_view target) {
  std::size_t mark = target.find('?');
  if (mark == std::string_view::npos)
    return {};
  std::string_view query = target.substr(mark + 1);
  return query.substr(0, query.find('#'));
}

} // namespace ocr_service
