#pragma once
#include "base/CResourceManager.h"

#include <QDialog>

#include <string>

class CCardSlot;
class CRackComparison;
class QLabel;
class QTableWidget;

// The differences between the window's rack and the station or a file
// (layout 160): the counts, then slot, caption, the value in the window and
// the other side's, module by module in slot order; apart from them the rows
// that are not compared (module information, values left unused). It shows
// and changes nothing else.
class CCompareDialog : public QDialog, private CResourceManager {
    Q_OBJECT

public:
    enum ControlId {
        IdSummary = 1101,
        IdDifferences = 1102,
        IdUncountedLabel = 1103,
        IdUncounted = 1104,
        IdClose = 2,
    };
    static constexpr int kWindowNumber = 160;
    enum Column { ColumnSlot, ColumnCaption, ColumnLeft, ColumnRight, ColumnCount };

    // rack: the window's rack, which names the slots; rightHeading: what the
    // other side is ("In the station", "In the file").
    CCompareDialog(const CRackComparison& comparison, const CCardSlot& rack, const std::wstring& rightHeading,
                   QWidget* parent = nullptr);
    ~CCompareDialog() override;

    QTableWidget* Differences() const { return m_differences; }
    QTableWidget* Uncounted() const { return m_uncounted; }
    QLabel* Summary() const { return m_summary; }

private:
    void CreateControls();
    void Fill(const CRackComparison& comparison, const CCardSlot& rack, const std::wstring& rightHeading);

    QLabel* m_summary = nullptr;
    QTableWidget* m_differences = nullptr;
    QTableWidget* m_uncounted = nullptr;
};
