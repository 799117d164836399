// BMP files and cursor files. The program's own captures carry a header-size
// field of 44 (the 40-byte header and one colour entry), which the platform's
// decoder refuses; this decoder reads any info header of 40 bytes or more.
#include <cstring>

#include "runtime/picture_dib.h"

namespace {

const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool is_png(ByteSpan bytes) {
  return bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0;
}

} // namespace

PictureImage decode_bmp(ByteSpan file) {
  if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M')
    return {};
  std::size_t pixel_offset = *read_u32(file, 10);
  if (pixel_offset < 14 + 12)
    return {};
  return decode_dib({file.subspan(14), pixel_offset - 14, false});
}

PictureImage decode_cursor(ByteSpan file) {
  auto entry = first_icon_entry(file, 2);
  if (!entry || is_png(entry->image))
    return {};
  return decode_dib({entry->image, std::nullopt, true});
}

ByteSpan icon_png_payload(ByteSpan file) {
  for (int type : {1, 2}) {
    auto entry = first_icon_entry(file, type);
    if (entry && is_png(entry->image))
      return entry->image;
  }
  return {};
}
