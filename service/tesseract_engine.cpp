#include "service/tesseract_engine.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "service/image_decode.h"
#include "service/image_prepare.h"
#include "service/line_order.h"
#include "service/text_cleanup.h"

namespace ocr_service {
namespace {

std::unique_ptr<tesseract::TessBaseAPI> load_model(const std::string &tessdata_dir,
                                                   const char *language) {
  auto api = std::make_unique<tesseract::TessBaseAPI>();
  // Tesseract's progress notes ("Estimating resolution ...") are not ours to log.
  api->SetVariable("debug_file", "/dev/null");
  if (api->Init(tessdata_dir.empty() ? nullptr : tessdata_dir.c_str(), language,
                tesseract::OEM_LSTM_ONLY) != 0)
    throw std::runtime_error(std::string("cannot load the recognition model ") + language);
  api->SetVariable("debug_file", "/dev/null");
  // The picture is already dark on light; trying each line inverted again
  // costs time and, on screen text, finds nothing.
  api->SetVariable("tessedit_do_invert", "0");
  return api;
}

bool has_chinese(std::string_view text) {
  for (char32_t c : utf8_to_u32(text)) {
    if (is_cjk(c) && !is_fullwidth_punctuation(c))
      return true;
  }
  return false;
}

std::vector<RecognizedLine> read_lines(tesseract::TessBaseAPI &api) {
  std::vector<RecognizedLine> lines;
  std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
  if (!it)
    return lines;
  do {
    std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
    if (!text)
      continue;
    RecognizedLine line;
    it->BoundingBox(tesseract::RIL_TEXTLINE, &line.left, &line.top, &line.right, &line.bottom);
    line.text = text.get();
    line.confidence = it->Confidence(tesseract::RIL_TEXTLINE);
    lines.push_back(std::move(line));
  } while (it->Next(tesseract::RIL_TEXTLINE));
  return lines;
}

void set_image(tesseract::TessBaseAPI &api, const GreyImage &image) {
  api.SetImage(image.pixels.data(), image.width, image.height, 1, image.width);
}

// One line cut out of the picture onto a clean margin: the model reads a line
// badly when its rectangle is cut tight, and a wider rectangle would take in
// the neighbouring lines.
GreyImage line_image(const GreyImage &image, const RecognizedLine &line) {
  int left = std::clamp(line.left, 0, image.width),
      right = std::clamp(line.right, left, image.width);
  int top = std::clamp(line.top, 0, image.height),
      bottom = std::clamp(line.bottom, top, image.height);
  int margin = std::max(8, (bottom - top) / 2);
  GreyImage out(right - left + 2 * margin, bottom - top + 2 * margin);
  for (int y = top; y < bottom; ++y) {
    std::copy_n(&image.pixels[static_cast<std::size_t>(y) * image.width + left], right - left,
                &out.at(margin, y - top + margin));
  }
  return out;
}

// The Chinese model runs words of Latin text together and mixes up letter
// case ("CLick"); a line in which it found no Chinese is read again by the
// English model, whose reading wins unless it is clearly less sure.
void reread_latin_lines(tesseract::TessBaseAPI &english, const GreyImage &image,
                        std::vector<RecognizedLine> &lines) {
  english.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
  for (RecognizedLine &line : lines) {
    if (has_chinese(line.text) || line.right <= line.left || line.bottom <= line.top)
      continue;
    GreyImage cut = line_image(image, line);
    set_image(english, cut);
    std::unique_ptr<char[]> text(english.GetUTF8Text());
    float confidence = static_cast<float>(english.MeanTextConf());
    if (text && confidence + 10 >= line.confidence)
      line.text = text.get();
  }
}

} // namespace

void limit_engine_threads() {
  // For libraries that start OpenMP later; libgomp itself has read its
  // environment before main().
  setenv("OMP_THREAD_LIMIT", "1", 1);
  omp_set_max_active_levels(0);
  omp_set_num_threads(1);
}

TesseractEngine::TesseractEngine(const std::string &tessdata_dir)
    : chinese_(load_model(tessdata_dir, "chi_sim")), english_(load_model(tessdata_dir, "eng")) {
  // OpenMP's limits are kept per thread, and an engine is used only by the
  // thread that makes it: no parallel level at all there, which also holds
  // for the regions that ask for their own thread count.
  omp_set_max_active_levels(0);
  omp_set_num_threads(1);
}

TesseractEngine::~TesseractEngine() = default;

RecognitionOutcome TesseractEngine::recognize(const RecognitionJob &job) {
  auto decoded = decode_image(job.image, job.format);
  if (!decoded || decoded->empty())
    return {ErrorCode::image_format, {}};
  if (decoded->width < kMinImageSide || decoded->height < kMinImageSide ||
      decoded->width > kMaxImageSide || decoded->height > kMaxImageSide)
    return {ErrorCode::image_size, {}};
  bool accurate = job.endpoint == Endpoint::accurate;
  GreyImage image =
      accurate ? prepare_accurate(std::move(*decoded)) : prepare_general(std::move(*decoded));
  bool chinese = job.language == Language::chinese_english;
  tesseract::TessBaseAPI &api = chinese ? *chinese_ : *english_;
  set_image(api, image);
  api.SetPageSegMode(tesseract::PSM_AUTO);
  if (api.Recognize(nullptr) != 0)
    return {ErrorCode::internal, {}};
  std::vector<RecognizedLine> lines = read_lines(api);
  if (accurate && chinese)
    reread_latin_lines(*english_, image, lines);
  api.Clear();
  english_->Clear();
  sort_reading_order(lines);
  std::vector<std::string> texts;
  for (RecognizedLine &line : lines)
    texts.push_back(std::move(line.text));
  return {ErrorCode::none, clean_lines(texts, chinese)};
}

} // namespace ocr_service
