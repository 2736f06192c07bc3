#pragma once
#include "catalog/CUniversalInputCard.h"

// Two-channel universal input module.
class CCardJK9W : public CUniversalInputCard {
public:
    explicit CCardJK9W(std::int32_t typeCode);
};
