// Every mouse and key message taken from the queue, by the main loop, a
// modal loop or ProcessEvents, meets the handlers before the platform sees
// it; a handler returning false keeps it from the platform.
#include <new>

#include "runtime/fatal.h"
#include "runtime/window_state_win.h"

namespace {

bool is_down(int key) {
  return GetKeyState(key) < 0;
}

bool is_mouse_message(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

bool is_key_message(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
         message == WM_SYSKEYUP;
}

const MouseHandler *mouse_handler(const FormEvents &events, UINT message) {
  switch (message) {
  case WM_LBUTTONDOWN:
    return &events.left_pressed;
  case WM_LBUTTONUP:
    return &events.left_released;
  case WM_RBUTTONDOWN:
    return &events.right_pressed;
  case WM_RBUTTONUP:
    return &events.right_released;
  case WM_LBUTTONDBLCLK:
    return &events.double_clicked;
  case WM_MOUSEMOVE:
    return &events.mouse_moved;
  default:
    return nullptr;
  }
}

// True when a handler asked to keep the message from the platform.
bool raise_mouse_event(const MSG &message) {
  auto widget = find_widget(message.hwnd);
  if (!widget)
    return false;
  const MouseHandler *handler = mouse_handler(widget_events(*widget), message.message);
  if (!handler || !*handler)
    return false;
  // Unsigned 16-bit: a position left of or above the client area, possible
  // while the mouse is captured, arrives as a large number.
  int x = LOWORD(message.lParam);
  int y = HIWORD(message.lParam);
  int flags = mouse_modifier_flags(is_down(VK_CONTROL), is_down(VK_SHIFT), is_down(VK_MENU));
  return !(*handler)(x, y, flags);
}

// Esc asks a window whose form says so to close. A multi-line edit box would
// claim only Enter, so Esc closes the window from any of its controls.
bool escape_closes(const MSG &message) {
  if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) ||
      message.wParam != VK_ESCAPE)
    return false;
  auto widget = find_widget(message.hwnd);
  if (!widget || !widget->window().form().esc_closes)
    return false;
  SendMessageW(widget->window().state().hwnd, WM_CLOSE, 0, 0);
  return true;
}

bool raise_key_event(const MSG &message) {
  auto widget = find_widget(message.hwnd);
  if (!widget)
    return false;
  bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  // A control without a handler of its own leaves the key to its window's.
  const FormEvents &own = widget_events(*widget);
  const FormEvents &window = widget->window().form().events;
  const KeyHandler &handler = down ? (own.key_pressed ? own.key_pressed : window.key_pressed)
                                   : (own.key_released ? own.key_released : window.key_released);
  if (!handler)
    return false;
  int key = int(message.wParam);
  int flags = key_modifier_flags(key, is_down(VK_CONTROL), is_down(VK_SHIFT), is_down(VK_MENU));
  return !handler(event_key_code(key), flags);
}

// Tab and the arrow keys between the controls of a window whose form asks
// for it.
bool navigate(MSG &message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
    return false;
  auto widget = find_widget(message.hwnd);
  if (!widget || widget->is_window() || !widget->window().form().keyboard_navigation)
    return false;
  return IsDialogMessageW(widget->window().state().hwnd, &message);
}

void dispatch(MSG &message) {
  if (is_mouse_message(message.message) && raise_mouse_event(message))
    return;
  if (is_key_message(message.message) && (escape_closes(message) || raise_key_event(message)))
    return;
  if (navigate(message))
    return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

} // namespace

void dispatch_message(MSG &message) {
  try {
    dispatch(message);
  } catch (const std::bad_alloc &) {
    FatalError("out of memory");
  } catch (...) {
    FatalError("an event handler failed");
  }
}

HCURSOR effective_cursor(const Widget &widget) {
  HCURSOR own = widget_state(widget).cursor;
  if (own || widget.is_window())
    return own;
  // A control with no pointer of its own shows its window's, so a wait
  // pointer set on the window covers the whole window.
  return widget_state(widget.window().self()).cursor;
}
