#include "rack/CRackComparison.h"

#include "catalog/CCardInterface.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// The rows that hold a value of the module: no headings, and none of the
// one-shot commands, which neither the list nor a file holds.
bool HoldsValue(const CCardInterface& card, int row) {
    const ParameterDefinition& definition = card.GetParameter(row);
    if ((definition.flags & FlagOnDemand) != 0) {
        return false;
    }
    switch (definition.kind) {
    case KindGroup:
    case KindNone:
        return false;
    default:
        return true;
    }
}

// A text the language file lacks stays empty, as it does in the list.
std::wstring CaptionOf(const CCardInterface& card, int row) {
    return TextOr([&] { return card.GetCaption(row); });
}

std::wstring TextOf(const CCardInterface& card, int row) {
    return TextOr([&] { return card.GetDisplayText(row); });
}

std::wstring ModelOf(const CCardInterface* card) {
    return card != nullptr ? card->GetCardName().GetModelName() : std::wstring();
}

// Whether two rows store the same: the same text, or the same word(s). A
// file's text that its row could not take counts as itself, so that "abc"
// never equals the 0 it stands beside.
bool SameStoredValue(const CCardInterface& left, int leftRow, const CCardInterface& right, int rightRow) {
    const ParameterDefinition& a = left.GetParameter(leftRow);
    const ParameterDefinition& b = right.GetParameter(rightRow);
    if (a.kind != b.kind) {
        return false;
    }
    if (a.kind == KindText) {
        return left.GetTextSlot(a.textSlot) == right.GetTextSlot(b.textSlot);
    }
    const std::wstring* leftUnread = left.GetUnreadFileText(leftRow);
    const std::wstring* rightUnread = right.GetUnreadFileText(rightRow);
    if (leftUnread != nullptr || rightUnread != nullptr) {
        return leftUnread != nullptr && rightUnread != nullptr && *leftUnread == *rightUnread;
    }
    return left.GetStoredValue(leftRow) == right.GetStoredValue(rightRow);
}

// Rows of two tables of one model are paired by what they are (their
// caption key), the n-th row of a key with the n-th of the same key.
using RowKey = std::pair<std::wstring, int>;

std::vector<std::pair<int, RowKey>> KeyedRows(const CCardInterface& card) {
    std::vector<std::pair<int, RowKey>> rows;
    std::map<std::wstring, int> seen;
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (!HoldsValue(card, row)) {
            continue;
        }
        const wchar_t* key = card.GetParameter(row).textKey;
        std::wstring name = key != nullptr ? key : L"";
        const int occurrence = seen[name]++;
        rows.emplace_back(row, RowKey(std::move(name), occurrence));
    }
    return rows;
}

} // namespace

CRackComparison::CRackComparison(const CCardSlot& left, const CCardSlot& right, std::uint64_t mask) {
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        if (((mask >> index) & 1U) == 0) {
            continue;
        }
        const CCardSlot::CardHandle leftCard = left.GetCard(index);
        const CCardSlot::CardHandle rightCard = right.GetCard(index);
        if (leftCard == nullptr && rightCard == nullptr) {
            continue;
        }
        ++m_comparedSlots;
        CompareSlot(index, leftCard.get(), rightCard.get());
    }
}

void CRackComparison::CompareSlot(int slotIndex, const CCardInterface* left, const CCardInterface* right) {
    // Rows of two models mean different things even where they share a
    // name (one model's response time-out is not another's session
    // time-out): a slot whose models differ is one module difference with
    // both names, and none of its rows is compared.
    // (Named, not compared as temporaries: MinGW's GCC 12 misreads those.)
    std::wstring leftModel = ModelOf(left);
    std::wstring rightModel = ModelOf(right);
    if (left == nullptr || right == nullptr || leftModel != rightModel) {
        m_modules.push_back({slotIndex, std::move(leftModel), std::move(rightModel)});
        return;
    }
    if (left->GetParameterCount() == right->GetParameterCount()) {
        for (int row = 0; row < left->GetParameterCount(); ++row) {
            if (HoldsValue(*left, row)) {
                CompareRows(slotIndex, *left, row, *right, row, true);
            }
        }
        return;
    }
    // One model whose table differs with the station's attribute word (the
    // 16-point digital modules): its rows pair by what they are.
    std::map<RowKey, int> rightByKey;
    for (const auto& [row, key] : KeyedRows(*right)) {
        rightByKey.emplace(key, row);
    }
    std::vector<bool> paired(static_cast<std::size_t>(right->GetParameterCount()), false);
    for (const auto& [row, key] : KeyedRows(*left)) {
        const auto found = rightByKey.find(key);
        if (found == rightByKey.end()) {
            AddOneSided(slotIndex, *left, row, true);
            continue;
        }
        paired[static_cast<std::size_t>(found->second)] = true;
        CompareRows(slotIndex, *left, row, *right, found->second, false);
    }
    for (const auto& [row, key] : KeyedRows(*right)) {
        if (!paired[static_cast<std::size_t>(row)]) {
            AddOneSided(slotIndex, *right, row, false);
        }
    }
}

void CRackComparison::CompareRows(int slotIndex, const CCardInterface& left, int leftRow,
                                  const CCardInterface& right, int rightRow, bool sameModel) {
    std::wstring leftText = TextOf(left, leftRow);
    std::wstring rightText = TextOf(right, rightRow);
    // The same word means the same value only in the same model's row; rows
    // of two models that share a name must also read alike.
    const bool same =
        SameStoredValue(left, leftRow, right, rightRow) && (sameModel || leftText == rightText);
    if (same) {
        return;
    }
    RowDifference difference;
    difference.slotIndex = slotIndex;
    difference.caption = CaptionOf(left, leftRow);
    difference.leftRow = leftRow;
    difference.rightRow = rightRow;
    difference.leftText = std::move(leftText);
    difference.rightText = std::move(rightText);
    Add(std::move(difference), left.IsWrittenByDownload(leftRow) || right.IsWrittenByDownload(rightRow));
}

void CRackComparison::AddOneSided(int slotIndex, const CCardInterface& card, int row, bool left) {
    RowDifference difference;
    difference.slotIndex = slotIndex;
    difference.caption = CaptionOf(card, row);
    (left ? difference.leftRow : difference.rightRow) = row;
    (left ? difference.leftText : difference.rightText) = TextOf(card, row);
    Add(std::move(difference), card.IsWrittenByDownload(row));
}

void CRackComparison::Add(RowDifference difference, bool counted) {
    (counted ? m_values : m_uncounted).push_back(std::move(difference));
}

bool CRackComparison::IsRightRowDifferent(int slotIndex, int row) const {
    return std::any_of(m_values.begin(), m_values.end(), [&](const RowDifference& difference) {
        return difference.slotIndex == slotIndex && difference.rightRow == row;
    });
}

bool CRackComparison::IsModuleDifferent(int slotIndex) const {
    return std::any_of(m_modules.begin(), m_modules.end(),
                       [&](const ModuleDifference& difference) { return difference.slotIndex == slotIndex; });
}
