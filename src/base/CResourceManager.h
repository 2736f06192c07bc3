#pragma once
#include "base/CMessageFormatter.h"
#include "base/CResourceDatabase.h"
#include "base/MessageKeys.h"

#include <array>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// The text a language look-up finds, or the fallback where it throws (a
// language file, outside input, that lacks the entry): for the places that
// show what they have rather than fail, such as a list being drawn.
template <class LookUp>
std::wstring TextOr(LookUp&& lookUp, std::wstring fallback = {}) {
    try {
        return std::forward<LookUp>(lookUp)();
    } catch (const std::exception&) {
        return fallback;
    }
}

// Base of every class that looks up texts in the application's language
// database. It carries no state: the one database of the run is reached
// through Database() from everywhere.
//
// Message texts never fail: a key the chosen language file lacks is taken
// from the English file beside the program, and where that lacks it too, the
// key itself stands in, followed by the arguments. A failure being reported
// must not be replaced by the failure to find its text.
class CResourceManager {
public:
    virtual ~CResourceManager();

    static CResourceDatabase& Database();

    // The text of a key without inserts (base/MessageKeys.h lists the keys).
    static std::wstring GetMessage(PlainMessageKey key);

    // A key's text with its printf-style inserts ("%d", "%s" ...) filled;
    // the arguments are the ones the key declares.
    template <class... Args>
    static std::wstring FormatMessage(MessageKey<MessageStyle::Printf, Args...> key,
                                      std::type_identity_t<Args>... args) {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return FormatFoundMessage(key.name, list, false);
    }

    // A key's text with its numbered inserts ("%1", "%2!s!" ...) filled.
    template <class... Args>
    static std::wstring FormatNumberedMessage(MessageKey<MessageStyle::Numbered, Args...> key,
                                              std::type_identity_t<Args>... args) {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return FormatFoundMessage(key.name, list, true);
    }

private:
    // The key's text from the chosen language, else from English; empty when neither has it.
    static std::optional<std::wstring> FindMessage(std::wstring_view key);
    static std::wstring FormatFoundMessage(std::wstring_view key, std::span<const FormatArg> args,
                                           bool numbered);
};
