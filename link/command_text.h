// Text of a Command message for the windows: the payload is UTF-8 on the
// wire; the windows take text in the ANSI code page (UTF-8 under this
// program's manifest), converted through UTF-16 so that any other code page
// gets the nearest characters.
#pragma once
#include <cstdint>
#include <string>

// The payload up to its first NUL (a C string), converted UTF-8 -> UTF-16 ->
// ANSI. Invalid UTF-8 sequences become U+FFFD before the second step.
std::string CommandPayloadToAnsi(const uint8_t* payload, int32_t length);
