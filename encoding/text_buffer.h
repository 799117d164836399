// Output buffers of the encoders, allocated once at their final size.
#pragma once

#include <cstddef>

#include "runtime/text.h"

// An empty Text with room for capacity bytes, for appending to.
Text reserve_text(std::size_t capacity);

// A Text of size zero bytes, ready to be overwritten by index.
Text make_text_buffer(std::size_t size);

// Asks the system to back a large buffer with huge pages before it is first
// touched: a multi-megabyte picture otherwise spends most of its encoding
// time faulting in 4 KB pages one at a time. A hint only; the platform half
// may do nothing.
void advise_large_buffer(void *data, std::size_t size);
