// Analog output models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// QH7W
constexpr ParameterDefinition kQH7WParameters[] = {
    {KindGroup,        L"ch01",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused01",       1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindDecimal16,    L"bias01",         1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain01",         1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale01",       1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale01",       1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput01", 1, 0x4a, -1500,  11500, -1500, 10, 2, 1, L"RESETOP01",     1,  0,              0, 0},
    {KindGroup,        L"ch02",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused02",       1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindDecimal16,    L"bias02",         1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain02",         1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale02",       1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale02",       1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput02", 1, 0x4b, -1500,  11500, -1500, 10, 2, 1, L"RESETOP02",     1,  0,              0, 0},
    {KindGroup,        L"ch03",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused03",       1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindDecimal16,    L"bias03",         1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain03",         1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale03",       1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale03",       1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput03", 1, 0x4c, -1500,  11500, -1500, 10, 2, 1, L"RESETOP03",     1,  0,              0, 0},
    {KindGroup,        L"ch04",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused04",       1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindDecimal16,    L"bias04",         1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain04",         1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale04",       1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale04",       1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput04", 1, 0x4d, -1500,  11500, -1500, 10, 2, 1, L"RESETOP04",     1,  0,              0, 0},
    {KindGroup,        L"common",         0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindText,         L"version",        0, 0x28, 0,      0,     0,     0,  0, 0, L"K52QH7W_VER",   -1, FlagReadOnly,   0, 0},
    {KindList,         L"simu",           0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",       -1, FlagAdjustment, 0, 0},
    {KindList,         L"offlineout",     0, 0x3a, 0,      1,     0,     0,  0, 0, L"offlineoutLST", -1, 0,              0, 0},
};

constexpr ChannelDefinition kQH7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// QZ7W
constexpr ParameterDefinition kQZ7WParameters[] = {
    {KindGroup,        L"ch01",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused01",       1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindList,         L"rangepc01",      1, 0x42, 0,      6,     0,     0,  0, 0, L"rangePC",       -1, 0,              0, 0},
    {KindDecimal16,    L"bias01",         1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain01",         1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale01",       1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale01",       1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput01", 1, 0x4a, -1500,  11500, -1500, 10, 2, 1, L"RESETOP01",     1,  0,              0, 0},
    {KindGroup,        L"ch02",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused02",       1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindList,         L"rangepc02",      1, 0x43, 0,      6,     0,     0,  0, 0, L"rangePC",       -1, 0,              0, 0},
    {KindDecimal16,    L"bias02",         1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain02",         1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale02",       1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale02",       1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput02", 1, 0x4b, -1500,  11500, -1500, 10, 2, 1, L"RESETOP02",     1,  0,              0, 0},
    {KindGroup,        L"ch03",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused03",       1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindList,         L"rangepc03",      1, 0x44, 0,      6,     0,     0,  0, 0, L"rangePC",       -1, 0,              0, 0},
    {KindDecimal16,    L"bias03",         1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain03",         1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale03",       1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale03",       1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput03", 1, 0x4c, -1500,  11500, -1500, 10, 2, 1, L"RESETOP03",     1,  0,              0, 0},
    {KindGroup,        L"ch04",           0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,         L"unused04",       1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindList,         L"rangepc04",      1, 0x45, 0,      6,     0,     0,  0, 0, L"rangePC",       -1, 0,              0, 0},
    {KindDecimal16,    L"bias04",         1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",        1,  FlagAdjustment, 0, 0},
    {KindDecimal16,    L"gain04",         1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",        -1, FlagAdjustment, 0, 0},
    {KindDecimal16,    L"zscale04",       1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",      -1, 0,              0, 0},
    {KindDecimal16,    L"fscale04",       1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",      -1, 0,              0, 0},
    {KindDecimal16Raw, L"resetoutoput04", 1, 0x4d, -1500,  11500, -1500, 10, 2, 1, L"RESETOP04",     1,  0,              0, 0},
    {KindGroup,        L"common",         0, 0x00, 0,      0,     0,     0,  0, 0, L"",              -1, 0,              0, 0},
    {KindText,         L"version",        0, 0x28, 0,      0,     0,     0,  0, 0, L"K52QZ7W_VER",   -1, FlagReadOnly,   0, 0},
    {KindList,         L"simu",           0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",       -1, FlagAdjustment, 0, 0},
    {KindList,         L"offlineout",     0, 0x3a, 0,      1,     0,     0,  0, 0, L"offlineoutLST", -1, 0,              0, 0},
};

constexpr ChannelDefinition kQZ7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
// clang-format on

} // namespace

const ModelTable& TableQH7W() {
    static const ModelTable table{L"QH7W", kQH7WParameters, kQH7WChannels};
    return table;
}

const ModelTable& TableQZ7W() {
    static const ModelTable table{L"QZ7W", kQZ7WParameters, kQZ7WChannels};
    return table;
}
