#pragma once
#include "app/CAppSettings.h"
#include "base/CResourceManager.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;

// The preferences window (layout 130): the user picks the display language
// from the language files that lie in the program's directory.
class CPreferencesDialog : public QDialog, private CResourceManager {
    Q_OBJECT

public:
    enum ControlId { IdLanguageLabel = 1005, IdLanguageList = 1004, IdOk = 1, IdCancel = 2, IdAbout = 1006 };

    // languageDirectory: where the *.lng files are looked for; the program's
    // directory when empty.
    explicit CPreferencesDialog(QWidget* parent = nullptr, std::wstring languageDirectory = {});
    ~CPreferencesDialog() override;

    // Runs the window; only when the user leaves it with "OK" is the chosen
    // language copied into settings, and only then is the result true.
    bool Edit(CAppSettings& settings);

    void accept() override;

private:
    struct LanguageFile {
        std::wstring fileName;
        std::wstring languageName;
    };

    void InitDialog();
    void FillLanguageList();

    std::wstring m_languageDirectory;
    std::wstring m_displayLanguage;
    std::vector<LanguageFile> m_files; // in the order of the list's entries
    QComboBox* m_languageList = nullptr;
};
