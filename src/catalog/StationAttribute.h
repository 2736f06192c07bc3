#pragma once
#include <cstdint>

// The station attribute word, as the communication module reports it while
// its parameters are uploaded. It belongs to the rack that read it (0 for a
// rack that never read one) and decides how that rack's 16-point digital
// modules are made, read and written.
class StationAttribute {
public:
    constexpr StationAttribute() = default;
    constexpr explicit StationAttribute(std::uint16_t word) : m_word(word) {}

    constexpr std::uint16_t GetWord() const { return m_word; }
    // Whether the 16-point digital modules are read and written as modules of
    // their own. Otherwise they are made as plain digital modules, read
    // through the communication module and left out of every write.
    constexpr bool AddressesDigital16() const { return m_word == 1; }

    constexpr bool operator==(const StationAttribute&) const = default;

private:
    std::uint16_t m_word = 0;
};
