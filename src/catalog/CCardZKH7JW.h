#pragma once
#include "catalog/CCardInterface.h"

// Four-channel analog input module.
class CCardZKH7JW : public CCardInterface {
public:
    explicit CCardZKH7JW(std::int32_t typeCode);
};
