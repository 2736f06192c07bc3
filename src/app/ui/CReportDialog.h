#pragma once
#include "base/CResourceManager.h"
#include "rack/CCardSlot.h"

#include <QDialog>

#include <optional>
#include <string>

class CFileChooser;
class QLineEdit;
class QRadioButton;

// The commissioning report of the window's rack (layout 161): its title,
// optionally the file of the station as found (whose differences open the
// report), and the form, an HTML page or a PDF document; "Save..." asks for
// the file and writes it, replacing an existing file only whole.
class CReportDialog : public QDialog, private CResourceManager {
    Q_OBJECT

public:
    enum ControlId {
        IdTitleLabel = 1111,
        IdTitle = 1112,
        IdAsFoundLabel = 1113,
        IdAsFound = 1114,
        IdChooseAsFound = 1115,
        IdClearAsFound = 1116,
        IdHtml = 1117,
        IdPdf = 1118,
        IdSave = 1,
        IdCancel = 2,
    };
    static constexpr int kWindowNumber = 161;

    // rack: the window's rack, reported as it stands; chooser: asks for files.
    CReportDialog(const CCardSlot& rack, CFileChooser& chooser, QWidget* parent = nullptr);
    ~CReportDialog() override;

    // "Save...": asks for the file, writes the report; the window closes
    // only when the report was written.
    void accept() override;

    // What the window was left with, to offer it again next time: the title,
    // the file of the state as found (read again; dropped when it no longer
    // reads) and the form. An empty title keeps the default one.
    void RestoreChoices(const std::wstring& title, const std::wstring& asFoundPath, bool pdf);
    void GetChoices(std::wstring& title, std::wstring& asFoundPath, bool& pdf) const;
    // The file the report was written to; empty before.
    const std::wstring& SavedPath() const { return m_savedPath; }

    // An HTML page laid out as a PDF document on A4 pages.
    static QByteArray PdfFromHtml(const std::string& html, const QString& title);

private:
    void CreateControls();
    void OnChooseAsFound();
    bool TakeAsFound(const std::wstring& path);
    void OnClearAsFound();
    void Save(const std::wstring& path, bool pdf);

    const CCardSlot& m_rack;
    CFileChooser& m_chooser;
    std::optional<CCardSlot> m_asFound;
    std::wstring m_asFoundPath;
    std::wstring m_savedPath;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_asFoundName = nullptr;
    QRadioButton* m_html = nullptr;
    QRadioButton* m_pdf = nullptr;
};
