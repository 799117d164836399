// Decoding every picture format the picture box knows: the portable decoders
// for BMP, cursor files and PCX, the platform's imaging component (WIC) for
// JPEG, PNG, GIF and icons.
#include <windows.h>
// After windows.h, which it needs.
#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "runtime/picture.h"
#include "runtime/win_handles.h"

namespace {

// Frames of an animation are kept whole (each the full canvas); this bounds
// what one GIF may take.
constexpr std::int64_t kAnimationPixelBudget = std::int64_t(1) << 25;

ComPtr<IWICImagingFactory> imaging_factory() {
  ComPtr<IWICImagingFactory> factory;
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                   factory.put_void());
  return factory;
}

ComPtr<IWICBitmapDecoder> decoder_for(IWICImagingFactory *factory,
                                      std::span<const std::uint8_t> bytes,
                                      ComPtr<IWICStream> &stream) {
  ComPtr<IWICBitmapDecoder> decoder;
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF || FAILED(factory->CreateStream(stream.put())))
    return decoder;
  // The stream reads the caller's buffer in place; it lives no longer than it.
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(bytes.data()), DWORD(bytes.size()))))
    return decoder;
  factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                   decoder.put());
  return decoder;
}

PictureImage frame_pixels(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame) {
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return {};
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || !picture_size_acceptable(width, height))
    return {};
  PictureImage image;
  image.width = int(width);
  image.height = int(height);
  image.pixels.resize(std::size_t(width) * height);
  UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, UINT(image.pixels.size() * 4),
                                   reinterpret_cast<BYTE *>(image.pixels.data()))))
    return {};
  return image;
}

int metadata_number(IWICMetadataQueryReader *reader, const wchar_t *name) {
  ScopedPropVariant value;
  if (!reader || FAILED(reader->GetMetadataByName(name, value.get())))
    return 0;
  switch (value.get()->vt) {
  case VT_UI1:
    return value.get()->bVal;
  case VT_UI2:
    return value.get()->uiVal;
  case VT_UI4:
    return int(value.get()->ulVal);
  default:
    return 0;
  }
}

ComPtr<IWICMetadataQueryReader> metadata_of(IWICBitmapFrameDecode *frame) {
  ComPtr<IWICMetadataQueryReader> reader;
  frame->GetMetadataQueryReader(reader.put());
  return reader;
}

struct GifCanvas {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Draws one GIF frame over the canvas at its place; transparent pixels let
// the earlier frames show through.
void draw_frame(GifCanvas &canvas, const PictureImage &image, int left, int top) {
  for (int y = 0; y < image.height; ++y) {
    int canvas_y = top + y;
    if (canvas_y < 0 || canvas_y >= canvas.height)
      continue;
    for (int x = 0; x < image.width; ++x) {
      int canvas_x = left + x;
      std::uint32_t pixel = image.pixels[std::size_t(y) * image.width + x];
      if (canvas_x >= 0 && canvas_x < canvas.width && (pixel >> 24) != 0)
        canvas.pixels[std::size_t(canvas_y) * canvas.width + canvas_x] = pixel;
    }
  }
}

void clear_area(GifCanvas &canvas, int left, int top, int width, int height) {
  for (int y = std::max(top, 0); y < std::min(top + height, canvas.height); ++y)
    for (int x = std::max(left, 0); x < std::min(left + width, canvas.width); ++x)
      canvas.pixels[std::size_t(y) * canvas.width + x] = 0;
}

GifCanvas gif_canvas(IWICBitmapDecoder *decoder, const PictureImage &first) {
  ComPtr<IWICMetadataQueryReader> reader;
  decoder->GetMetadataQueryReader(reader.put());
  GifCanvas canvas;
  canvas.width = metadata_number(reader.get(), L"/logscrdesc/Width");
  canvas.height = metadata_number(reader.get(), L"/logscrdesc/Height");
  if (!picture_size_acceptable(canvas.width, canvas.height)) {
    canvas.width = first.width;
    canvas.height = first.height;
  }
  canvas.pixels.assign(std::size_t(canvas.width) * canvas.height, 0);
  return canvas;
}

std::vector<PictureFrame> animation_frames(IWICImagingFactory *factory, IWICBitmapDecoder *decoder,
                                           UINT count) {
  std::vector<PictureFrame> frames;
  GifCanvas canvas;
  for (UINT i = 0; i < count; ++i) {
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(i, frame.put())))
      break;
    PictureImage image = frame_pixels(factory, frame.get());
    if (image.empty())
      break;
    if (i == 0)
      canvas = gif_canvas(decoder, image);
    if (std::int64_t(frames.size() + 1) * canvas.width * canvas.height > kAnimationPixelBudget)
      break;
    auto reader = metadata_of(frame.get());
    int left = metadata_number(reader.get(), L"/imgdesc/Left");
    int top = metadata_number(reader.get(), L"/imgdesc/Top");
    int disposal = metadata_number(reader.get(), L"/grctlext/Disposal");
    GifCanvas before = disposal == 3 ? canvas : GifCanvas{};
    draw_frame(canvas, image, left, top);
    frames.push_back({{canvas.width, canvas.height, canvas.pixels},
                      metadata_number(reader.get(), L"/grctlext/Delay") * 10});
    if (disposal == 2)
      clear_area(canvas, left, top, image.width, image.height);
    else if (disposal == 3)
      canvas = std::move(before);
  }
  return frames;
}

std::vector<PictureFrame> platform_decode(std::span<const std::uint8_t> bytes, bool animate) {
  ComInit com; // harmless when the thread has it already
  auto factory = imaging_factory();
  if (!factory)
    return {};
  ComPtr<IWICStream> stream;
  auto decoder = decoder_for(factory.get(), bytes, stream);
  UINT count = 0;
  if (!decoder || FAILED(decoder->GetFrameCount(&count)) || count == 0)
    return {};
  if (animate && count > 1)
    return animation_frames(factory.get(), decoder.get(), count);
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put())))
    return {};
  PictureImage image = frame_pixels(factory.get(), frame.get());
  if (image.empty())
    return {};
  return {PictureFrame{std::move(image), 0}};
}

std::vector<PictureFrame> still(PictureImage image) {
  if (image.empty())
    return {};
  return {PictureFrame{std::move(image), 0}};
}

} // namespace

std::vector<PictureFrame> decode_picture(const Bytes &bytes, bool animate) {
  switch (picture_format(bytes)) {
  case PictureFormat::Bmp: {
    // Run-length and other compressed bitmaps are left to the platform.
    auto frames = still(decode_bmp(bytes));
    return frames.empty() ? platform_decode(bytes, false) : frames;
  }
  case PictureFormat::Cursor: {
    auto frames = still(decode_cursor(bytes));
    auto png = icon_png_payload(bytes);
    return frames.empty() && !png.empty() ? platform_decode(png, false) : frames;
  }
  case PictureFormat::Pcx256:
  case PictureFormat::PcxMono:
    return still(decode_pcx(bytes));
  case PictureFormat::Jpeg:
  case PictureFormat::Png:
  case PictureFormat::Icon:
    return platform_decode(bytes, false);
  case PictureFormat::Gif:
    return platform_decode(bytes, animate);
  case PictureFormat::None:
    break;
  }
  return {};
}
