#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>

// Shows the report where a user would see it; the Windows half uses a
// message box, the native half has nothing to add to standard error.
void show_fatal_report(const char *message);

void FatalError(const char *message) {
  std::fprintf(stderr, "Lumiscribe: fatal program error: %s\n", message);
  std::fflush(stderr);
  show_fatal_report(message);
  // _Exit: the end-of-program routines must not run after a fatal error.
  std::_Exit(3);
}
