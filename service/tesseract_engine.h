// The recogniser: Tesseract's LSTM models, one Chinese (which also reads
// Latin letters and digits) and one English, loaded once per worker.
#pragma once

#include <memory>
#include <string>

#include "service/recognition_job.h"

namespace tesseract {
class TessBaseAPI;
}

namespace ocr_service {

class TesseractEngine final : public Engine {
public:
  // tessdata_dir empty: Tesseract's own default. Throws std::runtime_error
  // when a model cannot be loaded.
  explicit TesseractEngine(const std::string &tessdata_dir);
  ~TesseractEngine() override;

  RecognitionOutcome recognize(const RecognitionJob &job) override;

private:
  std::unique_ptr<tesseract::TessBaseAPI> chinese_;
  std::unique_ptr<tesseract::TessBaseAPI> english_;
};

// Keeps OpenMP to one thread for the whole process: each worker is one core's
// worth of work, and Tesseract's own threads only fight the other workers for
// the cores (four times slower on two cores). Each engine also limits the
// thread that makes and uses it.
void limit_engine_threads();

} // namespace ocr_service
