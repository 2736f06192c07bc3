#include "link/CJX5COMInterface.h"

#include "base/CPrivateException.h"
#include "link/Protocol.h"
#include "link/WireFormat.h"

#include <stdexcept>
#include <string>

namespace {

// Reply payload: echo, two bytes the link does not read, status, then text.
constexpr std::size_t kReplyHeaderSize = 4;
constexpr std::size_t kStatusOffset = 3;
// The lowest status of the attribute read that means "no attributes".
constexpr std::uint8_t kAttributeFallbackStatus = 50;

std::uint8_t Low(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

CJX5COMInterface::CJX5COMInterface() = default;

CJX5COMInterface::~CJX5COMInterface() = default;

void CJX5COMInterface::Open() {
    m_port.ApplySettings(m_settings);
    m_port.SetReadTimeout(kReplyTimeoutMs);
    if (!m_openedBefore && !m_port.StartsClean()) {
        // Whoever used the line before (a program ended or cancelled in the
        // middle of an exchange) may have left a reply on its way: it goes
        // before the first request, and the first reply must end on a quiet
        // line. Later openings of the same link follow its own exchanges.
        m_openedBefore = true;
        m_wary = true;
        m_port.Drain(kSettleMs, kSettleMs, kDrainBoundMs);
    }
}

void CJX5COMInterface::Close() {
    m_port.Close();
}

void CJX5COMInterface::Cancel() {
    // The flag first: a worker woken by the port finds it set.
    m_cancelled.store(true);
    m_port.CancelPending();
}

void CJX5COMInterface::ThrowIfCancelled() const {
    if (m_cancelled.load()) {
        throw CPrivateException::Cancellation();
    }
}

void CJX5COMInterface::SendFrame(const std::vector<std::uint8_t>& payload) {
    ThrowIfCancelled();
    // The length byte cannot say more than 255; a longer request would be
    // read by the station with a wrong length and corrupt the exchange.
    if (payload.size() > kMaxFramePayload) {
        throw CPrivateException(FailureKind::Other, L"request too long for one frame (" +
                                                        std::to_wstring(payload.size()) +
                                                        L" bytes, at most 255)");
    }
    const std::vector<std::uint8_t> frame = BuildFrame(payload);
    m_port.Purge(CSerialBackend::kPurgeTxAbort | CSerialBackend::kPurgeRxAbort |
                 CSerialBackend::kPurgeTxClear | CSerialBackend::kPurgeRxClear);
    m_port.Write(frame.data(), frame.size());
    m_exchanges.fetch_add(1);
}

CJX5COMInterface::Counts CJX5COMInterface::GetCounts() const {
    Counts counts;
    counts.exchanges = m_exchanges.load();
    counts.timeouts = m_timeouts.load();
    counts.invalidReplies = m_invalidReplies.load();
    counts.errorStatuses = m_errorStatuses.load();
    return counts;
}

void CJX5COMInterface::RaiseTimeout() {
    m_timeouts.fetch_add(1);
    m_lineFault = LineFault::Timeout;
    throw CPrivateException(FailureKind::Timeout, GetMessage(Msg::jx5com_timeout));
}

void CJX5COMInterface::RaiseInvalidReply() {
    m_invalidReplies.fetch_add(1);
    m_lineFault = LineFault::Invalid;
    throw CPrivateException(FailureKind::InvalidReply, GetMessage(Msg::jx5com_invres));
}

void CJX5COMInterface::ReceiveFrame(std::vector<std::uint8_t>& payload) {
    m_port.SetReadTimeout(kReplyTimeoutMs);
    ThrowIfCancelled();
    std::uint8_t header[2] = {0, 0};
    if (m_port.Read(header, 2) < 2) {
        RaiseTimeout();
    }
    if (header[0] != kFrameStx) {
        RaiseInvalidReply();
    }
    ThrowIfCancelled();
    const std::size_t length = header[1];
    std::vector<std::uint8_t> body(length + 3);
    if (m_port.Read(body.data(), body.size()) < body.size()) {
        RaiseTimeout();
    }
    if (body[length] != kFrameEtx) {
        RaiseInvalidReply();
    }
    // The reply's CRC is not checked: stations in the field send it unreliably.
    payload.assign(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(length));
}

void CJX5COMInterface::CheckReply(std::uint8_t expectedEcho, const std::vector<std::uint8_t>& payload) {
    if (payload.size() < 2) {
        return;
    }
    // Two or three bytes carry an echo but no status to judge.
    if (payload.size() < kReplyHeaderSize) {
        RaiseInvalidReply();
    }
    const std::uint8_t status = payload[kStatusOffset];
    if (payload[0] != expectedEcho) {
        RaiseInvalidReply();
    }
    if (status != 0) {
        m_errorStatuses.fetch_add(1);
    }
    if (status == kStationStatusRedundancy) {
        throw CPrivateException(FailureKind::StationStatus, GetMessage(Msg::jx5com_redundantfail));
    }
    if (status != 0) {
        throw CPrivateException(FailureKind::StationStatus,
                                FormatMessage(Msg::jx5com_errcode, static_cast<int>(status)));
    }
}

std::vector<std::uint8_t> CJX5COMInterface::Exchange(const std::vector<std::uint8_t>& payload) {
    SendFrame(payload);
    std::vector<std::uint8_t> reply;
    ReceiveFrame(reply);
    // A command's reply always has echo and status; anything shorter would
    // otherwise pass as a success without a word from the station.
    if (reply.size() < kReplyHeaderSize) {
        RaiseInvalidReply();
    }
    if (m_wary) {
        // A station sends one frame per request: a frame that another one
        // follows was the late reply to an earlier request. The drain has
        // taken what followed, so the line is not drained again.
        if (m_port.Drain(kSettleMs, kSettleMs, kDrainBoundMs) > 0) {
            m_invalidReplies.fetch_add(1);
            throw CPrivateException(FailureKind::InvalidReply, GetMessage(Msg::jx5com_invres));
        }
        m_wary = false;
    }
    return reply;
}

std::vector<std::uint8_t> CJX5COMInterface::Transact(const std::vector<std::uint8_t>& request,
                                                     bool attributeRead) {
    m_lineFault = LineFault::None;
    try {
        std::vector<std::uint8_t> reply = Exchange(request);
        // Communication modules without the attribute item answer its read
        // with a high status; the caller makes the default of it.
        if (!attributeRead || reply[kStatusOffset] < kAttributeFallbackStatus) {
            CheckReply(request[0], reply);
        }
        if (m_exchangeDone) {
            m_exchangeDone();
        }
        return reply;
    } catch (const std::exception&) {
        // A station turning a request down has answered it; the line is in
        // step. After a fault on the line the rest of a frame, or a late
        // reply, may still come: it goes before the failure is reported.
        // A cancel ends at once.
        if (m_lineFault != LineFault::None) {
            m_wary = true;
            if (!IsCancelled()) {
                m_port.Drain(m_lineFault == LineFault::Timeout ? kLateReplyMs : kSettleMs, kSettleMs,
                             kDrainBoundMs);
            }
            m_lineFault = LineFault::None;
        }
        throw;
    }
}

std::wstring CJX5COMInterface::ReadItemUnwrapped(std::uint32_t address, std::uint32_t page,
                                                 std::uint32_t item) {
    const std::vector<std::uint8_t> request = {Low(address), kStationReadCommand, 0x00, Low(page), Low(item)};
    const bool attributeRead = address == 0 && page == 0 && item == 27;
    const std::vector<std::uint8_t> reply = Transact(request, attributeRead);
    // Communication modules without the attribute item answer its read with a
    // high status; they have no attributes, which reads as all zeros.
    if (attributeRead && reply[kStatusOffset] >= kAttributeFallbackStatus) {
        return L"ATTRIB:0000";
    }
    return DecodeWireText(std::span<const std::uint8_t>(reply).subspan(kReplyHeaderSize));
}

void CJX5COMInterface::WriteItemUnwrapped(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                                          const std::wstring& text) {
    const std::vector<std::uint8_t> bytes = EncodeWireText(text);
    std::vector<std::uint8_t> request = {Low(address), kStationWriteCommand,
                                         0x00,         Low(page),
                                         Low(item),    Low(static_cast<std::uint32_t>(bytes.size()))};
    request.insert(request.end(), bytes.begin(), bytes.end());
    Transact(request);
}

std::wstring CJX5COMInterface::ReadItem(std::uint32_t address, std::uint32_t page, std::uint32_t item) {
    try {
        return ReadItemUnwrapped(address, page, item);
    } catch (const std::exception& error) {
        RaiseLinkFailure(Msg::jx5com_item, address, item, 1, error);
    }
}

void CJX5COMInterface::ReadItems(std::uint32_t address, const std::vector<std::uint32_t>& pages,
                                 const std::vector<std::uint32_t>& items, std::vector<std::wstring>& texts) {
    std::size_t k = 0;
    try {
        if (pages.size() < items.size()) {
            k = pages.size();
            throw std::invalid_argument("the page list is shorter than the item list");
        }
        for (; k < items.size(); ++k) {
            const std::vector<std::uint8_t> request = {Low(address), kStationReadCommand, 0x00, Low(pages[k]),
                                                       Low(items[k])};
            const std::vector<std::uint8_t> reply = Transact(request);
            texts.push_back(DecodeWireText(std::span<const std::uint8_t>(reply).subspan(kReplyHeaderSize)));
        }
    } catch (const std::exception& error) {
        RaiseLinkFailure(Msg::jx5com_item, address, static_cast<std::uint32_t>(k), 1, error);
    }
}

void CJX5COMInterface::WriteItem(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                                 const std::wstring& text) {
    try {
        WriteItemUnwrapped(address, page, item, text);
    } catch (const std::exception& error) {
        RaiseLinkFailure(Msg::jx5com_item, address, item, 1, error);
    }
}

void CJX5COMInterface::ReadThenWriteItem(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                                         const std::wstring& text) {
    try {
        ReadItem(address, page, item);
        WriteItemUnwrapped(address, page, item, text);
    } catch (const std::exception& error) {
        // Every failure is reported as this one, a cancellation too (its
        // callers ask the link whether it was cancelled); what went wrong
        // keeps its kind.
        const FailureKind kind = IsCancellation(error) ? FailureKind::Other : GetFailureKind(error);
        throw CPrivateException(kind, GetMessage(Msg::jx5com_overcount));
    }
}

void CJX5COMInterface::WriteItems(std::uint32_t address, const std::vector<std::uint32_t>& pages,
                                  const std::vector<std::uint32_t>& items,
                                  const std::vector<std::wstring>& texts) {
    try {
        // Checked before anything is written: a half-written module is worse
        // than none.
        if (pages.size() < items.size() || texts.size() < items.size()) {
            throw std::invalid_argument("the page or text list is shorter than the item list");
        }
        for (std::size_t k = 0; k < items.size(); ++k) {
            WriteItemUnwrapped(address, pages[k], items[k], texts[k]);
        }
    } catch (const std::exception& error) {
        RaiseLinkFailure(Msg::jx5com_item, address, static_cast<std::uint32_t>(items.size()), 1, error);
    }
}

void CJX5COMInterface::RaiseLinkFailure(const PlainMessageKey& word, std::uint32_t address, std::uint32_t number,
                                        std::uint32_t count, const std::exception& inner) const {
    // A cancelled operation never reports a failure, whatever went wrong on
    // the way (the text look-up included).
    ThrowIfCancelled();
    const std::wstring reason = GetExceptionMessage(inner, 1024);
    throw CPrivateException(GetFailureKind(inner),
                            FormatMessage(Msg::jx5com_comfail, GetMessage(word), static_cast<int>(address),
                                          static_cast<int>(number), static_cast<int>(count), reason));
}
