#include "service/image_decode.h"

#include <leptonica/allheaders.h>

#include <memory>

#include "service/bmp_decoder.h"

namespace ocr_service {
namespace {

struct PixDeleter {
  void operator()(Pix *pix) const { pixDestroy(&pix); }
};
using PixPointer = std::unique_ptr<Pix, PixDeleter>;

GreyImage grey_of_pix(Pix *pix8) {
  int width = static_cast<int>(pixGetWidth(pix8)), height = static_cast<int>(pixGetHeight(pix8));
  GreyImage image(width, height);
  l_uint32 *data = pixGetData(pix8);
  int words_per_line = pixGetWpl(pix8);
  for (int y = 0; y < height; ++y) {
    l_uint32 *line = data + static_cast<std::size_t>(y) * words_per_line;
    for (int x = 0; x < width; ++x)
      image.at(x, y) = static_cast<std::uint8_t>(GET_DATA_BYTE(line, x));
  }
  return image;
}

} // namespace

void quiet_image_library() {
  setMsgSeverity(L_SEVERITY_NONE);
}

std::optional<GreyImage> decode_image(const std::vector<std::uint8_t> &bytes, ImageFormat format) {
  if (format == ImageFormat::bmp)
    return decode_bmp(bytes);
  if (format != ImageFormat::png && format != ImageFormat::jpeg)
    return std::nullopt;
  PixPointer pix(pixReadMem(bytes.data(), bytes.size()));
  if (!pix)
    return std::nullopt;
  if (pixGetDepth(pix.get()) == 32 && pixGetSpp(pix.get()) == 4) {
    PixPointer blended(pixAlphaBlendUniform(pix.get(), 0xffffff00));
    if (!blended)
      return std::nullopt;
    pix = std::move(blended);
  }
  PixPointer grey(pixConvertTo8(pix.get(), 0));
  if (!grey)
    return std::nullopt;
  return grey_of_pix(grey.get());
}

} // namespace ocr_service
