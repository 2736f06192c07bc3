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
#include <sys/stat.h>
#include <unistd.h>
#endif

int OpenFileForWriting(const std::filesystem::path& path, bool& created) {
    created = false;
#ifdef _WIN32
    // Binary: the bytes go out as given, no "\r" before each "\n".
    constexpr int kMode = _O_WRONLY | _O_BINARY | _O_NOINHERIT;
    int file = ::_wopen(path.c_str(), kMode | _O_CREAT | _O_EXCL, _S_IREAD | _S_IWRITE);
    if (file >= 0) {
        created = true;
        return file;
    }
    if (errno != EEXIST) {
        return -1;
    }
    // There already: it is not ours to remove.
    file = ::_wopen(path.c_str(), kMode);
    if (file < 0) {
        return -1;
    }
    struct _stat64 info {};
    if (::_fstat64(file, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        ::_close(file);
        errno = EINVAL;
        return -1;
    }
    return file;
#else
    constexpr int kMode = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int file = ::open(path.c_str(), kMode | O_CREAT | O_EXCL, 0666);
    if (file >= 0) {
        created = true;
        return file;
    }
    if (errno != EEXIST) {
        return -1;
    }
    // There already (or a link that names a file to make): it is not ours to remove.
    file = ::open(path.c_str(), kMode | O_CREAT, 0666);
    if (file < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        errno = EINVAL;
        return -1;
    }
    return file;
#endif
}

int CutOpenFile(int file) {
#ifdef _WIN32
    return ::_chsize_s(file, 0);
#else
    return ::ftruncate(file, 0) == 0 ? 0 : errno;
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

void RemoveFileQuietly(const std::filesystem::path& path) {
#ifdef _WIN32
    ::_wunlink(path.c_str());
#else
    ::unlink(path.c_str());
#endif
}
