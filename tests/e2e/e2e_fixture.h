// The fixture of the end-to-end tests: a scripted OCR service at the
// built-in host and a fresh Lumiscribe with the sample picture as its 1.jpg.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/fake_ocr_service.h"
#include "tests/e2e/lumiscribe_session.h"

// Selectors of the main window's controls, by their captions.
inline const std::string kCaptureButton = "button:截图";
inline const std::string kRecogniseButton = "button:开始识别";
inline const std::string kClearButton = "button:清空内容";
inline const std::string kAboutButton = "button:更多免费软件请点击";
inline const std::string kModeOne = "radio:模式一（默认）";
inline const std::string kModeTwo = "radio:模式二（备用）";

// A recognition answer as the service gives it, in UTF-8.
std::string words_answer(const std::vector<std::string> &lines);
std::string words_answer_with_count(const std::string &count,
                                    const std::vector<std::string> &lines);

// The request line of a recorded head, and its header lines with one of
// these names (any case), in the order they arrived.
std::string request_line(const std::string &head);
std::vector<std::string> header_lines(const std::string &head,
                                      const std::vector<std::string> &names);

class E2eTest : public testing::Test {
protected:
  void SetUp() override;
  // Presses "开始识别" and gives the result box's text afterwards.
  std::string recognise();

  std::unique_ptr<FakeOcrService> service;
  LumiscribeSession session;
  std::string sample;
};
