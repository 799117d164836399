#include "encoding/text_buffer.h"

namespace {

// Below this the page faults cost too little to be worth a system call.
constexpr std::size_t kLargeBuffer = std::size_t(4) << 20;

} // namespace

Text reserve_text(std::size_t capacity) {
  Text buffer;
  buffer.reserve(capacity);
  // Reserving allocates without touching the memory, so the hint comes
  // before the first page is faulted in.
  if (capacity >= kLargeBuffer)
    advise_large_buffer(buffer.data(), buffer.capacity());
  return buffer;
}

Text make_text_buffer(std::size_t size) {
  Text buffer = reserve_text(size);
  buffer.resize(size);
  return buffer;
}
