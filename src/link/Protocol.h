#pragma once
#include <cstdint>

// The numbers of the station protocol that both ends know: the link, the
// cards and the rack on this side, the simulated station on the other.

// The command byte of a request.
inline constexpr std::uint8_t kStationReadCommand = 0x15;
inline constexpr std::uint8_t kStationWriteCommand = 0x16;

// Status bytes of a reply that the link knows by meaning.
inline constexpr std::uint8_t kStationStatusOk = 0;
inline constexpr std::uint8_t kStationStatusRedundancy = 0x36;

// The communication module's items at address 0, page 0, that describe the station.
inline constexpr int kStationNameItem = 3;       // the communication module's model name
inline constexpr int kStationMapItem = 6;        // "UPMAP": bit n-1 set for I/O slot n
inline constexpr int kStationFirstSlotItem = 10; // items 10 to 25: model names of slots 1 to 16
inline constexpr int kStationAttributeItem = 27; // the station attribute word

// Item 1 of pages 0 and 1 of a module tells it that a batch of writes is
// coming ("1") and that it is complete ("0").
inline constexpr int kWriteFrameItem = 1;

// The digital read-through of the communication module, page 2: switched on,
// given the slot, it reads that slot's points.
inline constexpr int kThroughPage = 2;
inline constexpr int kThroughEnableItem = 1;
inline constexpr int kThroughSlotItem = 4;
