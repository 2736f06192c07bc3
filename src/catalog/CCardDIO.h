#pragma once
#include "catalog/CCardInterface.h"

// 16-point digital module as the station shows it without the station
// attribute: its points are read through the communication module.
class CCardDIO : public CCardInterface {
public:
    explicit CCardDIO(std::int32_t typeCode);
};
