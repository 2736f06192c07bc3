// Digital models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// HB58
constexpr ParameterDefinition kHB58Parameters[] = {
    {KindGroup, L"common", 0, 0x00, 0, 0, 0, 0, 0, 0, L"",        -1, 0,              0, 0},
    {KindList,  L"simu",   0, 0x4e, 0, 1, 0, 0, 0, 0, L"simuLST", -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kHB58Channels[] = {
    {ChannelDigital, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 16, 0, 0, 0, 0, 0, 0},
    {ChannelSwitch,  0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0,  0, 0, 0, 0, 0, 0},
};

// HK58
constexpr ParameterDefinition kHK58Parameters[] = {
    {KindGroup, L"common", 0, 0x00, 0, 0, 0, 0, 0, 0, L"",        -1, 0,              0, 0},
    {KindList,  L"simu",   0, 0x4e, 0, 1, 0, 0, 0, 0, L"simuLST", -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kHK58Channels[] = {
    {ChannelDigital, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 16, 0, 0, 0, 0, 0, 0},
    {ChannelSwitch,  0, 0, 0, 0, 0, 0, 0, 78, 0, 0, 0,  0, 0, 0, 0, 0, 0},
};

// DIO
constexpr ParameterDefinition kDIOParameters[] = {
    {KindGroup, L"common", 0, 0x00, 0, 0, 0, 0, 0, 0, L"", -1, 0, 0, 0},
};

constexpr ChannelDefinition kDIOChannels[] = {
    {ChannelDigital, 0, 0, 0, 0, 2, 0, 0, 20, 0, 0, 32, 0, 0, 0, 0, 0, 0},
    {ChannelDigital, 0, 0, 0, 0, 2, 0, 0, 29, 0, 0, 32, 0, 0, 0, 0, 0, 0},
};
// clang-format on

} // namespace

const ModelTable& TableHB58() {
    static const ModelTable table{L"HB58", kHB58Parameters, kHB58Channels};
    return table;
}

const ModelTable& TableHK58() {
    static const ModelTable table{L"HK58", kHK58Parameters, kHK58Channels};
    return table;
}

const ModelTable& TableDIO() {
    static const ModelTable table{L"DIO", kDIOParameters, kDIOChannels};
    return table;
}
