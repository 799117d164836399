// Whole-file reading and writing and the program's directory, through the
// wide-character file API: paths are Text in code page 936 and are converted
// explicitly, so they work whatever the system's ANSI code page is.
#include <windows.h>

#include <algorithm>
#include <limits>

#include "runtime/codepage.h"
#include "runtime/text.h"
#include "runtime/win_handles.h"

namespace {

std::wstring wide_path(const Text &path) {
  std::u16string wide = cp936_to_utf16(path);
  return std::wstring(wide.begin(), wide.end());
}

// Reads exactly `size` bytes unless the file ends first; false on a failed read.
bool read_into(HANDLE file, Bytes &buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, buffer.data() + done, want, &got, nullptr))
      return false;
    if (got == 0)
      break;
    done += got;
  }
  buffer.resize(done);
  return true;
}

bool write_all(HANDLE file, const Bytes &bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

} // namespace

Bytes FileReadAll(const Text &path) {
  if (path.empty())
    return {};
  // Readers may share the file; writers are refused while we read it.
  KernelHandle file(CreateFileW(wide_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    return {};
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      size.QuadPart > std::numeric_limits<int>::max())
    return {};
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  if (!read_into(file.get(), bytes, bytes.size()))
    return {};
  return bytes;
}

bool FileWriteAllList(const Text &path, std::initializer_list<const Bytes *> parts) {
  if (path.empty())
    return false;
  // CREATE_ALWAYS truncates only once the file is open, so a file we cannot
  // open (held by someone else, read-only, a directory) is left as it was.
  KernelHandle file(CreateFileW(wide_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    return false;
  for (const Bytes *part : parts) {
    if (!write_all(file.get(), *part))
      return false;
  }
  return CloseHandle(file.release()) != 0;
}

Text RunDirectory() {
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    DWORD size = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (size == 0)
      return {};
    if (size < module.size()) {
      module.resize(size);
      break;
    }
    module.resize(module.size() * 2);
  }
  Text path = utf16_to_cp936(
      std::u16string_view(reinterpret_cast<const char16_t *>(module.data()), module.size()));
  // Walk by characters: the trail byte of a two-byte character may be 0x5C.
  std::size_t last_backslash = Text::npos;
  for (std::size_t at = 0; at < path.size();
       at += static_cast<unsigned char>(path[at]) >= 0x80 ? 2 : 1) {
    if (path[at] == '\\')
      last_backslash = at;
  }
  return last_backslash == Text::npos ? Text() : path.substr(0, last_backslash);
}
