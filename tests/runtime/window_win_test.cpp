#include <string>

#include "runtime/codepage.h"
#include "tests/runtime/picture_builders.h"
#include "tests/runtime/window_fixture_win.h"

namespace {

ControlForm control(const char *name, ControlKind kind, int left, int top, int width, int height,
                    const char *text = "", const char *parent = "") {
  ControlForm form;
  form.name = name;
  form.kind = kind;
  form.left = left;
  form.top = top;
  form.width = width;
  form.height = height;
  form.text = text;
  form.parent = parent;
  return form;
}

WindowForm form_with_controls() {
  WindowForm form;
  form.caption = "controls";
  form.left = 100;
  form.top = 120;
  form.width = 500;
  form.height = 400;
  form.controls.push_back(control("go", ControlKind::Button, 2, 2, 60, 32, "go"));
  form.controls.push_back(control("one", ControlKind::RadioButton, 70, 1, 100, 19, "one"));
  form.controls.back().checked = true;
  form.controls.push_back(control("two", ControlKind::RadioButton, 70, 21, 100, 19, "two"));
  form.controls.push_back(control("frame", ControlKind::GroupBox, 7, 40, 300, 300, "frame"));
  form.controls.push_back(control("pic", ControlKind::PictureBox, 8, 16, 200, 150, "", "frame"));
  form.controls.push_back(control("text", ControlKind::EditBox, 310, 40, 170, 300));
  form.controls.back().multi_line = true;
  return form;
}

// "中文" in code page 936.
const Text kChinese = "\xD6\xD0\xCE\xC4";

TEST_F(WindowTest, PositionsAndSizesRoundTripWithClamping) {
  Window &window = make(form_with_controls());
  ASSERT_TRUE(WindowLoad(window));
  Widget self = window.self();
  EXPECT_EQ(self.left(), 100);
  EXPECT_EQ(self.top(), 120);
  EXPECT_EQ(self.width(), 500);
  EXPECT_EQ(self.height(), 400);
  Widget picture = window.control("pic");
  EXPECT_EQ(picture.left(), 8); // within the group box
  EXPECT_EQ(picture.top(), 16);
  self.set_left(30);
  self.set_top(-20);
  EXPECT_EQ(self.left(), 30);
  EXPECT_EQ(self.top(), -20);

  struct Case {
    int written, left, width;
  } cases[] = {{-40000, -32627, 0}, {40000, 32627, 32627}, {12, 12, 12}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.written);
    picture.set_left(c.written);
    picture.set_width(c.written);
    EXPECT_EQ(picture.left(), c.left);
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.top(), 16);
    EXPECT_EQ(picture.height(), 150);
  }
}

TEST_F(WindowTest, VisibleContentCheckedAndPointerRoundTrip) {
  Window &window = make(form_with_controls());
  ASSERT_TRUE(WindowLoad(window));
  Widget button = window.control("go");
  button.set_visible(false);
  EXPECT_FALSE(button.visible());
  button.set_visible(true);
  EXPECT_TRUE(button.visible());

  for (Widget widget : {window.self(), button, window.control("text")}) {
    widget.set_content(kChinese + " ok");
    EXPECT_EQ(widget.content(), kChinese + " ok");
  }

  Widget one = window.control("one");
  Widget two = window.control("two");
  EXPECT_TRUE(one.checked());
  EXPECT_FALSE(two.checked());
  two.set_checked(true);
  EXPECT_FALSE(one.checked());
  EXPECT_TRUE(two.checked());
  SendMessageW(hwnd_of(one), BM_CLICK, 0, 0); // the user's click
  EXPECT_TRUE(one.checked());
  EXPECT_FALSE(two.checked());

  using namespace picture_builders;
  DibSpec image(1, 1, 32);
  image.rows = {0, 0, 0, 0};
  Bytes cursor = cursor_file(image, {0, 0, 0, 0}, 0, 0);
  EXPECT_EQ(window.self().pointer(), Bytes(4, 0));
  for (const Bytes &value : {ToBytes(4), cursor, Bytes{1, 2, 3}, Bytes{}}) {
    for (Widget widget : {window.self(), window.control("pic")}) {
      widget.set_pointer(value);
      EXPECT_EQ(widget.pointer(), value);
    }
  }
}

