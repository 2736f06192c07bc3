#pragma once
#include <cstdint>

// The station attribute word: read from the communication module while its
// parameters are uploaded, and consulted when the 16-point digital modules are
// created, downloaded and monitored. The upload thread writes it while the
// window thread may read it, so it is kept atomically. 0 at program start.
std::uint16_t GetStationAttribute();
void SetStationAttribute(std::uint16_t value);
