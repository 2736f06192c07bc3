#include "app/CAppSettings.h"
#include "base/ui/CSettingsProfile.h"
#include "support/TestSupport.h"

#include <QSettings>

#include <gtest/gtest.h>

TEST(SettingsProfile, EntriesSurviveTheRunAsGroupAndKey) {
    k52test::TempDir dir;
    const QString file = QString::fromStdWString(dir.file("k52cfg.ini"));
    {
        CSettingsProfile profile(file);
        profile.WriteString(L"ComSettings", L"COMPortDisplayName", L"USB シリアル (ttyUSB0)");
        profile.WriteInt(L"ComSettings", L"COMPort", 17);
        profile.WriteString(L"ComSettings", L"COMPortName", L"not a number");
    }
    CSettingsProfile profile(file);
    EXPECT_EQ(profile.GetString(L"ComSettings", L"COMPortDisplayName", L""), L"USB シリアル (ttyUSB0)");
    EXPECT_EQ(profile.GetInt(L"ComSettings", L"COMPort", -1), 17);
    EXPECT_EQ(profile.GetString(L"ComSettings", L"Missing", L"fallback"), L"fallback");
    EXPECT_EQ(profile.GetInt(L"ComSettings", L"COMPortName", -1), -1);
    EXPECT_EQ(profile.GetInt(L"Settings", L"COMPort", 5), 5);

    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value("ComSettings/COMPort").toInt(), 17);
}

TEST(SettingsProfile, DisplayLanguageIsStoredUnderSettings) {
    k52test::TempDir dir;
    const QString file = QString::fromStdWString(dir.file("k52cfg.ini"));
    CProfile::SetApplication(std::make_shared<CSettingsProfile>(file));
    CAppSettings settings;
    settings.SetDisplayLanguage(L"Japanese.lng");
    settings.Save();
    CProfile::SetApplication(nullptr);

    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value("Settings/DisplayLanguage").toString(), "Japanese.lng");
}
