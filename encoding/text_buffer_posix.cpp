#include "encoding/text_buffer.h"

#include <cstdint>
#include <sys/mman.h>

void advise_large_buffer(void *data, std::size_t size) {
#ifdef MADV_HUGEPAGE
  // Only whole huge pages inside the buffer can be advised.
  constexpr std::uintptr_t huge_page = std::uintptr_t(2) << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + huge_page - 1) & ~(huge_page - 1);
  const std::uintptr_t last = (begin + size) & ~(huge_page - 1);
  if (last > first)
    madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}
