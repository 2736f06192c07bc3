#include "catalog/CCOMCardType.h"

#include "catalog/ModelRegistry.h"

std::unique_ptr<CCardInterface> CCOMCardType::CreateByCode(std::int32_t code) const {
    return MakeModelCard(FindModel(CardRegistry::Com, code), StationAttribute());
}

std::unique_ptr<CCardInterface> CCOMCardType::CreateByName(const std::wstring& name) const {
    const ModelRow* row = FindModelByName(CardRegistry::Com, name);
    return MakeModelCard(row != nullptr ? *row : FindModel(CardRegistry::Com, -1), StationAttribute());
}

std::wstring CCOMCardType::GetLongNameByCode(std::int32_t code) const {
    return CCardName(FindModel(CardRegistry::Com, code).name).GetLongName();
}
