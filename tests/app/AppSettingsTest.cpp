#include "app/CAppSettings.h"
#include "base/CProfile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace {

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(name);
            m_saved[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
        }
        Set("LC_ALL", lcAll);
        Set("LC_MESSAGES", lcMessages);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : m_saved) {
            Set(name.c_str(), value ? value->c_str() : nullptr);
        }
    }

private:
    static void Set(const char* name, const char* value) {
        k52test::SetEnvironment(name, value);
    }
    std::map<std::string, std::optional<std::string>> m_saved;
};

class AppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile = std::make_shared<CMemoryProfile>();
        CProfile::SetApplication(m_profile);
    }
    void TearDown() override { CProfile::SetApplication(nullptr); }

    std::shared_ptr<CMemoryProfile> m_profile;
};

} // namespace

TEST_F(AppSettingsTest, FirstRunDefaultFollowsTheMessagesLocaleAndIsNotStored) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ja_JP.UTF-8", L"Japanese.lng"},
        {nullptr, "ja_JP.eucJP", "en_US.UTF-8", L"Japanese.lng"},
        {"ja", "en_GB.UTF-8", "en_GB.UTF-8", L"Japanese.lng"},
        // An empty variable does not count; the next one decides.
        {"", "", "ja_JP.UTF-8", L"Japanese.lng"},
        {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", L"English.lng"},
        {nullptr, nullptr, "de_DE.UTF-8", L"English.lng"},
        {nullptr, nullptr, nullptr, L"English.lng"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " / " + (c.lcMessages ? c.lcMessages : "-") +
                     " / " + (c.lang ? c.lang : "-"));
        LocaleEnvironment locale(c.lcAll, c.lcMessages, c.lang);
        CAppSettings settings;
        settings.Load();
        EXPECT_EQ(settings.GetDisplayLanguage(), c.expected);
        EXPECT_EQ(m_profile->GetString(L"Settings", L"DisplayLanguage", L"<none>"), L"<none>");
    }
}

TEST_F(AppSettingsTest, StoredNameWinsOverTheLocaleAndSaveWritesIt) {
    LocaleEnvironment locale(nullptr, nullptr, "ja_JP.UTF-8");
    m_profile->WriteString(L"Settings", L"DisplayLanguage", L"english.lng");
    CAppSettings settings;
    settings.Load();
    EXPECT_EQ(settings.GetDisplayLanguage(), L"english.lng");

    settings.SetDisplayLanguage(L"Deutsch.lng");
    EXPECT_EQ(m_profile->GetString(L"Settings", L"DisplayLanguage", L""), L"english.lng");
    settings.Save();
    EXPECT_EQ(m_profile->GetString(L"Settings", L"DisplayLanguage", L""), L"Deutsch.lng");

    CAppSettings reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.GetDisplayLanguage(), L"Deutsch.lng");
}
