#include "link/CModbusCRC.h"
#include "station/CStationLine.h"
#include "station/StationProtocol.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = CStationLine::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::seconds;

// STX, length, payload, ETX, CRC high byte first.
Bytes Frame(const Bytes& payload) {
    Bytes frame;
    frame.reserve(payload.size() + 5);
    frame.push_back(0x02);
    frame.push_back(static_cast<std::uint8_t>(payload.size()));
    for (std::uint8_t byte : payload) {
        frame.push_back(byte);
    }
    frame.push_back(0x03);
    const std::uint16_t crc = CModbusCRC::Compute(frame);
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

const Bytes kMapRequest = {0, kStationReadCommand, 0, 0, 6};
const Bytes kMapReply = {0, kStationReadCommand, 0, 0, 'U', 'P', 'M', 'A', 'P', ':', '0', '0', '0', '1'};

class StationLineTest : public ::testing::Test {
protected:
    StationLineTest() : m_station(std::make_shared<CSimulatedStation>(LineUp())), m_line(m_station) {}

    static CStationLineUp LineUp() {
        CStationLineUp lineUp;
        lineUp.SetModel(1, L"KZ9W");
        return lineUp;
    }

    // Everything that has arrived by `at`.
    Bytes Arrived(Clock::time_point at) {
        Bytes bytes(1024);
        bytes.resize(m_line.Take(bytes.data(), bytes.size(), at));
        return bytes;
    }

    const Clock::time_point m_t0 = Clock::now();
    std::shared_ptr<CSimulatedStation> m_station;
    CStationLine m_line;
};

TEST_F(StationLineTest, AnswersAFrameWithTheReplyFrame) {
    m_line.Receive(Frame(kMapRequest), m_t0);
    EXPECT_EQ(Arrived(m_t0), Frame(kMapReply));
    EXPECT_FALSE(m_line.NextArrival());
}

TEST_F(StationLineTest, FindsFramesInPiecesAndAfterNoiseButNotDamagedOnes) {
    const Bytes frame = Frame(kMapRequest);
    m_line.Receive(Bytes{0xFF, 0x00}, m_t0);
    m_line.Receive(Bytes(frame.begin(), frame.begin() + 4), m_t0);
    EXPECT_TRUE(Arrived(m_t0).empty());
    m_line.Receive(Bytes(frame.begin() + 4, frame.end()), m_t0 + milliseconds(2));
    EXPECT_EQ(Arrived(m_t0 + milliseconds(2)), Frame(kMapReply));

    Bytes damaged = frame;
    damaged.back() ^= 0x01;
    m_line.Receive(damaged, m_t0 + milliseconds(3));
    EXPECT_TRUE(Arrived(m_t0 + milliseconds(4)).empty()) << "no answer to a wrong CRC";
    m_line.Receive(frame, m_t0 + milliseconds(5));
    EXPECT_EQ(Arrived(m_t0 + milliseconds(5)), Frame(kMapReply));

    // The start of a frame that never completed is forgotten after a pause.
    m_line.Receive(Bytes(frame.begin(), frame.begin() + 6), m_t0 + milliseconds(10));
    m_line.Receive(frame, m_t0 + milliseconds(10) + CStationLine::kFrameGap + milliseconds(1));
    EXPECT_EQ(Arrived(m_t0 + seconds(2)), Frame(kMapReply));
    EXPECT_EQ(m_station->GetRequestCount(), 3U);
}

TEST_F(StationLineTest, EachFaultGivesItsOwnBytes) {
    const Bytes good = Frame(kMapReply);
    Bytes wrongStx = good;
    wrongStx[0] = CStationLine::kWrongStx;
    Bytes wrongEtx = good;
    wrongEtx[2 + kMapReply.size()] = 0x00;
    const Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(2 + kMapReply.size()));
    const struct {
        StationFault fault;
        Bytes expected;
    } cases[] = {
        {StationFault::AtRequest(0, StationFault::Kind::WrongStx), wrongStx},
        {StationFault::AtRequest(0, StationFault::Kind::WrongEtx), wrongEtx},
        {StationFault::AtRequest(0, StationFault::Kind::TruncatedBody), truncated},
        {StationFault::AtRequest(0, StationFault::Kind::WrongEcho),
         Frame({1, kStationReadCommand, 0, 0, 'U', 'P', 'M', 'A', 'P', ':', '0', '0', '0', '1'})},
        {StationFault::AtRequest(0, StationFault::Kind::ErrorStatus).WithStatus(7),
         Frame({0, kStationReadCommand, 0, 7})},
        {StationFault::AtRequest(0, StationFault::Kind::ErrorStatus).WithStatus(kStationStatusRedundancy),
         Frame({0, kStationReadCommand, 0, 0x36})},
        {StationFault::AtRequest(0, StationFault::Kind::ShortPayload), Frame({0, kStationReadCommand, 0})},
        {StationFault::AtRequest(0, StationFault::Kind::NoReply), Bytes{}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.fault.kind));
        m_station->ClearRequestLog();
        m_station->InjectFault(test.fault);
        m_line.Receive(Frame(kMapRequest), m_t0);
        EXPECT_EQ(Arrived(m_t0 + seconds(10)), test.expected);
        // The next exchange is clean again.
        m_line.Receive(Frame(kMapRequest), m_t0);
        EXPECT_EQ(Arrived(m_t0 + seconds(10)), good);
    }
}

