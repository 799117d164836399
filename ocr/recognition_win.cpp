#include "ocr/recognition.h"

#include <algorithm>

#include "encoding/utf8_text.h"
#include "http/http_fetch.h"
#include "ocr/ocr_protocol.h"
#include "json/json_object.h"

namespace {

constexpr std::int32_t kWaitPointer = 4;

// Step 7: mode two when its switch is checked, else mode one when that one
// is; with neither (which the window never shows) the address stays.
Text chosen_address(const RecognitionControls &controls, const Text &access_token,
                    const Text &current) {
  if (controls.mode_two.checked())
    return recognition_address(RecognitionMode::Two, access_token);
  if (controls.mode_one.checked())
    return recognition_address(RecognitionMode::One, access_token);
  return current;
}

// Steps 10 and 11. The lines are gathered and appended in one go: the same
// text arrives, and the edit box re-wraps once instead of once a line.
Text recognised_lines(const JsonObject &answer) {
  int count = std::min(ToInt(answer.get_text(kWordsCountPath)), kMostRecognisedLines);
  Text lines;
  for (int i = 1; i <= count; ++i)
    lines += TextConcat(answer.get_text(words_path(i - 1)), kLineEnd);
  return lines;
}

} // namespace

void run_recognition(const RecognitionControls &controls) {
  Bytes previous_pointer = controls.window.pointer();
  controls.window.set_pointer(ToBytes(kWaitPointer));

  JsonObject answer;
  Text address = token_address();
  answer.parse(ToText(http_fetch(address, kHttpPost, token_body())));
  Text access_token = answer.get_text(kAccessTokenPath);

  Bytes picture = FileReadAll(TextConcat(RunDirectory(), kPictureFileName));
  controls.preview.set_picture(picture);

  address = chosen_address(controls, access_token, address);
  // The answer is UTF-8 JSON; it is converted, never percent-decoded, so a
  // recognised "50%" arrives as "50%".
  answer.parse(utf8_to_ansi(ToText(http_fetch(address, kHttpPost, recognition_body(picture)))));
  Text lines = recognised_lines(answer);
  if (!lines.empty())
    EditAppend(controls.result, lines);
  answer.destroy();

  controls.window.set_pointer(previous_pointer);
}
