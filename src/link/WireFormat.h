#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Byte layout shared by the computer's side of the link and by anything that
// plays the station's side (the simulated station reuses these helpers).
//
// A frame is STX, the payload length, the payload, ETX, then the CRC of
// everything from STX through ETX, high byte first.
inline constexpr std::uint8_t kFrameStx = 0x02;
inline constexpr std::uint8_t kFrameEtx = 0x03;
inline constexpr std::size_t kMaxFramePayload = 255;
inline constexpr std::size_t kFrameOverhead = 5;

// An item write carries address, command, a zero, page, item and the text's
// length before the text, so one frame takes a text of at most this many characters.
inline constexpr std::size_t kItemWriteHeader = 6;
inline constexpr std::size_t kMaxItemWriteText = kMaxFramePayload - kItemWriteHeader;

// The complete frame of a payload. A payload over kMaxFramePayload bytes has
// no length byte and raises std::length_error instead of being cut.
std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> payload);

// Texts travel one byte per character in Latin-1; characters beyond it go out
// as '?', so the station never receives a byte the user did not mean.
std::vector<std::uint8_t> EncodeWireText(std::wstring_view text);

// The text of received bytes: Latin-1, ending at the first zero byte or at the
// end of the range.
std::wstring DecodeWireText(std::span<const std::uint8_t> bytes);
