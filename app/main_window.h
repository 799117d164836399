// The main window: the preview box, the result box, the four buttons and the
// two mode switches, and the handlers behind the buttons.
#pragma once

#include "runtime/window.h"

// The one main window of the program, made from its form on first use.
Window &main_window();

// The start routine: loads the main window and runs the message loop until
// it is closed; 0 then.
int start_lumiscribe();
