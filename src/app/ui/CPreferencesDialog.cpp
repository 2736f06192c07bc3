#include "app/ui/CPreferencesDialog.h"

#include "base/CException.h"
#include "base/CResourceDatabase.h"
#include "base/CResourceManager.h"
#include "base/Version.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/TranslateWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int kWindowNumber = 130;

// The directory's *.lng files by name. The order of a directory listing is an
// accident of the file system; sorted names give the same list on every run.
std::vector<std::wstring> LanguageFileNames(const std::wstring& directory) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(std::filesystem::path(directory), error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (!entry->is_regular_file(ignored)) {
            continue;
        }
        const std::filesystem::path& path = entry->path();
        if (path.extension() != ".lng") {
            continue;
        }
        try {
            names.push_back(path.filename().wstring());
        } catch (const std::exception&) {
            // A name that is not valid text in the user's encoding cannot be
            // stored as the display language; it is left out like a bad file.
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

CPreferencesDialog::CPreferencesDialog(QWidget* parent, std::wstring languageDirectory)
    : QDialog(parent),
      m_languageDirectory(languageDirectory.empty() ? GetModuleDirectory() : std::move(languageDirectory)) {
    setWindowTitle(QStringLiteral("Preferences"));
    CDialogUnits units(font());
    units.SizeWindow(this, 186, 54);

    auto* label = new QLabel(QStringLiteral("Display language"), this);
    units.Place(label, IdLanguageLabel, 7, 9, 60, 8);

    m_languageList = new QComboBox(this);
    units.Place(m_languageList, IdLanguageList, 70, 7, 109, 12);
    label->setBuddy(m_languageList);

    // The program's version and the licences of what it is built from.
    auto* about = new QPushButton(QStringLiteral("About..."), this);
    units.Place(about, IdAbout, 7, 33, 50, 14);
    connect(about, &QPushButton::clicked, this, [this] {
        QMessageBox::about(this, QString::fromStdWString(GetMessage(Msg::about_title)),
                           QString::fromStdWString(FormatMessage(Msg::about_text, GetVersionCaption(),
                                                                 QString::fromLatin1(qVersion()).toStdWString())));
    });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    units.Place(ok, IdOk, 75, 33, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CPreferencesDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    units.Place(cancel, IdCancel, 129, 33, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &CPreferencesDialog::reject);
}

CPreferencesDialog::~CPreferencesDialog() = default;

bool CPreferencesDialog::Edit(CAppSettings& settings) {
    m_displayLanguage = settings.GetDisplayLanguage();
    InitDialog();
    if (exec() != QDialog::Accepted) {
        return false;
    }
    settings.SetDisplayLanguage(m_displayLanguage);
    return true;
}

void CPreferencesDialog::InitDialog() {
    try {
        TranslateWindow(kWindowNumber, this);
    } catch (const std::exception& error) {
        // A language file without this window's texts must not cost the user
        // the choice of another language: say so and go on with the layout's texts.
        CErrorBox::Show(parentWidget(), GetExceptionMessage(error, 1024));
    }
    FitWindowToTexts(this);
    FillLanguageList();
}

void CPreferencesDialog::FillLanguageList() {
    m_files.clear();
    m_languageList->clear();
    int selected = -1;
    for (const std::wstring& fileName : LanguageFileNames(m_languageDirectory)) {
        std::wstring languageName;
        try {
            CResourceDatabase candidate;
            candidate.Load(m_languageDirectory + L"/" + fileName);
            languageName = candidate.GetLanguageName();
        } catch (const std::exception&) {
            // Whatever cannot serve as a language is simply not offered.
            continue;
        }
        m_files.push_back({fileName, languageName});
        m_languageList->addItem(QString::fromStdWString(languageName));
        if (fileName == m_displayLanguage) {
            selected = static_cast<int>(m_files.size()) - 1;
        }
    }
    m_languageList->setCurrentIndex(selected);
}

void CPreferencesDialog::accept() {
    int index = m_languageList->currentIndex();
    if (index >= 0 && index < static_cast<int>(m_files.size())) {
        m_displayLanguage = m_files[static_cast<std::size_t>(index)].fileName;
    }
    QDialog::accept();
}
