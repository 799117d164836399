// Start-up and end of the program's GUI run time.
#include "runtime/window_state_win.h"

namespace {

std::vector<std::function<void()>> &end_routines() {
  static std::vector<std::function<void()>> routines;
  return routines;
}

void run_end_routines() {
  // Taken out first, so a routine that registers another cannot make the
  // list run twice or grow while it is walked.
  auto routines = std::move(end_routines());
  end_routines().clear();
  for (auto &routine : routines)
    routine();
}

} // namespace

void AtProgramEnd(std::function<void()> routine) {
  end_routines().push_back(std::move(routine));
}

int RunProgram(const std::function<int()> &start) {
  OleInit ole;
  SetCurrentDirectoryW(to_wide(RunDirectory()).c_str());
  int result = start();
  run_end_routines();
  return result;
}
