// Stand-in engines for the protocol tests, so that they run without models.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "service/recognition_job.h"

namespace ocr_service::testing {

// A PNG that is only its signature and header chunk: enough for the
// server's own checks, which never decode it when the engine is a stand-in.
inline std::vector<std::uint8_t> png_header(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  for (std::uint32_t value : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8)
      bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  bytes.insert(bytes.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
  return bytes;
}

// Answers with what it was asked: endpoint, language, format and the
// picture's width as the PNG header gives it.
class EchoEngine final : public Engine {
public:
  explicit EchoEngine(std::atomic<int> *calls = nullptr, int delay_ms = 0)
      : calls_(calls), delay_ms_(delay_ms) {}
  RecognitionOutcome recognize(const RecognitionJob &job) override {
    if (calls_)
      ++*calls_;
    if (delay_ms_)
      std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms_));
    std::uint32_t width = 0;
    for (int i = 16; i < 20 && i < static_cast<int>(job.image.size()); ++i)
      width = width << 8 | job.image[i];
    const char *format = job.format == ImageFormat::png    ? "png"
                         : job.format == ImageFormat::jpeg ? "jpeg"
                                                           : "bmp";
    return {ErrorCode::none,
            {job.endpoint == Endpoint::accurate ? "accurate" : "general",
             job.language == Language::english ? "ENG" : "CHN_ENG", format, std::to_string(width)}};
  }

private:
  std::atomic<int> *calls_;
  int delay_ms_;
};

// Holds every job until the test opens the gate.
class Gate {
public:
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void wait_open() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }
  void wait_for_waiters(int count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return waiting_ >= count; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  int waiting_ = 0;
};

class GateEngine final : public Engine {
public:
  explicit GateEngine(Gate &gate) : gate_(gate) {}
  RecognitionOutcome recognize(const RecognitionJob &) override {
    gate_.wait_open();
    return {ErrorCode::none, {"done"}};
  }

private:
  Gate &gate_;
};

class ThrowingEngine final : public Engine {
public:
  RecognitionOutcome recognize(const RecognitionJob &) override {
    throw std::runtime_error("engine broke");
  }
};

} // namespace ocr_service::testing
