#include "app/ui/CSlotList.h"

#include "rack/CCardSlot.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <exception>
#include <optional>

CSlotList::CSlotList(QWidget* parent) : QTableWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setWordWrap(false);
    // All seventeen rows fit without scrolling at the layout's height.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves on to the next control, as from any list; walking the cells
    // with it would keep the keyboard user inside the list for good.
    setTabKeyNavigation(false);
}

CSlotList::~CSlotList() = default;

void CSlotList::SetupColumns() {
    setColumnCount(2);
    setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("Card")});
    setColumnWidth(ColumnNo, 1);
    setColumnWidth(ColumnCard, 1);
    setShowGrid(true);
}

void CSlotList::Refresh(const CCardSlot& rack) {
    const int slotCount = CCardSlot::kSlotCount;
    std::optional<std::exception_ptr> firstFailure;
    auto lookUp = [&](auto&& text) -> QString {
        try {
            return QString::fromStdWString(text());
        } catch (const std::exception&) {
            if (!firstFailure) {
                firstFailure = std::current_exception();
            }
            return {};
        }
    };

    for (int row = 0; row < slotCount; ++row) {
        QString caption = lookUp([&] { return rack.GetSlotCaption(row); });
        if (row >= rowCount()) {
            insertRow(row);
            auto* item = new QTableWidgetItem(caption);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
            setItem(row, ColumnNo, item);
        } else {
            SetCellText(row, ColumnNo, caption);
        }
        QString shortName = lookUp([&]() -> std::wstring {
            CCardSlot::CardHandle card = rack.GetCard(row);
            return card ? card->GetCardName().GetShortName() : std::wstring();
        });
        SetCellText(row, ColumnCard, shortName);
    }
    while (rowCount() > slotCount) {
        removeRow(rowCount() - 1);
    }
    SetColumnWidths();
    if (firstFailure) {
        std::rethrow_exception(*firstFailure);
    }
}

void CSlotList::SetCellText(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem();
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, column, cell);
    }
    if (cell->text() != text) {
        cell->setText(text);
    }
}

void CSlotList::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    SetColumnWidths();
}

void CSlotList::SetColumnWidths() {
    int width = viewport()->width();
    int first = static_cast<int>(0.3 * width);
    setColumnWidth(ColumnNo, first);
    setColumnWidth(ColumnCard, width - first);
}

std::uint64_t CSlotList::GetCheckedMask() const {
    std::uint64_t mask = 0;
    for (int row = 0; row < rowCount() && row < 64; ++row) {
        const QTableWidgetItem* cell = item(row, ColumnNo);
        if (cell == nullptr || cell->checkState() != Qt::Unchecked) {
            mask |= std::uint64_t{1} << row;
        }
    }
    return mask;
}

void CSlotList::SetAllChecks(bool on) {
    for (int row = 0; row < rowCount(); ++row) {
        if (QTableWidgetItem* cell = item(row, ColumnNo)) {
            cell->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    }
}

int CSlotList::FirstSelectedRow() const {
    const QList<QTableWidgetItem*> selected = selectedItems();
    int first = -1;
    for (const QTableWidgetItem* cell : selected) {
        if (first < 0 || cell->row() < first) {
            first = cell->row();
        }
    }
    return first;
}

void CSlotList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (QTableWidgetItem* cell = item(currentRow(), ColumnNo)) {
            cell->setCheckState(cell->checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
        }
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
