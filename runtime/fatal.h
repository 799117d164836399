// Fatal program errors: a programming error the callers never reach with any
// input (an index out of range, a zero divisor, a bad kind, a window that is
// not loaded). The error is reported on standard error and, in the Windows
// program, in a message box; then the process ends without running the
// end-of-program routines.
#pragma once

[[noreturn]] void FatalError(const char *message);
