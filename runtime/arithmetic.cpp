// Integer and real arithmetic primitives.
#include <cmath>

#include "runtime/fatal.h"
#include "runtime/text.h"

double IntDivide(double a, double b) {
  if (b == 0)
    FatalError("IntDivide by zero");
  // Adding 0.0 turns a negative zero quotient into 0 so it prints as '0'.
  return std::trunc(a / b) + 0.0;
}

double Modulo(double a, double b) {
  if (b == 0)
    FatalError("Modulo by zero");
  // fmod is exact and keeps the sign of the dividend.
  return std::fmod(a, b) + 0.0;
}

std::int32_t BitAndList(std::initializer_list<std::int32_t> values) {
  std::int32_t result = -1;
  for (std::int32_t value : values)
    result &= value;
  return result;
}

std::int32_t BitOrList(std::initializer_list<std::int32_t> values) {
  std::int32_t result = 0;
  for (std::int32_t value : values)
    result |= value;
  return result;
}

std::int32_t BitXorList(std::initializer_list<std::int32_t> values) {
  std::int32_t result = 0;
  for (std::int32_t value : values)
    result ^= value;
  return result;
}

std::int32_t ShiftLeft(std::int32_t value, std::int32_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << (n & 31));
}

std::int32_t ShiftRight(std::int32_t value, std::int32_t n) {
  return value >> (n & 31);
}

double AbsValue(double value) {
  return std::fabs(value);
}

std::int32_t MakeRgb(std::int32_t red, std::int32_t green, std::int32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
