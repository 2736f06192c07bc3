#pragma once
#include "catalog/CCardInterface.h"

// I/O module with a server, login and time settings.
class CCardBZKJ8W : public CCardInterface {
public:
    explicit CCardBZKJ8W(std::int32_t typeCode);
};
