#pragma once
#include "catalog/CCardInterface.h"

// 16-point digital input module.
class CCardHB58 : public CCardInterface {
public:
    explicit CCardHB58(std::int32_t typeCode);
};
