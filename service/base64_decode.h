// Base64 decoding of the picture field.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ocr_service {

// Decodes standard or URL-safe Base64. Line breaks and tabs are skipped, and a
// space is read as '+': a client that forgot to percent-encode the picture has
// its '+' signs turned into spaces by form decoding. Padding is optional.
// Any other character, or a dangling single character, gives nothing.
std::optional<std::vector<std::uint8_t>> base64_decode(std::string_view text);

} // namespace ocr_service
