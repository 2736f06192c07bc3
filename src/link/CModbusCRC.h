#pragma once
#include <cstdint>
#include <span>

// CRC-16/MODBUS (reflected polynomial 0xA001, start 0xFFFF, no final xor),
// table-driven. A fresh object is passed through every byte of a range, for
// example with std::for_each, and the pair (high, low) is read from the result.
class CModbusCRC {
public:
    CModbusCRC() = default;
    CModbusCRC(const CModbusCRC&) = default;
    CModbusCRC& operator=(const CModbusCRC&) = default;
    virtual ~CModbusCRC();

    void Update(std::uint8_t byte);
    void operator()(std::uint8_t byte) { Update(byte); }

    std::uint8_t GetHigh() const { return static_cast<std::uint8_t>(m_high); }
    std::uint8_t GetLow() const { return static_cast<std::uint8_t>(m_low); }
    std::uint16_t GetValue() const { return static_cast<std::uint16_t>((m_high << 8) | m_low); }

    // The CRC of a whole range.
    static std::uint16_t Compute(std::span<const std::uint8_t> bytes);

private:
    std::uint16_t m_high = 0xFF;
    std::uint16_t m_low = 0xFF;
};
