#pragma once
#include <chrono>
#include <cstdint>

// What the simulated station puts on the line besides the texts of its items.

inline constexpr std::uint8_t kStationReadCommand = 0x15;
inline constexpr std::uint8_t kStationWriteCommand = 0x16;

// Status bytes of a reply. 0 and 0x36 are what the link knows by meaning; the
// others are the station's own codes for the requests it turns down.
inline constexpr std::uint8_t kStationStatusOk = 0;
// The request payload is too short, its text length is wrong, or its command
// is neither read nor write.
inline constexpr std::uint8_t kStationStatusBadRequest = 1;
// The item exists but does not take the written text (a read-only item, a
// text of the wrong form or out of range), or cannot be read just now (the
// digital read-through before it has been switched on).
inline constexpr std::uint8_t kStationStatusRefused = 4;
// No module answers at the address, or the module has no such item.
inline constexpr std::uint8_t kStationStatusNoSuchItem = 5;
// The redundancy failure.
inline constexpr std::uint8_t kStationStatusRedundancy = 0x36;

// One byte on the line at 9600 baud: start bit, eight data bits, stop bit.
inline constexpr std::chrono::nanoseconds kStationByteTime{1'000'000'000LL * 10 / 9600};

// The communication module's items at address 0, page 0, that describe the station.
inline constexpr int kStationNameItem = 3;       // the communication module's model name
inline constexpr int kStationMapItem = 6;        // "UPMAP": bit n-1 set for I/O slot n
inline constexpr int kStationFirstSlotItem = 10; // items 10 to 25: model names of slots 1 to 16
inline constexpr int kStationAttributeItem = 27; // the station attribute word

// The digital read-through of the communication module, page 2.
inline constexpr int kThroughPage = 2;
inline constexpr int kThroughEnableItem = 1;
inline constexpr int kThroughSlotItem = 4;
