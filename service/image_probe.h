// What a picture claims to be, read from its first bytes only, so that a
// picture whose header claims a huge size is refused before anything is
// decoded or allocated for it.
#pragma once

#include <cstdint>
#include <vector>

namespace ocr_service {

enum class ImageFormat { unknown, png, jpeg, bmp };

struct ImageProbe {
  ImageFormat format = ImageFormat::unknown;
  bool has_size = false; // false: the header is cut short or garbled
  int width = 0;
  int height = 0;
};

ImageProbe probe_image(const std::vector<std::uint8_t> &bytes);

} // namespace ocr_service
