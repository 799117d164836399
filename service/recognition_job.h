// One picture to recognise, and what became of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "service/image_probe.h"
#include "service/protocol.h"

namespace ocr_service {

enum class Endpoint { accurate, general };
enum class Language { chinese_english, english };

struct RecognitionJob {
  Endpoint endpoint = Endpoint::accurate;
  Language language = Language::chinese_english;
  ImageFormat format = ImageFormat::unknown;
  std::vector<std::uint8_t> image;
};

struct RecognitionOutcome {
  ErrorCode error = ErrorCode::none;
  std::vector<std::string> lines;
};

// A recogniser owned by one worker thread; it need not be thread-safe.
class Engine {
public:
  virtual ~Engine() = default;
  virtual RecognitionOutcome recognize(const RecognitionJob &job) = 0;
};
using EngineFactory = std::function<std::unique_ptr<Engine>()>;

// Runs a job and waits for it; nothing when there is no room to queue it.
class JobRunner {
public:
  virtual ~JobRunner() = default;
  virtual std::optional<RecognitionOutcome> run(RecognitionJob job) = 0;
};

} // namespace ocr_service
