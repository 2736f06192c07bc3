#include "monitor/ui/CMonitorListCtrl.h"

#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/ModelRegistry.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <exception>

namespace {

constexpr int kChannelParts = 4;
constexpr int kDigitalBoxCount = 16;

// Hands every cell to the list, which draws it from its rack.
class CMonitorRowDelegate : public QStyledItemDelegate {
public:
    explicit CMonitorRowDelegate(CMonitorListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        m_list->DrawCell(painter, option, index.row(), index.column());
    }

private:
    CMonitorListCtrl* m_list;
};

// Draws lines of text from the top of the rectangle, each cut with an
// ellipsis where it does not fit.
void DrawLines(QPainter* painter, const QRect& rect, const std::wstring& text, Qt::Alignment horizontal) {
    const QFontMetrics metrics(painter->font());
    const QStringList lines = QString::fromStdWString(text).split(QLatin1Char('\n'));
    int y = rect.top();
    for (const QString& line : lines) {
        if (y >= rect.bottom()) {
            break;
        }
        const QRect lineRect(rect.left(), y, rect.width(), metrics.height());
        painter->drawText(lineRect, static_cast<int>(horizontal | Qt::AlignTop),
                          metrics.elidedText(line, Qt::ElideRight, rect.width()));
        y += metrics.height();
    }
}

// A cell's text. The texts come from the language file, which is outside
// input; one that lacks a text leaves the cell empty; an exception must not
// leave the drawing of the list half done.
template <class Fetch> auto Guarded(Fetch fetch) -> decltype(fetch()) {
    try {
        return fetch();
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

CMonitorListCtrl::CMonitorListCtrl(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new CMonitorRowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    // The columns share out the whole width; a scroll bar that came and went
    // would leave them too wide or too narrow.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The narrow last column must be allowed its width: held at the header's
    // minimum instead, the columns overflow the list, and an arrow key that
    // reaches the last column pushes the captions out of sight.
    horizontalHeader()->setMinimumSectionSize(0);
    // Tab moves on to the next control rather than through the cells.
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = GetSelectedRow();
        if (row >= 0) {
            emit RowSelected(row);
        }
    });
}

CMonitorListCtrl::~CMonitorListCtrl() = default;

void CMonitorListCtrl::Initialize() {
    m_rack.Clear();
    setColumnCount(kColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("Type"), QString(), QString()});
    // Every row holds the type cell's three short lines; the channel cells
    // use the first two.
    const int rowHeight = 3 * fontMetrics().height() + 4;
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setRowCount(CCardSlot::kSlotCount);
    SetColumnWidths();
}

void CMonitorListCtrl::SetColumnWidths() {
    if (columnCount() != kColumnCount) {
        return;
    }
    const int width = viewport()->width();
    const int typeWidth = static_cast<int>(0.22 * width);
    const int channelWidth = static_cast<int>(0.6 * width);
    const int lastWidth = 10;
    setColumnWidth(1, typeWidth);
    setColumnWidth(2, channelWidth);
    setColumnWidth(3, lastWidth);
    setColumnWidth(0, width - typeWidth - channelWidth - lastWidth);
}

void CMonitorListCtrl::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    SetColumnWidths();
}

void CMonitorListCtrl::ShowRack(const CCardSlot& rack) {
    m_rack = rack;
    viewport()->update();
}

int CMonitorListCtrl::GetSelectedRow() const {
    const QModelIndexList rows =
        selectionModel() != nullptr ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.front().row();
}

std::wstring CMonitorListCtrl::GetCaptionText(int row) const {
    return m_rack.GetSlotCaption(row);
}

std::wstring CMonitorListCtrl::GetTypeText(int row) const {
    const auto card = m_rack.GetCard(row);
    // A module shows what it is only once it has delivered live values.
    if (!card || !card->HasLiveValues()) {
        return {};
    }
    const CCardName& name = card->GetCardName();
    std::wstring middle = name.GetScaledDataName();
    for (int channel = 0; channel < card->GetChannelCount(); ++channel) {
        CMonitorUnit unit;
        card->FillMonitorUnit(channel, unit);
        if (unit.kind == CMonitorUnit::KindSwitch && unit.switchValue != 0) {
            middle = GetMessage(Msg::inSimulate);
            break;
        }
    }
    return name.GetShortName() + L"\n " + middle + L"\n " + name.GetRawDataName();
}

