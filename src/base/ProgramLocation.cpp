#include "base/ProgramLocation.h"

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#else
#include "base/TextConvert.h"

#include <unistd.h>
#endif

#ifdef _WIN32

std::wstring GetProgramFilePath() {
    // Long paths are allowed: grow the buffer until the whole name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    while (buffer.size() <= 32768) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

std::wstring GetUserSettingsFolder() {
    PWSTR known = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &known))) {
        folder = std::wstring(known) + L"\\K52CFG";
        ::CreateDirectoryW(folder.c_str(), nullptr); // there already is no fault
    }
    ::CoTaskMemFree(known);
    return folder;
}

#else

std::wstring GetProgramFilePath() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return {};
    }
    buffer[length] = '\0';
    return FromUtf8(buffer);
}

std::wstring GetUserSettingsFolder() {
    return {};
}

#endif
