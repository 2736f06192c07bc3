#pragma once
#include "base/CMessageFormatter.h"
#include "base/CResourceDatabase.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

    // The text of a message key.
    static std::wstring GetMessage(std::wstring_view key);

    // A message key's text used as a printf-style format ("%d", "%s" ...).
    template <class... Args>
    static std::wstring FormatMessage(std::wstring_view key, const Args&... args) {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return FormatFoundMessage(key, list, false);
    }

    // A message key's text used with numbered inserts ("%1", "%2!s!" ...).
    template <class... Args>
    static std::wstring FormatNumberedMessage(std::wstring_view key, const Args&... args) {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return FormatFoundMessage(key, list, true);
    }

private:
    // The key's text from the chosen language, else from English; empty when neither has it.
    static std::optional<std::wstring> FindMessage(std::wstring_view key);
    static std::wstring FormatFoundMessage(std::wstring_view key, std::span<const FormatArg> args,
                                           bool numbered);
};
