// The native stand-in for the file primitives: plain stdio, the path's bytes
// used as they are. The Windows program uses files_win.cpp.
#include <unistd.h>

#include <cstdio>
#include <limits>
#include <memory>

#include "runtime/text.h"

namespace {

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

Bytes FileReadAll(const Text &path) {
  if (path.empty())
    return {};
  File file(std::fopen(path.c_str(), "rb"));
  if (!file)
    return {};
  Bytes bytes;
  unsigned char chunk[65536];
  for (;;) {
    std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
      return {};
    if (got < sizeof chunk)
      break;
  }
  // A directory opens but cannot be read.
  if (std::ferror(file.get()))
    return {};
  return bytes;
}

bool FileWriteAllList(const Text &path, std::initializer_list<const Bytes *> parts) {
  if (path.empty())
    return false;
  File file(std::fopen(path.c_str(), "wb"));
  if (!file)
    return false;
  for (const Bytes *part : parts) {
    if (!part->empty() && std::fwrite(part->data(), 1, part->size(), file.get()) != part->size())
      return false;
  }
  return std::fclose(file.release()) == 0;
}

Text RunDirectory() {
  char buffer[4096];
  ssize_t size = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (size <= 0)
    return {};
  Text path(buffer, static_cast<std::size_t>(size));
  std::size_t slash = path.rfind('/');
  return slash == Text::npos ? Text() : path.substr(0, slash);
}
