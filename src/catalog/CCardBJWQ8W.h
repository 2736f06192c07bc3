#pragma once
#include "catalog/CCardInterface.h"

// I/O module with a field network group.
class CCardBJWQ8W : public CCardInterface {
public:
    explicit CCardBJWQ8W(std::int32_t typeCode);
};
