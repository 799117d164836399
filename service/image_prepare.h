// Preparing a screen capture for the recogniser. The engines read dark text
// on a light ground best, with capitals about 20 px high or more and some
// margin around the text; screen text is often smaller and sometimes light on
// dark.
#pragma once

#include "service/grey_image.h"

namespace ocr_service {

// Otsu's threshold: the grey level that best splits the picture in two.
int otsu_threshold(const GreyImage &image);

// True when most of the picture is darker than the threshold, i.e. the text
// is light on a dark ground.
bool has_dark_background(const GreyImage &image);

void invert(GreyImage &image);

// The median height of the bands of rows that hold dark ink (text lines),
// or 0 when there are none. Rows that are mostly ink (bars, filled areas) end
// a band rather than being taken for text.
int typical_line_height(const GreyImage &image);

// How much to enlarge so that capitals in lines of that height stand at least
// 20 px tall; 1 when they already do, at most 4, and never beyond
// kMaxPreparedPixels in all.
double upscale_factor(int line_height, int width, int height);
inline constexpr double kMaxPreparedPixels = 32e6;

GreyImage scale_bilinear(const GreyImage &image, double factor);
GreyImage pad(const GreyImage &image, int border, std::uint8_t value);

// The two endpoints' preparations: both make the text dark on light and add a
// margin; the accurate one also enlarges small text.
GreyImage prepare_accurate(GreyImage image);
GreyImage prepare_general(GreyImage image);

} // namespace ocr_service
