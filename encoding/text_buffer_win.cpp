#include "encoding/text_buffer.h"

// Large pages on Windows need a privilege the program does not hold; the
// heap's own pages serve.
void advise_large_buffer(void *, std::size_t) {}
