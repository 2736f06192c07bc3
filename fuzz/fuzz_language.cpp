// Loading a language file of any content, then every message formatted with
// the arguments the program passes and the texts and option lists of one
// model (chosen from the file's bytes) looked up as the windows would.
#include "FuzzSupport.h"

#include "base/CPrivateException.h"
#include "base/CResourceManager.h"
#include "catalog/CCardInterface.h"
#include "support/MessageUses.h"

#include <memory>
#include <span>
#include <string>

namespace {

using k52test::MessageUse;

template <class F>
void Tolerated(F&& lookUp) {
    try {
        lookUp();
    } catch (const CPrivateException&) {
        // A missing or unreadable entry: the callers show or skip the failure.
    }
}

void FormatEveryMessage() {
    for (const MessageUse& use : k52test::MessageUses()) {
        Tolerated([&] {
            (void)use.format();
            const std::wstring text = CResourceManager::Database().GetMessage(use.key);
            const std::span<const FormatArg> args(use.args);
            (void)CMessageFormatter::Printf(text, args);
            (void)CMessageFormatter::Numbered(text, args);
        });
    }
}

void LookUpModel(std::uint32_t choice) {
    const std::unique_ptr<CCardInterface> card = k52fuzz::CardOfModel(choice);
    Tolerated([&] { (void)card->GetCardName().GetLongName(); });
    Tolerated([&] { (void)card->GetCardName().GetShortName(); });
    CResourceDatabase& database = CResourceManager::Database();
    for (int row = 0; row < card->GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card->GetParameter(row);
        Tolerated([&] { (void)card->GetCaption(row); });
        Tolerated([&] { (void)card->GetDisplayText(row); });
        if (definition.kind == KindList) {
            for (int n = 0; n < 4; ++n) {
                (void)card->GetListText(row, n);
                (void)card->GetListData(row, n);
                Tolerated([&] { (void)database.GetListData(card->GetSectionName(), definition.fileKey, n); });
            }
        }
    }
}

std::uint32_t Hash(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return hash;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = k52fuzz::ScratchDirectory() / "input.lng";
    k52fuzz::WriteBytes(file, data, size);

    CResourceDatabase& database = CResourceManager::Database();
    database.Reset();
    try {
        database.Load(file.wstring());
    } catch (const CPrivateException& error) {
        if (error.IsCancellation()) {
            k52fuzz::Finding("a refused language file raised the empty text of a cancellation");
        }
    }
    // A file whose header is refused still replaces the texts, so the look-ups
    // run either way.
    Tolerated([&] { (void)database.GetLanguageName(); });
    Tolerated([&] { (void)database.GetGuiText(100, 1); });
    FormatEveryMessage();
    LookUpModel(Hash(data, size));
    return 0;
}