TEST_F(WindowTest, PointerShowsAtOnceOverTheWindowAndItsControls) {
  Window &window = make(form_with_controls());
  ASSERT_TRUE(WindowLoad(window));
  SetForegroundWindow(hwnd_of(window.self()));
  HWND edit = hwnd_of(window.control("text"));
  RECT over;
  GetWindowRect(edit, &over);
  SetCursorPos((over.left + over.right) / 2, (over.top + over.bottom) / 2);
  ProcessEvents();
  // A wait pointer on the window covers its controls, without any message
  // being handled (the recognition blocks the thread meanwhile).
  window.self().set_pointer(ToBytes(4));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  window.control("text").set_pointer(ToBytes(2));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_CROSS));
  window.control("text").set_pointer(ToBytes(0));
  window.self().set_pointer(ToBytes(0));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM)); // the edit box's own again
}

TEST_F(WindowTest, EditAppendKeepsEverythingPastThePlatformsDefaultLimit) {
  Window &window = make(form_with_controls());
  ASSERT_TRUE(WindowLoad(window));
  Widget text = window.control("text");
  text.set_content("first\r\n");
  Text many_lines;
  for (int i = 0; i < 400; ++i)
    many_lines += "recognised line " + std::to_string(i) + " " + Text(70, 'x') + "\r\n";
  ASSERT_GT(many_lines.size(), 32768u);
  EditAppend(text, many_lines, kChinese, "\r\n");
  Text expected = "first\r\n" + many_lines + kChinese + "\r\n";
  EXPECT_EQ(text.content(), expected);
  text.set_content("");
  EXPECT_EQ(text.content(), "");
}

TEST_F(WindowTest, UsingAWindowThatIsNotLoadedIsFatal) {
  Window &window = make(form_with_controls());
  EXPECT_EXIT(window.self().left(), testing::ExitedWithCode(3), "not loaded");
  EXPECT_EXIT(window.control("missing"), testing::ExitedWithCode(3), "no control");
}

struct Recorded {
  std::string event;
  int a = 0, b = 0, c = 0;
  bool operator==(const Recorded &) const = default;
};

void PrintTo(const Recorded &r, std::ostream *out) {
  *out << r.event << "(" << r.a << "," << r.b << "," << r.c << ")";
}

class EventTest : public WindowTest {
protected:
  void SetUp() override {
    WindowForm form = form_with_controls();
    ControlForm &picture = form.controls[4];
    auto record = [this](const char *name) {
      return [this, name](int x, int y, int flags) { events.push_back({name, x, y, flags}); };
    };
    picture.events.left_pressed = record("down");
    picture.events.left_released = record("up");
    picture.events.double_clicked = record("double");
    picture.events.right_released = record("right-up");
    form.events.key_pressed = [this](int key, int flags) { events.push_back({"key", key, flags}); };
    form.controls[5].events.key_pressed = [this](int key, int flags) {
      events.push_back({"edit-key", key, flags});
      return !suppress_edit_keys;
    };
    window = &make(std::move(form));
    ASSERT_TRUE(WindowLoad(*window));
    ProcessEvents();
    events.clear();
  }

  void TearDown() override {
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    WindowTest::TearDown();
  }

  static void hold_keys(std::initializer_list<int> held) {
    BYTE keys[256] = {};
    for (int key : held)
      keys[key] = 0x80;
    SetKeyboardState(keys);
  }

  Window *window = nullptr;
  std::vector<Recorded> events;
  bool suppress_edit_keys = false;
};

TEST_F(EventTest, MouseEventsCarryUnsignedPositionsAndModifiers) {
  HWND picture = hwnd_of(window->control("pic"));
  hold_keys({VK_CONTROL, VK_SHIFT});
  PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0xFFF6, 7));
  PostMessageW(picture, WM_RBUTTONUP, 0, MAKELPARAM(3, 0xFFFF));
  ProcessEvents();
  EXPECT_EQ(events, (std::vector<Recorded>{{"down", 65526, 7, 3}, {"right-up", 3, 65535, 3}}));
}

