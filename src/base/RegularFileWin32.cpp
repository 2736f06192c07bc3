// The Windows side of RegularFile.h: the same promises with the system's
// wide (UTF-16) calls, so that any file name the user can type works.
#include "base/RegularFile.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/Win32Error.h"

#include <windows.h>

#include <atomic>
#include <cwctype>

namespace {

[[noreturn]] void Raise(const std::wstring& text) {
    throw CPrivateException(FailureKind::File, text);
}

[[noreturn]] void RaiseFileError(const wchar_t* what, const std::wstring& path, DWORD error) {
    Raise(CMessageFormatter::Printf(L"%s \"%s\": %s", what, path, Win32ErrorText(error)));
}

[[noreturn]] void RaiseNotRegular(const wchar_t* what, const std::wstring& path, const wchar_t* kind) {
    Raise(CMessageFormatter::Printf(L"%s \"%s\": it is %s, not a regular file.", what, path, kind));
}

constexpr std::size_t kMaxFileSize = std::size_t{16} * 1024 * 1024;

[[noreturn]] void RaiseTooLarge(const std::wstring& path) {
    Raise(CMessageFormatter::Printf(L"Cannot open the file \"%s\": it is larger than 16 MiB, which no "
                                    L"configuration or language file is.",
                                    path));
}

// Names that Windows takes as devices in any folder and with any extension
// ("NUL", "com3.xml"), and paths into the device namespace ("\\.\COM3"):
// opening one talks to a device, so they are refused before that.
bool NamesDevice(const std::wstring& path) {
    if (path.starts_with(L"\\\\.\\") || path.starts_with(L"//./")) {
        return true;
    }
    const std::size_t slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ') {
        name.pop_back();
    }
    for (wchar_t& c : name) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$" ||
        name == L"CONOUT$") {
        return true;
    }
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) && name[3] >= L'1' &&
           name[3] <= L'9';
}

// Closes a handle however the work ends.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (Valid()) {
            ::CloseHandle(m_handle);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }
    bool Close() {
        const bool closed = ::CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

// Refuses what cannot be replaced: a device name, a folder, a read-only file.
void CheckReplaceable(const std::wstring& path) {
    if (NamesDevice(path)) {
        RaiseNotRegular(L"Cannot write the file", path, L"a device");
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return; // a new file; its folder is checked by making the temporary file
        }
        RaiseFileError(L"Cannot write the file", path, error);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RaiseNotRegular(L"Cannot write the file", path, L"a folder");
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Raise(CMessageFormatter::Printf(L"Cannot write the file \"%s\": it is read-only.", path));
    }
}

} // namespace

std::string ReadRegularFile(const std::filesystem::path& name) {
    const std::wstring& path = name.native();
    if (NamesDevice(path)) {
        RaiseNotRegular(L"Cannot open the file", path, L"a device");
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        RaiseFileError(L"Cannot open the file", path, ::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RaiseNotRegular(L"Cannot open the file", path, L"a folder");
    }
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        RaiseFileError(L"Cannot open the file", path, ::GetLastError());
    }
    // A pipe or a device that slipped past the name check.
    const DWORD type = ::GetFileType(file.Get());
    if (type != FILE_TYPE_DISK) {
        RaiseNotRegular(L"Cannot open the file", path, type == FILE_TYPE_PIPE ? L"a named pipe" : L"a device");
    }
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) == 0) {
        RaiseFileError(L"Cannot read the file", path, ::GetLastError());
    }
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxFileSize) {
        RaiseTooLarge(path);
    }
    // One byte more than the limit is asked for, so that a file that grew is noticed.
    std::string content(kMaxFileSize + 1 < static_cast<std::size_t>(size.QuadPart) + 1
                            ? kMaxFileSize + 1
                            : static_cast<std::size_t>(size.QuadPart) + 1,
                        '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == content.size()) {
            if (content.size() > kMaxFileSize) {
                RaiseTooLarge(path);
            }
            content.resize(std::min(content.size() * 2, kMaxFileSize + 1));
        }
        DWORD read = 0;
        if (::ReadFile(file.Get(), content.data() + got, static_cast<DWORD>(content.size() - got), &read,
                       nullptr) == 0) {
            RaiseFileError(L"Cannot read the file", path, ::GetLastError());
        }
        if (read == 0) {
            break;
        }
        got += read;
    }
    if (got > kMaxFileSize) {
        RaiseTooLarge(path);
    }
    content.resize(got);
    return content;
}

void CheckReplaceableFile(const std::filesystem::path& name) {
    const std::wstring& path = name.native();
    CheckReplaceable(path);
}

void ReplaceRegularFile(const std::filesystem::path& name, std::string_view bytes) {
    const std::wstring& path = name.native();
    CheckReplaceable(path);

    // Beside the file it replaces, so that the move stays within one volume
    // and is a rename. Unique within the process and against other processes.
    static std::atomic<unsigned> counter{0};
    const std::wstring temporary = CMessageFormatter::Printf(L"%s.%lu-%u.tmp", path,
                                                             static_cast<unsigned long>(::GetCurrentProcessId()),
                                                             counter.fetch_add(1));
    Handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file.Valid()) {
        RaiseFileError(L"Cannot write the file", path, ::GetLastError());
    }
    bool moved = false;
    struct RemoveUnlessMoved {
        const std::wstring& temporary;
        const bool& moved;
        ~RemoveUnlessMoved() {
            if (!moved) {
                ::DeleteFileW(temporary.c_str());
            }
        }
    } cleanup{temporary, moved};

    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (::WriteFile(file.Get(), bytes.data() + written, chunk, &done, nullptr) == 0) {
            RaiseFileError(L"Cannot write the file", path, ::GetLastError());
        }
        written += done;
    }
    if (::FlushFileBuffers(file.Get()) == 0 || !file.Close()) {
        RaiseFileError(L"Cannot write the file", path, ::GetLastError());
    }
    // Replaces the old file in one step: a reader sees the old or the new
    // content, never a part; the move is on the disk when the call returns.
    if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        RaiseFileError(L"Cannot write the file", path, ::GetLastError());
    }
    moved = true;
}
