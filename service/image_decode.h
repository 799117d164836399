// Pictures to grey: BMP by the server's own reader, PNG and JPEG by leptonica.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "service/grey_image.h"
#include "service/image_probe.h"

namespace ocr_service {

// Transparent parts of a PNG are laid on white. Nothing when the picture
// cannot be decoded.
std::optional<GreyImage> decode_image(const std::vector<std::uint8_t> &bytes, ImageFormat format);

// Keeps leptonica from writing its complaints about bad pictures to stderr.
void quiet_image_library();

} // namespace ocr_service
