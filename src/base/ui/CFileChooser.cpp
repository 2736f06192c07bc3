#include "base/ui/CFileChooser.h"

#include "base/FileFilter.h"

#include <QFileDialog>
#include <QRegularExpression>

CFileChooser::~CFileChooser() = default;

std::optional<std::wstring> CFileChooser::ChooseFileToOpen(QWidget* parent, const std::wstring& filterText) {
    return Choose(parent, filterText, false);
}

std::optional<std::wstring> CFileChooser::ChooseFileToSave(QWidget* parent, const std::wstring& filterText) {
    return Choose(parent, filterText, true);
}

QStringList CFileChooser::NameFilters(const std::wstring& filterText) {
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList filters;
    for (const FileFilterEntry& entry : ParseFileFilter(filterText)) {
        QString description = QString::fromStdWString(entry.description);
        description.remove(trailingPatterns);
        QStringList patterns;
        for (QString pattern : QString::fromStdWString(entry.patterns).split(QLatin1Char(';'))) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*")) {
                pattern = QStringLiteral("*");
            }
            if (!pattern.isEmpty()) {
                patterns << pattern;
            }
        }
        if (patterns.isEmpty()) {
            continue;
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

QString CFileChooser::DefaultSuffix(const std::wstring& filterText) {
    static const QRegularExpression extension(QStringLiteral("^\\*\\.([A-Za-z0-9]+)$"));
    const std::vector<FileFilterEntry> entries = ParseFileFilter(filterText);
    if (!entries.empty()) {
        const QString first =
            QString::fromStdWString(entries.front().patterns).split(QLatin1Char(';')).first().trimmed();
        const QRegularExpressionMatch match = extension.match(first);
        if (match.hasMatch()) {
            return match.captured(1);
        }
    }
    return QString::fromLatin1(kDefaultSuffix);
}

std::optional<std::wstring> CFileChooser::Choose(QWidget* parent, const std::wstring& filterText, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(DefaultSuffix(filterText));
    dialog.setNameFilters(NameFilters(filterText));
    // Overwriting a file is asked for: it cannot be undone.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return std::nullopt;
    }
    return files.first().toStdWString();
}
