// Analog input models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// KB7HW
constexpr ParameterDefinition kKB7HWParameters[] = {
    {KindGroup,     L"ch01",       0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused01",   1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc01",  1, 0x42, 0,      5,     0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias01",     1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain01",     1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale01",   1, 0x1a, 0,      64000, 0,     10, 0, 0, L"ZSCALE01",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale01",   1, 0x1b, 0,      64000, 0,     10, 0, 0, L"FSCALE01",     -1, 0,              0, 0},
    {KindDecimal16, L"dropout01",  1, 0x5a, 5,      500,   10,    10, 1, 0, L"DROP_OUT01",   1,  0,              0, 0},
    {KindGroup,     L"ch02",       0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused02",   1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc02",  1, 0x43, 0,      12,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias02",     1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain02",     1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale02",   1, 0x1c, 0,      64000, 0,     10, 0, 0, L"ZSCALE02",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale02",   1, 0x1d, 0,      64000, 0,     10, 0, 0, L"FSCALE02",     -1, 0,              0, 0},
    {KindDecimal16, L"dropout02",  1, 0x5b, 5,      500,   10,    10, 1, 0, L"DROP_OUT02",   1,  0,              0, 0},
    {KindGroup,     L"ch03",       0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused03",   1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc03",  1, 0x44, 0,      12,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias03",     1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain03",     1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale03",   1, 0x1e, 0,      64000, 0,     10, 0, 0, L"ZSCALE03",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale03",   1, 0x1f, 0,      64000, 0,     10, 0, 0, L"FSCALE03",     -1, 0,              0, 0},
    {KindDecimal16, L"dropout03",  1, 0x5c, 5,      500,   10,    10, 1, 0, L"DROP_OUT03",   1,  0,              0, 0},
    {KindGroup,     L"ch04",       0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused04",   1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc04",  1, 0x45, 0,      12,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias04",     1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain04",     1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale04",   1, 0x20, 0,      64000, 0,     10, 0, 0, L"ZSCALE04",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale04",   1, 0x21, 0,      64000, 0,     10, 0, 0, L"FSCALE04",     -1, 0,              0, 0},
    {KindDecimal16, L"dropout04",  1, 0x5d, 5,      500,   10,    10, 1, 0, L"DROP_OUT04",   1,  0,              0, 0},
    {KindGroup,     L"common",     0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindText,      L"version",    0, 0x28, 0,      0,     0,     0,  0, 0, L"K52KB7HW_VER", -1, FlagReadOnly,   0, 0},
    {KindList,      L"convrate",   0, 0x3a, 0,      3,     0,     0,  0, 0, L"convRATE",     -1, 0,              0, 0},
    {KindDecimal16, L"powerDELAY", 0, 0x1a, 0,      600,   50,    10, 1, 0, L"POW_TIMER01",  6,  0,              0, 0},
    {KindList,      L"simu",       0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",      -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kKB7HWChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// KZ9W
constexpr ParameterDefinition kKZ9WParameters[] = {
    {KindGroup,     L"ch01",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused01",  1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindList,      L"rangepc01", 1, 0x42, 0,      11,    0,     0,  0, 0, L"rangePC",     -1, 0,              0, 0},
    {KindDecimal16, L"bias01",    1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",      1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain01",    1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",      -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale01",  1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",    -1, 0,              0, 0},
    {KindDecimal16, L"fscale01",  1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",    -1, 0,              0, 0},
    {KindGroup,     L"ch02",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused02",  1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindList,      L"rangepc02", 1, 0x43, 0,      11,    0,     0,  0, 0, L"rangePC",     -1, 0,              0, 0},
    {KindDecimal16, L"bias02",    1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",      1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain02",    1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",      -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale02",  1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",    -1, 0,              0, 0},
    {KindDecimal16, L"fscale02",  1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",    -1, 0,              0, 0},
    {KindGroup,     L"common",    0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindText,      L"version",   0, 0x28, 0,      0,     0,     0,  0, 0, L"K52KZ9W_VER", -1, FlagReadOnly,   0, 0},
    {KindList,      L"convrate",  0, 0x3a, 0,      3,     0,     0,  0, 0, L"convRATE",    -1, 0,              0, 0},
    {KindList,      L"simu",      0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",     -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kKZ9WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// KZ7W
constexpr ParameterDefinition kKZ7WParameters[] = {
    {KindGroup,     L"ch01",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused01",  1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindList,      L"rangepc01", 1, 0x42, 0,      11,    0,     0,  0, 0, L"rangePC",     -1, 0,              0, 0},
    {KindDecimal16, L"bias01",    1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",      1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain01",    1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",      -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale01",  1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",    -1, 0,              0, 0},
    {KindDecimal16, L"fscale01",  1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",    -1, 0,              0, 0},
    {KindGroup,     L"ch02",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused02",  1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindList,      L"rangepc02", 1, 0x43, 0,      11,    0,     0,  0, 0, L"rangePC",     -1, 0,              0, 0},
    {KindDecimal16, L"bias02",    1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",      1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain02",    1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",      -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale02",  1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",    -1, 0,              0, 0},
    {KindDecimal16, L"fscale02",  1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",    -1, 0,              0, 0},
    {KindGroup,     L"ch03",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused03",  1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindList,      L"rangepc03", 1, 0x44, 0,      11,    0,     0,  0, 0, L"rangePC",     -1, 0,              0, 0},
    {KindDecimal16, L"bias03",    1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",      1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain03",    1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",      -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale03",  1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",    -1, 0,              0, 0},
    {KindDecimal16, L"fscale03",  1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",    -1, 0,              0, 0},
    {KindGroup,     L"ch04",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused04",  1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindList,      L"rangepc04", 1, 0x45, 0,      11,    0,     0,  0, 0, L"rangePC",     -1, 0,              0, 0},
    {KindDecimal16, L"bias04",    1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",      1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain04",    1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",      -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale04",  1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",    -1, 0,              0, 0},
    {KindDecimal16, L"fscale04",  1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",    -1, 0,              0, 0},
    {KindGroup,     L"common",    0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindText,      L"version",   0, 0x28, 0,      0,     0,     0,  0, 0, L"K52KZ7W_VER", -1, FlagReadOnly,   0, 0},
    {KindList,      L"convrate",  0, 0x3a, 0,      3,     0,     0,  0, 0, L"convRATE",    -1, 0,              0, 0},
    {KindList,      L"simu",      0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",     -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kKZ7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// JZB7W
constexpr ParameterDefinition kJZB7WParameters[] = {
    {KindGroup,     L"ch01",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused01",  1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc01", 1, 0x42, 0,      11,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias01",    1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain01",    1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale01",  1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale01",  1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",     -1, 0,              0, 0},
    {KindGroup,     L"ch02",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused02",  1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc02", 1, 0x43, 0,      11,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias02",    1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain02",    1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale02",  1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale02",  1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",     -1, 0,              0, 0},
    {KindGroup,     L"ch03",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused03",  1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc03", 1, 0x44, 0,      11,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias03",    1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain03",    1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale03",  1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale03",  1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",     -1, 0,              0, 0},
    {KindGroup,     L"ch04",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindList,      L"unused04",  1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",    -1, 0,              0, 0},
    {KindList,      L"rangepc04", 1, 0x45, 0,      11,    0,     0,  0, 0, L"rangePC",      -1, 0,              0, 0},
    {KindDecimal16, L"bias04",    1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",       1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"gain04",    1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",       -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale04",  1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",     -1, 0,              0, 0},
    {KindDecimal16, L"fscale04",  1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",     -1, 0,              0, 0},
    {KindGroup,     L"common",    0, 0x00, 0,      0,     0,     0,  0, 0, L"",             -1, 0,              0, 0},
    {KindText,      L"version",   0, 0x28, 0,      0,     0,     0,  0, 0, L"K52JZB7W_VER", -1, FlagReadOnly,   0, 0},
    {KindList,      L"average",   0, 0x3a, 0,      8,     0,     0,  0, 0, L"averageNUM",   -1, 0,              0, 0},
    {KindList,      L"simu",      0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",      -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kJZB7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// HJ7W
constexpr ParameterDefinition kHJ7WParameters[] = {
    {KindGroup,     L"ch01",     0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused01", 1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindDecimal16, L"zbase01",  1, 0x2a, -32000, 32000, 0,     10, 2, 1, L"ZBASE01",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"fbase01",  1, 0x2b, -32000, 32000, 0,     10, 2, 1, L"FBASE01",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale01", 1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",    -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"fscale01", 1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",    -1, FlagAdjustment, 0, 0},
    {KindGroup,     L"ch02",     0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused02", 1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindDecimal16, L"zbase02",  1, 0x2c, -32000, 32000, 0,     10, 2, 1, L"ZBASE02",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"fbase02",  1, 0x2d, -32000, 32000, 0,     10, 2, 1, L"FBASE02",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale02", 1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",    -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"fscale02", 1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",    -1, FlagAdjustment, 0, 0},
    {KindGroup,     L"ch03",     0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused03", 1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindDecimal16, L"zbase03",  1, 0x2e, -32000, 32000, 0,     10, 2, 1, L"ZBASE03",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"fbase03",  1, 0x2f, -32000, 32000, 0,     10, 2, 1, L"FBASE03",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale03", 1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",    -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"fscale03", 1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",    -1, FlagAdjustment, 0, 0},
    {KindGroup,     L"ch04",     0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindList,      L"unused04", 1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,              0, 0},
    {KindDecimal16, L"zbase04",  1, 0x30, -32000, 32000, 0,     10, 2, 1, L"ZBASE04",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"fbase04",  1, 0x31, -32000, 32000, 0,     10, 2, 1, L"FBASE04",     1,  FlagAdjustment, 0, 0},
    {KindDecimal16, L"zscale04", 1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",    -1, FlagAdjustment, 0, 0},
    {KindDecimal16, L"fscale04", 1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",    -1, FlagAdjustment, 0, 0},
    {KindGroup,     L"common",   0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,              0, 0},
    {KindText,      L"version",  0, 0x28, 0,      0,     0,     0,  0, 0, L"K52HJ7W_VER", -1, FlagReadOnly,   0, 0},
    {KindList,      L"convrate", 0, 0x3a, 0,      3,     0,     0,  0, 0, L"convRATE",    -1, 0,              0, 0},
    {KindList,      L"simu",     0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",     -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kHJ7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 10, 90, 0, 0, 2, 0, -1, 1, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 11, 91, 0, 0, 2, 0, -1, 1, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 12, 92, 0, 0, 2, 0, -1, 1, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 13, 93, 0, 0, 2, 0, -1, 1, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0,  0, 0, 0, 0, 0,  0, 0, 0},
};

// ZKH7JW
constexpr ParameterDefinition kZKH7JWParameters[] = {
    {KindGroup, L"common",  0, 0x00, 0, 0, 0, 0, 0, 0, L"",              -1, 0,            0, 0},
    {KindText,  L"version", 0, 0x28, 0, 0, 0, 0, 0, 0, L"K52ZKH7JW_VER", -1, FlagReadOnly, 0, 0},
    {KindList,  L"FetchDS", 0, 0x3a, 0, 1, 1, 0, 0, 0, L"FetchDSLST",    -1, 0,            0, 0},
};

constexpr ChannelDefinition kZKH7JWChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 2, 0, 0, 1, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
};
// clang-format on

} // namespace

const ModelTable& TableKB7HW() {
    static const ModelTable table{L"KB7HW", kKB7HWParameters, kKB7HWChannels};
    return table;
}

const ModelTable& TableKZ9W() {
    static const ModelTable table{L"KZ9W", kKZ9WParameters, kKZ9WChannels};
    return table;
}

const ModelTable& TableKZ7W() {
    static const ModelTable table{L"KZ7W", kKZ7WParameters, kKZ7WChannels};
    return table;
}

const ModelTable& TableJZB7W() {
    static const ModelTable table{L"JZB7W", kJZB7WParameters, kJZB7WChannels};
    return table;
}

const ModelTable& TableHJ7W() {
    static const ModelTable table{L"HJ7W", kHJ7WParameters, kHJ7WChannels};
    return table;
}

const ModelTable& TableZKH7JW() {
    static const ModelTable table{L"ZKH7JW", kZKH7JWParameters, kZKH7JWChannels};
    return table;
}
