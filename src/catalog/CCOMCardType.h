#pragma once
#include "base/CResourceManager.h"
#include "catalog/CCardInterface.h"

#include <cstdint>
#include <memory>
#include <string>

// The registry of the communication slot, with the same rules as the I/O
// registry (CIOCardType). Code 0 is the default communication card.
class CCOMCardType : protected CResourceManager {
public:
    std::unique_ptr<CCardInterface> CreateByCode(std::int32_t code) const;
    std::unique_ptr<CCardInterface> CreateByName(const std::wstring& name) const;
    std::wstring GetLongNameByCode(std::int32_t code) const;
};
