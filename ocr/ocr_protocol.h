// The OCR service's protocol as the recognition sequence speaks it: the two
// exchanges' addresses and bodies and the answer paths it reads. The host and
// the client credentials are built in (LUMISCRIBE_API_HOST,
// LUMISCRIBE_API_KEY, LUMISCRIBE_SECRET_KEY).
#pragma once

#include "runtime/text.h"

// Which recognition endpoint the mode switches choose.
enum class RecognitionMode {
  One, // "模式一（默认）": accurate_basic
  Two, // "模式二（备用）": general_basic
};

// "https://" + host + "/oauth/2.0/token?" (the address keeps its "?").
Text token_address();
// The client credentials as plain form fields, not encoded.
Text token_body();
// The endpoint's address with the access token appended.
Text recognition_address(RecognitionMode mode, const Text &access_token);
// "image=" + url_encode(base64_encode(picture)).
Text recognition_body(const Bytes &picture);
// "words_result[" + index + "].words", the index in plain decimal digits.
Text words_path(int index);

inline constexpr char kAccessTokenPath[] = "access_token";
inline constexpr char kWordsCountPath[] = "words_result_num";
// The picture file, appended to the program's directory.
inline constexpr char kPictureFileName[] = "\\1.jpg";
inline constexpr char kLineEnd[] = "\r\n";
