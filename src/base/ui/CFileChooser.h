#pragma once
#include <QStringList>

#include <optional>
#include <string>

class QWidget;

// Asks the user for the file to open or to save to (configurations, reports),
// with the file dialogs. The main window goes through this class so that a test can
// answer in place of the user without a modal dialog.
class CFileChooser {
public:
    virtual ~CFileChooser();

    // filterText: the language file's "fopenfilter" text. The full path of
    // the chosen file, or nothing when the user cancelled.
    virtual std::optional<std::wstring> ChooseFileToOpen(QWidget* parent, const std::wstring& filterText);
    virtual std::optional<std::wstring> ChooseFileToSave(QWidget* parent, const std::wstring& filterText);

    // The dialog's name filters for a filter text. Qt reads the patterns from
    // the last parentheses of a filter, so a description's own "(*.cfg)" is
    // replaced by the patterns that really apply. "*.*" means every file, as
    // it always has for these files, not only names with a dot.
    static QStringList NameFilters(const std::wstring& filterText);

    // The extension a typed name without one gets: that of the filter's
    // first pattern ("*.cfg" gives "cfg", "*.html" "html"), else "cfg".
    static QString DefaultSuffix(const std::wstring& filterText);

    static constexpr const char* kDefaultSuffix = "cfg";

private:
    std::optional<std::wstring> Choose(QWidget* parent, const std::wstring& filterText, bool save);
};
