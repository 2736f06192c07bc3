#pragma once
#include "base/CResourceManager.h"

#include <string>

// The identity of a module model: its name as the station reports it and the
// configuration file stores it, and the texts the language file gives it.
class CCardName : protected CResourceManager {
public:
    CCardName() = default;
    explicit CCardName(std::wstring modelName) : m_modelName(std::move(modelName)) {}
    CCardName(const CCardName&) = default;
    CCardName& operator=(const CCardName&) = default;
    ~CCardName() override;

    const std::wstring& GetModelName() const { return m_modelName; }
    void SetModelName(std::wstring modelName) { m_modelName = std::move(modelName); }

    std::wstring GetLongName() const;
    std::wstring GetShortName() const;
    std::wstring GetScaledDataName() const;
    std::wstring GetRawDataName() const;

private:
    std::wstring m_modelName;
};
