#pragma once
#include "catalog/CUniversalInputCard.h"

// Four-channel universal input module.
class CCardJK7W : public CUniversalInputCard {
public:
    explicit CCardJK7W(std::int32_t typeCode);
};
