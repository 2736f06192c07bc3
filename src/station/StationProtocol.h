#pragma once
#include "link/Protocol.h"

#include <chrono>
#include <cstdint>

// What the simulated station puts on the line besides the texts of its items
// and the protocol's numbers (link/Protocol.h).

// Status bytes of a reply besides those the link knows by meaning: the
// station's own codes for the requests it turns down.
// The request payload is too short, its text length is wrong, or its command
// is neither read nor write.
inline constexpr std::uint8_t kStationStatusBadRequest = 1;
// The item exists but does not take the written text (a read-only item, a
// text of the wrong form or out of range), or cannot be read just now (the
// digital read-through before it has been switched on).
inline constexpr std::uint8_t kStationStatusRefused = 4;
// No module answers at the address, or the module has no such item.
inline constexpr std::uint8_t kStationStatusNoSuchItem = 5;

// One byte on the line at 9600 baud: start bit, eight data bits, stop bit.
inline constexpr std::chrono::nanoseconds kStationByteTime{1'000'000'000LL * 10 / 9600};
