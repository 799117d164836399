#include "encoding/text_buffer.h"

namespace {

// Below this the page faults cost too little to be worth a system call.
constexpr std::size_t kLargeBuffer = std::size_t(4) << 20;

} // namespace

Text make_text_buffer(std::size_t size) {
  Text buffer;
  if (size >= kLargeBuffer) {
    // Reserving allocates without touching the memory, so the hint comes
    // before the first page is faulted in by the fill below.
    buffer.reserve(size);
    advise_large_buffer(buffer.data(), buffer.capacity());
  }
  buffer.resize(size);
  return buffer;
}