TEST_F(EventTest, KeyEventsMapTheKeypadAndLeaveTheKeyOutOfTheFlags) {
  HWND button = hwnd_of(window->control("go"));
  hold_keys({VK_SHIFT, VK_MENU});
  PostMessageW(button, WM_KEYDOWN, VK_NUMPAD7, 0);
  PostMessageW(button, WM_KEYDOWN, VK_DECIMAL, 0);
  PostMessageW(button, WM_SYSKEYDOWN, VK_SHIFT, 0);
  ProcessEvents();
  EXPECT_EQ(events, (std::vector<Recorded>{{"key", 55, 6}, {"key", 190, 6}, {"key", 16, 4}}));
}

TEST_F(EventTest, AHandlerReturningFalseKeepsTheMessageFromTheControl) {
  HWND edit = hwnd_of(window->control("text"));
  window->control("text").set_content("abc");
  for (bool suppress : {true, false}) {
    suppress_edit_keys = suppress;
    SendMessageW(edit, EM_SETSEL, 0, 0);
    PostMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    ProcessEvents();
  }
  EXPECT_EQ(window->control("text").content(), "bc");
  EXPECT_EQ(events, (std::vector<Recorded>{{"edit-key", 46, 0}, {"edit-key", 46, 0}}));
}

TEST_F(EventTest, RealDoubleClickArrivesAsDownUpDoubleUp) {
  HWND picture = hwnd_of(window->control("pic"));
  SetForegroundWindow(hwnd_of(window->self()));
  POINT at{20, 30};
  ClientToScreen(picture, &at);
  SetCursorPos(at.x, at.y);
  ProcessEvents();
  INPUT clicks[4] = {};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, clicks, sizeof(INPUT));
  for (int i = 0; i < 100 && events.size() < 4; ++i) {
    ProcessEvents();
    Sleep(10);
  }
  EXPECT_EQ(events,
            (std::vector<Recorded>{
                {"down", 20, 30, 0}, {"up", 20, 30, 0}, {"double", 20, 30, 0}, {"up", 20, 30, 0}}));
}

TEST_F(WindowTest, EscClosesTheWindowButTheMultiLineEditKeepsEnter) {
  WindowForm form = form_with_controls();
  form.esc_closes = true;
  int close_requests = 0;
  bool refuse = true;
  form.events.close_requested = [&] {
    ++close_requests;
    return !refuse;
  };
  Window &window = make(std::move(form));
  ASSERT_TRUE(WindowLoad(window));
  HWND edit = hwnd_of(window.control("text"));
  SetFocus(edit);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  ProcessEvents();
  EXPECT_EQ(window.control("text").content(), "\r\n");
  EXPECT_EQ(close_requests, 0);

  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ProcessEvents();
  EXPECT_EQ(close_requests, 1);
  EXPECT_TRUE(window.loaded()); // refused
  refuse = false;
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ProcessEvents();
  EXPECT_EQ(close_requests, 2);
  EXPECT_FALSE(window.loaded());
  EXPECT_TRUE(quit_pending());
}

TEST_F(WindowTest, WindowDestroyWaitsForTheQueueAndRaisesNoCloseRequest) {
  WindowForm form = plain_form();
  int close_requests = 0;
  int destroying = 0;
  form.events.close_requested = [&] { ++close_requests; };
  form.events.destroying = [&] { ++destroying; };
  Window &window = make(std::move(form));
  ASSERT_TRUE(WindowLoad(window));
  WindowDestroy(window);
  EXPECT_TRUE(window.loaded());
  ProcessEvents();
  EXPECT_FALSE(window.loaded());
  EXPECT_EQ(close_requests, 0);
  EXPECT_EQ(destroying, 1);
  // Loaded again from the same form, as new.
  ASSERT_TRUE(WindowLoad(window));
  EXPECT_EQ(window.self().pointer(), Bytes(4, 0));
}

TEST_F(WindowTest, CreatedIsRaisedOnceBeforeTheWindowIsShown) {
  WindowForm form = plain_form();
  form.placement = WindowPlacement::Centred;
  std::vector<bool> visible_when_created;
  Window *self = nullptr;
  form.events.created = [&] { visible_when_created.push_back(self->self().visible()); };
  Window &window = make(std::move(form));
  self = &window;
  ASSERT_TRUE(WindowLoad(window));
  ASSERT_TRUE(WindowLoad(window)); // already loaded: activated only
  EXPECT_EQ(visible_when_created, std::vector<bool>{false});
  EXPECT_TRUE(window.self().visible());
  EXPECT_EQ(window.self().left(), (ScreenWidth() - 400) / 2);
  EXPECT_EQ(window.self().top(), (ScreenHeight() - 300) / 2);
}

