// The picture decoders read whatever 1.jpg holds. The first byte picks the
// decoder; the rest is the file. A decoded image must be as large as it says.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "runtime/picture.h"

namespace {

void check_image(const PictureImage &image) {
  if (image.empty())
    return;
  if (!picture_size_acceptable(image.width, image.height) ||
      image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  std::span<const std::uint8_t> file(data + 1, size - 1);
  Bytes bytes(file.begin(), file.end());
  picture_format(bytes);
  switch (data[0] % 4) {
  case 0:
    check_image(decode_bmp(file));
    break;
  case 1:
    check_image(decode_cursor(file));
    break;
  case 2:
    check_image(decode_pcx(file));
    break;
  default:
    icon_png_payload(file);
    break;
  }
  return 0;
}
