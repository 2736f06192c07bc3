#include "base/ui/CSettingsProfile.h"

#include "base/ProgramLocation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kOrganisation = QStringLiteral("K-VANTRO");

QString Key(const std::wstring& section, const std::wstring& entry) {
    return QString::fromStdWString(section) + QLatin1Char('/') + QString::fromStdWString(entry);
}

} // namespace

#ifdef _WIN32
// On Windows an INI file in the user's application-data folder
// (%APPDATA%\K52CFG\k52cfg.ini), not the registry: easy to find, copy and
// remove with the program. Without that folder, the registry as before.
static std::unique_ptr<QSettings> OpenSettings() {
    const std::wstring folder = GetUserSettingsFolder();
    if (folder.empty()) {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                                           CSettingsProfile::ApplicationName());
    }
    return std::make_unique<QSettings>(QString::fromStdWString(folder) + QLatin1Char('/') +
                                           CSettingsProfile::ApplicationName() + QStringLiteral(".ini"),
                                       QSettings::IniFormat);
}
#else
static std::unique_ptr<QSettings> OpenSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                                       CSettingsProfile::ApplicationName());
}
#endif

CSettingsProfile::CSettingsProfile() : m_settings(OpenSettings()) {}

CSettingsProfile::CSettingsProfile(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

CSettingsProfile::~CSettingsProfile() = default;

QString CSettingsProfile::ApplicationName() {
    QString path =
        QCoreApplication::instance() != nullptr ? QCoreApplication::applicationFilePath() : QString();
    QString name = QFileInfo(path).completeBaseName();
    return name.isEmpty() ? QStringLiteral("k52cfg") : name;
}

std::wstring CSettingsProfile::GetString(const std::wstring& section, const std::wstring& entry,
                                         const std::wstring& defaultValue) const {
    std::lock_guard lock(m_mutex);
    QVariant value = m_settings->value(Key(section, entry));
    if (!value.isValid()) {
        return defaultValue;
    }
    return value.toString().toStdWString();
}

int CSettingsProfile::GetInt(const std::wstring& section, const std::wstring& entry, int defaultValue) const {
    std::lock_guard lock(m_mutex);
    QVariant value = m_settings->value(Key(section, entry));
    bool ok = false;
    int number = value.toInt(&ok);
    // A stored text that is no number is treated as absent, not as 0.
    return ok ? number : defaultValue;
}

void CSettingsProfile::WriteString(const std::wstring& section, const std::wstring& entry,
                                   const std::wstring& value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(Key(section, entry), QString::fromStdWString(value));
    m_settings->sync();
}

void CSettingsProfile::WriteInt(const std::wstring& section, const std::wstring& entry, int value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(Key(section, entry), value);
    m_settings->sync();
}
