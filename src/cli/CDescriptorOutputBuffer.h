#pragma once
#include <array>
#include <streambuf>

// An output stream buffer over a file descriptor that remembers why a write
// failed. k52ctl's results go through it, so that a full disk or a closed
// pipe ends the program with the reason instead of a silent success.
class CDescriptorOutputBuffer : public std::streambuf {
public:
    explicit CDescriptorOutputBuffer(int fd);
    ~CDescriptorOutputBuffer() override;
    CDescriptorOutputBuffer(const CDescriptorOutputBuffer&) = delete;
    CDescriptorOutputBuffer& operator=(const CDescriptorOutputBuffer&) = delete;

    // The errno of the first failed write, 0 while every write succeeded.
    int GetError() const { return m_error; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool WriteOut();

    int m_fd;
    int m_error = 0;
    std::array<char, 8192> m_buffer{};
};
