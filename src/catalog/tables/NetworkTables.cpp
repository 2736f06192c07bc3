// I/O modules that are network gateways.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// BJWQ8W
constexpr ParameterDefinition kBJWQ8WParameters[] = {
    {KindGroup,     L"cclink",     0, 0x00, 0, 0,   0, 0,  0, 0, L"",              -1, 0,              0, 0},
    {KindDecimal16, L"networkid",  0, 0x58, 1, 239, 1, 10, 0, 0, L"NETWORKID",     -1, 0,              0, 0},
    {KindText,      L"stationid",  0, 0x5a, 0, 0,   0, 0,  0, 0, L"STATIONID",     -1, FlagReadOnly,   0, 4},
    {KindText,      L"macadrs",    0, 0x57, 0, 0,   0, 0,  0, 0, L"MACADD",        -1, FlagReadOnly,   0, 3},
    {KindText,      L"linkstatus", 0, 0x5c, 0, 0,   0, 0,  0, 0, L"LINKSTATUS",    -1, FlagReadOnly,   0, 5},
    {KindGroup,     L"common",     0, 0x00, 0, 0,   0, 0,  0, 0, L"",              -1, 0,              0, 0},
    {KindText,      L"version",    0, 0x28, 0, 0,   0, 0,  0, 0, L"K52BJWQ8W_VER", -1, FlagReadOnly,   0, 0},
    {KindList,      L"simu",       0, 0x4b, 0, 1,   0, 0,  0, 0, L"simuLST",       -1, FlagAdjustment, 0, 0},
};

// BJWQ8W and BZKJ8W: four values, each with its second value, the four again alone, and the switch.
constexpr ChannelDefinition kGatewayChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 14, 0, 0, 0, 0, -1, 1, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 15, 0, 0, 0, 0, -1, 1, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 16, 0, 0, 0, 0, -1, 1, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 17, 0, 0, 0, 0, -1, 1, 0, 21},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 14, 0,  0, 0, 0, 0, 1,  0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 15, 0,  0, 0, 0, 0, 1,  0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 16, 0,  0, 0, 0, 0, 1,  0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 17, 0,  0, 0, 0, 0, 1,  0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 75, 0,  0, 0, 0, 0, 0,  0, 0, 0},
};

// BHQB8W
constexpr ParameterDefinition kBHQB8WParameters[] = {
    {KindGroup, L"EtherCAT", 0, 0x00, 0, 0, 0, 0, 0, 0, L"",              -1, 0,              0, 0},
    {KindGroup, L"common",   0, 0x00, 0, 0, 0, 0, 0, 0, L"",              -1, 0,              0, 0},
    {KindText,  L"version",  0, 0x28, 0, 0, 0, 0, 0, 0, L"K52BHQB8W_VER", -1, FlagReadOnly,   0, 0},
    {KindList,  L"simu",     0, 0x4e, 0, 1, 0, 0, 0, 0, L"simuLST",       -1, FlagAdjustment, 0, 0},
};

constexpr ChannelDefinition kBHQB8WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 67, 0, 0, 0, 0, -1, 1, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 11, 68, 0, 0, 0, 0, -1, 1, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 12, 69, 0, 0, 0, 0, -1, 1, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 13, 70, 0, 0, 0, 0, -1, 1, 0, 21},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 67, 0,  0, 0, 0, 0, 1,  0, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 68, 0,  0, 0, 0, 0, 1,  0, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 69, 0,  0, 0, 0, 0, 1,  0, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 70, 0,  0, 0, 0, 0, 1,  0, 0, 21},
    {ChannelSwitch, 0, 0, 0, 0, 0, 0, 0, 78, 0,  0, 0, 0, 0, 0,  0, 0, 0},
};

