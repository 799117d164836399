#include <windows.h>

#include <string>

#include "runtime/codepage.h"

void show_fatal_report(const char *message) {
  // Tests run without anyone to press OK: they set this to keep the box away.
  if (GetEnvironmentVariableW(L"LUMISCRIBE_NO_FATAL_BOX", nullptr, 0) > 0)
    return;
  std::u16string wide = cp936_to_utf16(message);
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(wide.c_str()), L"Lumiscribe",
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
