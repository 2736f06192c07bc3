#pragma once
#include "catalog/CCardInterface.h"

// I/O module with a field network group.
class CCardBHQB8W : public CCardInterface {
public:
    explicit CCardBHQB8W(std::int32_t typeCode);
};
