// Base64 of the standard alphabet with "=" padding, on one line.
#pragma once

#include "runtime/text.h"

// 4 * ceil(n / 3) characters for n bytes; empty for empty input.
Text base64_encode(const Bytes &data);
