#pragma once
#include <cstdint>

// Helpers shared by the table files. Rows are written in the field order of
// ParameterDefinition:
//   kind, textKey, page, item, minimum, maximum, default, radix, decimals,
//   signed, fileKey, unit, flags, reserved, textSlot
// and channel rows in the field order of ChannelDefinition (1 to 18).

// An IPv4 address as the modules store it: first octet in the top byte.
constexpr std::int32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return static_cast<std::int32_t>((a << 24) | (b << 16) | (c << 8) | d);
}

// Upper bound of an Unsigned32 row, 4294967295 held in a signed field.
constexpr std::int32_t kUnsigned32Max = -1;
