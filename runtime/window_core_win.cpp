// Windows and their loaded state: the registry of loaded windows, finding
// the widget behind a platform window, and the text conversions every
// window text goes through (code page 936 <-> UTF-16, never the system's
// ANSI code page).
#include <algorithm>

#include "runtime/codepage.h"
#include "runtime/fatal.h"
#include "runtime/window_picture_win.h"
#include "runtime/window_state_win.h"

ControlState::ControlState() = default;
ControlState::~ControlState() = default;
ControlState::ControlState(ControlState &&) noexcept = default;
ControlState &ControlState::operator=(ControlState &&) noexcept = default;

Window::Window(WindowForm form) : form_(std::move(form)), state_(std::make_unique<WindowState>()) {}

Window::~Window() {
  if (loaded())
    DestroyWindow(state_->hwnd);
}

bool Window::loaded() const {
  return state_->hwnd != nullptr;
}

Widget Window::control(std::string_view name) {
  for (std::size_t i = 0; i < form_.controls.size(); ++i)
    if (form_.controls[i].name == name)
      return Widget(*this, int(i));
  FatalError("the form has no control of that name");
}

std::wstring to_wide(std::string_view text) {
  std::u16string wide = cp936_to_utf16(text);
  return std::wstring(wide.begin(), wide.end());
}

Text from_wide(std::wstring_view text) {
  return utf16_to_cp936(
      std::u16string_view(reinterpret_cast<const char16_t *>(text.data()), text.size()));
}

std::vector<Window *> &loaded_windows() {
  static std::vector<Window *> windows;
  return windows;
}

std::optional<Widget> find_widget(HWND hwnd) {
  if (!hwnd)
    return std::nullopt;
  for (Window *window : loaded_windows()) {
    WindowState &state = window->state();
    if (state.hwnd == hwnd)
      return window->self();
    for (std::size_t i = 0; i < state.controls.size(); ++i)
      if (state.controls[i].hwnd == hwnd)
        return Widget(*window, int(i));
  }
  return std::nullopt;
}

HWND widget_hwnd(const Widget &widget) {
  return widget_state(widget).hwnd;
}

ControlState &widget_state(const Widget &widget) {
  WindowState &state = widget.window().state();
  if (!state.hwnd)
    FatalError("use of a window or control that is not loaded");
  if (widget.is_window())
    return state.self;
  return state.controls.at(std::size_t(widget.control_index()));
}

const ControlForm &control_form(const Widget &widget) {
  return widget.window().form().controls.at(std::size_t(widget.control_index()));
}

const FormEvents &widget_events(const Widget &widget) {
  return widget.is_window() ? widget.window().form().events : control_form(widget).events;
}

void *WindowHandle(Widget widget) {
  return widget_hwnd(widget);
}
