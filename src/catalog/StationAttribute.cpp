#include "catalog/StationAttribute.h"

#include <atomic>

namespace {

std::atomic<std::uint16_t> g_stationAttribute{0};

} // namespace

std::uint16_t GetStationAttribute() {
    return g_stationAttribute.load();
}

void SetStationAttribute(std::uint16_t value) {
    g_stationAttribute.store(value);
}
