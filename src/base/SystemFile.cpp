#include "base/SystemFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <random>
#include <io.h>
#include <sys/stat.h>
#include <wchar.h>
#else
#include "base/TextConvert.h"

#include <fcntl.h>
#include <unistd.h>
#endif

int CreateFileForWriting(const std::wstring& path) {
#ifdef _WIN32
    // Binary: the bytes go out as given, no "\r" before each "\n".
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
#else
    return ::open(ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
#endif
}

std::wstring MakeTemporaryFolder(const std::wstring& prefix) {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        return {};
    }
#ifdef _WIN32
    // No mkdtemp: a random name, taken only when nobody has it yet.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = temporary / (prefix + std::to_wstring(random()));
        if (::_wmkdir(folder.c_str()) == 0) {
            return folder.wstring();
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
#else
    std::string pattern = (temporary / ToUtf8(prefix + L"XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? FromUtf8(pattern) : std::wstring();
#endif
}

void RemoveFileQuietly(const std::wstring& path) {
#ifdef _WIN32
    ::_wunlink(path.c_str());
#else
    ::unlink(ToUtf8(path).c_str());
#endif
}
