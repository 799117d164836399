// One run of the real lumiscribe.exe under Wine for a test: a directory of
// its own (so each test has its own 1.jpg), the program, and the probe that
// reads its controls and presses its buttons.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "tests/e2e/child_process.h"

// Where the programs are; set from the command line by the test main.
struct E2eSettings {
  std::string program;    // lumiscribe.exe
  std::string probe;      // lumiscribe_probe.exe
  std::string ocr_server; // lumiscribe-ocr-server (native)
  std::string sample;     // the rendered sample picture
};
E2eSettings &e2e_settings();

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class LumiscribeSession {
public:
  LumiscribeSession();
  ~LumiscribeSession();
  LumiscribeSession(const LumiscribeSession &) = delete;
  LumiscribeSession &operator=(const LumiscribeSession &) = delete;

  const std::string &directory() const { return directory_; }
  void put_picture(const std::string &bytes);

  // Starts the program and waits for its main window.
  bool start();
  // One probe command and its answer line.
  std::string command(const std::string &line);
  std::string text(const std::string &selector);
  bool checked(const std::string &selector);
  bool press(const std::string &selector);
  ScreenRect rect(const std::string &selector);
  std::string pixel(const std::string &selector, int x, int y);
  bool alive();

  // Real input through xdotool: a click at the middle of a control, a key.
  void click(const std::string &selector);
  void key(const std::string &name);

  // The program's exit code once it has ended on its own.
  std::optional<int> wait_for_exit(int milliseconds);

private:
  std::string directory_;
  std::unique_ptr<ChildProcess> program_;
  std::unique_ptr<ChildProcess> probe_;
};
