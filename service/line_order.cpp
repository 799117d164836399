#include "service/line_order.h"

#include <algorithm>

namespace ocr_service {
namespace {

// Two lines sit in one row when they overlap by at least half the height of
// the lower of the two.
bool same_row(const RecognizedLine &a, const RecognizedLine &b) {
  int overlap = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  int smaller = std::min(a.bottom - a.top, b.bottom - b.top);
  return smaller > 0 && overlap * 2 >= smaller;
}

} // namespace

void sort_reading_order(std::vector<RecognizedLine> &lines) {
  std::stable_sort(lines.begin(), lines.end(),
                   [](const RecognizedLine &a, const RecognizedLine &b) { return a.top < b.top; });
  std::vector<RecognizedLine> ordered;
  ordered.reserve(lines.size());
  std::size_t row_start = 0;
  while (row_start < lines.size()) {
    // A row grows while the next line overlaps the row's first line.
    std::size_t row_end = row_start + 1;
    while (row_end < lines.size() && same_row(lines[row_start], lines[row_end]))
      ++row_end;
    std::stable_sort(
        lines.begin() + row_start, lines.begin() + row_end,
        [](const RecognizedLine &a, const RecognizedLine &b) { return a.left < b.left; });
    for (std::size_t i = row_start; i < row_end; ++i)
      ordered.push_back(std::move(lines[i]));
    row_start = row_end;
  }
  lines = std::move(ordered);
}

} // namespace ocr_service