TEST_F(WindowTest, MaximizedWindowCoversTheWorkAreaWhateverCreatedSet) {
  WindowForm form = plain_form(50, 50, 380, 250);
  form.border = WindowBorder::None;
  form.placement = WindowPlacement::Maximized;
  Window *self = nullptr;
  form.events.created = [&] {
    self->self().set_width(ScreenWidth());
    self->self().set_height(ScreenHeight());
  };
  Window &window = make(std::move(form));
  self = &window;
  ASSERT_TRUE(WindowLoad(window));
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(window.self().left(), work.left);
  EXPECT_EQ(window.self().top(), work.top);
  EXPECT_EQ(window.self().width(), work.right - work.left);
  EXPECT_EQ(window.self().height(), work.bottom - work.top);
}

TEST_F(WindowTest, ModalLoadDisablesTheOtherWindowsUntilItIsDestroyed) {
  Window &main = make(plain_form());
  ASSERT_TRUE(WindowLoad(main));
  WindowForm modal_form = plain_form(200, 200, 200, 100);
  std::vector<bool> main_enabled_meanwhile;
  Window *modal = nullptr;
  modal_form.events.created = [&] {
    PostMessageW(hwnd_of(modal->self()), WM_MOUSEMOVE, 0, 0);
    WindowDestroy(*modal);
  };
  modal_form.events.mouse_moved = [&](int, int, int) {
    main_enabled_meanwhile.push_back(IsWindowEnabled(hwnd_of(main.self())) != 0);
  };
  modal = &make(std::move(modal_form));
  EXPECT_TRUE(WindowLoad(*modal, true));
  EXPECT_FALSE(modal->loaded());
  EXPECT_EQ(main_enabled_meanwhile, std::vector<bool>{false});
  EXPECT_TRUE(IsWindowEnabled(hwnd_of(main.self())));
  EXPECT_FALSE(quit_pending()); // the main window is still there
}

TEST_F(WindowTest, ProcessEventsHandlesWhatIsQueuedAndStopsAtQuit) {
  WindowForm form = plain_form();
  int moves = 0;
  form.events.mouse_moved = [&](int, int, int) { ++moves; };
  Window &window = make(std::move(form));
  ASSERT_TRUE(WindowLoad(window));
  ProcessEvents();
  moves = 0;
  HWND hwnd = hwnd_of(window.self());
  for (int i = 0; i < 3; ++i)
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(i, i));
  ProcessEvents(); // returns without waiting for more
  EXPECT_EQ(moves, 3);
  PostQuitMessage(5);
  PostMessageW(hwnd, WM_MOUSEMOVE, 0, 0);
  ProcessEvents();
  EXPECT_EQ(moves, 4); // posted messages come before the quit message
  EXPECT_TRUE(quit_pending());
}

TEST_F(WindowTest, TheLastWindowDestroyedEndsTheMessageLoop) {
  Window &first = make(plain_form());
  Window &second = make(plain_form(300, 300));
  ASSERT_TRUE(WindowLoad(first));
  ASSERT_TRUE(WindowLoad(second));
  WindowDestroy(first);
  ProcessEvents();
  EXPECT_FALSE(quit_pending());
  WindowDestroy(second);
  RunMessageLoop(); // returns once the quit message arrives
  EXPECT_FALSE(first.loaded());
  EXPECT_FALSE(second.loaded());
}

TEST_F(WindowTest, RunProgramSetsTheDirectoryAndRunsEndRoutinesOnceInOrder) {
  std::vector<int> order;
  Window &window = make(plain_form());
  SetCurrentDirectoryW(L"C:\\");
  int result = RunProgram([&] {
    AtProgramEnd([&] { order.push_back(1); });
    AtProgramEnd([&] { order.push_back(2); });
    wchar_t directory[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, directory);
    EXPECT_EQ(utf16_to_cp936(reinterpret_cast<const char16_t *>(directory)), RunDirectory());
    WindowLoad(window);
    WindowDestroy(window);
    RunMessageLoop();
    order.push_back(0);
    return 7;
  });
  EXPECT_EQ(result, 7);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  RunProgram([] { return 0; });
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2})); // not again
}

} // namespace
