// Opening a configuration file of any content: it is refused with our own
// exception, or the rack it gives survives a save and a second open unchanged.
#include "FuzzSupport.h"

#include "base/CPrivateException.h"
#include "rack/CCardSlot.h"

#include <string>
#include <vector>

namespace {

// Everything a file gives a rack: each slot's model, stored values and texts.
struct SlotState {
    std::int32_t typeCode = 0;
    std::wstring model;
    std::vector<std::int32_t> values;
    std::vector<std::wstring> texts;
    bool operator==(const SlotState&) const = default;
};

std::vector<SlotState> StateOf(const CCardSlot& rack) {
    std::vector<SlotState> state;
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        SlotState slot;
        if (const CCardSlot::CardHandle card = rack.GetCard(index)) {
            slot.typeCode = card->GetTypeCode();
            slot.model = card->GetCardName().GetModelName();
            for (int row = 0; row < card->GetParameterCount(); ++row) {
                slot.values.push_back(card->GetStoredValue(row));
            }
            for (int text = 0; text < CCardInterface::kTextSlotCount; ++text) {
                slot.texts.push_back(card->GetTextSlot(text));
            }
        }
        state.push_back(std::move(slot));
    }
    return state;
}

std::string Difference(const std::vector<SlotState>& first, const std::vector<SlotState>& second) {
    for (std::size_t index = 0; index < first.size(); ++index) {
        const SlotState& a = first[index];
        const SlotState& b = second[index];
        if (a.typeCode != b.typeCode || a.model != b.model) {
            return "slot " + std::to_string(index) + " model " + k52fuzz::Printable(a.model) + " became " +
                   k52fuzz::Printable(b.model);
        }
        for (std::size_t row = 0; row < a.values.size(); ++row) {
            if (a.values[row] != b.values[row]) {
                return "slot " + std::to_string(index) + " row " + std::to_string(row) + " value " +
                       std::to_string(a.values[row]) + " became " + std::to_string(b.values[row]);
            }
        }
        for (std::size_t text = 0; text < a.texts.size(); ++text) {
            if (a.texts[text] != b.texts[text]) {
                return "slot " + std::to_string(index) + " text " + std::to_string(text) + " \"" +
                       k52fuzz::Printable(a.texts[text]) + "\" became \"" + k52fuzz::Printable(b.texts[text]) + "\"";
            }
        }
    }
    return "no difference";
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    k52fuzz::LoadEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path input = k52fuzz::ScratchDirectory() / "input.k52";
    const std::filesystem::path saved = k52fuzz::ScratchDirectory() / "saved.k52";
    const std::filesystem::path resaved = k52fuzz::ScratchDirectory() / "resaved.k52";
    k52fuzz::WriteBytes(input, data, size);

    CCardSlot rack;
    rack.Clear();
    const std::vector<SlotState> empty = StateOf(rack);
    try {
        rack.LoadFromFile(input.wstring());
    } catch (const CPrivateException& error) {
        if (error.IsCancellation()) {
            k52fuzz::Finding("a refused file raised the empty text of a cancellation");
        }
        if (!(StateOf(rack) == empty)) {
            k52fuzz::Finding("a refused file changed the rack");
        }
        return 0;
    }
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        if (!rack.HasCard(index)) {
            k52fuzz::Finding("an opened file left slot " + std::to_string(index) + " without a card");
        }
        (void)rack.GetSlotCaption(index);
    }

    const std::vector<SlotState> loaded = StateOf(rack);
    CCardSlot reopened;
    try {
        rack.SaveToFile(saved.wstring());
        reopened.LoadFromFile(saved.wstring());
    } catch (const CPrivateException& error) {
        k52fuzz::Finding("an opened file does not survive a save and a second open: " +
                         k52fuzz::Printable(error.GetText()));
    }
    const std::vector<SlotState> again = StateOf(reopened);
    if (!(again == loaded)) {
        k52fuzz::Finding("a save and a second open changed the rack: " + Difference(loaded, again));
    }
    // Our own file is a fixed point: saving the reopened rack writes the same bytes.
    reopened.SaveToFile(resaved.wstring());
    if (k52fuzz::ReadBytes(saved) != k52fuzz::ReadBytes(resaved)) {
        k52fuzz::Finding("saving a reopened rack wrote another file");
    }
    return 0;
}
