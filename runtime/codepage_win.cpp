// The Windows half of the code-page conversions: the platform's converters,
// always with the code page named (936 or 65001), never the ANSI code page.
#include <windows.h>

#include "runtime/codepage_runs.h"

namespace {

constexpr UINT code_page_936 = 936;
constexpr UINT code_page_utf8 = 65001;

void append_as_utf16(UINT code_page, std::string_view run, std::u16string &out) {
  if (run.empty())
    return;
  const int size = static_cast<int>(run.size());
  int units = MultiByteToWideChar(code_page, 0, run.data(), size, nullptr, 0);
  if (units <= 0) {
    out.append(run.size(), u'\xFFFD');
    return;
  }
  const std::size_t old_size = out.size();
  out.resize(old_size + static_cast<std::size_t>(units));
  MultiByteToWideChar(code_page, 0, run.data(), size, reinterpret_cast<wchar_t *>(&out[old_size]),
                      units);
}

// `flags` and `default_character` as WideCharToMultiByte takes them; for
// UTF-8 both must be empty.
void append_from_utf16(UINT code_page, DWORD flags, const char *default_character,
                       std::u16string_view run, std::string &out) {
  if (run.empty())
    return;
  const auto *wide = reinterpret_cast<const wchar_t *>(run.data());
  const int size = static_cast<int>(run.size());
  int bytes =
      WideCharToMultiByte(code_page, flags, wide, size, nullptr, 0, default_character, nullptr);
  if (bytes <= 0) {
    out.append(run.size(), '?');
    return;
  }
  const std::size_t old_size = out.size();
  out.resize(old_size + static_cast<std::size_t>(bytes));
  WideCharToMultiByte(code_page, flags, wide, size, &out[old_size], bytes, default_character,
                      nullptr);
}

} // namespace

void append_cp936_run_as_utf16(std::string_view run, std::u16string &out) {
  append_as_utf16(code_page_936, run, out);
}

void append_utf8_run_as_utf16(std::string_view run, std::u16string &out) {
  append_as_utf16(code_page_utf8, run, out);
}

void append_utf16_run_as_cp936(std::u16string_view run, std::string &out) {
  // No best fit: a character the code page lacks is '?', never a look-alike.
  append_from_utf16(code_page_936, WC_NO_BEST_FIT_CHARS, "?", run, out);
}

void append_utf16_run_as_utf8(std::u16string_view run, std::string &out) {
  append_from_utf16(code_page_utf8, 0, nullptr, run, out);
}
