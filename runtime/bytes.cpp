// Bytes primitives and typed reads from bytes.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <type_traits>

#include "runtime/fatal.h"
#include "runtime/text.h"

namespace {

void check_index(const Bytes &bytes, int index) {
  if (index < 1 || index > BytesLength(bytes)) {
    std::string message = "Bytes index " + std::to_string(index) + " outside 1.." +
                          std::to_string(BytesLength(bytes));
    FatalError(message.c_str());
  }
}

// Copies `size` bytes from the 1-based position; bytes past the end (or a
// position below 1) read as zero.
template <std::size_t size>
std::array<std::uint8_t, size> read_raw(const Bytes &bytes, int position) {
  std::array<std::uint8_t, size> raw{};
  if (position < 1)
    return raw;
  std::size_t start = static_cast<std::size_t>(position - 1);
  if (start >= bytes.size())
    return raw;
  std::memcpy(raw.data(), bytes.data() + start, std::min(size, bytes.size() - start));
  return raw;
}

template <class Value> Value read_little_endian(const Bytes &bytes, int position) {
  auto raw = read_raw<sizeof(Value)>(bytes, position);
  std::uint64_t bits = 0;
  for (std::size_t k = sizeof(Value); k-- > 0;)
    bits = (bits << 8) | raw[k];
  if constexpr (std::is_same_v<Value, float>) {
    std::uint32_t narrow = static_cast<std::uint32_t>(bits);
    float value;
    std::memcpy(&value, &narrow, sizeof value);
    return value;
  } else if constexpr (std::is_same_v<Value, double>) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  } else {
    return static_cast<Value>(bits);
  }
}

Text read_text(const Bytes &bytes, int position) {
  if (position < 1 || static_cast<std::size_t>(position - 1) >= bytes.size())
    return {};
  return ToText(Bytes(bytes.begin() + (position - 1), bytes.end()));
}

} // namespace

int BytesLength(const Bytes &bytes) {
  return static_cast<int>(bytes.size());
}

Bytes BytesLeft(const Bytes &bytes, int n) {
  if (n <= 0)
    return {};
  std::size_t take = std::min(bytes.size(), static_cast<std::size_t>(n));
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
}

Bytes BytesMid(const Bytes &bytes, int position, int n) {
  const std::size_t len = bytes.size();
  std::size_t start = static_cast<std::size_t>(std::clamp<long long>(position - 1LL, 0, len));
  std::size_t take = std::min(static_cast<std::size_t>(std::max(n, 0)), len - start);
  auto first = bytes.begin() + static_cast<std::ptrdiff_t>(start);
  return Bytes(first, first + static_cast<std::ptrdiff_t>(take));
}

Bytes BytesZeroed(int n) {
  if (n <= 0)
    return {};
  return Bytes(static_cast<std::size_t>(n), 0);
}

Bytes BytesConcatList(std::initializer_list<const Bytes *> parts) {
  std::size_t total = 0;
  for (const Bytes *part : parts)
    total += part->size();
  Bytes result;
  result.reserve(total);
  for (const Bytes *part : parts)
    result.insert(result.end(), part->begin(), part->end());
  return result;
}

int BytesCompare(const Bytes &a, const Bytes &b, int n) {
  if (n <= 0)
    return 0;
  const std::size_t limit = static_cast<std::size_t>(n);
  const std::size_t a_size = std::min(a.size(), limit);
  const std::size_t b_size = std::min(b.size(), limit);
  const std::size_t common = std::min(a_size, b_size);
  int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (order == 0)
    order = (a_size > b_size) - (a_size < b_size);
  return (order > 0) - (order < 0);
}

std::uint8_t BytesGet(const Bytes &bytes, int index) {
  check_index(bytes, index);
  return bytes[static_cast<std::size_t>(index - 1)];
}

void BytesSet(Bytes &bytes, int index, std::uint8_t value) {
  check_index(bytes, index);
  bytes[static_cast<std::size_t>(index - 1)] = value;
}

BytesValue BytesRead(const Bytes &bytes, int kind, int position) {
  switch (kind) {
  case 1:
    return std::int64_t{read_little_endian<std::uint8_t>(bytes, position)};
  case 2:
    return std::int64_t{read_little_endian<std::int16_t>(bytes, position)};
  case 3:
    return std::int64_t{read_little_endian<std::int32_t>(bytes, position)};
  case 4:
    return read_little_endian<std::int64_t>(bytes, position);
  case 5:
    return double{read_little_endian<float>(bytes, position)};
  case 6:
  case 8: // a date-time is stored as a real
    return read_little_endian<double>(bytes, position);
  case 7: // a flag is stored as a 32-bit integer; any non-zero value is true
    return std::int64_t{read_little_endian<std::int32_t>(bytes, position) != 0};
  case 9: // a routine reference is stored as a 32-bit address
    return std::int64_t{read_little_endian<std::uint32_t>(bytes, position)};
  case 10:
    return read_text(bytes, position);
  default:
    FatalError(("BytesRead kind " + std::to_string(kind) + " is not 1..10").c_str());
  }
}
