#include "ScriptedPeer.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace linktest {

std::uint16_t ReferenceCrc(const Bytes& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

Bytes ReferenceFrame(const Bytes& payload) {
    Bytes frame;
    frame.reserve(payload.size() + 5);
    frame.push_back(0x02);
    frame.push_back(static_cast<std::uint8_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(0x03);
    const std::uint16_t crc = ReferenceCrc(frame);
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

namespace {

std::string Hex(const Bytes& bytes) {
    std::ostringstream out;
    out << std::hex;
    for (std::uint8_t b : bytes) {
        out << (b < 16 ? " 0" : " ") << static_cast<int>(b);
    }
    return out.str();
}

} // namespace

ScriptedPeer::ScriptedPeer() {
    char name[128] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    m_slavePath = std::wstring(name, name + std::char_traits<char>::length(name));
}

ScriptedPeer::~ScriptedPeer() {
    Finish();
    ::close(m_slave);
    ::close(m_master);
}

void ScriptedPeer::Run(std::vector<PeerStep> steps) {
    Finish();
    m_stop = false;
    m_thread = std::thread([this, steps = std::move(steps)]() mutable { Serve(std::move(steps)); });
}

void ScriptedPeer::Finish() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

std::vector<std::string> ScriptedPeer::Problems() const {
    std::lock_guard lock(m_mutex);
    return m_problems;
}

void ScriptedPeer::SendRaw(const Bytes& bytes) {
    if (::write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot write to the pseudo-terminal");
    }
}

std::vector<Bytes> ScriptedPeer::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool ScriptedPeer::ReadExactly(std::uint8_t* buffer, std::size_t count, int deadlineMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    std::size_t got = 0;
    while (got < count && !m_stop && std::chrono::steady_clock::now() < deadline) {
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, 20) <= 0) {
            continue;
        }
        const ssize_t n = ::read(m_master, buffer + got, count - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            // EIO while nobody holds the slave open; try again later.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return got == count;
}

void ScriptedPeer::Serve(std::vector<PeerStep> steps) {
    auto problem = [this](std::string text) {
        std::lock_guard lock(m_mutex);
        m_problems.push_back(std::move(text));
    };
    for (std::size_t index = 0; index < steps.size() && !m_stop; ++index) {
        const PeerStep& step = steps[index];
        const std::string where = "request " + std::to_string(index) + ":";
        std::uint8_t header[2];
        // A step may wait for its request while the test does other things.
        if (!ReadExactly(header, 2, 60000)) {
            if (!m_stop) {
                problem(where + " no request arrived");
            }
            return;
        }
        Bytes rest(header[1] + 3u);
        if (!ReadExactly(rest.data(), rest.size(), 2000)) {
            problem(where + " request frame cut short");
            return;
        }
        Bytes frame(header, header + 2);
        frame.reserve(2 + rest.size());
        frame.insert(frame.end(), rest.begin(), rest.end());
        const Bytes payload(frame.begin() + 2, frame.begin() + 2 + header[1]);
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(payload);
        }
        if (frame != ReferenceFrame(payload)) {
            problem(where + " malformed frame" + Hex(frame));
        }
        if (payload != step.expectedPayload) {
            problem(where + " payload" + Hex(payload) + " instead of" + Hex(step.expectedPayload));
        }
        if (!step.silent && !step.reply.empty() &&
            ::write(m_master, step.reply.data(), step.reply.size()) !=
                static_cast<ssize_t>(step.reply.size())) {
            problem(where + " reply not written");
        }
    }
}

} // namespace linktest
