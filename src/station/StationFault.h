#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

// A fault that the simulated station plays on chosen exchanges, so that the
// link's handling of a misbehaving station can be exercised at will.
struct StationFault {
    enum class Kind {
        NoReply,       // the request is carried out, nothing comes back
        LateReply,     // the reply comes after `delay`
        WrongStx,      // the reply's first byte is not STX
        WrongEcho,     // the reply's address byte differs from the request's
        ErrorStatus,   // the request is turned down with status `status`
        WrongEtx,      // the byte after the payload is not ETX
        TruncatedBody, // the length byte announces more bytes than follow
        ShortPayload   // the reply payload ends before its status byte
    };

    Kind kind = Kind::NoReply;
    std::uint8_t status = 0;            // ErrorStatus only
    std::chrono::milliseconds delay{0}; // LateReply only

    // Which exchanges it spoils: the request with this index in the log, or
    // the requests whose fields match (a field left empty matches anything).
    std::optional<std::size_t> requestIndex;
    std::optional<std::uint8_t> address;
    std::optional<std::uint8_t> command;
    std::optional<std::uint8_t> page;
    std::optional<std::uint8_t> item;

    // How many matching exchanges it spoils; 0 means every one.
    int times = 1;

    static StationFault AtRequest(std::size_t index, Kind kind) {
        StationFault fault;
        fault.kind = kind;
        fault.requestIndex = index;
        return fault;
    }

    static StationFault AtItem(std::uint8_t address, std::uint8_t page, std::uint8_t item, Kind kind) {
        StationFault fault;
        fault.kind = kind;
        fault.address = address;
        fault.page = page;
        fault.item = item;
        return fault;
    }

    StationFault& WithStatus(std::uint8_t value) {
        status = value;
        return *this;
    }
    StationFault& WithDelay(std::chrono::milliseconds value) {
        delay = value;
        return *this;
    }
    // Only requests with this command byte (a read or a write).
    StationFault& ForCommand(std::uint8_t value) {
        command = value;
        return *this;
    }
    StationFault& Times(int count) {
        times = count;
        return *this;
    }
};