std::wstring CMonitorListCtrl::GetChannelText(int row, int channel) const {
    const auto card = m_rack.GetCard(row);
    if (!card || channel < 0 || channel >= card->GetChannelCount()) {
        return {};
    }
    CMonitorUnit unit;
    card->FillMonitorUnit(channel, unit);
    switch (unit.kind) {
    case CMonitorUnit::KindAnalog:
    case CMonitorUnit::KindCounter:
    case CMonitorUnit::KindDateTime:
        return unit.name + L"\n" + unit.values;
    default:
        return {};
    }
}

CMonitorListCtrl::DigitalPoints CMonitorListCtrl::GetDigitalPoints(int row) const {
    DigitalPoints points;
    const auto card = m_rack.GetCard(row);
    if (!card || card->GetChannelCount() < 1) {
        return points;
    }
    CMonitorUnit first;
    card->FillMonitorUnit(0, first);
    if (first.kind != CMonitorUnit::KindDigital) {
        return points;
    }
    // The input module shows its first channel, the output module its second.
    const Digital16 digital16 =
        ModelInSlot(CCardSlot::GetSlotNumber(row), card->GetTypeCode()).traits.digital16;
    if (digital16 == Digital16::None) {
        return points;
    }
    const bool inputs = digital16 == Digital16::Inputs;
    CMonitorUnit unit;
    card->FillMonitorUnit(inputs ? 0 : 1, unit);
    points.shown = true;
    points.label = inputs ? L"In" : L"Out";
    points.bits = unit.bits;
    return points;
}

void CMonitorListCtrl::DrawCell(QPainter* painter, const QStyleOptionViewItem& option, int row,
                                int column) const {
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette& palette = option.palette;
    const QColor background = selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
    const QColor text = selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    const QRect cell = option.rect;
    painter->fillRect(cell, background);
    painter->setPen(text);
    painter->setClipRect(cell);

    const auto card = m_rack.GetCard(row);
    if (column == 0) {
        const QRect rect = cell.adjusted(0, 0, -2, 0);
        const QFontMetrics metrics(painter->font());
        painter->drawText(
            rect, Qt::AlignRight | Qt::AlignVCenter,
            metrics.elidedText(QString::fromStdWString(Guarded([&] { return GetCaptionText(row); })),
                               Qt::ElideRight, rect.width()));
    } else if (card && column == 1) {
        DrawLines(painter, cell.adjusted(5, -1, 0, -1), Guarded([&] { return GetTypeText(row); }), Qt::AlignLeft);
    } else if (card && column == 2) {
        const int left = cell.left() + 5;
        const int partWidth = (cell.right() - left) / kChannelParts;
        const DigitalPoints points = Guarded([&] { return GetDigitalPoints(row); });
        if (points.shown) {
            DrawDigitalPoints(painter, QRect(left, cell.top(), cell.right() - left, cell.height()), points);
        } else {
            for (int channel = 0; channel < card->GetChannelCount() && channel < kChannelParts; ++channel) {
                const QRect part(left + channel * partWidth, cell.top(), partWidth, cell.height());
                DrawLines(painter, part.adjusted(0, 1, -2, 0), Guarded([&] { return GetChannelText(row, channel); }),
                          Qt::AlignLeft);
            }
        }
    }
    painter->restore();
}

void CMonitorListCtrl::DrawDigitalPoints(QPainter* painter, const QRect& cell,
                                         const DigitalPoints& points) const {
    const QFontMetrics metrics(painter->font());
    const int boxWidth = cell.width() / 18;
    const int boxHeight = metrics.boundingRect(QStringLiteral("00")).height() + 2;
    const int top = cell.top() + (cell.height() - boxHeight) / 2;
    painter->drawText(QRect(cell.left(), cell.top(), boxWidth, cell.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdWString(points.label));
    for (int box = 0; box < kDigitalBoxCount; ++box) {
        // One box width for the label, then eight boxes, a gap of one box, eight boxes.
        const int slot = 1 + box + (box >= 8 ? 1 : 0);
        const QRect rect(cell.left() + slot * boxWidth, top, boxWidth, boxHeight);
        const bool set = ((points.bits >> box) & 1U) != 0;
        painter->fillRect(rect, set ? QColor(0, 255, 0) : QColor(0, 0, 0));
        painter->setPen(QColor(255, 255, 255));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->setPen(set ? QColor(0, 0, 0) : QColor(255, 255, 255));
        painter->drawText(rect, Qt::AlignCenter, QString::number(box + 1));
    }
    painter->setPen(palette().color(QPalette::Text));
}
