#pragma once
#include "catalog/CCardInterface.h"

// Communication module: TCP/IP network.
class CCardHQ8 : public CCardInterface {
public:
    explicit CCardHQ8(std::int32_t typeCode);
};
