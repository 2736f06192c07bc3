#pragma once
#include "app/CMessageFormatter.h"
#include "app/CResourceDatabase.h"

#include <string>
#include <string_view>

// Base of every class that looks up texts in the application's language
// database. It carries no state: the one database of the run is reached
// through Database() from everywhere.
class CResourceManager {
public:
    virtual ~CResourceManager();

    static CResourceDatabase& Database();

    // The text of a message key.
    static std::wstring GetMessage(std::wstring_view key);

    // A message key's text used as a printf-style format ("%d", "%s" ...).
    template <class... Args>
    static std::wstring FormatMessage(std::wstring_view key, const Args&... args) {
        return CMessageFormatter::Printf(GetMessage(key), args...);
    }

    // A message key's text used with numbered inserts ("%1", "%2!s!" ...).
    template <class... Args>
    static std::wstring FormatNumberedMessage(std::wstring_view key, const Args&... args) {
        return CMessageFormatter::Numbered(GetMessage(key), args...);
    }
};
