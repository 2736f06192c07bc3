#pragma once
#include <QTableWidget>

#include <cstdint>

class CCardSlot;

// The rack as a list: row i is slot index i, with the slot's caption ("No")
// and the short name of its card ("Card"). The rows' check boxes choose the
// slots that an upload or a download works on.
class CSlotList : public QTableWidget {
    Q_OBJECT

public:
    enum Column { ColumnNo = 0, ColumnCard = 1 };

    explicit CSlotList(QWidget* parent = nullptr);
    ~CSlotList() override;

    void SetupColumns();

    // Brings the rows in line with the rack. A row that exists keeps its
    // check box; a new row starts checked. Every row is in place before a
    // text that cannot be looked up is raised, so the choice of slots is
    // never lost to a missing language entry.
    void Refresh(const CCardSlot& rack);

    // Bit i is set unless row i's check box is unchecked.
    std::uint64_t GetCheckedMask() const;
    void SetAllChecks(bool on);

    // The first selected row, -1 for none.
    int FirstSelectedRow() const;

protected:
    // Space turns the selected row's check box, whichever cell is current.
    void keyPressEvent(QKeyEvent* event) override;
    // The columns share the width out again when the window's layout changes
    // (another language), not only when the rows are refreshed.
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetCellText(int row, int column, const QString& text);
    void SetColumnWidths();
};
