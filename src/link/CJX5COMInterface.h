#pragma once
#include "base/CResourceManager.h"
#include "link/CComSettings.h"
#include "link/CSerialIO.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

// The link to a station: one request frame, one reply frame per exchange, and
// the two item commands built on it. Every failure is raised as
// CPrivateException; a cancelled link raises the empty text and refuses every
// later exchange.
//
// The protocol has no sequence number: a reply is known as the reply to the
// request only because nothing else is on the line. So after an exchange has
// failed on the line (a time-out, a short or invalid reply) the link drains
// the line before the failure leaves it, and it stays wary until an exchange
// has ended with the line quiet after its reply: a stale reply arriving late
// is followed by the reply to the request in hand, and that exchange fails
// rather than take the stale one.
class CJX5COMInterface : public CResourceManager {
public:
    CJX5COMInterface();
    ~CJX5COMInterface() override;
    CJX5COMInterface(const CJX5COMInterface&) = delete;
    CJX5COMInterface& operator=(const CJX5COMInterface&) = delete;

    const CComSettings& GetSettings() const { return m_settings; }
    CComSettings& GetSettings() { return m_settings; }
    void SetSettings(const CComSettings& settings) { m_settings = settings; }

    // Opens the port of the settings; its failures keep their own texts.
    void Open();
    void Close();
    // The one call another thread may make while an exchange runs.
    void Cancel();
    bool IsCancelled() const { return m_cancelled.load(); }

    std::wstring ReadItem(std::uint32_t address, std::uint32_t page, std::uint32_t item);
    void ReadItems(std::uint32_t address, const std::vector<std::uint32_t>& pages,
                   const std::vector<std::uint32_t>& items, std::vector<std::wstring>& texts);
    void WriteItem(std::uint32_t address, std::uint32_t page, std::uint32_t item, const std::wstring& text);
    void ReadThenWriteItem(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                           const std::wstring& text);
    void WriteItems(std::uint32_t address, const std::vector<std::uint32_t>& pages,
                    const std::vector<std::uint32_t>& items, const std::vector<std::wstring>& texts);

    // Called on the owning thread after each request the station has
    // answered; empty for none. For a progress count of items.
    void SetExchangeObserver(std::function<void()> observer) { m_exchangeDone = std::move(observer); }

    // Frame layer, public for the commands' callers that need a raw exchange.
    void SendFrame(const std::vector<std::uint8_t>& payload);
    void ReceiveFrame(std::vector<std::uint8_t>& payload);
    void CheckReply(std::uint8_t expectedEcho, const std::vector<std::uint8_t>& payload);
    void ThrowIfCancelled() const;

    static constexpr std::uint32_t kReplyTimeoutMs = 1000;
    // Line quiet for this long means a station has ended its frame: at 9600
    // baud the bytes of a frame follow each other about a millisecond apart,
    // and an adapter hands them on within its latency timer (16 ms by default).
    static constexpr std::uint32_t kSettleMs = 100;
    // After a time-out the drain waits this long for a late reply to begin,
    // so that a station answering up to 0.3 s past the time-out is drained.
    static constexpr std::uint32_t kLateReplyMs = 300;
    // A line that never falls quiet (noise, a long backlog) is given up on.
    static constexpr std::uint32_t kDrainBoundMs = 2000;

    // What the line has done since the link was made; Open and Close keep
    // them. Readable from any thread.
    struct Counts {
        std::uint64_t exchanges = 0;      // requests sent
        std::uint64_t timeouts = 0;       // replies missing or cut short
        std::uint64_t invalidReplies = 0; // replies malformed, for another address or stale
        std::uint64_t errorStatuses = 0;  // requests the station turned down
    };
    Counts GetCounts() const;

private:
    // One request and its reply payload, with echo and status checked unless
    // the attribute read's fallback takes a high status; drains the line when
    // the exchange fails on it.
    std::vector<std::uint8_t> Transact(const std::vector<std::uint8_t>& request, bool attributeRead = false);
    // One request and its reply payload, not yet checked.
    std::vector<std::uint8_t> Exchange(const std::vector<std::uint8_t>& payload);
    [[noreturn]] void RaiseTimeout();
    [[noreturn]] void RaiseInvalidReply();
    std::wstring ReadItemUnwrapped(std::uint32_t address, std::uint32_t page, std::uint32_t item);
    void WriteItemUnwrapped(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                            const std::wstring& text);
    [[noreturn]] void RaiseLinkFailure(const PlainMessageKey& word, std::uint32_t address, std::uint32_t number,
                                       std::uint32_t count, const std::exception& inner) const;

    CSerialIO m_port;
    CComSettings m_settings;
    std::atomic<bool> m_cancelled{false};

    // Owning thread only: set by a failure on the line, cleared by the
    // exchange that drains after it.
    enum class LineFault { None, Timeout, Invalid };
    LineFault m_lineFault = LineFault::None;
    // Set from a failure on the line until an exchange ends with the line
    // quiet after its reply.
    bool m_wary = false;
    bool m_openedBefore = false;
    std::function<void()> m_exchangeDone;

    std::atomic<std::uint64_t> m_exchanges{0};
    std::atomic<std::uint64_t> m_timeouts{0};
    std::atomic<std::uint64_t> m_invalidReplies{0};
    std::atomic<std::uint64_t> m_errorStatuses{0};
};
