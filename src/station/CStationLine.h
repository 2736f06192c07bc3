#pragma once
#include "station/CSimulatedStation.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// The station's end of a serial line: gathers the computer's bytes into
// request frames, hands their payloads to the station and schedules the reply
// frames' bytes, each with the moment it reaches the computer. Time is passed
// in, so the owner decides how to wait (a condition variable in-process,
// poll() on a pseudo-terminal). Not thread-safe: one owner drives it.
class CStationLine {
public:
    using Clock = std::chrono::steady_clock;

    // The first byte of a reply spoilt with StationFault::Kind::WrongStx.
    static constexpr std::uint8_t kWrongStx = 0x06;
    // A pause in the computer's bytes longer than this ends a frame that
    // never completed; the next byte starts afresh.
    static constexpr std::chrono::milliseconds kFrameGap{500};

    explicit CStationLine(std::shared_ptr<CSimulatedStation> station);

    // Bytes from the computer, arrived at `now`.
    void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now);

    // Copies up to `count` reply bytes that have arrived by `now`.
    std::size_t Take(std::uint8_t* buffer, std::size_t count, Clock::time_point now);

    // When the next reply byte arrives; nothing when no reply is under way.
    std::optional<Clock::time_point> NextArrival() const;

    // When `count` more reply bytes will have arrived; nothing when fewer are
    // on the way.
    std::optional<Clock::time_point> ArrivalOf(std::size_t count) const;

    // Throws away the reply bytes that have arrived by `now`, as a purge of
    // the computer's input buffer does; bytes still on the way stay.
    void DropArrived(Clock::time_point now);

    // The complete reply frame of a payload with a frame-level fault applied.
    static std::vector<std::uint8_t> BuildReplyFrame(const CSimulatedStation::Reply& reply);

private:
    void HandleFrames(Clock::time_point now);
    void Schedule(const CSimulatedStation::Reply& reply, std::size_t requestBytes, Clock::time_point now);

    struct Pending {
        std::uint8_t byte;
        Clock::time_point due;
    };

    std::shared_ptr<CSimulatedStation> m_station;
    std::vector<std::uint8_t> m_input;
    Clock::time_point m_lastInput{};
    Clock::time_point m_transmitterFree{};
    std::deque<Pending> m_output;
};
