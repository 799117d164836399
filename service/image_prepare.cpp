#include "service/image_prepare.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ocr_service {
namespace {

constexpr double kCapitalToLine = 0.7; // capital height over line-band height
constexpr double kTargetCapital = 20.0;
constexpr double kMaxUpscale = 4.0;
constexpr int kMinBand = 4;       // thinner bands are rules and specks
constexpr double kSolidRow = 0.6; // rows with more ink than this are not text
constexpr int kBorder = 12;

std::array<std::size_t, 256> histogram_of(const GreyImage &image) {
  std::array<std::size_t, 256> histogram{};
  for (std::uint8_t value : image.pixels)
    ++histogram[value];
  return histogram;
}

} // namespace

int otsu_threshold(const GreyImage &image) {
  auto histogram = histogram_of(image);
  double total = static_cast<double>(image.pixels.size());
  double sum_all = 0;
  for (int i = 0; i < 256; ++i)
    sum_all += static_cast<double>(i) * histogram[i];
  double weight_low = 0, sum_low = 0, best = -1;
  int threshold = 128;
  for (int t = 0; t < 256; ++t) {
    weight_low += histogram[t];
    if (weight_low == 0)
      continue;
    double weight_high = total - weight_low;
    if (weight_high == 0)
      break;
    sum_low += static_cast<double>(t) * histogram[t];
    double mean_low = sum_low / weight_low;
    double mean_high = (sum_all - sum_low) / weight_high;
    double between = weight_low * weight_high * (mean_low - mean_high) * (mean_low - mean_high);
    if (between > best) {
      best = between;
      threshold = t + 1; // values below the threshold are the dark class
    }
  }
  return threshold;
}

bool has_dark_background(const GreyImage &image) {
  if (image.empty())
    return false;
  int threshold = otsu_threshold(image);
  std::size_t dark = 0;
  for (std::uint8_t value : image.pixels)
    dark += value < threshold;
  return dark * 2 > image.pixels.size();
}

void invert(GreyImage &image) {
  for (std::uint8_t &value : image.pixels)
    value = static_cast<std::uint8_t>(255 - value);
}

int typical_line_height(const GreyImage &image) {
  if (image.empty())
    return 0;
  int threshold = otsu_threshold(image);
  std::vector<int> bands;
  int band = 0;
  for (int y = 0; y <= image.height; ++y) {
    int ink = 0;
    if (y < image.height) {
      for (int x = 0; x < image.width; ++x)
        ink += image.at(x, y) < threshold;
    }
    bool text_row = ink > 0 && ink < kSolidRow * image.width;
    if (text_row) {
      ++band;
    } else {
      if (band >= kMinBand)
        bands.push_back(band);
      band = 0;
    }
  }
  if (bands.empty())
    return 0;
  std::nth_element(bands.begin(), bands.begin() + bands.size() / 2, bands.end());
  return bands[bands.size() / 2];
}

double upscale_factor(int line_height, int width, int height) {
  if (line_height <= 0 || width <= 0 || height <= 0)
    return 1.0;
  double factor = kTargetCapital / (kCapitalToLine * line_height);
  factor = std::clamp(factor, 1.0, kMaxUpscale);
  double limit = std::sqrt(kMaxPreparedPixels / (static_cast<double>(width) * height));
  return std::max(1.0, std::min(factor, limit));
}

GreyImage scale_bilinear(const GreyImage &image, double factor) {
  int width = std::max(1, static_cast<int>(std::lround(image.width * factor)));
  int height = std::max(1, static_cast<int>(std::lround(image.height * factor)));
  GreyImage out(width, height);
  // Source positions and weights per column, in 1/256ths.
  std::vector<int> x0(width), weight_x(width);
  for (int x = 0; x < width; ++x) {
    double source = std::clamp((x + 0.5) / factor - 0.5, 0.0, image.width - 1.0);
    x0[x] = std::min(static_cast<int>(source), image.width - 1);
    weight_x[x] = static_cast<int>((source - x0[x]) * 256);
  }
  for (int y = 0; y < height; ++y) {
    double source = std::clamp((y + 0.5) / factor - 0.5, 0.0, image.height - 1.0);
    int y0 = std::min(static_cast<int>(source), image.height - 1);
    int y1 = std::min(y0 + 1, image.height - 1);
    int weight_y = static_cast<int>((source - y0) * 256);
    for (int x = 0; x < width; ++x) {
      int x1 = std::min(x0[x] + 1, image.width - 1);
      int top = image.at(x0[x], y0) * (256 - weight_x[x]) + image.at(x1, y0) * weight_x[x];
      int bottom = image.at(x0[x], y1) * (256 - weight_x[x]) + image.at(x1, y1) * weight_x[x];
      out.at(x, y) =
          static_cast<std::uint8_t>((top * (256 - weight_y) + bottom * weight_y + 32768) >> 16);
    }
  }
  return out;
}

GreyImage pad(const GreyImage &image, int border, std::uint8_t value) {
  GreyImage out(image.width + 2 * border, image.height + 2 * border, value);
  for (int y = 0; y < image.height; ++y) {
    std::copy_n(&image.pixels[static_cast<std::size_t>(y) * image.width], image.width,
                &out.at(border, y + border));
  }
  return out;
}

GreyImage prepare_accurate(GreyImage image) {
  if (has_dark_background(image))
    invert(image);
  double factor = upscale_factor(typical_line_height(image), image.width, image.height);
  if (factor > 1.0)
    image = scale_bilinear(image, factor);
  return pad(image, kBorder, 255);
}

GreyImage prepare_general(GreyImage image) {
  if (has_dark_background(image))
    invert(image);
  return pad(image, kBorder, 255);
}

} // namespace ocr_service
