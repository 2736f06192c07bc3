#include "base/CResourceManager.h"

#include <mutex>

namespace {

// The English file beside the program, read the first time a text is missing
// from the chosen language. A file that cannot be read is not tried again.
const CResourceDatabase* EnglishFallback() {
    static CResourceDatabase english;
    static bool loaded = false;
    static std::once_flag once;
    std::call_once(once, [] {
        try {
            english.Load(L"English.lng");
            loaded = true;
        } catch (const std::exception&) {
            loaded = false;
        }
    });
    return loaded ? &english : nullptr;
}

} // namespace

CResourceManager::~CResourceManager() = default;

CResourceDatabase& CResourceManager::Database() {
    static CResourceDatabase database;
    return database;
}

std::optional<std::wstring> CResourceManager::FindMessage(std::wstring_view key) {
    try {
        return Database().GetMessage(key);
    } catch (const std::exception&) {
        // Not in the chosen language: English below.
    }
    try {
        if (const CResourceDatabase* english = EnglishFallback()) {
            return english->GetMessage(key);
        }
    } catch (const std::exception&) {
        // Not in English either: the caller shows the key.
    }
    return std::nullopt;
}

std::wstring CResourceManager::GetMessage(PlainMessageKey key) {
    std::optional<std::wstring> text = FindMessage(key.name);
    return text ? std::move(*text) : std::wstring(key.name);
}

std::wstring CResourceManager::FormatFoundMessage(std::wstring_view key, std::span<const FormatArg> args,
                                                  bool numbered) {
    if (std::optional<std::wstring> text = FindMessage(key)) {
        return numbered ? CMessageFormatter::Numbered(*text, args) : CMessageFormatter::Printf(*text, args);
    }
    // Without any text the key and its arguments at least say what happened.
    std::wstring shown(key);
    for (std::size_t i = 0; i < args.size(); ++i) {
        shown += i == 0 ? L": " : L", ";
        shown += args[i].AsText();
    }
    return shown;
}
