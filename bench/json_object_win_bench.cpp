// One recognition answer's handling, as the recognition sequence does it:
// construct a JsonObject, parse a 50-line answer, read words_result_num and
// the 50 lines, destroy. Prints the time per run and how much of it goes to
// starting script engines.
#include <ole2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "json/json_object.h"

namespace {

constexpr int lines = 50;
constexpr int runs = 40;

double now_ms() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A 50-line answer in code page 936: Chinese and ASCII words, an escaped
// quote and backslash now and then, as the service writes them.
Text recognition_answer() {
  Text answer = "{\"log_id\":1730201357425063917,\"words_result\":[";
  for (int k = 0; k < lines; ++k) {
    if (k > 0)
      answer += ",";
    answer += "{\"words\":\"\xb5\xda " + ToText(k + 1) +
              " \xd0\xd0\xa3\xba\xce\xc4\xd7\xd6\xca\xb6\xb1\xf0 Lumiscribe OCR 50% \\\"ok\\\" "
              "C:\\\\temp\"}";
  }
  answer += "],\"words_result_num\":" + ToText(lines) + "}";
  return answer;
}

struct Phases {
  double construct = 0;
  double parse = 0;
  double read = 0;
  double destroy = 0;
  double total() const { return construct + parse + read + destroy; }
};

Phases one_run(const Text &answer, Text &checksum) {
  Phases phases;
  double mark = now_ms();
  JsonObject *document = new JsonObject;
  phases.construct = now_ms() - mark;

  mark = now_ms();
  document->parse(answer);
  phases.parse = now_ms() - mark;

  mark = now_ms();
  const int count = ToInt(document->get_text("words_result_num"));
  for (int k = 0; k < count; ++k)
    checksum = document->get_text("words_result[" + ToText(k) + "].words");
  phases.read = now_ms() - mark;

  mark = now_ms();
  delete document;
  phases.destroy = now_ms() - mark;
  return phases;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The cost of one engine start on its own: a fresh engine with the embedded
// script and an empty document, as construction and every parse make.
double engine_start_ms() {
  JsonObject document;
  std::vector<double> starts;
  for (int k = 0; k < runs; ++k) {
    const double mark = now_ms();
    document.init_engine();
    starts.push_back(now_ms() - mark);
  }
  return median(starts);
}

} // namespace

int main() {
  // The program's GUI thread keeps OLE initialised from start to end, so a
  // JsonObject never takes COM down with it; the same here.
  OleInitialize(nullptr);
  const Text answer = recognition_answer();
  Text checksum;
  for (int k = 0; k < 3; ++k) // loads the engine's libraries once
    one_run(answer, checksum);

  std::vector<double> construct, parse, read, destroy, total;
  for (int k = 0; k < runs; ++k) {
    const Phases phases = one_run(answer, checksum);
    construct.push_back(phases.construct);
    parse.push_back(phases.parse);
    read.push_back(phases.read);
    destroy.push_back(phases.destroy);
    total.push_back(phases.total());
  }
  const double start = engine_start_ms();
  const double per_run = median(total);
  // Construction is an engine start; parse replaces the engine (as
  // init_engine does) and then loads the text.
  const double startup_share = std::min(1.0, (median(construct) + start) / per_run);

  std::printf("JsonObject, one %d-line recognition answer (%zu bytes), median of %d runs\n", lines,
              answer.size(), runs);
  std::printf("  per run             %8.2f ms\n", per_run);
  std::printf("    construct         %8.2f ms\n", median(construct));
  std::printf("    parse             %8.2f ms\n", median(parse));
  std::printf("    read %2d lines     %8.2f ms (%.3f ms per get_text)\n", lines + 1, median(read),
              median(read) / (lines + 1));
  std::printf("    destroy           %8.2f ms\n", median(destroy));
  std::printf("  engine replaced     %8.2f ms (init_engine on a ready object)\n", start);
  std::printf("  engine start-ups    %7.1f %% of a run (construct + the start inside parse)\n",
              100 * startup_share);
  std::printf("  last line read      %zu bytes\n", checksum.size());
  OleUninitialize();
  return 0;
}
