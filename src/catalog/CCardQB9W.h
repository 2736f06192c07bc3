#pragma once
#include "catalog/CCardInterface.h"

// Two-channel counter module.
class CCardQB9W : public CCardInterface {
public:
    explicit CCardQB9W(std::int32_t typeCode);
};
