#include "base/CProfile.h"

namespace {

std::mutex g_applicationMutex;

std::shared_ptr<CProfile>& ApplicationSlot() {
    static std::shared_ptr<CProfile> profile = std::make_shared<CMemoryProfile>();
    return profile;
}

} // namespace

CProfile::~CProfile() = default;

CProfile& CProfile::Application() {
    std::lock_guard lock(g_applicationMutex);
    return *ApplicationSlot();
}

void CProfile::SetApplication(std::shared_ptr<CProfile> profile) {
    std::lock_guard lock(g_applicationMutex);
    ApplicationSlot() = profile ? std::move(profile) : std::make_shared<CMemoryProfile>();
}

std::wstring CMemoryProfile::GetString(const std::wstring& section, const std::wstring& entry,
                                       const std::wstring& defaultValue) const {
    std::lock_guard lock(m_mutex);
    auto found = m_strings.find({section, entry});
    return found != m_strings.end() ? found->second : defaultValue;
}

int CMemoryProfile::GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const {
    std::lock_guard lock(m_mutex);
    auto found = m_ints.find({section, entry});
    return found != m_ints.end() ? found->second : defaultValue;
}

void CMemoryProfile::WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) {
    std::lock_guard lock(m_mutex);
    m_strings[{section, entry}] = value;
}

void CMemoryProfile::WriteInt(const std::wstring& section, const std::wstring& entry, int value) {
    std::lock_guard lock(m_mutex);
    m_ints[{section, entry}] = value;
}
