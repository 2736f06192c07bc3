#pragma once
#include "rack/CCardSlot.h"

#include <cstdint>
#include <string>
#include <vector>

class CCardInterface;

// The differences between two racks, slot by slot and row by row in table
// order: which modules differ, which values differ, and which rows only one
// side has. "Left" and "right" are the two sides as the caller names them
// (the window and the station, the file and the station, as found and as
// left).
//
// Values compare as the cards store them, not as they are written: "1.50"
// and "1.5" are one stored word and no difference. Texts are those of the
// parameter list (caption, value with its unit), so that a difference reads
// as the list shows it.
//
// Rows that a download never writes are listed apart and never count as a
// difference: module information the module reports (versions, MAC address)
// and values that the module's own settings leave unused (shown grey in the
// list), which a download skips and a station therefore keeps as it had them.
class CRackComparison {
public:
    struct ModuleDifference {
        int slotIndex = 0;
        std::wstring leftModel; // model names; empty for a slot without a card
        std::wstring rightModel;
    };

    struct RowDifference {
        int slotIndex = 0;
        std::wstring caption;
        // The row in each side's table, or -1 when that side has no such row.
        int leftRow = -1;
        int rightRow = -1;
        // The values as the list shows them; empty for a side without the row.
        std::wstring leftText;
        std::wstring rightText;

        bool IsOnOneSideOnly() const { return leftRow < 0 || rightRow < 0; }
    };

    // Compares the slots whose bit is set in the mask (bit i for slot index i).
    CRackComparison(const CCardSlot& left, const CCardSlot& right, std::uint64_t mask = CCardSlot::kAllSlots);

    // Slots whose modules are of different models, in slot order; the rows
    // of such a slot are not compared.
    const std::vector<ModuleDifference>& GetModuleDifferences() const { return m_modules; }
    // Values that differ and rows only one side has, that a download writes.
    const std::vector<RowDifference>& GetValueDifferences() const { return m_values; }
    // The same for the rows a download never writes; they are not counted.
    const std::vector<RowDifference>& GetUncountedDifferences() const { return m_uncounted; }

    // No module and no counted value differs.
    bool IsEqual() const { return m_modules.empty() && m_values.empty(); }
    int GetComparedSlotCount() const { return m_comparedSlots; }

    // Whether a value difference (not an uncounted one) is about this row
    // of the right side's card in the slot.
    bool IsRightRowDifferent(int slotIndex, int row) const;
    bool IsModuleDifferent(int slotIndex) const;

private:
    void CompareSlot(int slotIndex, const CCardInterface* left, const CCardInterface* right);
    void CompareRows(int slotIndex, const CCardInterface& left, int leftRow, const CCardInterface& right,
                     int rightRow, bool sameModel);
    void AddOneSided(int slotIndex, const CCardInterface& card, int row, bool left);
    void Add(RowDifference difference, bool counted);

    std::vector<ModuleDifference> m_modules;
    std::vector<RowDifference> m_values;
    std::vector<RowDifference> m_uncounted;
    int m_comparedSlots = 0;
};
