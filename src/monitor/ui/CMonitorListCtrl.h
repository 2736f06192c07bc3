#pragma once
#include "base/CResourceManager.h"
#include "rack/CCardSlot.h"

#include <QTableWidget>

#include <cstdint>
#include <string>

class QPainter;
class QStyleOptionViewItem;

// The seventeen rows of the monitor window, one per slot, drawn by the list
// itself from its own copy of the monitoring thread's rack: the slot
// caption, the module's type texts, and up to four channels with their live
// values; the 16-point digital modules show their points as boxes.
class CMonitorListCtrl : public QTableWidget, private CResourceManager {
    Q_OBJECT

public:
    static constexpr int kColumnCount = 4;

    // What the row of a 16-point digital module shows: its label and points.
    struct DigitalPoints {
        bool shown = false;
        std::wstring label; // "In" or "Out"
        std::uint32_t bits = 0;
    };

    explicit CMonitorListCtrl(QWidget* parent = nullptr);
    ~CMonitorListCtrl() override;

    // Sets up columns and rows once the list has its size.
    void Initialize();

    CCardSlot& Rack() { return m_rack; }
    const CCardSlot& Rack() const { return m_rack; }
    // Takes the rack to show and redraws the rows.
    void ShowRack(const CCardSlot& rack);

    // The texts and points a row shows, as they are drawn.
    std::wstring GetCaptionText(int row) const;
    std::wstring GetTypeText(int row) const;
    // Empty for a channel that draws no text.
    std::wstring GetChannelText(int row, int channel) const;
    DigitalPoints GetDigitalPoints(int row) const;

    // The row selected, -1 for none.
    int GetSelectedRow() const;

    // Draws one cell; the list's delegate calls it.
    void DrawCell(QPainter* painter, const QStyleOptionViewItem& option, int row, int column) const;

signals:
    void RowSelected(int row);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetColumnWidths();
    void DrawDigitalPoints(QPainter* painter, const QRect& cell, const DigitalPoints& points) const;

    CCardSlot m_rack;
};
