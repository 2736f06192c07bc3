#pragma once
#include "base/CMessageFormatter.h"
#include "base/CResourceManager.h"
#include "base/MessageKeys.h"

#include <functional>
#include <optional>
#include <regex>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace k52test {

// One message key of the program (base/MessageKeys.h, the one list of
// them), with arguments of the types it takes: every text argument is
// "TEXT", every number 7. A language file must have each key, and each text
// must take exactly these arguments.
struct MessageUse {
    std::wstring_view key;
    enum { None, Printf, Numbered } style;
    std::vector<FormatArg> args;
    // The key looked up and formatted through CResourceManager with those
    // arguments, as the program does it.
    std::function<std::wstring()> format;
};

template <class T> T SampleArgument() {
    if constexpr (std::is_same_v<T, Msg::Text>) {
        return L"TEXT";
    } else {
        return T{7};
    }
}

template <MessageStyle Style, class... Args> MessageUse UseOf(MessageKey<Style, Args...> key) {
    MessageUse use{key.name, MessageUse::None, {FormatArg(SampleArgument<Args>())...}, {}};
    if constexpr (Style == MessageStyle::Plain) {
        use.format = [key] { return CResourceManager::GetMessage(key); };
    } else if constexpr (Style == MessageStyle::Printf) {
        use.style = MessageUse::Printf;
        use.format = [key] { return CResourceManager::FormatMessage(key, SampleArgument<Args>()...); };
    } else {
        use.style = MessageUse::Numbered;
        use.format = [key] {
            return CResourceManager::FormatNumberedMessage(key, SampleArgument<Args>()...);
        };
    }
    return use;
}

// Every message key the program looks up.
inline std::vector<MessageUse> MessageUses() {
    std::vector<MessageUse> uses;
    ForEachMessageKey([&](auto key) { uses.push_back(UseOf(key)); });
    return uses;
}

// The text of a key as the language database holds it, inserts unfilled,
// for a test that compares the start of a formatted message.
template <MessageStyle Style, class... Args> std::wstring RawMessage(MessageKey<Style, Args...> key) {
    return CResourceManager::Database().GetMessage(key.name);
}

// The text of the key without inserts that is named so, for tables of
// expected refusals; nothing when there is no such key.
inline std::optional<std::wstring> PlainMessageNamed(std::wstring_view name) {
    std::optional<std::wstring> text;
    ForEachMessageKey([&](auto key) {
        if constexpr (std::is_same_v<decltype(key), PlainMessageKey>) {
            if (key.name == name) {
                text = CResourceManager::GetMessage(key);
            }
        }
    });
    return text;
}

// The text formatted with the use's arguments (each text argument is
// "TEXT"), as its caller formats it.
inline std::wstring FormatWithItsArguments(const MessageUse& use, const std::wstring& text) {
    const std::span<const FormatArg> args(use.args);
    if (use.style == MessageUse::Printf) {
        return CMessageFormatter::Printf(text, args);
    }
    if (use.style == MessageUse::Numbered) {
        return CMessageFormatter::Numbered(text, args);
    }
    return text;
}

// Every text argument lands in the formatted text once and no insert is
// left over.
inline bool TakesItsArguments(const MessageUse& use, const std::wstring& text) {
    const std::wstring formatted = FormatWithItsArguments(use, text);
    std::size_t texts = 0;
    for (std::size_t at = formatted.find(L"TEXT"); at != std::wstring::npos; at = formatted.find(L"TEXT", at + 1)) {
        ++texts;
    }
    std::size_t expected = 0;
    for (const FormatArg& arg : use.args) {
        expected += arg.GetType() == FormatArg::Type::Text ? 1 : 0;
    }
    const bool insertLeft =
        use.style != MessageUse::None && std::regex_search(formatted, std::wregex(L"%[-+ #0-9.]*[a-zA-Z]|%[1-9]"));
    return texts == expected && !insertLeft;
}

} // namespace k52test
