#include "tests/e2e/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char **environ;

namespace {

std::optional<int> exit_code_of(int status) {
  if (WIFEXITED(status))
    return WEXITSTATUS(status);
  if (WIFSIGNALED(status))
    return 128 + WTERMSIG(status);
  return std::nullopt;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string> &arguments, bool piped) {
  int input[2] = {-1, -1};
  int output[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (piped && pipe2(input, O_CLOEXEC) == 0 && pipe2(output, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  } else {
    // Quiet children: Wine's messages would only clutter the test output.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  std::vector<char *> argv;
  for (const auto &argument : arguments)
    argv.push_back(const_cast<char *>(argument.c_str()));
  argv.push_back(nullptr);
  if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
    pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (piped) {
    close(input[0]);
    close(output[1]);
    to_child_ = input[1];
    from_child_ = output[0];
  }
}

ChildProcess::~ChildProcess() {
  if (to_child_ >= 0)
    close(to_child_);
  if (running()) {
    // A probe or program that is still there has a few seconds to end of
    // itself once its input closes; then it is stopped.
    if (!wait(3000))
      kill();
  }
  if (from_child_ >= 0)
    close(from_child_);
}

bool ChildProcess::running() {
  if (pid_ <= 0 || exit_code_)
    return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    exit_code_ = exit_code_of(status);
    return false;
  }
  return true;
}

std::optional<int> ChildProcess::wait(int milliseconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (running()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return exit_code_;
}

void ChildProcess::kill() {
  if (running()) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    exit_code_ = exit_code_of(status);
  }
}

void ChildProcess::write_line(const std::string &line) {
  std::string text = line + "\n";
  std::size_t written = 0;
  while (to_child_ >= 0 && written < text.size()) {
    ssize_t n = ::write(to_child_, text.data() + written, text.size() - written);
    if (n <= 0)
      return;
    written += std::size_t(n);
  }
}

std::optional<std::string> ChildProcess::read_line(int milliseconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (true) {
    std::size_t end = buffered_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    pollfd entry{from_child_, POLLIN, 0};
    if (from_child_ < 0 || left <= 0 || poll(&entry, 1, int(left)) <= 0)
      return std::nullopt;
    char buffer[4096];
    ssize_t n = ::read(from_child_, buffer, sizeof buffer);
    if (n <= 0)
      return std::nullopt;
    buffered_.append(buffer, std::size_t(n));
  }
}

int run_program(const std::vector<std::string> &arguments, int milliseconds) {
  ChildProcess child(arguments);
  auto code = child.wait(milliseconds);
  if (!code)
    child.kill();
  return code.value_or(-1);
}
