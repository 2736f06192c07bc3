#include "station/CStationLine.h"

#include "link/CModbusCRC.h"
#include "link/WireFormat.h"
#include "station/StationProtocol.h"

#include <algorithm>

CStationLine::CStationLine(std::shared_ptr<CSimulatedStation> station) : m_station(std::move(station)) {}

void CStationLine::Receive(std::span<const std::uint8_t> bytes, Clock::time_point now) {
    if (bytes.empty()) {
        return;
    }
    if (!m_input.empty() && now - m_lastInput > kFrameGap) {
        m_input.clear();
    }
    m_lastInput = now;
    m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    HandleFrames(now);
}

void CStationLine::HandleFrames(Clock::time_point now) {
    for (;;) {
        // A frame starts with STX; anything before it is line noise.
        const auto stx = std::find(m_input.begin(), m_input.end(), kFrameStx);
        m_input.erase(m_input.begin(), stx);
        if (m_input.size() < 2) {
            return;
        }
        const std::size_t length = m_input[1];
        const std::size_t frameBytes = length + kFrameOverhead;
        if (m_input.size() < frameBytes) {
            return;
        }
        const std::span<const std::uint8_t> frame(m_input.data(), frameBytes);
        const std::uint16_t crc = CModbusCRC::Compute(frame.first(length + 3));
        const bool intact = frame[length + 2] == kFrameEtx && frame[length + 3] == (crc >> 8) &&
                            frame[length + 4] == (crc & 0xFF);
        if (!intact) {
            // A station does not answer a damaged frame. The STX may have been
            // noise, so look for the next one from the byte after it.
            m_input.erase(m_input.begin());
            continue;
        }
        const CSimulatedStation::Reply reply = m_station->HandleRequest(frame.subspan(2, length));
        m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(frameBytes));
        Schedule(reply, frameBytes, now);
    }
}

std::vector<std::uint8_t> CStationLine::BuildReplyFrame(const CSimulatedStation::Reply& reply) {
    std::vector<std::uint8_t> frame = BuildFrame(reply.payload);
    if (reply.frameFault) {
        const std::size_t etx = reply.payload.size() + 2;
        switch (*reply.frameFault) {
        case StationFault::Kind::WrongStx:
            frame[0] = kWrongStx;
            break;
        case StationFault::Kind::WrongEtx:
            frame[etx] = 0x00;
            break;
        case StationFault::Kind::TruncatedBody:
            frame.resize(etx);
            break;
        default:
            break;
        }
    }
    return frame;
}

void CStationLine::Schedule(const CSimulatedStation::Reply& reply, std::size_t requestBytes,
                            Clock::time_point now) {
    if (!reply.send) {
        return;
    }
    const bool paced = m_station->IsPacing();
    const auto byteTime = std::chrono::duration_cast<Clock::duration>(kStationByteTime);
    // The request came in one burst; on a real line its last byte arrives a
    // line time after its first.
    const Clock::time_point requestEnd = paced ? now + byteTime * static_cast<long>(requestBytes) : now;
    Clock::time_point due = std::max(requestEnd + reply.delay, m_transmitterFree);
    for (std::uint8_t byte : BuildReplyFrame(reply)) {
        if (paced) {
            due += byteTime;
        }
        m_output.push_back({byte, due});
    }
    m_transmitterFree = due;
}

std::size_t CStationLine::Take(std::uint8_t* buffer, std::size_t count, Clock::time_point now) {
    std::size_t taken = 0;
    while (taken < count && !m_output.empty() && m_output.front().due <= now) {
        buffer[taken++] = m_output.front().byte;
        m_output.pop_front();
    }
    return taken;
}

std::optional<CStationLine::Clock::time_point> CStationLine::NextArrival() const {
    if (m_output.empty()) {
        return std::nullopt;
    }
    return m_output.front().due;
}

std::optional<CStationLine::Clock::time_point> CStationLine::ArrivalOf(std::size_t count) const {
    if (count == 0 || count > m_output.size()) {
        return std::nullopt;
    }
    return m_output[count - 1].due;
}

void CStationLine::DropArrived(Clock::time_point now) {
    while (!m_output.empty() && m_output.front().due <= now) {
        m_output.pop_front();
    }
}
