#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace linktest {

using Bytes = std::vector<std::uint8_t>;

// CRC-16/MODBUS the slow way, bit by bit: the peer's own reference, so that
// it does not judge the link's frames with the link's code.
std::uint16_t ReferenceCrc(const Bytes& bytes);
// STX, length, payload, ETX and the CRC high byte first.
Bytes ReferenceFrame(const Bytes& payload);

// One request the peer expects and what it sends back.
struct PeerStep {
    Bytes expectedPayload;
    Bytes reply;         // raw bytes, possibly a broken frame
    bool silent = false; // read the request, never answer
};

// The station's side of a pseudo-terminal pair. The link opens SlavePath();
// the peer reads each request frame on the master side, checks its layout,
// CRC and payload against the script and answers with the prepared bytes.
class ScriptedPeer {
public:
    ScriptedPeer();
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    const std::wstring& SlavePath() const { return m_slavePath; }

    // Runs the script on the peer's thread; an earlier script is stopped first.
    void Run(std::vector<PeerStep> steps);
    // Stops the script (the steps not reached are dropped).
    void Finish();
    // Everything the peer found wrong so far (empty: all well).
    std::vector<std::string> Problems() const;
    // Writes bytes to the link outside any script.
    void SendRaw(const Bytes& bytes);
    // Request payloads received so far.
    std::vector<Bytes> Requests() const;

private:
    void Serve(std::vector<PeerStep> steps);
    // Reads exactly count bytes unless the peer is stopped or deadlineMs pass.
    bool ReadExactly(std::uint8_t* buffer, std::size_t count, int deadlineMs);

    int m_master = -1;
    int m_slave = -1;
    std::wstring m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_problems;
    std::vector<Bytes> m_requests;
};

} // namespace linktest
