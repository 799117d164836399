#include "ocr/ocr_protocol.h"

#include <gtest/gtest.h>

namespace {

const Text kHost = LUMISCRIBE_API_HOST;

TEST(OcrProtocol, TokenRequestKeepsTheQuestionMarkAndSendsTheKeysInTheBody) {
  EXPECT_EQ(token_address(), "https://" + kHost + "/oauth/2.0/token?");
  EXPECT_EQ(token_body(), Text("grant_type=client_credentials&client_id=") + LUMISCRIBE_API_KEY +
                              "&client_secret=" + LUMISCRIBE_SECRET_KEY);
}

TEST(OcrProtocol, EachModeHasItsEndpointWithTheTokenAppended) {
  EXPECT_EQ(recognition_address(RecognitionMode::One, "t0k"),
            "https://" + kHost + "/rest/2.0/ocr/v1/accurate_basic?access_token=t0k");
  EXPECT_EQ(recognition_address(RecognitionMode::Two, "t0k"),
            "https://" + kHost + "/rest/2.0/ocr/v1/general_basic?access_token=t0k");
  // No token: the address still ends in "access_token=".
  EXPECT_EQ(recognition_address(RecognitionMode::One, ""),
            "https://" + kHost + "/rest/2.0/ocr/v1/accurate_basic?access_token=");
}

TEST(OcrProtocol, PictureIsBase64ThenPercentEncoded) {
  // Base64 "+/8=": the "+" must be escaped or the server would read a space.
  EXPECT_EQ(recognition_body(Bytes{0xFB, 0xFF}), "image=%2B/8=");
  EXPECT_EQ(recognition_body(Bytes{'M', 'a', 'n'}), "image=TWFu");
  EXPECT_EQ(recognition_body(Bytes{}), "image=");
}

TEST(OcrProtocol, WordsPathsCountFromZeroInPlainDigits) {
  EXPECT_EQ(words_path(0), "words_result[0].words");
  EXPECT_EQ(words_path(12), "words_result[12].words");
}

} // namespace
