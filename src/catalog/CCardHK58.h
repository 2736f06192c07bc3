#pragma once
#include "catalog/CCardInterface.h"

// 16-point digital output module.
class CCardHK58 : public CCardInterface {
public:
    explicit CCardHK58(std::int32_t typeCode);
};
