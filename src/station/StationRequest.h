#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// One request as the simulated station received it, with what it answered.
struct StationRequest {
    std::uint8_t address = 0;
    std::uint8_t command = 0;
    std::uint8_t page = 0;
    std::uint8_t item = 0;
    std::wstring text;                              // the written text of a write request
    std::vector<std::uint8_t> payload;              // the request payload as it came
    bool answered = false;                          // a reply went back (even a spoilt one)
    std::uint8_t status = 0;                        // the status byte the reply carried
    std::chrono::steady_clock::time_point received; // when the station took the request
};
