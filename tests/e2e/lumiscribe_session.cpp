#include "tests/e2e/lumiscribe_session.h"

#include <stdlib.h>

#include <cstdio>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kProbeAnswerMs = 120000;

std::string from_hex(const std::string &hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string after_ok(const std::string &answer) {
  return answer.rfind("ok ", 0) == 0 ? answer.substr(3) : std::string();
}

} // namespace

E2eSettings &e2e_settings() {
  static E2eSettings settings;
  return settings;
}

std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), std::streamsize(bytes.size()));
}

LumiscribeSession::LumiscribeSession() {
  std::string pattern = (fs::temp_directory_path() / "lumiscribe-e2e-XXXXXX").string();
  if (mkdtemp(pattern.data()))
    directory_ = pattern;
  fs::copy_file(e2e_settings().program, directory_ + "/lumiscribe.exe");
}

LumiscribeSession::~LumiscribeSession() {
  if (probe_ && alive())
    command("close");
  if (program_ && !program_->wait(10000))
    program_->kill();
  if (probe_)
    probe_->write_line("quit");
  probe_.reset();
  program_.reset();
  std::error_code ignored;
  fs::remove_all(directory_, ignored);
}

void LumiscribeSession::put_picture(const std::string &bytes) {
  write_file(directory_ + "/1.jpg", bytes);
}

bool LumiscribeSession::start() {
  // Once in a long while a Wine process start stalls in the virtual display
  // and the window never comes; a second start then succeeds. The program
  // itself is not at fault there, so one more try is allowed.
  for (int attempt = 1; attempt <= 2; ++attempt) {
    program_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"wine", directory_ + "/lumiscribe.exe"});
    probe_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"wine", e2e_settings().probe}, true);
    if (command("wait 30000") == "ok")
      return true;
    std::fprintf(stderr, "e2e: start %d of Lumiscribe showed no window in 30 s\n", attempt);
    probe_->write_line("quit");
    probe_.reset();
    program_->kill();
    program_.reset();
  }
  return false;
}

std::string LumiscribeSession::command(const std::string &line) {
  if (!probe_)
    return "error no probe";
  probe_->write_line(line);
  return probe_->read_line(kProbeAnswerMs).value_or("error no answer");
}

std::string LumiscribeSession::text(const std::string &selector) {
  return from_hex(after_ok(command("text " + selector)));
}

bool LumiscribeSession::checked(const std::string &selector) {
  return command("checked " + selector) == "ok 1";
}

bool LumiscribeSession::press(const std::string &selector) {
  return command("press " + selector) == "ok";
}

ScreenRect LumiscribeSession::rect(const std::string &selector) {
  ScreenRect rect;
  std::istringstream(after_ok(command("rect " + selector))) >> rect.left >> rect.top >>
      rect.right >> rect.bottom;
  return rect;
}

std::string LumiscribeSession::pixel(const std::string &selector, int x, int y) {
  return after_ok(command("pixel " + selector + " " + std::to_string(x) + " " + std::to_string(y)));
}

bool LumiscribeSession::alive() {
  return command("alive") == "ok 1";
}

void LumiscribeSession::click(const std::string &selector) {
  ScreenRect at = rect(selector);
  // No --sync: it waits for the pointer to move and hangs when the pointer is
  // already there (the window opens at the same place in every test). The X
  // server handles the move before the click all the same.
  run_program({"xdotool", "mousemove", std::to_string((at.left + at.right) / 2),
               std::to_string((at.top + at.bottom) / 2), "click", "1"});
}

void LumiscribeSession::key(const std::string &name) {
  run_program({"xdotool", "key", name});
}

std::optional<int> LumiscribeSession::wait_for_exit(int milliseconds) {
  return program_ ? program_->wait(milliseconds) : std::nullopt;
}
