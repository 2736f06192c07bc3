#pragma once
#include <cstdint>
#include <string>

// One live channel of a card as the monitor list and the simulation panels
// show it. A card fills it (CCardInterface::FillMonitorUnit); a fresh record
// is empty, with kind KindNothing, and stays so for a channel the card
// cannot describe yet.
class CMonitorUnit {
public:
    enum Kind : std::int32_t {
        KindNothing = 0,
        KindAnalog = 1,
        KindDigital = 2,
        KindSwitch = 3, // the module's simulation switch
        KindCounter = 4,
        KindDateTime = 5
    };

    CMonitorUnit();
    virtual ~CMonitorUnit();

    std::wstring name; // "Ch 1" ...
    std::int32_t kind = KindNothing;
    std::int32_t pointCount = 0;  // digital: number of points
    std::wstring values;          // value texts, one per line
    std::wstring mainValue;       // the first value text; the simulation panels start from it
    std::uint32_t bits = 0;       // digital: point 1 in bit 0
    std::int32_t switchValue = 0; // simulation switch: non-zero while the module simulates
    std::int32_t status = 0;      // analog and counter: the channel's last status code
};
