// Lines in reading order: rows from top to bottom, and within a row (lines
// that share most of their height, such as a label and its value) from left
// to right.
#pragma once

#include <string>
#include <vector>

namespace ocr_service {

struct RecognizedLine {
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;
  float confidence = 0;
};

void sort_reading_order(std::vector<RecognizedLine> &lines);

} // namespace ocr_service
