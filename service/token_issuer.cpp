#include "service/token_issuer.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <charconv>
#include <chrono>
#include <stdexcept>

namespace ocr_service {
namespace {

constexpr std::string_view kPrefix = "ls1.";
constexpr std::size_t kRandomBytes = 16;
constexpr std::size_t kMacBytes = 16;

std::string hex_of(const unsigned char *data, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    out.push_back(digits[data[i] >> 4]);
    out.push_back(digits[data[i] & 15]);
  }
  return out;
}

void random_fill(unsigned char *data, std::size_t size) {
  if (RAND_bytes(data, static_cast<int>(size)) != 1)
    throw std::runtime_error("no random bytes");
}

} // namespace

std::int64_t system_clock_seconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TokenIssuer::TokenIssuer(Clock clock, std::int64_t lifetime_seconds)
    : clock_(std::move(clock)), lifetime_(lifetime_seconds) {
  random_fill(key_.data(), key_.size());
}

std::string TokenIssuer::mac_of(std::string_view signed_part) const {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int mac_size = 0;
  HMAC(EVP_sha256(), key_.data(), static_cast<int>(key_.size()),
       reinterpret_cast<const unsigned char *>(signed_part.data()), signed_part.size(), mac,
       &mac_size);
  return hex_of(mac, kMacBytes);
}

std::string TokenIssuer::issue() {
  unsigned char nonce[kRandomBytes];
  random_fill(nonce, sizeof nonce);
  std::string token = std::string(kPrefix) + hex_of(nonce, sizeof nonce) + "." +
                      std::to_string(clock_() + lifetime_);
  return token + "." + mac_of(token);
}

TokenCheck TokenIssuer::check(std::string_view token) const {
  std::size_t last_dot = token.rfind('.');
  if (token.substr(0, kPrefix.size()) != kPrefix || last_dot == std::string_view::npos)
    return TokenCheck::invalid;
  std::string_view signed_part = token.substr(0, last_dot);
  std::string expected = mac_of(signed_part);
  std::string_view given = token.substr(last_dot + 1);
  if (given.size() != expected.size() ||
      CRYPTO_memcmp(given.data(), expected.data(), given.size()) != 0)
    return TokenCheck::invalid;
  std::string_view expiry_text = signed_part.substr(signed_part.rfind('.') + 1);
  std::int64_t expiry = 0;
  auto [end, error] =
      std::from_chars(expiry_text.data(), expiry_text.data() + expiry_text.size(), expiry);
  if (error != std::errc() || end != expiry_text.data() + expiry_text.size())
    return TokenCheck::invalid;
  return clock_() >= expiry ? TokenCheck::expired : TokenCheck::valid;
}

} // namespace ocr_service
