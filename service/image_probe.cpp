#include "service/image_probe.h"

#include "service/bmp_decoder.h"
#include "service/byte_reader.h"

namespace ocr_service {
namespace {

bool is_start_of_frame(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void probe_png(const ByteReader &in, ImageProbe &probe) {
  if (!in.has(12, 12) || in.be(12, 4) != 0x49484452)
    return; // "IHDR"
  std::uint32_t width = in.be(16, 4), height = in.be(20, 4);
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
    return;
  probe.width = static_cast<int>(width);
  probe.height = static_cast<int>(height);
  probe.has_size = true;
}

void probe_jpeg(const ByteReader &in, ImageProbe &probe) {
  std::size_t at = 2;
  while (in.has(at, 2)) {
    if (in.bytes[at] != 0xFF)
      return;
    std::uint8_t marker = in.bytes[at + 1];
    if (marker == 0xFF) { // fill byte
      ++at;
      continue;
    }
    at += 2;
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
      continue;
    if (marker == 0xD9 || marker == 0xDA || !in.has(at, 2))
      return;
    std::uint32_t length = in.be(at, 2);
    if (length < 2)
      return;
    if (is_start_of_frame(marker)) {
      if (!in.has(at, 7))
        return;
      probe.height = static_cast<int>(in.be(at + 3, 2));
      probe.width = static_cast<int>(in.be(at + 5, 2));
      probe.has_size = true;
      return;
    }
    at += length;
  }
}

} // namespace

ImageProbe probe_image(const std::vector<std::uint8_t> &bytes) {
  ByteReader in{bytes};
  ImageProbe probe;
  static const std::uint8_t png_signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (in.has(0, 8) && std::equal(png_signature, png_signature + 8, bytes.begin())) {
    probe.format = ImageFormat::png;
    probe_png(in, probe);
  } else if (in.has(0, 3) && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
    probe.format = ImageFormat::jpeg;
    probe_jpeg(in, probe);
  } else if (in.has(0, 2) && bytes[0] == 'B' && bytes[1] == 'M') {
    probe.format = ImageFormat::bmp;
    if (auto header = read_bmp_header(bytes)) {
      probe.width = header->width;
      probe.height = header->height;
      probe.has_size = true;
    }
  }
  return probe;
}

} // namespace ocr_service
