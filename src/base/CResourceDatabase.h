#pragma once
#include "base/CXmlReaderWriter.h"

#include <shared_mutex>
#include <string>
#include <string_view>

// One language file: window texts, messages, parameter captions and option
// lists, looked up by key. Every look-up of a missing key raises.
class CResourceDatabase {
public:
    CResourceDatabase();
    CResourceDatabase(const CResourceDatabase&) = delete;
    CResourceDatabase& operator=(const CResourceDatabase&) = delete;
    virtual ~CResourceDatabase();

    // An empty document whose element is "root": every look-up raises.
    void Reset();

    // Loads a language file from the program's directory (a name holding a
    // '/', on Windows also a '\', is taken as a path of its own) and checks
    // its header. A file that parses replaces the held document even when its header is then refused;
    // one that does not parse leaves the previous document. Failures are
    // raised as "Can't read resource file "<name>".<line break><reason>".
    void Load(const std::wstring& fileName);

    std::wstring GetText(const std::wstring& path) const;
    std::wstring GetGuiText(int window, int control) const;
    std::wstring GetMessage(std::wstring_view key) const;
    std::wstring GetParameterText(std::wstring_view section, std::wstring_view key) const;
    std::wstring GetListText(std::wstring_view section, std::wstring_view listKey, int index) const;
    // -2 for an empty data text, else its leading decimal integer (0 without digits).
    int GetListData(std::wstring_view section, std::wstring_view listKey, int index) const;
    std::wstring GetLanguageName() const;

private:
    void LoadAndCheck(const std::wstring& path);

    mutable std::shared_mutex m_mutex;
    CXmlReaderWriter m_document;
};

// Directory of a program path: the path cut before its last '/'. A path with
// no separator, or whose only separator is its first character, is returned
// as it is.
std::wstring DirectoryOfModulePath(const std::wstring& modulePath);

// Directory of the running program, without trailing separator.
std::wstring GetModuleDirectory();

// Reads a leading decimal integer as strtol would (blanks, sign, digits);
// no digits give 0. Values beyond 32 bits saturate.
int ParseLeadingInteger(std::wstring_view text);
