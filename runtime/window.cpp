#include "runtime/window.h"

#include <algorithm>

namespace {

constexpr int kCoordinateLimit = 32627;

constexpr int kKeyShift = 0x10;
constexpr int kKeyControl = 0x11;
constexpr int kKeyAlt = 0x12;
constexpr int kKeyLeftShift = 0xA0;
constexpr int kKeyRightShift = 0xA1;
constexpr int kKeyLeftControl = 0xA2;
constexpr int kKeyRightControl = 0xA3;
constexpr int kKeyLeftAlt = 0xA4;
constexpr int kKeyRightAlt = 0xA5;
constexpr int kKeypad0 = 0x60;
constexpr int kKeypad9 = 0x69;
constexpr int kKeypadSubtract = 0x6D;
constexpr int kKeypadDecimal = 0x6E;
constexpr int kKeypadDivide = 0x6F;

} // namespace

int clamp_position(int value) {
  return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
}

int clamp_size(int value) {
  return std::clamp(value, 0, kCoordinateLimit);
}

int event_key_code(int virtual_key) {
  if (virtual_key >= kKeypad0 && virtual_key <= kKeypad9)
    return '0' + (virtual_key - kKeypad0);
  switch (virtual_key) {
  case kKeypadSubtract:
    return 189;
  case kKeypadDecimal:
    return 190;
  case kKeypadDivide:
    return 191;
  default:
    return virtual_key;
  }
}

int key_modifier_flags(int virtual_key, bool ctrl, bool shift, bool alt) {
  bool is_ctrl = virtual_key == kKeyControl || virtual_key == kKeyLeftControl ||
                 virtual_key == kKeyRightControl;
  bool is_shift =
      virtual_key == kKeyShift || virtual_key == kKeyLeftShift || virtual_key == kKeyRightShift;
  bool is_alt = virtual_key == kKeyAlt || virtual_key == kKeyLeftAlt || virtual_key == kKeyRightAlt;
  return mouse_modifier_flags(ctrl && !is_ctrl, shift && !is_shift, alt && !is_alt);
}

int mouse_modifier_flags(bool ctrl, bool shift, bool alt) {
  return (ctrl ? kModifierCtrl : 0) + (shift ? kModifierShift : 0) + (alt ? kModifierAlt : 0);
}

int pointer_number(const Bytes &value) {
  if (value.size() != 4)
    return -1;
  return int(std::uint32_t(value[0]) | std::uint32_t(value[1]) << 8 |
             std::uint32_t(value[2]) << 16 | std::uint32_t(value[3]) << 24);
}
