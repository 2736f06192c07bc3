#pragma once
#include <csignal>

// While one exists, a write beyond the file-size limit fails with EFBIG like
// any other write error instead of ending the program by SIGXFSZ. Only the
// default disposition is changed (a handler someone set stays), and only
// meanwhile.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored();
    ~FileSizeSignalIgnored();
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
#ifndef _WIN32 // Windows has no such signal: a write beyond the limit simply fails there.
    struct sigaction m_previous {};
    bool m_changed = false;
#endif
};
