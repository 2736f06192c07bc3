#include "base/RegularFile.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/FilePath.h"
#include "base/FileSizeSignal.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Raise(const std::wstring& text) {
    // Every failure here is about a file the user named.
    throw CPrivateException(FailureKind::File, text);
}

[[noreturn]] void RaiseFileError(const wchar_t* what, const std::filesystem::path& path, int errorNumber) {
    Raise(CMessageFormatter::Printf(L"%s \"%s\": %s", what, DisplayPath(path), CMessageFormatter::SystemErrorText(errorNumber)));
}

// Configuration and language files are a few hundred kilobytes at most; a
// file far beyond that is not one of them, and reading it whole would only
// use up memory.
constexpr std::size_t kMaxFileSize = std::size_t{16} * 1024 * 1024;

// A symbolic link is followed at most this many times, as the system does.
constexpr int kMaxLinkHops = 40;

// What a path names, for a message that says why it cannot be used as a file.
const wchar_t* KindOfNonRegular(mode_t mode) {
    if (S_ISDIR(mode)) {
        return L"a folder";
    }
    if (S_ISFIFO(mode)) {
        return L"a named pipe (FIFO)";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return L"a device";
    }
    if (S_ISSOCK(mode)) {
        return L"a socket";
    }
    return L"something else";
}

[[noreturn]] void RaiseNotRegular(const wchar_t* what, const std::filesystem::path& path, mode_t mode) {
    Raise(CMessageFormatter::Printf(L"%s \"%s\": it is %s, not a regular file.", what, DisplayPath(path),
                                    KindOfNonRegular(mode)));
}

[[noreturn]] void RaiseTooLarge(const std::filesystem::path& path) {
    Raise(CMessageFormatter::Printf(L"Cannot open the file \"%s\": it is larger than 16 MiB, which no "
                                    L"configuration or language file is.",
                                    DisplayPath(path)));
}

// Closes a descriptor when the reading is over, however it ends.
class InputFile {
public:
    explicit InputFile(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
    ~InputFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The folder part of a path, for joining a relative link target or syncing
// a rename: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string(1, '/') : path.substr(0, slash);
}

// The path a save replaces: symbolic links are followed to the file they
// name, so that the link stays a link and the file it names is the one
// written. A link that names nothing yet gives the path of the file to make.
std::string FollowLinks(const std::filesystem::path& path) {
    std::string current = path.native();
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0) {
            RaiseFileError(L"Cannot write the file", path, errno);
        }
        target.resize(static_cast<std::size_t>(length));
        if (target.empty() || target.front() != '/') {
            // Relative to the folder that holds the link.
            const std::size_t slash = current.find_last_of('/');
            if (slash != std::string::npos) {
                target.insert(0, current, 0, slash + 1);
            }
        }
        current = target;
    }
    RaiseFileError(L"Cannot write the file", path, ELOOP);
}

// Refuses a target that is not a regular file, or a file that the user may
// not change. A file without any write permission is taken as read-only even
// for the superuser, who could replace it: it was marked so on purpose.
void CheckReplaceable(const std::string& target, const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return; // a new file; its folder is checked by making the temporary file
        }
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        RaiseNotRegular(L"Cannot write the file", path, info.st_mode);
    }
    if ((info.st_mode & 0222) == 0) {
        Raise(CMessageFormatter::Printf(L"Cannot write the file \"%s\": it is read-only.", DisplayPath(path)));
    }
    if (::access(target.c_str(), W_OK) != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) : m_path(target + ".XXXXXX") {
        m_fd = ::mkstemp(m_path.data());
        m_created = m_fd >= 0;
    }
    ~TemporaryFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (m_created && !m_kept) {
            ::unlink(m_path.c_str());
        }
    }
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    int CloseFile() {
        int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }
    void Keep() { m_kept = true; }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_created = false;
    bool m_kept = false;
};

} // namespace

std::string ReadRegularFile(const std::filesystem::path& path) {
    const std::string& nativePath = path.native();
    struct stat info {};
    if (::stat(nativePath.c_str(), &info) != 0) {
        RaiseFileError(L"Cannot open the file", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        RaiseNotRegular(L"Cannot open the file", path, info.st_mode);
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxFileSize) {
        RaiseTooLarge(path);
    }
    const InputFile file(nativePath);
    if (file.fd() < 0) {
        RaiseFileError(L"Cannot open the file", path, errno);
    }
    // The path may have been replaced between the look and the open.
    if (::fstat(file.fd(), &info) != 0) {
        RaiseFileError(L"Cannot read the file", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        RaiseNotRegular(L"Cannot open the file", path, info.st_mode);
    }
    std::string content;
    content.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == content.size()) {
            // Growing while it is read: still bounded.
            if (content.size() > kMaxFileSize) {
                RaiseTooLarge(path);
            }
            content.resize(std::min(content.size() * 2, kMaxFileSize + 1));
        }
        const ssize_t read = ::read(file.fd(), content.data() + got, content.size() - got);
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            RaiseFileError(L"Cannot read the file", path, errno);
        }
        if (read == 0) {
            break;
        }
        got += static_cast<std::size_t>(read);
    }
    if (got > kMaxFileSize) {
        RaiseTooLarge(path);
    }
    content.resize(got);
    return content;
}

void CheckReplaceableFile(const std::filesystem::path& path) {
    CheckReplaceable(FollowLinks(path), path);
}

void ReplaceRegularFile(const std::filesystem::path& path, std::string_view bytes) {
    // Checked before anything is written: a FIFO, a device or a read-only
    // file is never opened, let alone replaced.
    const std::string target = FollowLinks(path);
    CheckReplaceable(target, path);

    const FileSizeSignalIgnored fileSizeSignal;
    // Beside the file it replaces, so that the rename stays within one file system.
    TemporaryFile temporary(target);
    if (temporary.fd() < 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(temporary.fd(), data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            RaiseFileError(L"Cannot write the file", path, errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(temporary.fd()) != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    // Keep the permissions of a file that is being replaced.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(temporary.fd(), existing.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(temporary.fd(), 0666 & ~mask);
    }
    if (temporary.CloseFile() != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    temporary.Keep();
    // Make the rename itself durable, so a power loss cannot bring the old file back.
    const std::string folder = FolderOf(target);
    int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}
