#include "ocr/ocr_protocol.h"

#include "encoding/base64.h"
#include "encoding/percent.h"

namespace {

Text endpoint(const char *path) {
  return TextConcat("https://", LUMISCRIBE_API_HOST, path);
}

} // namespace

Text token_address() {
  return endpoint("/oauth/2.0/token?");
}

Text token_body() {
  return TextConcat("grant_type=client_credentials&client_id=", LUMISCRIBE_API_KEY,
                    "&client_secret=", LUMISCRIBE_SECRET_KEY);
}

Text recognition_address(RecognitionMode mode, const Text &access_token) {
  const char *path = mode == RecognitionMode::Two ? "/rest/2.0/ocr/v1/general_basic?access_token="
                                                  : "/rest/2.0/ocr/v1/accurate_basic?access_token=";
  return TextConcat(endpoint(path), access_token);
}

Text recognition_body(const Bytes &picture) {
  return TextConcat("image=", url_encode(base64_encode(picture)));
}

Text words_path(int index) {
  return TextConcat("words_result[", ToText(index), "].words");
}
