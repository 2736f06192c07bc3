#include "base/ui/QtTranslation.h"

#include "base/CResourceManager.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace {

// The catalogue in use, owned by the application.
QPointer<QTranslator> g_installed;

bool IsPlainCode(const QString& code) {
    // A code such as "ja" or "pt_BR" names a file beside Qt's others; nothing
    // from a language file may reach out of that directory.
    if (code.isEmpty() || code.size() > 16) {
        return false;
    }
    for (const QChar c : code) {
        if (!c.isLetter() && c != QLatin1Char('_')) {
            return false;
        }
    }
    return true;
}

} // namespace

bool UseQtTranslation(const QString& languageCode) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return false;
    }
    if (g_installed) {
        QCoreApplication::removeTranslator(g_installed);
        delete g_installed;
    }
    if (!IsPlainCode(languageCode) || languageCode == QStringLiteral("en")) {
        return false;
    }
    auto translator = std::make_unique<QTranslator>(application);
    // A program installed with its own copy (the Windows package) has them in
    // "translations" beside it; otherwise they are where Qt is installed.
    const QString name = QStringLiteral("qtbase_") + languageCode;
    if (!translator->load(name, QCoreApplication::applicationDirPath() + QStringLiteral("/translations")) &&
        !translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    g_installed = translator.release();
    return true;
}

bool UseQtTranslationOfLanguageFile() {
    return UseQtTranslation(QString::fromStdWString(CResourceManager::GetMessage(Msg::qtlocale)).trimmed());
}
