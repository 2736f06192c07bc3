// Typed texts for every row of every model: the value parsers on their own,
// then the card's own edit of the row. Input: model, row, flags, then the text
// (one character per byte, or UTF-8 when the flags' low bit is set). A line
// break ends a text; a row byte and the next text follow, edited on the same
// card, so that rows whose meaning follows other rows see other settings.
#include "FuzzSupport.h"

#include "base/CPrivateException.h"
#include "base/TextConvert.h"
#include "catalog/CCardInterface.h"
#include "catalog/StationAttribute.h"
#include "catalog/ValueText.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Everything an edit may change: every row's stored value and every text slot.
struct CardState {
    std::vector<std::int32_t> values;
    std::vector<std::wstring> texts;
    bool operator==(const CardState&) const = default;
};

CardState StateOf(const CCardInterface& card) {
    CardState state;
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        state.values.push_back(card.GetStoredValue(row));
    }
    for (int slot = 0; slot < CCardInterface::kTextSlotCount; ++slot) {
        state.texts.push_back(card.GetTextSlot(slot));
    }
    return state;
}

std::string RowName(const CCardInterface& card, int row, const std::wstring& text) {
    return k52fuzz::Printable(card.GetCardName().GetModelName()) + " row " + std::to_string(row) + " (" +
           k52fuzz::Printable(card.GetParameter(row).textKey) + "), text \"" + k52fuzz::Printable(text) + "\"";
}

// Sets a row from a text; false with the card untouched when the text is refused.
bool Edit(CCardInterface& card, int row, const std::wstring& text) {
    const CardState before = StateOf(card);
    try {
        card.SetFromText(row, text);
        return true;
    } catch (const CPrivateException& error) {
        if (error.IsCancellation()) {
            k52fuzz::Finding("a refused edit raised the empty text of a cancellation: " + RowName(card, row, text));
        }
        if (!(StateOf(card) == before)) {
            k52fuzz::Finding("a refused edit changed the card: " + RowName(card, row, text));
        }
        return false;
    }
}

void ExerciseParsers(const ParameterDefinition& definition, const std::wstring& text) {
    (void)ParseDecimalText(text, definition.decimals);
    (void)ParseIntegerText(text, definition.radix, definition.isSigned == 1);
    (void)ParseIntegerText(text, 0, definition.isSigned == 1);
    (void)ParseUnsigned32Text(text);
    (void)IsValidLoginText(text);
    (void)CheckDateTimeText(text);
    (void)FormatMacText(text);
    if (const std::optional<std::uint32_t> address = ParseIpAddressText(text)) {
        for (wchar_t c : text) {
            if (c != L'.' && (c < L'0' || c > L'9')) {
                k52fuzz::Finding("an IP address was accepted with other characters: " + k52fuzz::Printable(text));
            }
        }
        if (ParseIpAddressText(FormatIpAddress(*address)) != address) {
            k52fuzz::Finding("an accepted IP address does not read back: " + k52fuzz::Printable(text));
        }
    }
}

// Edits a row and, when the card took the text, types back what it shows.
void EditAndTypeBack(CCardInterface& card, int row, const std::wstring& text) {
    const ParameterDefinition& definition = card.GetParameter(row);
    if (definition.kind == KindList) {
        // Options are chosen, not typed: the text's first character picks one.
        const std::int32_t option = card.GetListData(row, text.empty() ? 0 : static_cast<int>(text[0] % 64));
        if (option != -2) {
            const CardState before = StateOf(card);
            try {
                card.SetCheckedValue(row, option);
            } catch (const CPrivateException&) {
                if (!(StateOf(card) == before)) {
                    k52fuzz::Finding("a refused option changed the card: " + RowName(card, row, text));
                }
            }
        }
        (void)card.GetDisplayText(row);
        return;
    }
    ExerciseParsers(definition, text);
    if (!Edit(card, row, text)) {
        return;
    }
    (void)card.GetDisplayText(row);
    // A value the card took and shows must be taken back from what it shows.
    const std::wstring shown = card.GetStoredValueText(row);
    if (definition.kind == KindText || definition.kind == KindSwitches4 || definition.kind == KindList ||
        shown.empty()) {
        return;
    }
    const std::int32_t stored = card.GetStoredValue(row);
    if (!Edit(card, row, shown)) {
        k52fuzz::Finding("the shown value is refused when typed back: " + RowName(card, row, text) +
                         ", shown as \"" + k52fuzz::Printable(shown) + "\"");
    }
    if (card.GetStoredValue(row) != stored) {
        k52fuzz::Finding("typing back the shown value changed it: " + RowName(card, row, text) + ", shown as \"" +
                         k52fuzz::Printable(shown) + "\", stored " + std::to_string(stored) + ", then " +
                         std::to_string(card.GetStoredValue(row)));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    k52fuzz::LoadEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::uint8_t flags = data[2];
    const std::unique_ptr<CCardInterface> card =
        k52fuzz::CardOfModel(data[0], StationAttribute((flags & 2) != 0 ? 1 : 0));
    if (card->GetParameterCount() == 0) {
        return 0;
    }
    std::size_t at = 3;
    int row = data[1] % card->GetParameterCount();
    for (;;) {
        const std::uint8_t* end = std::find(data + at, data + size, std::uint8_t{'\n'});
        const std::size_t length = static_cast<std::size_t>(end - (data + at));
        const std::wstring text =
            (flags & 1) != 0 ? FromUtf8(std::string(reinterpret_cast<const char*>(data + at), length))
                             : k52fuzz::Latin1(data + at, length);
        EditAndTypeBack(*card, row, text);
        at += length + 1;
        if (at >= size) {
            break;
        }
        row = data[at] % card->GetParameterCount();
        ++at;
    }
    return 0;
}
