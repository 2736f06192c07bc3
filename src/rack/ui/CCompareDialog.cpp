#include "rack/ui/CCompareDialog.h"

#include "base/CException.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/TranslateWindow.h"
#include "rack/CCardSlot.h"
#include "rack/CRackComparison.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

// The colour of a changed module, as the report marks it.
const QColor kModuleColour(0xff, 0xe9, 0xa8);

QTableWidget* NewTable(QWidget* parent, const CDialogUnits& units) {
    auto* table = new QTableWidget(0, CCompareDialog::ColumnCount, parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    // A line of text each, as in the parameter list, so that many rows are seen at once.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    // Of the 406 units of the window's width: the slot, the caption, then the two sides.
    table->setColumnWidth(CCompareDialog::ColumnSlot, units.ToPixelsX(34));
    table->setColumnWidth(CCompareDialog::ColumnCaption, units.ToPixelsX(150));
    table->setColumnWidth(CCompareDialog::ColumnLeft, units.ToPixelsX(105));
    return table;
}

void AddRow(QTableWidget* table, const QStringList& cells, bool module) {
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]);
        if (module) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setBackground(kModuleColour);
        }
        table->setItem(row, column, item);
    }
}

QString Text(const std::wstring& text) {
    return QString::fromStdWString(text);
}

} // namespace

CCompareDialog::CCompareDialog(const CRackComparison& comparison, const CCardSlot& rack,
                               const std::wstring& rightHeading, QWidget* parent)
    : QDialog(parent) {
    CreateControls();
    try {
        // Language files written before this window keep its English texts.
        TranslateWindow(kWindowNumber, this, MissingText::KeepLayoutText);
    } catch (const std::exception& error) {
        // The differences matter more than a missing caption.
        CErrorBox::Show(parent, GetExceptionMessage(error, 1024));
    }
    Fill(comparison, rack, rightHeading);
}

CCompareDialog::~CCompareDialog() = default;

void CCompareDialog::CreateControls() {
    setWindowTitle(QStringLiteral("Compare"));
    CDialogUnits units(font());

    m_summary = new QLabel(this);
    units.Place(m_summary, IdSummary, 7, 7, 406, 10);
    m_differences = NewTable(this, units);
    units.Place(m_differences, IdDifferences, 7, 20, 406, 160);
    auto* uncountedLabel = new QLabel(
        QStringLiteral("Not compared: module information and values the module's settings leave unused"), this);
    units.Place(uncountedLabel, IdUncountedLabel, 7, 185, 406, 10);
    m_uncounted = NewTable(this, units);
    units.Place(m_uncounted, IdUncounted, 7, 197, 406, 60);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    units.Place(close, IdClose, 363, 262, 50, 14);
    // Larger, the window gives the room to its two tables.
    using A = CDialogUnits::Anchors;
    CDialogUnits::Anchor(m_summary, A{0, 0, 100, 0});
    CDialogUnits::Anchor(m_differences, A{0, 0, 100, 60});
    CDialogUnits::Anchor(uncountedLabel, A{0, 60, 100, 60});
    CDialogUnits::Anchor(m_uncounted, A{0, 60, 100, 100});
    CDialogUnits::Anchor(close, A{100, 100, 100, 100});
    units.SizeResizableWindow(this, 420, 282);
    close->setDefault(true);
    // Enter or Escape closes it at once; the lists are there to be read.
    close->setFocus();
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CCompareDialog::Fill(const CRackComparison& comparison, const CCardSlot& rack,
                          const std::wstring& rightHeading) {
    const QStringList headings = {Text(GetMessage(Msg::cmp_colslot)), Text(GetMessage(Msg::cmp_colcaption)),
                                  Text(GetMessage(Msg::cmp_colwindow)), Text(rightHeading)};
    m_differences->setHorizontalHeaderLabels(headings);
    m_uncounted->setHorizontalHeaderLabels(headings);

    const QString absent = Text(GetMessage(Msg::cmp_absent));
    auto side = [&](const std::wstring& text, bool present) { return present ? Text(text) : absent; };
    auto cells = [&](const CRackComparison::RowDifference& row) {
        return QStringList{Text(rack.GetSlotCaption(row.slotIndex)), Text(row.caption),
                           side(row.leftText, row.leftRow >= 0), side(row.rightText, row.rightRow >= 0)};
    };
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        for (const CRackComparison::ModuleDifference& module : comparison.GetModuleDifferences()) {
            if (module.slotIndex == index) {
                AddRow(m_differences,
                       {Text(rack.GetSlotCaption(index)), Text(GetMessage(Msg::cmp_module)),
                        side(module.leftModel, !module.leftModel.empty()),
                        side(module.rightModel, !module.rightModel.empty())},
                       true);
            }
        }
        for (const CRackComparison::RowDifference& row : comparison.GetValueDifferences()) {
            if (row.slotIndex == index) {
                AddRow(m_differences, cells(row), false);
            }
        }
    }
    for (const CRackComparison::RowDifference& row : comparison.GetUncountedDifferences()) {
        AddRow(m_uncounted, cells(row), false);
    }

    m_summary->setText(
        comparison.IsEqual()
            ? Text(GetMessage(Msg::cmp_equal))
            : Text(FormatMessage(Msg::cmp_counts, static_cast<int>(comparison.GetModuleDifferences().size()),
                                 static_cast<int>(comparison.GetValueDifferences().size()))));
}
