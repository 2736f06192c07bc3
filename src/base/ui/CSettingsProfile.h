#pragma once
#include "base/CProfile.h"

#include <QString>

#include <memory>
#include <mutex>

class QSettings;

// The per-user profile of a program, kept by QSettings under the
// organisation "K-VANTRO" and the program's file name; a section is a group,
// an entry a key.
class CSettingsProfile : public CProfile {
public:
    // The native per-user store of the running program.
    CSettingsProfile();
    // An INI file of its own (tests, portable set-ups).
    explicit CSettingsProfile(const QString& iniFile);
    ~CSettingsProfile() override;

    std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                           const std::wstring& defaultValue) const override;
    int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const override;
    void WriteString(const std::wstring& section, const std::wstring& entry,
                     const std::wstring& value) override;
    void WriteInt(const std::wstring& section, const std::wstring& entry, int value) override;

    // The program's name as the store knows it: its file name without directory.
    static QString ApplicationName();

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<QSettings> m_settings;
};
