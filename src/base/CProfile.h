#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

// The per-user settings store: string and integer entries by section and
// entry name. The windows back it with QSettings; tests and the command line
// use the memory store.
class CProfile {
public:
    virtual ~CProfile();

    virtual std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                                   const std::wstring& defaultValue) const = 0;
    virtual int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const = 0;
    virtual void WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) = 0;
    virtual void WriteInt(const std::wstring& section, const std::wstring& entry, int value) = 0;

    // The application's profile. A memory store until a program installs its own.
    static CProfile& Application();
    static void SetApplication(std::shared_ptr<CProfile> profile);
};

// Entries kept in memory for the length of the run.
class CMemoryProfile : public CProfile {
public:
    std::wstring GetString(const std::wstring& section, const std::wstring& entry,
                           const std::wstring& defaultValue) const override;
    int GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const override;
    void WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) override;
    void WriteInt(const std::wstring& section, const std::wstring& entry, int value) override;

private:
    mutable std::mutex m_mutex;
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> m_strings;
    std::map<std::pair<std::wstring, std::wstring>, int> m_ints;
};
