// Creating a window and its controls from the form's settings.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "runtime/fatal.h"
#include "runtime/window_picture_win.h"
#include "runtime/window_state_win.h"

namespace {

const wchar_t kWindowClass[] = L"LumiscribeWindow";

void register_classes() {
  static const bool registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = top_window_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!window_class.hIcon)
      window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kWindowClass;
    RegisterClassExW(&window_class);
    register_picture_box_class();
    return true;
  }();
  (void)registered;
}

// The system's message font, which carries Chinese as well as Latin text.
HFONT control_font() {
  static const GdiFont font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      return GdiFont();
    return GdiFont(CreateFontIndirectW(&metrics.lfMessageFont));
  }();
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

DWORD window_style(const WindowForm &form) {
  if (form.border == WindowBorder::None)
    return WS_POPUP | WS_CLIPCHILDREN;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (form.minimize_box)
    style |= WS_MINIMIZEBOX;
  if (form.maximize_box)
    style |= WS_MAXIMIZEBOX;
  return style;
}

DWORD window_ex_style(const WindowForm &form) {
  DWORD style = WS_EX_CONTROLPARENT;
  if (form.always_on_top)
    style |= WS_EX_TOPMOST;
  style |= form.show_in_taskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  return style;
}

POINT initial_position(const WindowForm &form) {
  if (form.placement != WindowPlacement::Centred)
    return {form.left, form.top};
  return {(GetSystemMetrics(SM_CXSCREEN) - form.width) / 2,
          (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2};
}

// A group box passes its children's notifications on to the window, where
// the handlers are, and paints its own background.
LRESULT CALLBACK group_box_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR, DWORD_PTR) {
  switch (message) {
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wparam, lparam);
  case WM_ERASEBKGND: {
    // The platform's group box draws only its frame and caption; the window
    // behind it is clipped away, so its inside must be filled here.
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  case WM_NCDESTROY:
    RemoveWindowSubclass(hwnd, group_box_procedure, 0);
    break;
  default:
    break;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool has_children(const WindowForm &form, const ControlForm &control) {
  for (const ControlForm &other : form.controls)
    if (!other.parent.empty() && other.parent == control.name)
      return true;
  return false;
}

struct ControlClass {
  const wchar_t *name;
  DWORD style;
  DWORD ex_style;
};

ControlClass control_class(const WindowForm &form, std::size_t index) {
  const ControlForm &control = form.controls[index];
  switch (control.kind) {
  case ControlKind::Button:
    return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
  case ControlKind::RadioButton: {
    // A group of switches is a run of radio buttons; WS_GROUP begins it.
    bool first = control.starts_group || index == 0 ||
                 form.controls[index - 1].kind != ControlKind::RadioButton;
    return {L"BUTTON", BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0u), 0};
  }
  case ControlKind::GroupBox:
    return {L"BUTTON", BS_GROUPBOX | WS_GROUP | WS_CLIPCHILDREN,
            has_children(form, control) ? DWORD(WS_EX_CONTROLPARENT) : 0u};
  case ControlKind::PictureBox:
    return {kPictureBoxClass, WS_GROUP | (control.border ? WS_BORDER : 0u), 0};
  case ControlKind::EditBox:
    return {L"EDIT",
            DWORD(WS_TABSTOP | WS_GROUP | ES_LEFT |
                  (control.multi_line ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL
                                      : ES_AUTOHSCROLL)),
            WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

HWND parent_of(Window &window, const ControlForm &control) {
  if (control.parent.empty())
    return window.state().hwnd;
  const auto &controls = window.form().controls;
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i].name == control.parent && window.state().controls[i].hwnd)
      return window.state().controls[i].hwnd;
  FatalError("a control's parent must be a group box listed before it");
}

void prepare_control(HWND hwnd, const ControlForm &control, ControlState &state) {
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control_font()), FALSE);
  switch (control.kind) {
  case ControlKind::RadioButton:
    SendMessageW(hwnd, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    break;
  case ControlKind::GroupBox:
    SetWindowSubclass(hwnd, group_box_procedure, 0, 0);
    break;
  case ControlKind::PictureBox:
    state.picture = std::make_unique<PictureBoxState>();
    state.picture->mode = control.display_mode;
    state.picture->animate = control.animate;
    attach_picture_box(hwnd, *state.picture);
    break;
  case ControlKind::EditBox:
    // The platform's default limit would cut appended text at 32K characters.
    SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
    break;
  case ControlKind::Button:
    break;
  }
}

bool create_control(Window &window, std::size_t index) {
  const ControlForm &control = window.form().controls[index];
  ControlClass kind = control_class(window.form(), index);
  DWORD style = WS_CHILD | kind.style | (control.visible ? WS_VISIBLE : 0u);
  HWND hwnd =
      CreateWindowExW(kind.ex_style, kind.name, to_wide(control.text).c_str(), style, control.left,
                      control.top, control.width, control.height, parent_of(window, control),
                      reinterpret_cast<HMENU>(INT_PTR(kFirstControlId + int(index))),
                      GetModuleHandleW(nullptr), nullptr);
  if (!hwnd)
    return false;
  ControlState &state = window.state().controls[index];
  state.hwnd = hwnd;
  prepare_control(hwnd, control, state);
  return true;
}

} // namespace

bool create_window(Window &window) {
  register_classes();
  const WindowForm &form = window.form();
  WindowState &state = window.state();
  state.self = ControlState();
  state.controls.clear();
  state.controls.resize(form.controls.size());
  POINT at = initial_position(form);
  // The window procedure records the window as loaded on WM_NCCREATE.
  HWND hwnd = CreateWindowExW(window_ex_style(form), kWindowClass, to_wide(form.caption).c_str(),
                              window_style(form), at.x, at.y, form.width, form.height, nullptr,
                              nullptr, GetModuleHandleW(nullptr), &window);
  if (!hwnd)
    return false;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    if (!create_control(window, i)) {
      DestroyWindow(hwnd);
      return false;
    }
  }
  return true;
}
