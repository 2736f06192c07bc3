#include "base/FileSizeSignal.h"

#ifdef _WIN32

FileSizeSignalIgnored::FileSizeSignalIgnored() = default;
FileSizeSignalIgnored::~FileSizeSignalIgnored() = default;

#else

FileSizeSignalIgnored::FileSizeSignalIgnored() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    if (::sigaction(SIGXFSZ, nullptr, &m_previous) == 0 && m_previous.sa_handler == SIG_DFL) {
        m_changed = ::sigaction(SIGXFSZ, &ignore, nullptr) == 0;
    }
}

FileSizeSignalIgnored::~FileSizeSignalIgnored() {
    if (m_changed) {
        ::sigaction(SIGXFSZ, &m_previous, nullptr);
    }
}

#endif
