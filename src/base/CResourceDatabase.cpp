#include "base/CResourceDatabase.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/FilePath.h"
#include "base/NumberText.h"
#include "base/ProgramLocation.h"
#include "base/TextConvert.h"

#include <algorithm>
#include <climits>
#include <mutex>

namespace {

std::wstring Path(std::wstring_view format, std::wstring_view a) {
    return CMessageFormatter::Printf(format, a);
}

} // namespace

CResourceDatabase::CResourceDatabase() {
    m_document.Create(L"root");
}

CResourceDatabase::~CResourceDatabase() = default;

void CResourceDatabase::Reset() {
    std::unique_lock lock(m_mutex);
    m_document.Create(L"root");
}

void CResourceDatabase::LoadAndCheck(const std::wstring& path) {
    m_document.Load(PathFromText(path));
    if (m_document.GetText(L"/root/application") != L"K52CFG") {
        throw CPrivateException(FailureKind::File, L"Illegal format");
    }
    if (m_document.GetText(L"/root/filetype") != L"language") {
        throw CPrivateException(FailureKind::File, L"Illegal format");
    }
    if (m_document.GetText(L"/root/language").empty()) {
        throw CPrivateException(FailureKind::File, L"Illegal format");
    }
}

void CResourceDatabase::Load(const std::wstring& fileName) {
    std::unique_lock lock(m_mutex);
    try {
#ifdef _WIN32
        const bool ownPath = fileName.find_first_of(L"\\/") != std::wstring::npos;
        const wchar_t* const separator = L"\\";
#else
        const bool ownPath = fileName.find(L'/') != std::wstring::npos;
        const wchar_t* const separator = L"/";
#endif
        std::wstring path = ownPath ? fileName : GetModuleDirectory() + separator + fileName;
        LoadAndCheck(path);
    } catch (const std::exception& error) {
        std::wstring inner = GetExceptionMessage(error, 1025);
        throw CPrivateException(
            FailureKind::File,
            CMessageFormatter::Numbered(L"Can't read resource file \"%1!s!\".%n%2!s!", fileName, inner));
    }
}

std::wstring CResourceDatabase::GetText(const std::wstring& path) const {
    std::shared_lock lock(m_mutex);
    return m_document.GetText(path);
}

std::wstring CResourceDatabase::GetGuiText(int window, int control) const {
    return GetText(CMessageFormatter::Printf(L"/root/gui[@name='%d']/text[@name='%d']", window, control));
}

std::wstring CResourceDatabase::GetMessage(std::wstring_view key) const {
    return GetText(Path(L"/root/message/text[@name='%s']", key));
}

std::wstring CResourceDatabase::GetParameterText(std::wstring_view section, std::wstring_view key) const {
    return GetText(CMessageFormatter::Printf(L"/root/parameter[@name='%s']/text[@name='%s']", section, key));
}

std::wstring CResourceDatabase::GetListText(std::wstring_view section, std::wstring_view listKey, int index) const {
    return GetText(CMessageFormatter::Printf(L"/root/parameter[@name='%s']/list[@name='%s']/node[@name='%d']/text",
                                             section, listKey, index));
}

int CResourceDatabase::GetListData(std::wstring_view section, std::wstring_view listKey, int index) const {
    std::wstring text = GetText(CMessageFormatter::Printf(
        L"/root/parameter[@name='%s']/list[@name='%s']/node[@name='%d']/data", section, listKey, index));
    if (text.empty()) {
        return -2;
    }
    return ParseLeadingInteger(text);
}

std::wstring CResourceDatabase::GetLanguageName() const {
    return GetText(L"/root/language");
}

std::wstring DirectoryOfModulePath(const std::wstring& modulePath) {
    const std::wstring& path = modulePath;
#ifdef _WIN32
    std::size_t last = path.find_last_of(L"\\/");
#else
    std::size_t last = path.rfind(L'/');
#endif
    if (last == std::wstring::npos || last == 0) {
        return path;
    }
    return path.substr(0, last);
}

std::wstring GetModuleDirectory() {
    const std::wstring program = GetProgramFilePath();
    return program.empty() ? std::wstring(L".") : DirectoryOfModulePath(program);
}

int ParseLeadingInteger(std::wstring_view text) {
    const std::optional<WholeNumber> number = ReadWholeNumber(text, 10);
    if (!number) {
        return 0;
    }
    return static_cast<int>(std::clamp<std::int64_t>(number->Value(), INT_MIN, INT_MAX));
}
