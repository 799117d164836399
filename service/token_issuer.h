// Access tokens. A token carries its own expiry and a keyed MAC over it, so
// the server keeps no table that grows with every token it hands out (the
// program fetches a fresh token for every recognition) and still tells an
// expired token from one it never issued. The key is new at every start:
// tokens do not outlive the server, and a client simply asks for a new one.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ocr_service {

// Seconds since the Unix epoch; tests pass a clock they can move.
using Clock = std::function<std::int64_t()>;
std::int64_t system_clock_seconds();

enum class TokenCheck { valid, invalid, expired };

class TokenIssuer {
public:
  TokenIssuer(Clock clock, std::int64_t lifetime_seconds);

  // 128 random bits, the expiry and the MAC, as printable URL-safe text.
  std::string issue();
  TokenCheck check(std::string_view token) const;
  std::int64_t lifetime() const { return lifetime_; }

private:
  std::string mac_of(std::string_view signed_part) const;

  Clock clock_;
  std::int64_t lifetime_;
  std::array<unsigned char, 32> key_{};
};

} // namespace ocr_service
