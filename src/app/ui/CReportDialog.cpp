#include "app/ui/CReportDialog.h"

#include "base/CException.h"
#include "base/FilePath.h"
#include "base/RegularFile.h"
#include "base/Version.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/CFileChooser.h"
#include "base/ui/TranslateWindow.h"
#include "rack/CCommissioningReport.h"

#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPalette>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

#include <filesystem>

CReportDialog::CReportDialog(const CCardSlot& rack, CFileChooser& chooser, QWidget* parent)
    : QDialog(parent), m_rack(rack), m_chooser(chooser) {
    CreateControls();
    try {
        // Language files written before this window keep its English texts.
        TranslateWindow(kWindowNumber, this, MissingText::KeepLayoutText);
    } catch (const std::exception& error) {
        CErrorBox::Show(parent, GetExceptionMessage(error, 1024));
    }
    m_title->setText(QString::fromStdWString(GetMessage(Msg::report_title)));
}

CReportDialog::~CReportDialog() = default;

void CReportDialog::CreateControls() {
    setWindowTitle(QStringLiteral("Commissioning report"));
    CDialogUnits units(font());
    units.SizeWindow(this, 260, 104);

    units.Place(new QLabel(QStringLiteral("Title"), this), IdTitleLabel, 7, 9, 60, 8);
    m_title = new QLineEdit(this);
    units.Place(m_title, IdTitle, 70, 7, 183, 12);

    units.Place(new QLabel(QStringLiteral("As found (optional)"), this), IdAsFoundLabel, 7, 27, 246, 8);
    m_asFoundName = new QLineEdit(this);
    m_asFoundName->setReadOnly(true);
    units.Place(m_asFoundName, IdAsFound, 7, 38, 145, 12);
    auto* choose = new QPushButton(QStringLiteral("Choose..."), this);
    units.Place(choose, IdChooseAsFound, 155, 37, 48, 14);
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    units.Place(clear, IdClearAsFound, 205, 37, 48, 14);

    m_html = new QRadioButton(QStringLiteral("HTML page"), this);
    units.Place(m_html, IdHtml, 7, 60, 100, 10);
    m_pdf = new QRadioButton(QStringLiteral("PDF document"), this);
    units.Place(m_pdf, IdPdf, 110, 60, 100, 10);
    m_html->setChecked(true);

    // Filled by "Choose..." only: the field does not look like one to type in.
    QPalette readOnly = m_asFoundName->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    m_asFoundName->setPalette(readOnly);

    auto* save = new QPushButton(QStringLiteral("Save..."), this);
    units.Place(save, IdSave, 150, 83, 50, 14);
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    units.Place(cancel, IdCancel, 203, 83, 50, 14);
    cancel->setAutoDefault(false);

    connect(choose, &QPushButton::clicked, this, [this] { OnChooseAsFound(); });
    connect(clear, &QPushButton::clicked, this, [this] { OnClearAsFound(); });
    connect(save, &QPushButton::clicked, this, &CReportDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CReportDialog::reject);
}

void CReportDialog::OnChooseAsFound() {
    const std::optional<std::wstring> path = m_chooser.ChooseFileToOpen(this, GetMessage(Msg::fopenfilter));
    if (!path) {
        return;
    }
    try {
        TakeAsFound(*path);
    } catch (const std::exception& error) {
        // The choice before stays.
        CErrorBox::Show(this, GetExceptionMessage(error, 1024));
    }
}

bool CReportDialog::TakeAsFound(const std::wstring& path) {
    CCardSlot asFound(m_rack.GetStationAttribute());
    asFound.LoadForComparison(PathFromText(path));
    m_asFound = std::move(asFound);
    m_asFoundPath = path;
    m_asFoundName->setText(QString::fromStdWString(DisplayPath(PathFromText(path).filename())));
    m_asFoundName->setToolTip(QString::fromStdWString(path));
    return true;
}

void CReportDialog::RestoreChoices(const std::wstring& title, const std::wstring& asFoundPath, bool pdf) {
    if (!title.empty()) {
        m_title->setText(QString::fromStdWString(title));
    }
    if (!asFoundPath.empty()) {
        try {
            TakeAsFound(asFoundPath);
        } catch (const std::exception&) {
            // Moved or changed since: the field stays empty, as at first.
            OnClearAsFound();
        }
    }
    (pdf ? m_pdf : m_html)->setChecked(true);
}

void CReportDialog::GetChoices(std::wstring& title, std::wstring& asFoundPath, bool& pdf) const {
    title = m_title->text().toStdWString();
    asFoundPath = m_asFoundPath;
    pdf = m_pdf->isChecked();
}

void CReportDialog::OnClearAsFound() {
    m_asFound.reset();
    m_asFoundPath.clear();
    m_asFoundName->clear();
    m_asFoundName->setToolTip({});
}

void CReportDialog::accept() {
    const bool pdf = m_pdf->isChecked();
    const std::optional<std::wstring> path =
        m_chooser.ChooseFileToSave(this, GetMessage(pdf ? Msg::report_pdffilter : Msg::report_htmlfilter));
    if (!path) {
        return;
    }
    try {
        Save(*path, pdf);
    } catch (const std::exception& error) {
        // Nothing was replaced; the user may choose another file.
        CErrorBox::Show(this, GetExceptionMessage(error, 1024));
        return;
    }
    m_savedPath = *path;
    QDialog::accept();
}

void CReportDialog::Save(const std::wstring& path, bool pdf) {
    // Refused before the page is made: a folder, a FIFO, a read-only file.
    const std::filesystem::path file = PathFromText(path);
    CheckReplaceableFile(file);
    CCommissioningReport report(m_rack);
    CCommissioningReport::Facts facts;
    facts.title = m_title->text().trimmed().toStdWString();
    if (m_asFound) {
        report.SetAsFound(*m_asFound);
        facts.asFoundSource = DisplayPath(PathFromText(m_asFoundPath).filename());
    }
    const std::string html = report.MakeHtml(facts);
    if (!pdf) {
        ReplaceRegularFile(file, html);
        return;
    }
    const QString title = facts.title.empty() ? QString::fromStdWString(GetMessage(Msg::report_title))
                                              : m_title->text().trimmed();
    const QByteArray document = PdfFromHtml(html, title);
    ReplaceRegularFile(file, std::string_view(document.constData(), static_cast<std::size_t>(document.size())));
}

QByteArray CReportDialog::PdfFromHtml(const std::string& html, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QString::fromStdWString(GetVersionCaption()));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(12, 15, 12, 15), QPageLayout::Millimeter));
        QTextDocument document;
        document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
        document.print(&writer);
    }
    buffer.close();
    return bytes;
}
