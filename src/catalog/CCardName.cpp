#include "catalog/CCardName.h"

CCardName::~CCardName() = default;

std::wstring CCardName::GetLongName() const {
    return Database().GetParameterText(m_modelName, L"lname");
}

std::wstring CCardName::GetShortName() const {
    return Database().GetParameterText(m_modelName, L"sname");
}

std::wstring CCardName::GetScaledDataName() const {
    return Database().GetParameterText(m_modelName, L"scaledDATAname");
}

std::wstring CCardName::GetRawDataName() const {
    return Database().GetParameterText(m_modelName, L"rawDATAname");
}
