// Loading, showing, running modally and destroying windows, and the window
// procedure behind every window of the layer.
#include <algorithm>
#include <new>

#include "runtime/fatal.h"
#include "runtime/window_picture_win.h"
#include "runtime/window_state_win.h"

namespace {

Window *window_of(HWND hwnd) {
  return reinterpret_cast<Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void record_loaded(HWND hwnd, LPARAM lparam) {
  auto *create = reinterpret_cast<CREATESTRUCTW *>(lparam);
  auto *window = static_cast<Window *>(create->lpCreateParams);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  window->state().hwnd = hwnd;
  window->state().self.hwnd = hwnd;
  loaded_windows().push_back(window);
}

// The last thing a window sees: from here on it is no longer loaded, and
// when no window is left the message loop ends.
void record_destroyed(HWND hwnd, Window &window) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  WindowState &state = window.state();
  state.hwnd = nullptr;
  state.controls.clear();
  state.self = ControlState();
  state.disabled_by_modal.clear();
  state.focus_when_deactivated = nullptr;
  auto &windows = loaded_windows();
  windows.erase(std::remove(windows.begin(), windows.end(), &window), windows.end());
  if (windows.empty())
    PostQuitMessage(0);
}

void button_clicked(WPARAM wparam, LPARAM lparam) {
  if (HIWORD(wparam) != BN_CLICKED || !lparam)
    return;
  auto widget = find_widget(reinterpret_cast<HWND>(lparam));
  if (widget && !widget->is_window())
    control_form(*widget).events.clicked();
}

bool set_cursor(WPARAM wparam, LPARAM lparam) {
  if (LOWORD(lparam) != HTCLIENT)
    return false;
  auto widget = find_widget(reinterpret_cast<HWND>(wparam));
  HCURSOR cursor = widget ? effective_cursor(*widget) : nullptr;
  if (!cursor)
    return false;
  SetCursor(cursor);
  return true;
}

// Focus goes back to the control that had it when the window is activated
// again.
void remember_focus(Window &window, WPARAM wparam) {
  WindowState &state = window.state();
  if (LOWORD(wparam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    state.focus_when_deactivated = focus && IsChild(state.hwnd, focus) ? focus : nullptr;
  } else if (state.focus_when_deactivated && IsWindow(state.focus_when_deactivated)) {
    SetFocus(state.focus_when_deactivated);
  }
}

LRESULT handle_message(Window &window, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const FormEvents &events = window.form().events;
  switch (message) {
  case WM_COMMAND:
    button_clicked(wparam, lparam);
    return 0;
  case WM_CLOSE:
    if (events.close_requested()) {
      enable_windows_disabled_by(window.state());
      DestroyWindow(hwnd);
    }
    return 0;
  case WM_QUERYENDSESSION:
    return events.close_requested() ? TRUE : FALSE;
  case kDestroyRequest:
    enable_windows_disabled_by(window.state());
    DestroyWindow(hwnd);
    return 0;
  case WM_DESTROY:
    enable_windows_disabled_by(window.state());
    events.destroying();
    return 0;
  case WM_NCDESTROY:
    record_destroyed(hwnd, window);
    break;
  case WM_SETCURSOR:
    if (set_cursor(wparam, lparam))
      return TRUE;
    break;
  case WM_ACTIVATE:
    remember_focus(window, wparam);
    if (LOWORD(wparam) != WA_INACTIVE && window.state().focus_when_deactivated)
      return 0;
    break;
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void show_loaded(Window &window) {
  HWND hwnd = window.state().hwnd;
  if (window.form().placement != WindowPlacement::Maximized) {
    ShowWindow(hwnd, SW_SHOW);
    return;
  }
  // Maximized, then exactly the work area of its monitor, whatever the
  // created handler set.
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    const RECT &work = monitor.rcWork;
    SetWindowPos(hwnd, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void disable_other_windows(Window &modal) {
  for (Window *other : loaded_windows()) {
    HWND hwnd = other->state().hwnd;
    if (other != &modal && hwnd && IsWindowEnabled(hwnd)) {
      EnableWindow(hwnd, FALSE);
      modal.state().disabled_by_modal.push_back(hwnd);
    }
  }
}

// Runs until the window is gone; a quit message arriving meanwhile is put
// back for the outer loop.
void run_modal_loop(Window &window) {
  MSG message;
  while (window.loaded()) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(message.wParam));
      return;
    }
    if (got == -1)
      return;
    dispatch_message(message);
  }
}

} // namespace

LRESULT CALLBACK top_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // No exception may leave a window procedure; the handlers' only ones are
  // exhausted memory and programming errors, both fatal.
  try {
    if (message == WM_NCCREATE)
      record_loaded(hwnd, lparam);
    Window *window = window_of(hwnd);
    if (!window)
      return DefWindowProcW(hwnd, message, wparam, lparam);
    return handle_message(*window, hwnd, message, wparam, lparam);
  } catch (const std::bad_alloc &) {
    FatalError("out of memory");
  } catch (...) {
    FatalError("an event handler failed");
  }
}

void enable_windows_disabled_by(WindowState &state) {
  for (HWND hwnd : state.disabled_by_modal)
    if (IsWindow(hwnd))
      EnableWindow(hwnd, TRUE);
  state.disabled_by_modal.clear();
}

bool WindowLoad(Window &window, bool modal) {
  if (window.loaded()) {
    HWND hwnd = window.state().hwnd;
    if (IsIconic(hwnd))
      ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    return true;
  }
  if (!create_window(window))
    return false;
  window.form().events.created();
  if (!window.loaded())
    return false;
  if (!window.form().hidden)
    show_loaded(window);
  if (modal) {
    disable_other_windows(window);
    run_modal_loop(window);
  }
  return true;
}

void WindowDestroy(Window &window) {
  PostMessageW(widget_hwnd(window.self()), kDestroyRequest, 0, 0);
}

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0)
    dispatch_message(message);
}

void ProcessEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(int(message.wParam));
      return;
    }
    dispatch_message(message);
  }
}
