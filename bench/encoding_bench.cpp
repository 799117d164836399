// Throughput of the encoders on the recognition path: the picture goes
// through base64_encode and url_encode on the way out, the answer through
// url_decode and utf8_to_ansi on the way back.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "encoding/base64.h"
#include "encoding/percent.h"
#include "encoding/utf8_text.h"

namespace {

constexpr std::int64_t kMegabyte = 1 << 20;

Bytes random_bytes(std::int64_t size) {
  Bytes data(static_cast<std::size_t>(size));
  std::mt19937_64 random(42);
  for (std::size_t k = 0; k + 8 <= data.size(); k += 8) {
    const std::uint64_t word = random();
    for (int b = 0; b < 8; ++b)
      data[k + b] = static_cast<std::uint8_t>(word >> (8 * b));
  }
  return data;
}

// A recognition answer: JSON with Chinese words in UTF-8 and some
// percent-encoded bytes, repeated to the size asked for.
Text answer_text(std::int64_t size) {
  const Text unit = "{\"words_result\":[{\"words\":\"\xE4\xB8\xAD\xE6\x96\x87 OCR %E6%96%87 "
                    "50%25\"},{\"words\":\"Lumiscribe \xE8\xAF\x86\xE5\x88\xAB\"}],";
  Text text;
  text.reserve(static_cast<std::size_t>(size) + unit.size());
  while (static_cast<std::int64_t>(text.size()) < size)
    text += unit;
  text.resize(static_cast<std::size_t>(size));
  return text;
}

void report(benchmark::State &state, std::int64_t bytes_per_iteration) {
  state.SetBytesProcessed(state.iterations() * bytes_per_iteration);
}

void BM_base64_encode(benchmark::State &state) {
  const Bytes data = random_bytes(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(base64_encode(data));
  report(state, state.range(0));
}

void BM_url_encode_base64_text(benchmark::State &state) {
  const Bytes raw = random_bytes(state.range(0) / 4 * 3);
  const Text text = base64_encode(raw);
  for (auto _ : state)
    benchmark::DoNotOptimize(url_encode(text));
  report(state, static_cast<std::int64_t>(text.size()));
}

void BM_url_decode(benchmark::State &state) {
  const Text text = answer_text(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(url_decode(text, false));
  report(state, state.range(0));
}

void BM_url_decode_to_ansi(benchmark::State &state) {
  const Text text = answer_text(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(url_decode(text, true));
  report(state, state.range(0));
}

void BM_utf8_to_ansi(benchmark::State &state) {
  const Text text = url_decode(answer_text(state.range(0)), false);
  for (auto _ : state)
    benchmark::DoNotOptimize(utf8_to_ansi(text));
  report(state, static_cast<std::int64_t>(text.size()));
}

// The picture path of a recognition: the bytes of a full-screen capture
// (8 MB, a little more than a 1920 x 1080 BMP at 32 bits) to the form value
// sent.
void BM_picture_path(benchmark::State &state) {
  const Bytes picture = random_bytes(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(url_encode(base64_encode(picture)));
  report(state, state.range(0));
}

void sizes(benchmark::internal::Benchmark *benchmark) {
  benchmark->Arg(kMegabyte)->Arg(30 * kMegabyte)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_base64_encode)->Apply(sizes);
BENCHMARK(BM_url_encode_base64_text)->Apply(sizes);
BENCHMARK(BM_url_decode)->Apply(sizes);
BENCHMARK(BM_url_decode_to_ansi)->Apply(sizes);
BENCHMARK(BM_utf8_to_ansi)->Apply(sizes);
BENCHMARK(BM_picture_path)->Arg(8 * kMegabyte)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
