#include "link/WireFormat.h"

#include "link/CModbusCRC.h"

#include <algorithm>
#include <stdexcept>

std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> payload) {
    if (payload.size() > kMaxFramePayload) {
        throw std::length_error("frame payload over 255 bytes");
    }
    std::vector<std::uint8_t> frame;
    frame.reserve(payload.size() + kFrameOverhead);
    frame.push_back(kFrameStx);
    frame.push_back(static_cast<std::uint8_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(kFrameEtx);
    const std::uint16_t crc = CModbusCRC::Compute(frame);
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

std::vector<std::uint8_t> EncodeWireText(std::wstring_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text) {
        // A wchar_t is a 32-bit code here, not a byte: a negative one is out of range and sent as '?'.
        // NOLINTNEXTLINE(bugprone-signed-char-misuse)
        const auto code = static_cast<std::uint32_t>(c);
        bytes.push_back(code <= 0xFF ? static_cast<std::uint8_t>(code) : static_cast<std::uint8_t>('?'));
    }
    return bytes;
}

std::wstring DecodeWireText(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    std::wstring text;
    text.reserve(static_cast<std::size_t>(end - bytes.begin()));
    for (auto at = bytes.begin(); at != end; ++at) {
        text.push_back(static_cast<wchar_t>(*at));
    }
    return text;
}
