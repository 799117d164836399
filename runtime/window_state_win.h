// The Windows half of the window layer: what a loaded window holds, and the
// pieces its files share. Included by the window layer's _win.cpp files only.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win_handles.h"
#include "runtime/window.h"

struct PictureBoxState;

struct ControlState {
  HWND hwnd = nullptr;
  Bytes pointer = Bytes(4, 0);
  HCURSOR cursor = nullptr; // shown while the mouse is over it; null: none set
  CursorHandle cursor_from_file;
  std::unique_ptr<PictureBoxState> picture; // picture boxes only
  // Destroying the picture state needs its complete type.
  ControlState();
  ~ControlState();
  ControlState(ControlState &&) noexcept;
  ControlState &operator=(ControlState &&) noexcept;
};

struct WindowState {
  HWND hwnd = nullptr;
  ControlState self;
  std::vector<ControlState> controls;
  std::vector<HWND> disabled_by_modal; // enabled again when this window goes
  HWND focus_when_deactivated = nullptr;
};

// Posted by WindowDestroy; the window is destroyed when it is handled.
inline constexpr UINT kDestroyRequest = WM_APP + 0x2A0;
// Control identifiers start above the dialog command identifiers.
inline constexpr int kFirstControlId = 1000;

std::wstring to_wide(std::string_view text);
Text from_wide(std::wstring_view text);

// Every window that is loaded now, in the order of loading.
std::vector<Window *> &loaded_windows();
// The window or control that owns this platform window, if any.
std::optional<Widget> find_widget(HWND hwnd);
// A loaded widget's platform window and record; fatal when not loaded.
HWND widget_hwnd(const Widget &widget);
ControlState &widget_state(const Widget &widget);
const ControlForm &control_form(const Widget &widget);
const FormEvents &widget_events(const Widget &widget);

// Window creation (window_create_win.cpp).
bool create_window(Window &window);
LRESULT CALLBACK top_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
void enable_windows_disabled_by(WindowState &state);

// Message dispatch (window_dispatch_win.cpp): the layer's handlers first,
// then keyboard navigation, then the platform.
void dispatch_message(MSG &message);
// The cursor to show over a widget, or null for the platform's own.
HCURSOR effective_cursor(const Widget &widget);
