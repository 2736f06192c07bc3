#pragma once
#include "catalog/ParameterDefinition.h"

#include <algorithm>
#include <array>
#include <cstddef>
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

// Rows that recur with the same definition in every model that has them.
// clang-format off
constexpr ParameterDefinition CommonGroup()                   { return {KindGroup, L"common",   0, 0x00, 0, 0,       0, 0, 0, 0, L"",         -1, 0,              0, 0}; }
constexpr ParameterDefinition Version(const wchar_t* fileKey) { return {KindText,  L"version",  0, 0x28, 0, 0,       0, 0, 0, 0, fileKey,     -1, FlagReadOnly,   0, 0}; }
constexpr ParameterDefinition Simu()                          { return {KindList,  L"simu",     0, 0x4e, 0, 1,       0, 0, 0, 0, L"simuLST",  -1, FlagAdjustment, 0, 0}; }
constexpr ParameterDefinition ConvRate(int maximum)           { return {KindList,  L"convrate", 0, 0x3a, 0, maximum, 0, 0, 0, 0, L"convRATE", -1, 0,              0, 0}; }
// clang-format on

// The keys of one per-channel row for channels 1 to 4: captions, and the file
// keys of number rows, end in the two-digit channel number.
using ChannelKeys = std::array<const wchar_t*, 4>;
inline constexpr ChannelKeys kGroupKeys{L"ch01", L"ch02", L"ch03", L"ch04"};
inline constexpr ChannelKeys kUnusedKeys{L"unused01", L"unused02", L"unused03", L"unused04"};
inline constexpr ChannelKeys kRangePcKeys{L"rangepc01", L"rangepc02", L"rangepc03", L"rangepc04"};
inline constexpr ChannelKeys kUnitKeys{L"unit01", L"unit02", L"unit03", L"unit04"};
inline constexpr ChannelKeys kBurnoutKeys{L"burnout01", L"burnout02", L"burnout03", L"burnout04"};
inline constexpr ChannelKeys kCjcSwKeys{L"cjcsw01", L"cjcsw02", L"cjcsw03", L"cjcsw04"};
inline constexpr ChannelKeys kBiasKeys{L"bias01", L"bias02", L"bias03", L"bias04"};
inline constexpr ChannelKeys kBiasFileKeys{L"BIAS01", L"BIAS02", L"BIAS03", L"BIAS04"};
inline constexpr ChannelKeys kGainKeys{L"gain01", L"gain02", L"gain03", L"gain04"};
inline constexpr ChannelKeys kGainFileKeys{L"GAIN01", L"GAIN02", L"GAIN03", L"GAIN04"};
inline constexpr ChannelKeys kZScaleKeys{L"zscale01", L"zscale02", L"zscale03", L"zscale04"};
inline constexpr ChannelKeys kZScaleFileKeys{L"ZSCALE01", L"ZSCALE02", L"ZSCALE03", L"ZSCALE04"};
inline constexpr ChannelKeys kFScaleKeys{L"fscale01", L"fscale02", L"fscale03", L"fscale04"};
inline constexpr ChannelKeys kFScaleFileKeys{L"FSCALE01", L"FSCALE02", L"FSCALE03", L"FSCALE04"};
inline constexpr ChannelKeys kZBaseKeys{L"zbase01", L"zbase02", L"zbase03", L"zbase04"};
inline constexpr ChannelKeys kZBaseFileKeys{L"ZBASE01", L"ZBASE02", L"ZBASE03", L"ZBASE04"};
inline constexpr ChannelKeys kFBaseKeys{L"fbase01", L"fbase02", L"fbase03", L"fbase04"};
inline constexpr ChannelKeys kFBaseFileKeys{L"FBASE01", L"FBASE02", L"FBASE03", L"FBASE04"};

