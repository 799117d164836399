#include "app/main_window.h"

#include <string_view>

#include "app/builtin_picture.h"
#include "ocr/recognition.h"
#include "runtime/codepage.h"
#include "runtime/fatal.h"

namespace {

// The sources are UTF-8; the window layer takes code page 936.
Text cp936(std::string_view utf8) {
  return utf16_to_cp936(utf8_to_utf16(utf8));
}

// The control names, as the handlers address them.
struct ControlNames {
  Text capture = cp936("按钮2");
  Text recognise = cp936("按钮1");
  Text clear = cp936("按钮3");
  Text about = cp936("按钮4");
  Text mode_one = cp936("单选框2");
  Text mode_two = cp936("单选框1");
  Text preview_frame = cp936("分组框1");
  Text preview = cp936("图片框1");
  Text result_frame = cp936("分组框2");
  Text result = cp936("编辑框2");
};

const ControlNames &names() {
  static const ControlNames control_names;
  return control_names;
}

// "截图": the capture overlay arrives separately; until then the button is
// there and does nothing.
void capture_and_store() {}

void recognise() {
  Window &window = main_window();
  run_recognition({window.self(), window.control(names().preview), window.control(names().result),
                   window.control(names().mode_two), window.control(names().mode_one)});
}

// "清空内容": the result box only; the preview and the picture file stay.
void clear_result() {
  main_window().control(names().result).set_content("");
}

// "更多免费软件请点击": the built-in picture in the preview; the picture file
// is left alone, so the next recognition still reads it.
void show_builtin_picture() {
  main_window().control(names().preview).set_picture(builtin_picture());
}

ControlForm control(const Text &name, ControlKind kind, int left, int top, int width, int height,
                    std::string_view text_utf8, const Text &parent = {}) {
  ControlForm form;
  form.name = name;
  form.kind = kind;
  form.left = left;
  form.top = top;
  form.width = width;
  form.height = height;
  form.text = cp936(text_utf8);
  form.parent = parent;
  return form;
}

std::vector<ControlForm> main_controls() {
  std::vector<ControlForm> controls;
  controls.push_back(control(names().capture, ControlKind::Button, 2, 2, 60, 32, "截图"));
  controls.back().events.clicked = capture_and_store;
  controls.push_back(control(names().recognise, ControlKind::Button, 62, 2, 60, 32, "开始识别"));
  controls.back().events.clicked = recognise;
  controls.push_back(control(names().clear, ControlKind::Button, 123, 2, 60, 32, "清空内容"));
  controls.back().events.clicked = clear_result;
  controls.push_back(
      control(names().about, ControlKind::Button, 183, 2, 120, 32, "更多免费软件请点击"));
  controls.back().events.clicked = show_builtin_picture;
  controls.push_back(
      control(names().mode_one, ControlKind::RadioButton, 304, 1, 144, 19, "模式一（默认）"));
  controls.back().checked = true;
  controls.push_back(
      control(names().mode_two, ControlKind::RadioButton, 304, 21, 128, 19, "模式二（备用）"));
  controls.push_back(
      control(names().preview_frame, ControlKind::GroupBox, 7, 40, 497, 472, "图片预览"));
  controls.push_back(control(names().preview, ControlKind::PictureBox, 8, 16, 481, 448, "",
                             names().preview_frame));
  controls.back().border = true;
  controls.back().display_mode = PictureMode::Fitted;
  controls.back().animate = true;
  controls.push_back(
      control(names().result_frame, ControlKind::GroupBox, 504, 5, 513, 507, "识别结果"));
  controls.push_back(
      control(names().result, ControlKind::EditBox, 7, 14, 497, 485, "", names().result_frame));
  controls.back().multi_line = true;
  return controls;
}

WindowForm main_form() {
  WindowForm form;
  form.caption = cp936("Lumiscribe 免费版 更多免费软件请点击进群交流 660012345");
  form.left = 50;
  form.top = 50;
  form.width = 1028;
  form.height = 545;
  form.border = WindowBorder::FixedSingle;
  form.minimize_box = true;
  form.maximize_box = false;
  form.placement = WindowPlacement::Centred;
  form.esc_closes = true;
  form.show_in_taskbar = true;
  form.always_on_top = false;
  form.controls = main_controls();
  return form;
}

} // namespace

Window &main_window() {
  static Window window(main_form());
  return window;
}

int start_lumiscribe() {
  if (!WindowLoad(main_window()))
    FatalError("the main window could not be loaded");
  RunMessageLoop();
  return 0;
}
