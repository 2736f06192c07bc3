// Counter model.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// QB9W
constexpr ParameterDefinition kQB9WParameters[] = {
    {KindGroup,      L"ch01",        0, 0x00, 0, 0,              0,              0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,       L"unused01",    1, 0x3a, 0, 1,              0,              0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindUnsigned32, L"upCount01",   1, 0x2b, 1, kUnsigned32Max, kUnsigned32Max, 10, 0, 0, L"SPAN01",        -1, 0,              0, 0},
    {KindList,       L"ofpreset01",  1, 0x2a, 0, 1,              0,              0,  0, 0, L"ofpresetLST",   -1, 0,              0, 0},
    {KindUnsigned32, L"preset01",    1, 0x02, 0, kUnsigned32Max, 0,              10, 0, 0, L"CURRENT01",     -1, FlagOnDemand,   0, 0},
    {KindUnsigned32, L"unusedVal01", 1, 0x52, 0, kUnsigned32Max, 0,              10, 0, 0, L"REP_VAL01",     -1, 0,              0, 0},
    {KindGroup,      L"ch02",        0, 0x00, 0, 0,              0,              0,  0, 0, L"",              -1, 0,              0, 0},
    {KindList,       L"unused02",    1, 0x3b, 0, 1,              0,              0,  0, 0, L"unusedLST",     -1, 0,              0, 0},
    {KindUnsigned32, L"upCount02",   1, 0x2d, 1, kUnsigned32Max, kUnsigned32Max, 10, 0, 0, L"SPAN02",        -1, 0,              0, 0},
    {KindList,       L"ofpreset02",  1, 0x2c, 0, 1,              0,              0,  0, 0, L"ofpresetLST",   -1, 0,              0, 0},
    {KindUnsigned32, L"preset02",    1, 0x03, 0, kUnsigned32Max, 0,              10, 0, 0, L"CURRENT02",     -1, FlagOnDemand,   0, 0},
    {KindUnsigned32, L"unusedVal02", 1, 0x53, 0, kUnsigned32Max, 0,              10, 0, 0, L"REP_VAL02",     -1, 0,              0, 0},
    {KindGroup,      L"common",      0, 0x00, 0, 0,              0,              0,  0, 0, L"",              -1, 0,              0, 0},
    {KindText,       L"version",     0, 0x28, 0, 0,              0,              0,  0, 0, L"K52QB9W_VER",   -1, FlagReadOnly,   0, 0},
    {KindList,       L"edge",        0, 0x3a, 0, 1,              0,              0,  0, 0, L"edgeLST",       -1, 0,              0, 0},
    {KindList,       L"resetEdge",   0, 0x3b, 0, 1,              0,              0,  0, 0, L"resetEdgeLST",  -1, 0,              0, 0},
    {KindList,       L"resetUse",    0, 0x3c, 0, 1,              1,              0,  0, 0, L"resetUseLST",   -1, 0,              0, 0},
    {KindList,       L"resetByCOM",  0, 0x3d, 0, 1,              1,              0,  0, 0, L"resetByCOMLST", -1, 0,              0, 0},
    {KindList,       L"simu",        0, 0x4e, 0, 1,              0,              0,  0, 0, L"simuLST",       -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kQB9WChannels[] = {
    {ChannelCounter, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {ChannelCounter, 0, 0, 0, 0, 0, 0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {ChannelSwitch,  0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
// clang-format on

} // namespace

const ModelTable& TableQB9W() {
    static const ModelTable table{L"QB9W", kQB9WParameters, kQB9WChannels};
    return table;
}
