// Recognises JSON texts (RFC 8259) before anything is handed to the script
// engine, so that only data, never script, reaches it.
#pragma once

#include <string_view>

// Deeper documents are refused: RFC 8259 lets a parser limit nesting, and the
// engine's own parser gives up a few thousand levels down.
inline constexpr int json_max_nesting = 1000;

// True when `text` is exactly one JSON value with optional surrounding white
// space, nested at most `max_nesting` arrays and objects deep. Strings may
// hold any character from U+0020 up, lone surrogates included. Runs in one
// pass without recursion.
bool json_text_is_valid(std::u16string_view text, int max_nesting = json_max_nesting);
