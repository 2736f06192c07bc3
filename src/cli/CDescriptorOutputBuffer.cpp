#include "cli/CDescriptorOutputBuffer.h"

#include <cerrno>
#include <unistd.h>

CDescriptorOutputBuffer::CDescriptorOutputBuffer(int fd) : m_fd(fd) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

CDescriptorOutputBuffer::~CDescriptorOutputBuffer() {
    WriteOut();
}

bool CDescriptorOutputBuffer::WriteOut() {
    const char* data = pbase();
    auto left = static_cast<std::size_t>(pptr() - pbase());
    // After a failure nothing more goes out: the output is broken already.
    while (left > 0 && m_error == 0) {
        const ssize_t written = ::write(m_fd, data, left);
        if (written < 0) {
            if (errno != EINTR) {
                m_error = errno;
            }
            continue;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return m_error == 0;
}

CDescriptorOutputBuffer::int_type CDescriptorOutputBuffer::overflow(int_type c) {
    if (!WriteOut()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int CDescriptorOutputBuffer::sync() {
    return WriteOut() ? 0 : -1;
}
