// The bytes of the loopback test server's large bodies. Both the server and
// the tests that check a large body compute them, so a body can be compared
// byte for byte without keeping a copy of it anywhere.
#pragma once

#include <cstddef>
#include <cstdint>

// Every byte value occurs, zero included, and no short period repeats, so a
// lost, doubled or shifted block of a body shows up.
inline std::uint8_t loopback_pattern_byte(std::uint64_t index) {
  std::uint64_t mixed = (index + 1) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::uint8_t>((mixed >> 56) ^ (index >> 10));
}

// The size of the large body the server sends when none is asked for.
inline constexpr std::size_t kLoopbackBigBodySize = 10 * 1024 * 1024;
