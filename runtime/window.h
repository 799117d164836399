// The window layer: windows described as data (a form with its settings,
// its controls and the handlers bound to their events), loaded, shown, run
// modally and destroyed on the one GUI thread, with the control properties
// the handlers read and write. Every text here is code page 936; the Windows
// half converts it and talks to the platform through the wide functions.
//
// Only the portable helpers at the end are available in the native build.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "runtime/picture.h"
#include "runtime/text.h"

// A handler whose result may suppress the platform's default handling of the
// message that raised it: a callable returning bool (false suppresses) or
// nothing (never suppresses).
template <class... Args> class EventHandler {
public:
  EventHandler() = default;
  template <class Callable>
  requires std::is_invocable_v<Callable &, Args...>
  EventHandler(Callable callable) { // NOLINT: implicit on purpose, forms read as data
    if constexpr (std::is_void_v<std::invoke_result_t<Callable &, Args...>>)
      call_ = [callable = std::move(callable)](Args... args) mutable {
        callable(args...);
        return true;
      };
    else
      call_ = [callable = std::move(callable)](Args... args) mutable {
        return bool(callable(args...));
      };
  }

  explicit operator bool() const { return bool(call_); }
  // True lets the default handling go on.
  bool operator()(Args... args) const { return call_ ? call_(args...) : true; }

private:
  std::function<bool(Args...)> call_;
};

// Mouse events: x and y in the receiver's client area, each as an unsigned
// 16-bit number, and the modifier flags. Key events: the key code and flags.
using MouseHandler = EventHandler<int, int, int>;
using KeyHandler = EventHandler<int, int>;

inline constexpr int kModifierCtrl = 1;
inline constexpr int kModifierShift = 2;
inline constexpr int kModifierAlt = 4;

struct FormEvents {
  EventHandler<> created;         // the window, once, before it is first shown
  EventHandler<> close_requested; // the window; false refuses the close
  EventHandler<> destroying;      // the window, while its controls still exist
  EventHandler<> clicked;         // buttons
  MouseHandler left_pressed;
  MouseHandler left_released;
  MouseHandler right_pressed;
  MouseHandler right_released;
  MouseHandler double_clicked;
  MouseHandler mouse_moved;
  KeyHandler key_pressed;
  KeyHandler key_released;
};

enum class ControlKind { Button, RadioButton, GroupBox, PictureBox, EditBox };

struct ControlForm {
  Text name;
  ControlKind kind = ControlKind::Button;
  Text parent; // the name of the group box it sits in; empty: the window
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  Text text;
  bool visible = true;
  bool checked = false;      // radio buttons
  bool starts_group = false; // radio buttons: begins a new group of switches
  bool border = false;       // picture boxes: thin single-line border
  PictureMode display_mode = PictureMode::Natural;
  bool animate = false;    // picture boxes: GIF animation
  bool multi_line = false; // edit boxes: several lines, wrapped, Enter breaks a line
  FormEvents events;
};

enum class WindowBorder { FixedSingle, None };
enum class WindowPlacement { AsGiven, Centred, Maximized };

struct WindowForm {
  Text caption;
  int left = 0;
  int top = 0;
  int width = 0; // outer size, frame included
  int height = 0;
  WindowBorder border = WindowBorder::FixedSingle;
  bool minimize_box = true; // a fixed border always has a system menu and close box
  bool maximize_box = false;
  bool always_on_top = false;
  bool show_in_taskbar = true;
  bool esc_closes = false;
  bool keyboard_navigation = true; // Tab and the arrow keys move between controls
  bool hidden = false;             // loading does not show it
  WindowPlacement placement = WindowPlacement::AsGiven;
  std::vector<ControlForm> controls;
  FormEvents events;
};

struct WindowState; // the platform half's record of a loaded window
class Window;

// A loaded window itself, or one of its controls. Using it while its window
// is not loaded is a fatal program error.
class Widget {
public:
  Widget(Window &window, int control) : window_(&window), control_(control) {}

  Window &window() const { return *window_; }
  int control_index() const { return control_; } // -1: the window itself
  bool is_window() const { return control_ < 0; }

  // Position: a window's on the screen, a control's in its parent's client
  // area, clamped to -32627..32627. Size: the outer size, clamped to 0..32627.
  int left() const;
  int top() const;
  int width() const;
  int height() const;
  void set_left(int value) const;
  void set_top(int value) const;
  void set_width(int value) const;
  void set_height(int value) const;

  bool visible() const;
  void set_visible(bool value) const;

  // A pointer number as 4 bytes (least significant first) or a cursor file;
  // reads back exactly what was written, 4 zero bytes before any write.
  Bytes pointer() const;
  void set_pointer(const Bytes &value) const;

  // Picture boxes: the bytes last written, unchanged; the box shows the image
  // they hold, or nothing when they hold none.
  Bytes picture() const;
  void set_picture(const Bytes &value) const;

  // Radio buttons. Checking one unchecks the others of its group.
  bool checked() const;
  void set_checked(bool value) const;

  // The text: an edit box's content, a button's or a window's caption.
  Text content() const;
  void set_content(const Text &value) const;

private:
  Window *window_;
  int control_;
};

class Window {
public:
  explicit Window(WindowForm form);
  ~Window();
  Window(const Window &) = delete;
  Window &operator=(const Window &) = delete;

  const WindowForm &form() const { return form_; }
  bool loaded() const;
  Widget self() { return Widget(*this, -1); }
  // The control of that name; a name the form does not have is fatal.
  Widget control(std::string_view name);

  WindowState &state() const { return *state_; }

private:
  WindowForm form_;
  std::unique_ptr<WindowState> state_;
};

// Loads the window from its form and shows it; modal: returns only once the
// window has been destroyed, with the other windows disabled meanwhile.
// Loading a loaded window restores and activates it. True when it is loaded
// (for a modal load: when it was).
bool WindowLoad(Window &window, bool modal = false);
// Destroys the window once the current handler has returned; raises no
// close request.
void WindowDestroy(Window &window);
// The platform window handle (an HWND).
void *WindowHandle(Widget widget);

void EditAppendList(Widget edit, std::initializer_list<std::string_view> texts);
template <class... Texts> void EditAppend(Widget edit, const Texts &...texts) {
  EditAppendList(edit, {std::string_view(texts)...});
}

int ScreenWidth();
int ScreenHeight();
int MouseX();
int MouseY();
// Handles every message already queued and returns; never waits.
void ProcessEvents();
void SleepMs(int milliseconds);

// Start-up and end: initialises OLE and COM, makes the program's directory
// the current one, runs `start` (which loads the first window and calls
// RunMessageLoop), then the end-of-program routines once each, in the order
// they were registered. Returns what `start` returned.
int RunProgram(const std::function<int()> &start);
void AtProgramEnd(std::function<void()> routine);
// Runs until the quit message, which follows the last window's destruction.
void RunMessageLoop();

// Portable helpers of the layer.
int clamp_position(int value);
int clamp_size(int value);
// The key code a key event carries: the platform's virtual-key code, except
// that the keypad's digits give the main digit keys' codes and its '-', '.'
// and '/' give 189, 190 and 191.
int event_key_code(int virtual_key);
// Modifier flags of a key event: the key itself is not counted.
int key_modifier_flags(int virtual_key, bool ctrl, bool shift, bool alt);
int mouse_modifier_flags(bool ctrl, bool shift, bool alt);
// A pointer property value: its pointer number when it is one (4 bytes),
// -1 when it is something else (a cursor file, or bytes of neither kind).
int pointer_number(const Bytes &value);
