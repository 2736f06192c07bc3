#pragma once
#include "catalog/CCardInterface.h"

// A model the registries do not know: no parameters, no live values.
class CCardUnknown : public CCardInterface {
public:
    explicit CCardUnknown(std::int32_t typeCode);
};
