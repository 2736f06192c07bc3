#include "app/CAppSettings.h"

#include "base/CProfile.h"

#include <cstdlib>
#include <string_view>

namespace {

const std::wstring kSection = L"Settings";
const std::wstring kEntry = L"DisplayLanguage";

// The locale that decides the language of messages, found as the C library
// finds it: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
std::string_view MessagesLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

} // namespace

void CAppSettings::Load() {
    m_displayLanguage = CProfile::Application().GetString(kSection, kEntry, L"");
    if (m_displayLanguage.empty()) {
        m_displayLanguage = DefaultDisplayLanguage();
    }
}

void CAppSettings::Save() const {
    CProfile::Application().WriteString(kSection, kEntry, m_displayLanguage);
}

std::wstring CAppSettings::DefaultDisplayLanguage() {
    return MessagesLocale().starts_with("ja") ? L"Japanese.lng" : L"English.lng";
}
