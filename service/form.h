// Form bodies and query strings (application/x-www-form-urlencoded).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ocr_service {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// Percent-decodes; '+' becomes a space as forms define it. A '%' that does not
// start a valid escape is kept as it is rather than refusing the whole field.
std::string form_decode(std::string_view text);

// Splits name=value pairs at '&' and decodes both halves. A pair without '='
// is a field with an empty value; empty pairs are skipped.
FormFields parse_form(std::string_view text);

// The first value given for a field, or nothing when the field is absent.
std::optional<std::string> form_value(const FormFields &fields, std::string_view name);

// The query part of a request target ("/path?a=b" gives "a=b").
std::string_view query_of(std::string_view target);

} // namespace ocr_service
