// The program's entry: the GUI run time starts (OLE, the program's directory
// as the current one), the main window runs, the end routines follow.
#include <windows.h>

#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return RunProgram(start_lumiscribe);
}
