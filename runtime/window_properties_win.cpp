// The properties handlers read and write, and the small primitives.
#include <string>

#include "runtime/fatal.h"
#include "runtime/picture_dib.h"
#include "runtime/window_picture_win.h"
#include "runtime/window_state_win.h"

namespace {

// A window's outer rectangle on the screen, a control's in its parent's
// client area.
RECT placement_of(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT *>(&rect), 2);
  return rect;
}

void move_to(HWND hwnd, int left, int top) {
  SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void resize_to(HWND hwnd, int width, int height) {
  SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const ControlForm &control_of_kind(const Widget &widget, ControlKind kind) {
  if (widget.is_window() || control_form(widget).kind != kind)
    FatalError("a property used on a control of another kind");
  return control_form(widget);
}

const wchar_t *stock_pointer(int number) {
  static const wchar_t *const pointers[] = {
      nullptr,    IDC_ARROW,       IDC_CROSS,  IDC_IBEAM,   IDC_WAIT,
      IDC_HELP,   IDC_APPSTARTING, IDC_NO,     IDC_SIZEALL, IDC_SIZENESW,
      IDC_SIZENS, IDC_SIZENWSE,    IDC_SIZEWE, IDC_UPARROW, IDC_HAND};
  if (number < 0 || number >= int(std::size(pointers)))
    return nullptr;
  return pointers[number];
}

// A cursor file's first image, handed to the platform as a cursor resource:
// the hot spot followed by the image.
CursorHandle cursor_from_file(const Bytes &bytes) {
  auto entry = first_icon_entry(bytes, 2);
  if (!entry || entry->image.empty())
    return CursorHandle();
  Bytes resource;
  for (int value : {entry->hotspot_x, entry->hotspot_y}) {
    resource.push_back(std::uint8_t(value));
    resource.push_back(std::uint8_t(value >> 8));
  }
  resource.insert(resource.end(), entry->image.begin(), entry->image.end());
  return CursorHandle(CreateIconFromResourceEx(resource.data(), DWORD(resource.size()), FALSE,
                                               0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

// Shows the new shape at once when the mouse is over the widget; moving the
// cursor to where it is lets the platform ask for the shape again as well.
void refresh_cursor(HWND hwnd) {
  POINT at;
  if (!GetCursorPos(&at))
    return;
  HWND under = WindowFromPoint(at);
  if (under && (under == hwnd || IsChild(hwnd, under))) {
    auto widget = find_widget(under);
    HCURSOR cursor = widget ? effective_cursor(*widget) : nullptr;
    if (!cursor)
      cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(under, GCLP_HCURSOR));
    SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
  }
  SetCursorPos(at.x, at.y);
}

// Checking a radio button unchecks the others of its run of switches.
void uncheck_group_siblings(const Widget &widget) {
  HWND hwnd = widget_hwnd(widget);
  HWND parent = GetParent(hwnd);
  for (HWND other = GetNextDlgGroupItem(parent, hwnd, FALSE); other && other != hwnd;
       other = GetNextDlgGroupItem(parent, other, FALSE)) {
    auto sibling = find_widget(other);
    if (sibling && !sibling->is_window() && control_form(*sibling).kind == ControlKind::RadioButton)
      SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

} // namespace

int Widget::left() const {
  return placement_of(widget_hwnd(*this)).left;
}
int Widget::top() const {
  return placement_of(widget_hwnd(*this)).top;
}

int Widget::width() const {
  RECT rect = placement_of(widget_hwnd(*this));
  return rect.right - rect.left;
}

int Widget::height() const {
  RECT rect = placement_of(widget_hwnd(*this));
  return rect.bottom - rect.top;
}

void Widget::set_left(int value) const {
  HWND hwnd = widget_hwnd(*this);
  move_to(hwnd, clamp_position(value), placement_of(hwnd).top);
}

void Widget::set_top(int value) const {
  HWND hwnd = widget_hwnd(*this);
  move_to(hwnd, placement_of(hwnd).left, clamp_position(value));
}

void Widget::set_width(int value) const {
  HWND hwnd = widget_hwnd(*this);
  RECT rect = placement_of(hwnd);
  resize_to(hwnd, clamp_size(value), rect.bottom - rect.top);
}

void Widget::set_height(int value) const {
  HWND hwnd = widget_hwnd(*this);
  RECT rect = placement_of(hwnd);
  resize_to(hwnd, rect.right - rect.left, clamp_size(value));
}

bool Widget::visible() const {
  return (GetWindowLongPtrW(widget_hwnd(*this), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Widget::set_visible(bool value) const {
  HWND hwnd = widget_hwnd(*this);
  ShowWindow(hwnd, value ? SW_SHOW : SW_HIDE);
  if (value)
    UpdateWindow(hwnd);
}

Bytes Widget::pointer() const {
  return widget_state(*this).pointer;
}

void Widget::set_pointer(const Bytes &value) const {
  ControlState &state = widget_state(*this);
  state.pointer = value;
  state.cursor_from_file.reset();
  int number = pointer_number(value);
  if (number >= 0) {
    const wchar_t *stock = stock_pointer(number);
    state.cursor = stock ? LoadCursorW(nullptr, stock) : nullptr;
  } else {
    state.cursor_from_file = cursor_from_file(value);
    state.cursor = state.cursor_from_file.get();
  }
  refresh_cursor(state.hwnd);
}

Bytes Widget::picture() const {
  control_of_kind(*this, ControlKind::PictureBox);
  return widget_state(*this).picture->bytes;
}

void Widget::set_picture(const Bytes &value) const {
  control_of_kind(*this, ControlKind::PictureBox);
  ControlState &state = widget_state(*this);
  show_picture(state.hwnd, *state.picture, value);
}

bool Widget::checked() const {
  control_of_kind(*this, ControlKind::RadioButton);
  return SendMessageW(widget_hwnd(*this), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Widget::set_checked(bool value) const {
  control_of_kind(*this, ControlKind::RadioButton);
  SendMessageW(widget_hwnd(*this), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (value)
    uncheck_group_siblings(*this);
}

Text Widget::content() const {
  HWND hwnd = widget_hwnd(*this);
  std::wstring text(std::size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
  return from_wide(text);
}

void Widget::set_content(const Text &value) const {
  SetWindowTextW(widget_hwnd(*this), to_wide(value).c_str());
}

void EditAppendList(Widget edit, std::initializer_list<std::string_view> texts) {
  HWND hwnd = widget_hwnd(edit);
  for (std::string_view text : texts) {
    LPARAM end = GetWindowTextLengthW(hwnd);
    SendMessageW(hwnd, EM_SETSEL, WPARAM(end), end);
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
    std::wstring wide = to_wide(text);
    SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

int ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}

int MouseX() {
  POINT at{};
  GetCursorPos(&at);
  return at.x;
}

int MouseY() {
  POINT at{};
  GetCursorPos(&at);
  return at.y;
}

void SleepMs(int milliseconds) {
  Sleep(DWORD(milliseconds > 0 ? milliseconds : 0));
}
