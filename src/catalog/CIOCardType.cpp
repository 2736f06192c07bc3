#include "catalog/CIOCardType.h"

#include "catalog/ModelRegistry.h"

std::int32_t CIOCardType::CodeFromName(const std::wstring& name) const {
    const ModelRow* row = FindModelByName(CardRegistry::Io, name);
    return row != nullptr ? row->code : 0;
}

std::unique_ptr<CCardInterface> CIOCardType::CreateByCode(std::int32_t code) const {
    return MakeModelCard(FindModel(CardRegistry::Io, code), m_attribute);
}

std::unique_ptr<CCardInterface> CIOCardType::CreateByName(const std::wstring& name) const {
    const ModelRow* row = FindModelByName(CardRegistry::Io, name);
    return MakeModelCard(row != nullptr ? *row : FindModel(CardRegistry::Io, -1), m_attribute);
}

std::wstring CIOCardType::GetLongNameByCode(std::int32_t code) const {
    return CCardName(FindModel(CardRegistry::Io, code).name).GetLongName();
}
