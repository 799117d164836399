// The recognition sequence behind "开始识别": a fresh access token, the
// picture file read and shown, the picture posted to the endpoint the mode
// switches choose, and every recognised line appended to the result box.
#pragma once

#include "runtime/window.h"

// The main window's controls the sequence reads and writes.
struct RecognitionControls {
  Widget window;   // its pointer shows the wait shape during the requests
  Widget preview;  // 图片框1: shows the picture about to be recognised
  Widget result;   // 编辑框2: the recognised lines are appended
  Widget mode_two; // 单选框1, "模式二（备用）"
  Widget mode_one; // 单选框2, "模式一（默认）"
};

// Runs to its end whatever fails on the way; the user sees no message, only
// the lines that arrived. Blocks the GUI thread while the requests run.
void run_recognition(const RecognitionControls &controls);

// A count read from an answer that is larger than this is taken as this:
// one screen holds nowhere near so many lines, and a broken or hostile
// answer must not keep the program busy for hours.
inline constexpr int kMostRecognisedLines = 10000;