TEST_F(StationLineTest, ALateReplyArrivesAfterItsDelayAndSurvivesAPurge) {
    m_station->InjectFault(
        StationFault::AtRequest(0, StationFault::Kind::LateReply).WithDelay(milliseconds(1500)));
    m_line.Receive(Frame(kMapRequest), m_t0);
    ASSERT_TRUE(m_line.NextArrival());
    EXPECT_EQ(*m_line.NextArrival(), m_t0 + milliseconds(1500));
    // The computer gives up and purges; the reply is still on its way.
    m_line.DropArrived(m_t0 + milliseconds(1000));
    EXPECT_TRUE(Arrived(m_t0 + milliseconds(1499)).empty());
    EXPECT_EQ(Arrived(m_t0 + milliseconds(1500)), Frame(kMapReply));
}

TEST_F(StationLineTest, PacedRepliesTakeTheLineTimeOfBothFrames) {
    m_station->SetPacing(true);
    const Bytes request = Frame(kMapRequest);
    const Bytes reply = Frame(kMapReply);
    m_line.Receive(request, m_t0);
    const auto byteTime = std::chrono::duration_cast<Clock::duration>(kStationByteTime);
    const Clock::time_point firstByte = m_t0 + byteTime * static_cast<long>(request.size() + 1);
    const Clock::time_point lastByte = m_t0 + byteTime * static_cast<long>(request.size() + reply.size());
    ASSERT_TRUE(m_line.ArrivalOf(reply.size()));
    EXPECT_EQ(*m_line.ArrivalOf(reply.size()), lastByte);
    EXPECT_FALSE(m_line.ArrivalOf(reply.size() + 1));
    EXPECT_TRUE(Arrived(firstByte - microseconds(1)).empty());
    EXPECT_EQ(Arrived(firstByte), Bytes{0x02});
    EXPECT_EQ(Arrived(lastByte - microseconds(1)).size(), reply.size() - 2);
    EXPECT_EQ(Arrived(lastByte).size(), 1U);
    // 10 bits a byte at 9600 bit/s.
    const double wireMilliseconds = static_cast<double>(request.size() + reply.size()) * 10.0 / 9.6;
    const double lastByteMilliseconds = std::chrono::duration<double, std::milli>(lastByte - m_t0).count();
    EXPECT_NEAR(lastByteMilliseconds, wireMilliseconds, 0.01);

    // A second request queued behind a reply still going out waits for it.
    m_line.Receive(request, m_t0);
    m_line.Receive(request, m_t0);
    const Clock::time_point secondEnd =
        m_t0 + byteTime * static_cast<long>(request.size() + 2 * reply.size());
    EXPECT_EQ(Arrived(secondEnd).size(), reply.size());
}

} // namespace
