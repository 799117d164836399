// Code page 936's user-defined areas and the private use area, as Windows
// maps them: three rectangular areas in order, then 255 further places in
// byte order, together U+E000..U+E864.
#include <iterator>

#include "runtime/codepage_runs.h"

namespace {

struct Area {
  unsigned char first_lead, last_lead, first_trail, last_trail;
  char16_t first_unit;
};

// Areas of whole rows; trail bytes 0x7F are never characters.
constexpr Area areas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},
};

// The further places, as runs of consecutive two-byte codes; their units
// count up from U+E766 in this order.
struct Span {
  unsigned first, last;
};
constexpr Span spans[] = {
    {0xA2AB, 0xA2B0}, {0xA2E3, 0xA2E4}, {0xA2EF, 0xA2F0}, {0xA2FD, 0xA2FE}, {0xA4F4, 0xA4FE},
    {0xA5F7, 0xA5FE}, {0xA6B9, 0xA6C0}, {0xA6D9, 0xA6DF}, {0xA6EC, 0xA6ED}, {0xA6F3, 0xA6F3},
    {0xA6F6, 0xA6FE}, {0xA7C2, 0xA7D0}, {0xA7F2, 0xA7FE}, {0xA896, 0xA8A0}, {0xA8BC, 0xA8BC},
    {0xA8BF, 0xA8BF}, {0xA8C1, 0xA8C4}, {0xA8EA, 0xA8FE}, {0xA958, 0xA958}, {0xA95B, 0xA95B},
    {0xA95D, 0xA95F}, {0xA989, 0xA995}, {0xA997, 0xA9A3}, {0xA9F0, 0xA9FE}, {0xD7FA, 0xD7FE},
    {0xFE50, 0xFE7E}, {0xFE80, 0xFEA0},
};
constexpr char16_t first_span_unit = 0xE766;
constexpr char16_t last_unit = 0xE864;

unsigned trails_per_row(const Area &area) {
  unsigned count = area.last_trail - area.first_trail + 1u;
  return area.first_trail <= 0x7F && 0x7F <= area.last_trail ? count - 1 : count;
}

} // namespace

std::optional<char16_t> cp936_user_defined_to_utf16(unsigned char lead, unsigned char trail) {
  if (trail == 0x7F)
    return std::nullopt;
  for (const Area &area : areas) {
    if (lead < area.first_lead || lead > area.last_lead || trail < area.first_trail ||
        trail > area.last_trail)
      continue;
    unsigned column = trail - area.first_trail - (trail > 0x7F && area.first_trail < 0x7F);
    unsigned index = (lead - area.first_lead) * trails_per_row(area) + column;
    return static_cast<char16_t>(area.first_unit + index);
  }
  const unsigned code = (unsigned{lead} << 8) | trail;
  unsigned index = 0;
  for (const Span &span : spans) {
    if (code >= span.first && code <= span.last)
      return static_cast<char16_t>(first_span_unit + index + (code - span.first));
    index += span.last - span.first + 1;
  }
  return std::nullopt;
}

std::optional<unsigned> utf16_to_cp936_user_defined(char16_t unit) {
  if (unit < areas[0].first_unit || unit > last_unit)
    return std::nullopt;
  if (unit >= first_span_unit) {
    unsigned index = unit - first_span_unit;
    for (const Span &span : spans) {
      unsigned size = span.last - span.first + 1;
      if (index < size)
        return span.first + index;
      index -= size;
    }
    return std::nullopt;
  }
  for (auto area = std::rbegin(areas); area != std::rend(areas); ++area) {
    if (unit < area->first_unit)
      continue;
    unsigned index = unit - area->first_unit;
    unsigned per_row = trails_per_row(*area);
    unsigned trail = area->first_trail + index % per_row;
    if (area->first_trail < 0x7F && trail >= 0x7F)
      ++trail;
    return ((area->first_lead + index / per_row) << 8) | trail;
  }
  return std::nullopt;
}
