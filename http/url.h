// Taking a request address apart into host, port and object path. The
// address is not parsed as a grammar: the routines search for markers, so
// odd addresses give odd but defined results.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/text.h"

// The text between the first left marker (searched from start, the first
// byte when omitted) and the next right marker after it; empty when either
// marker is missing.
Text text_between(const Text &text, const Text &left, const Text &right,
                  std::optional<int> start = std::nullopt, bool case_insensitive = false);

// The host in lower case; with keep_port the ":port" stays on.
Text url_host(const Text &address, bool keep_port = false);

// The port written after the host, else 443 for https and 80 otherwise.
std::int32_t url_port(const Text &address);

// The object path with its query, in the case the address has it; "/" when
// no "/" follows the host.
Text url_path(const Text &address);
