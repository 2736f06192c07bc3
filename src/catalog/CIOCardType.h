#pragma once
#include "base/CResourceManager.h"
#include "catalog/CCardInterface.h"
#include "catalog/StationAttribute.h"

#include <cstdint>
#include <memory>
#include <string>

// The registry of the I/O slots 1 to 16: turns a model name or a type code
// into a new card of the right class, named after its model, from the I/O
// rows of the model registry (ModelRegistry.h). Unknown names and codes never
// fail; they give the unknown card (code -1, "unknown").
// A new card is returned as the caller's own; racks keep it through a
// std::shared_ptr, to which the result converts.
class CIOCardType : protected CResourceManager {
public:
    // The registry of a rack with the given attribute; by default of a rack
    // that has read none.
    explicit CIOCardType(StationAttribute attribute = StationAttribute()) : m_attribute(attribute) {}

    // Code of the model name (exact, case-sensitive); 0, the empty slot's
    // code, for a name the registry does not know.
    std::int32_t CodeFromName(const std::wstring& name) const;
    // Codes 1 and 2 give the 16-point cards where the attribute addresses
    // them, the generic digital card otherwise.
    std::unique_ptr<CCardInterface> CreateByCode(std::int32_t code) const;
    std::unique_ptr<CCardInterface> CreateByName(const std::wstring& name) const;
    std::wstring GetLongNameByCode(std::int32_t code) const;

private:
    StationAttribute m_attribute;
};