// BZKJ8W
constexpr ParameterDefinition kBZKJ8WParameters[] = {
    {KindGroup,     L"opcuali",        0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,              0, 0},
    {KindList,      L"anonymouslogin", 0, 0x3a, 0,   2,     1,                    10, 0, 0, L"anonymousLogIn", -1, 0,              0, 0},
    {KindList,      L"userlogin",      0, 0x3b, 0,   1,     1,                    10, 0, 0, L"userLogIn",      -1, 0,              0, 0},
    {KindList,      L"permission01",   0, 0x3c, 0,   1,     1,                    10, 0, 0, L"Permission01",   -1, 0,              0, 0},
    {KindText,      L"loginid01",      0, 0x3d, 0,   0,     0,                    0,  0, 0, L"loginID01",      -1, 0,              0, 6},
    {KindText,      L"password01",     0, 0x3e, 0,   0,     0,                    0,  0, 0, L"PASSWORD01",     -1, 0,              0, 7},
    {KindList,      L"permission02",   0, 0x3f, 0,   1,     1,                    10, 0, 0, L"Permission02",   -1, 0,              0, 0},
    {KindText,      L"loginid02",      0, 0x40, 0,   0,     0,                    0,  0, 0, L"loginID02",      -1, 0,              0, 8},
    {KindText,      L"password02",     0, 0x41, 0,   0,     0,                    0,  0, 0, L"PASSWORD02",     -1, 0,              0, 9},
    {KindGroup,     L"opcuacom",       0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,              0, 0},
    {KindIpAddress, L"ipadrs",         0, 0x58, 0,   0,     Ip(192, 168, 0, 1),   10, 0, 0, L"IP",             -1, 0,              0, 0},
    {KindIpAddress, L"ipmask",         0, 0x5a, 0,   0,     Ip(255, 255, 255, 0), 10, 0, 0, L"SNM",            -1, 0,              0, 0},
    {KindIpAddress, L"ipgw",           0, 0x59, 0,   0,     Ip(192, 168, 0, 100), 10, 0, 0, L"GW",             -1, 0,              0, 0},
    {KindIpAddress, L"dnsipadrs01",    0, 0x54, 0,   0,     Ip(192, 168, 0, 13),  10, 0, 0, L"DNSIP01",        -1, 0,              0, 0},
    {KindIpAddress, L"dnsipadrs02",    0, 0x55, 0,   0,     Ip(192, 168, 0, 13),  10, 0, 0, L"DNSIP02",        -1, 0,              0, 0},
    {KindList,      L"objecttype01",   3, 0x0a, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,              0, 0},
    {KindDecimal16, L"timeout",        0, 0x09, 0,   32567, 300,                  10, 0, 0, L"TIMEOUT",        -1, 0,              0, 0},
    {KindText,      L"macadrs",        0, 0x57, 0,   0,     0,                    0,  0, 0, L"MACADD",         -1, FlagReadOnly,   0, 3},
    {KindGroup,     L"datetimeset",    0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,              0, 0},
    {KindList,      L"sntp",           0, 0x53, 0,   1,     0,                    10, 0, 0, L"unusedLST",      -1, 0,              0, 0},
    {KindText,      L"url",            0, 0x56, 0,   0,     0,                    0,  0, 0, L"URL",            -1, 0,              0, 11},
    {KindDecimal16, L"utc",            0, 0x52, -12, 14,    9,                    10, 0, 1, L"UTC",            -1, 0,              0, 0},
    {KindGroup,     L"common",         0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,              0, 0},
    {KindText,      L"version",        0, 0x28, 0,   0,     0,                    0,  0, 0, L"K52BZKJ8W_VER",  -1, FlagReadOnly,   0, 0},
    {KindList,      L"simu",           0, 0x4b, 0,   1,     0,                    0,  0, 0, L"simuLST",        -1, FlagAdjustment, 0, 0},
};
// clang-format on

} // namespace

const ModelTable& TableBJWQ8W() {
    static const ModelTable table{L"BJWQ8W", kBJWQ8WParameters, kGatewayChannels};
    return table;
}

const ModelTable& TableBHQB8W() {
    static const ModelTable table{L"BHQB8W", kBHQB8WParameters, kBHQB8WChannels};
    return table;
}

const ModelTable& TableBZKJ8W() {
    static const ModelTable table{L"BZKJ8W", kBZKJ8WParameters, kGatewayChannels};
    return table;
}
