#include "service/token_issuer.h"

#include <gtest/gtest.h>

#include <set>

namespace ocr_service {
namespace {

TEST(TokenIssuerTest, TokensAreUniqueAndCheckedAgainstTheClock) {
  std::int64_t now = 1000;
  TokenIssuer issuer([&] { return now; }, 60);
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i)
    seen.insert(issuer.issue());
  EXPECT_EQ(seen.size(), 100u);
  std::string token = issuer.issue();
  EXPECT_EQ(issuer.check(token), TokenCheck::valid);
  now = 1059;
  EXPECT_EQ(issuer.check(token), TokenCheck::valid);
  now = 1060;
  EXPECT_EQ(issuer.check(token), TokenCheck::expired);
}

TEST(TokenIssuerTest, ForeignAndAlteredTokensAreInvalid) {
  std::int64_t now = 1000;
  TokenIssuer issuer([&] { return now; }, 60), other([&] { return now; }, 60);
  std::string token = issuer.issue();
  std::string later_expiry = token;
  // Moving the expiry forward breaks the MAC.
  std::size_t dot = token.rfind('.');
  std::size_t expiry = token.rfind('.', dot - 1) + 1;
  later_expiry.replace(expiry, dot - expiry, "99999999999");
  const std::string cases[] = {
      "",           "ls1.",       "garbage", token + "0", token.substr(0, token.size() - 1),
      later_expiry, other.issue()};
  for (const std::string &bad : cases) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(issuer.check(bad), TokenCheck::invalid);
  }
}

} // namespace
} // namespace ocr_service
