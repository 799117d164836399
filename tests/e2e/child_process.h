// Programs the end-to-end tests start: Lumiscribe and the probe under Wine,
// xdotool. Each is killed if it is still running when its owner goes.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
  // Starts `arguments` (searched on PATH) with the environment inherited.
  // With `piped`, the child's standard input and output are pipes to us.
  explicit ChildProcess(const std::vector<std::string> &arguments, bool piped = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  bool started() const { return pid_ > 0; }
  bool running();
  // The exit code, or nothing when it still runs after `milliseconds`.
  std::optional<int> wait(int milliseconds);
  void kill();

  void write_line(const std::string &line);
  // One line of the child's output without its end; nothing on time-out or
  // end of output.
  std::optional<std::string> read_line(int milliseconds);

private:
  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  std::string buffered_;
  std::optional<int> exit_code_;
};

// Runs a program to its end (at most `milliseconds`) and gives its exit code,
// or -1.
int run_program(const std::vector<std::string> &arguments, int milliseconds = 30000);
