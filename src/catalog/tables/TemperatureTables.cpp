// Temperature input models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// BQ7W
constexpr ParameterDefinition kBQ7WParameters[] = {
    {KindGroup,     L"ch01",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused01",  1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc01", 1, 0x42, 0,      8,     0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit01",    1, 0x5a, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase01",   1, 0x2a, -32000, 32000, 0,     10, 1, 1, L"ZBASE01",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase01",   1, 0x2b, -32000, 32000, 0,     10, 1, 1, L"FBASE01",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias01",    1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain01",    1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale01",  1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale01",  1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",    -1, 0,                 0, 0},
    {KindList,      L"burnout01", 1, 0x52, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindGroup,     L"ch02",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused02",  1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc02", 1, 0x43, 0,      8,     0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit02",    1, 0x5b, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase02",   1, 0x2c, -32000, 32000, 0,     10, 1, 1, L"ZBASE02",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase02",   1, 0x2d, -32000, 32000, 0,     10, 1, 1, L"FBASE02",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias02",    1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain02",    1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale02",  1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale02",  1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",    -1, 0,                 0, 0},
    {KindList,      L"burnout02", 1, 0x53, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindGroup,     L"ch03",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused03",  1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc03", 1, 0x44, 0,      8,     0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit03",    1, 0x5c, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase03",   1, 0x2e, -32000, 32000, 0,     10, 1, 1, L"ZBASE03",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase03",   1, 0x2f, -32000, 32000, 0,     10, 1, 1, L"FBASE03",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias03",    1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain03",    1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale03",  1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale03",  1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",    -1, 0,                 0, 0},
    {KindList,      L"burnout03", 1, 0x54, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindGroup,     L"ch04",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused04",  1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc04", 1, 0x45, 0,      8,     0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit04",    1, 0x5d, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase04",   1, 0x30, -32000, 32000, 0,     10, 1, 1, L"ZBASE04",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase04",   1, 0x31, -32000, 32000, 0,     10, 1, 1, L"FBASE04",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias04",    1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain04",    1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale04",  1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale04",  1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",    -1, 0,                 0, 0},
    {KindList,      L"burnout04", 1, 0x55, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindGroup,     L"common",    0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindText,      L"version",   0, 0x28, 0,      0,     0,     0,  0, 0, L"K52BQ7W_VER", -1, FlagReadOnly,      0, 0},
    {KindList,      L"convrate",  0, 0x3a, 0,      1,     0,     0,  0, 0, L"convRATE",    -1, 0,                 0, 0},
    {KindList,      L"simu",      0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",     -1, FlagAdjustment,    0, 0},
};

constexpr ChannelDefinition kBQ7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 1, 0, 0, 3, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

// ZQ7W
constexpr ParameterDefinition kZQ7WParameters[] = {
    {KindGroup,     L"ch01",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused01",  1, 0x3a, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc01", 1, 0x42, 0,      12,    0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit01",    1, 0x5a, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase01",   1, 0x2a, -32000, 32000, 0,     10, 1, 1, L"ZBASE01",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase01",   1, 0x2b, -32000, 32000, 0,     10, 1, 1, L"FBASE01",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias01",    1, 0x0a, -32000, 32000, 0,     10, 2, 1, L"BIAS01",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain01",    1, 0x0b, -32000, 32000, 10000, 10, 4, 1, L"GAIN01",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale01",  1, 0x1a, -32000, 32000, 0,     10, 0, 1, L"ZSCALE01",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale01",  1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01",    -1, 0,                 0, 0},
    {KindList,      L"burnout01", 1, 0x52, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindList,      L"cjcsw01",   2, 0x4a, 0,      1,     1,     0,  0, 0, L"cjcSW",       -1, 0,                 0, 0},
    {KindGroup,     L"ch02",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused02",  1, 0x3b, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc02", 1, 0x43, 0,      12,    0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit02",    1, 0x5b, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase02",   1, 0x2c, -32000, 32000, 0,     10, 1, 1, L"ZBASE02",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase02",   1, 0x2d, -32000, 32000, 0,     10, 1, 1, L"FBASE02",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias02",    1, 0x0c, -32000, 32000, 0,     10, 2, 1, L"BIAS02",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain02",    1, 0x0d, -32000, 32000, 10000, 10, 4, 1, L"GAIN02",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale02",  1, 0x1c, -32000, 32000, 0,     10, 0, 1, L"ZSCALE02",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale02",  1, 0x1d, -32000, 32000, 10000, 10, 0, 1, L"FSCALE02",    -1, 0,                 0, 0},
    {KindList,      L"burnout02", 1, 0x53, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindList,      L"cjcsw02",   2, 0x4b, 0,      1,     1,     0,  0, 0, L"cjcSW",       -1, 0,                 0, 0},
    {KindGroup,     L"ch03",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused03",  1, 0x3c, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc03", 1, 0x44, 0,      12,    0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit03",    1, 0x5c, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase03",   1, 0x2e, -32000, 32000, 0,     10, 1, 1, L"ZBASE03",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase03",   1, 0x2f, -32000, 32000, 0,     10, 1, 1, L"FBASE03",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias03",    1, 0x0e, -32000, 32000, 0,     10, 2, 1, L"BIAS03",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain03",    1, 0x0f, -32000, 32000, 10000, 10, 4, 1, L"GAIN03",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale03",  1, 0x1e, -32000, 32000, 0,     10, 0, 1, L"ZSCALE03",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale03",  1, 0x1f, -32000, 32000, 10000, 10, 0, 1, L"FSCALE03",    -1, 0,                 0, 0},
    {KindList,      L"burnout03", 1, 0x54, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindList,      L"cjcsw03",   2, 0x4c, 0,      1,     1,     0,  0, 0, L"cjcSW",       -1, 0,                 0, 0},
    {KindGroup,     L"ch04",      0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindList,      L"unused04",  1, 0x3d, 0,      1,     0,     0,  0, 0, L"unusedLST",   -1, 0,                 0, 0},
    {KindList,      L"rangepc04", 1, 0x45, 0,      12,    0,     0,  0, 0, L"rangePC",     -1, 0,                 0, 0},
    {KindList,      L"unit04",    1, 0x5d, 0,      2,     0,     0,  0, 0, L"Unit",        -1, FlagAdjustContext, 0, 0},
    {KindDecimal16, L"zbase04",   1, 0x30, -32000, 32000, 0,     10, 1, 1, L"ZBASE04",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"fbase04",   1, 0x31, -32000, 32000, 0,     10, 1, 1, L"FBASE04",     3,  FlagAdjustContext, 0, 0},
    {KindDecimal16, L"bias04",    1, 0x10, -32000, 32000, 0,     10, 2, 1, L"BIAS04",      1,  FlagAdjustment,    0, 0},
    {KindDecimal16, L"gain04",    1, 0x11, -32000, 32000, 10000, 10, 4, 1, L"GAIN04",      -1, FlagAdjustment,    0, 0},
    {KindDecimal16, L"zscale04",  1, 0x20, -32000, 32000, 0,     10, 0, 1, L"ZSCALE04",    -1, 0,                 0, 0},
    {KindDecimal16, L"fscale04",  1, 0x21, -32000, 32000, 10000, 10, 0, 1, L"FSCALE04",    -1, 0,                 0, 0},
    {KindList,      L"burnout04", 1, 0x55, 0,      2,     1,     0,  0, 0, L"burnOut",     -1, 0,                 0, 0},
    {KindList,      L"cjcsw04",   2, 0x4d, 0,      1,     1,     0,  0, 0, L"cjcSW",       -1, 0,                 0, 0},
    {KindGroup,     L"common",    0, 0x00, 0,      0,     0,     0,  0, 0, L"",            -1, 0,                 0, 0},
    {KindText,      L"version",   0, 0x28, 0,      0,     0,     0,  0, 0, L"K52ZQ7W_VER", -1, FlagReadOnly,      0, 0},
    {KindList,      L"convrate",  0, 0x3a, 0,      1,     0,     0,  0, 0, L"convRATE",    -1, 0,                 0, 0},
    {KindList,      L"simu",      0, 0x4e, 0,      1,     0,     0,  0, 0, L"simuLST",     -1, FlagAdjustment,    0, 0},
};

constexpr ChannelDefinition kZQ7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 1, 0, 0, 3, 0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 2, 0, 0, 1, 0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 2, 0, 0, 1, 0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 2, 0, 0, 1, 0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
// clang-format on

} // namespace

const ModelTable& TableBQ7W() {
    static const ModelTable table{L"BQ7W", kBQ7WParameters, kBQ7WChannels};
    return table;
}

const ModelTable& TableZQ7W() {
    static const ModelTable table{L"ZQ7W", kZQ7WParameters, kZQ7WChannels};
    return table;
}
