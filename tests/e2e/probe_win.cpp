// lumiscribe_probe: the end-to-end tests' (and `make run`'s) hands and eyes
// on a running Lumiscribe. It reads commands from standard input, one a line,
// and answers each with one line ("ok ..." or "error ..."), through window
// messages only:
//
//   wait MS                 until the main window exists (at most MS ms)
//   alive                   ok 1 while the main window exists, else ok 0
//   text SELECTOR           ok HEX: the control's text as UTF-8, in hex
//   lines SELECTOR          ok N, then the text's N lines as UTF-8
//   checked SELECTOR        ok 1 or ok 0
//   enabled SELECTOR        ok 1 or ok 0
//   press SELECTOR          clicks a button; answers once its handler is done
//   rect SELECTOR           ok LEFT TOP RIGHT BOTTOM on the screen
//   pixel SELECTOR X Y      ok RRGGBB at client point X, Y (read from the screen)
//   close                   asks the main window to close
//   quit                    ends the probe
//
// SELECTOR: main, edit (the result box), picture (the preview box), or
// "button:TEXT" / "radio:TEXT" with the control's caption in UTF-8.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring from_utf8(const std::string &text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(std::size_t(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), size);
  return wide;
}

std::string to_utf8(const std::wstring &text) {
  int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(std::size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(), size, nullptr,
                      nullptr);
  return narrow;
}

std::wstring window_text(HWND hwnd) {
  LRESULT length = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 120000,
                      reinterpret_cast<PDWORD_PTR>(&length));
  std::wstring text(std::size_t(length) + 1, L'\0');
  LRESULT copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_BLOCK, 120000, reinterpret_cast<PDWORD_PTR>(&copied));
  text.resize(std::size_t(copied));
  return text;
}

std::wstring class_of(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

HWND main_window() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND hwnd, LPARAM result) -> BOOL {
        if (class_of(hwnd) == L"LumiscribeWindow" &&
            window_text(hwnd).rfind(L"Lumiscribe", 0) == 0) {
          *reinterpret_cast<HWND *>(result) = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

struct Search {
  std::wstring class_name;
  std::wstring text;
  bool by_text = false;
  LONG button_type = -1;
  HWND found = nullptr;
};

HWND find_control(HWND main, const std::string &selector) {
  if (selector == "main")
    return main;
  Search search;
  if (selector == "edit") {
    search.class_name = L"Edit";
  } else if (selector == "picture") {
    search.class_name = L"LumiscribePicture";
  } else if (selector.rfind("button:", 0) == 0 || selector.rfind("radio:", 0) == 0) {
    bool radio = selector[0] == 'r';
    search.class_name = L"Button";
    search.by_text = true;
    search.button_type = radio ? BS_AUTORADIOBUTTON : BS_PUSHBUTTON;
    search.text = from_utf8(selector.substr(selector.find(':') + 1));
  } else {
    return nullptr;
  }
  EnumChildWindows(
      main,
      [](HWND hwnd, LPARAM parameter) -> BOOL {
        auto &s = *reinterpret_cast<Search *>(parameter);
        if (_wcsicmp(class_of(hwnd).c_str(), s.class_name.c_str()) != 0)
          return TRUE;
        LONG type = LONG(GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK);
        if (type == BS_DEFPUSHBUTTON)
          type = BS_PUSHBUTTON;
        if (s.button_type >= 0 && type != s.button_type)
          return TRUE;
        if (s.by_text && window_text(hwnd) != s.text)
          return TRUE;
        s.found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void reply(const std::string &line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string hex(const std::string &bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char byte : bytes) {
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  return out;
}

void wait_for_main(int milliseconds) {
  for (int waited = 0; waited <= milliseconds; waited += 50) {
    if (main_window()) {
      reply("ok");
      return;
    }
    Sleep(50);
  }
  reply("error no main window");
}

void send_lines(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos)
      end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  reply("ok " + std::to_string(lines.size()));
  for (const auto &line : lines)
    reply(line);
}

void pixel(HWND hwnd, int x, int y) {
  POINT at{x, y};
  ClientToScreen(hwnd, &at);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  char text[16];
  std::snprintf(text, sizeof text, "%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  reply(std::string("ok ") + text);
}

void control_command(const std::string &command, HWND hwnd, std::istringstream &arguments) {
  if (command == "text") {
    reply("ok " + hex(to_utf8(window_text(hwnd))));
  } else if (command == "lines") {
    send_lines(to_utf8(window_text(hwnd)));
  } else if (command == "checked") {
    reply(SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? "ok 1" : "ok 0");
  } else if (command == "enabled") {
    reply(IsWindowEnabled(hwnd) ? "ok 1" : "ok 0");
  } else if (command == "press") {
    DWORD_PTR result = 0;
    // Answers when the click's handler has returned (a recognition included).
    bool done = SendMessageTimeoutW(hwnd, BM_CLICK, 0, 0, SMTO_BLOCK, 300000, &result);
    reply(done ? "ok" : "error press timed out");
  } else if (command == "rect") {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    reply("ok " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
          std::to_string(rect.right) + " " + std::to_string(rect.bottom));
  } else if (command == "pixel") {
    int x = 0, y = 0;
    arguments >> x >> y;
    pixel(hwnd, x, y);
  } else {
    reply("error unknown command");
  }
}

bool run_command(const std::string &line) {
  std::istringstream arguments(line);
  std::string command;
  arguments >> command;
  if (command == "quit")
    return false;
  if (command == "wait") {
    int milliseconds = 0;
    arguments >> milliseconds;
    wait_for_main(milliseconds);
    return true;
  }
  HWND main = main_window();
  if (command == "alive") {
    reply(main ? "ok 1" : "ok 0");
    return true;
  }
  if (!main) {
    reply("error no main window");
    return true;
  }
  if (command == "close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
    reply("ok");
    return true;
  }
  std::string selector;
  std::getline(arguments >> std::ws, selector, command == "pixel" ? ' ' : '\n');
  HWND control = find_control(main, selector);
  if (!control) {
    reply("error no control " + selector);
    return true;
  }
  control_command(command, control, arguments);
  return true;
}

} // namespace

int main() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, stdin)) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
      line.pop_back();
    if (line.empty())
      continue;
    if (!run_command(line))
      break;
  }
  return 0;
}