// Per-channel rows of channel n + 1 (n = 0 to 3), on page 1. ChannelList makes
// the option rows that a model keeps elsewhere.
// clang-format off
constexpr ParameterDefinition ChannelGroup(int n)                             { return {KindGroup,     kGroupKeys[n],   0, 0x00,         0,      0,       0,     0,  0,        0, L"",                -1,   0,              0, 0}; }
constexpr ParameterDefinition Unused(int n)                                   { return {KindList,      kUnusedKeys[n],  1, 0x3a + n,     0,      1,       0,     0,  0,        0, L"unusedLST",       -1,   0,              0, 0}; }
constexpr ParameterDefinition RangePc(int n, int maximum)                     { return {KindList,      kRangePcKeys[n], 1, 0x42 + n,     0,      maximum, 0,     0,  0,        0, L"rangePC",         -1,   0,              0, 0}; }
constexpr ParameterDefinition Bias(int n)                                     { return {KindDecimal16, kBiasKeys[n],    1, 0x0a + 2 * n, -32000, 32000,   0,     10, 2,        1, kBiasFileKeys[n],   1,    FlagAdjustment, 0, 0}; }
constexpr ParameterDefinition Gain(int n)                                     { return {KindDecimal16, kGainKeys[n],    1, 0x0b + 2 * n, -32000, 32000,   10000, 10, 4,        1, kGainFileKeys[n],   -1,   FlagAdjustment, 0, 0}; }
constexpr ParameterDefinition ZScale(int n, int flags = 0)                    { return {KindDecimal16, kZScaleKeys[n],  1, 0x1a + 2 * n, -32000, 32000,   0,     10, 0,        1, kZScaleFileKeys[n], -1,   flags,          0, 0}; }
constexpr ParameterDefinition FScale(int n, int flags = 0)                    { return {KindDecimal16, kFScaleKeys[n],  1, 0x1b + 2 * n, -32000, 32000,   10000, 10, 0,        1, kFScaleFileKeys[n], -1,   flags,          0, 0}; }
constexpr ParameterDefinition ZBase(int n, int decimals, int unit, int flags) { return {KindDecimal16, kZBaseKeys[n],   1, 0x2a + 2 * n, -32000, 32000,   0,     10, decimals, 1, kZBaseFileKeys[n],  unit, flags,          0, 0}; }
constexpr ParameterDefinition FBase(int n, int decimals, int unit, int flags) { return {KindDecimal16, kFBaseKeys[n],   1, 0x2b + 2 * n, -32000, 32000,   0,     10, decimals, 1, kFBaseFileKeys[n],  unit, flags,          0, 0}; }
constexpr ParameterDefinition Burnout(int n)                                  { return {KindList,      kBurnoutKeys[n], 1, 0x52 + n,     0,      2,       1,     0,  0,        0, L"burnOut",         -1,   0,              0, 0}; }
constexpr ParameterDefinition ChannelList(const ChannelKeys& keys, int n, int page, int item, int maximum, int defaultValue,
                                          const wchar_t* list, int flags = 0) {
    return {KindList, keys[n], page, item, 0, maximum, defaultValue, 0, 0, 0, list, -1, flags, 0, 0};
}

// The value of analog channel n + 1 (2 decimals, unit 1) and the simulation switch.
constexpr ChannelDefinition AnalogValue(int n) { return {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10 + n, 0, 0, 2, 0, 0, 1, 0, 0, 18 + n}; }
constexpr ChannelDefinition SimulationSwitch() { return {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78,     0, 0, 0, 0, 0, 0, 0, 0, 0}; }
// clang-format on

// A model's parameter rows: channel(n) for channels 1 to Channels, then the
// rows that follow the channels.
template <int Channels, std::size_t PerChannel, std::size_t After>
constexpr std::array<ParameterDefinition, Channels * PerChannel + After>
ChannelTable(std::array<ParameterDefinition, PerChannel> (*channel)(int),
             const std::array<ParameterDefinition, After>& after) {
    std::array<ParameterDefinition, Channels * PerChannel + After> rows{};
    auto next = rows.begin();
    for (int n = 0; n < Channels; ++n) {
        const std::array<ParameterDefinition, PerChannel> block = channel(n);
        next = std::copy(block.begin(), block.end(), next);
    }
    std::copy(after.begin(), after.end(), next);
    return rows;
}
