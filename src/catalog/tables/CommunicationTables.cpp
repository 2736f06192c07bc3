// Communication modules (slot 0).
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// Rows in field order: kind, textKey, page, item, minimum, maximum, default, radix, decimals,
// signed, fileKey, unit, flags, reserved, textSlot. Channel rows: fields 1 to 18.
// clang-format off
// WB52
constexpr ParameterDefinition kWB52Parameters[] = {
    {KindGroup, L"rtu",     0, 0x00, 0, 0, 0, 0, 0, 0, L"",         -1, 0,            0, 0},
    {KindGroup, L"common",  0, 0x00, 0, 0, 0, 0, 0, 0, L"",         -1, 0,            0, 0},
    {KindText,  L"version", 0, 0x28, 0, 0, 0, 0, 0, 0, L"WB52_VER", -1, FlagReadOnly, 0, 0},
};

// QZ52
constexpr ParameterDefinition kQZ52Parameters[] = {
    {KindGroup, L"rtu",     0, 0x00, 0, 0, 0, 0, 0, 0, L"",         -1, 0,            0, 0},
    {KindGroup, L"common",  0, 0x00, 0, 0, 0, 0, 0, 0, L"",         -1, 0,            0, 0},
    {KindText,  L"version", 0, 0x28, 0, 0, 0, 0, 0, 0, L"QZ52_VER", -1, FlagReadOnly, 0, 0},
};

// HQ8
constexpr ParameterDefinition kHQ8Parameters[] = {
    {KindGroup,     L"tcpip",     0, 0x00, 0,  0,     0,                    0,  0, 0, L"",           -1, 0,            0, 0},
    {KindDecimal16, L"timeout",   0, 0x2d, 2,  32000, 30,                   10, 1, 0, L"TIMEOUT",    6,  0,            0, 0},
    {KindIpAddress, L"ipadrs",    0, 0x58, 0,  0,     Ip(192, 168, 0, 1),   10, 0, 0, L"IP",         -1, 0,            0, 0},
    {KindIpAddress, L"ipmask",    0, 0x5a, 0,  0,     Ip(255, 255, 255, 0), 10, 0, 0, L"SNM",        -1, 0,            0, 0},
    {KindIpAddress, L"ipgw",      0, 0x59, 0,  0,     Ip(192, 168, 0, 100), 10, 0, 0, L"GW",         -1, 0,            0, 0},
    {KindDecimal16, L"port1",     0, 0x5c, 1,  32000, 502,                  10, 0, 0, L"PORT01",     -1, 0,            0, 0},
    {KindDecimal16, L"port2",     0, 0x5d, 1,  32000, 502,                  10, 0, 0, L"PORT02",     -1, 0,            0, 0},
    {KindDecimal16, L"port3",     0, 0x5e, 1,  32000, 502,                  10, 0, 0, L"PORT03",     -1, 0,            0, 0},
    {KindDecimal16, L"port4",     0, 0x5f, 1,  32000, 502,                  10, 0, 0, L"PORT04",     -1, 0,            0, 0},
    {KindDecimal16, L"lin",       0, 0x5b, 30, 32000, 1800,                 10, 1, 0, L"LINGER",     6,  0,            0, 0},
    {KindText,      L"macadrs",   0, 0x57, 0,  0,     0,                    0,  0, 0, L"MACADD",     -1, FlagReadOnly, 0, 3},
    {KindGroup,     L"common",    0, 0x00, 0,  0,     0,                    0,  0, 0, L"",           -1, 0,            0, 0},
    {KindText,      L"version",   0, 0x28, 0,  0,     0,                    0,  0, 0, L"K52HQ8_VER", -1, FlagReadOnly, 0, 0},
    {KindList,      L"simStatus", 0, 0x1b, 0,  1,     0,                    0,  0, 0, L"SIMSTATUS",  -1, FlagReadOnly, 0, 0},
};

// HQBZ8
constexpr ParameterDefinition kHQBZ8Parameters[] = {
    {KindGroup, L"rtu",       0, 0x00, 0, 0, 0, 0, 0, 0, L"",             -1, 0,            0, 0},
    {KindGroup, L"common",    0, 0x00, 0, 0, 0, 0, 0, 0, L"",             -1, 0,            0, 0},
    {KindText,  L"version",   0, 0x28, 0, 0, 0, 0, 0, 0, L"K52HQBZ8_VER", -1, FlagReadOnly, 0, 0},
    {KindList,  L"simStatus", 0, 0x1b, 0, 1, 0, 0, 0, 0, L"SIMSTATUS",    -1, FlagReadOnly, 0, 0},
};

// HJWQ8
constexpr ParameterDefinition kHJWQ8Parameters[] = {
    {KindGroup,     L"cclink",     0, 0x00, 0, 0,   0, 0,  0, 0, L"",             -1, 0,            0, 0},
    {KindDecimal16, L"networkid",  0, 0x58, 1, 239, 1, 10, 0, 0, L"NETWORKID",    -1, 0,            0, 0},
    {KindText,      L"stationid",  0, 0x5a, 0, 0,   0, 0,  0, 0, L"STATIONID",    -1, FlagReadOnly, 0, 4},
    {KindText,      L"macadrs",    0, 0x57, 0, 0,   0, 0,  0, 0, L"MACADD",       -1, FlagReadOnly, 0, 3},
    {KindText,      L"linkstatus", 0, 0x5c, 0, 0,   0, 0,  0, 0, L"LINKSTATUS",   -1, FlagReadOnly, 0, 5},
    {KindGroup,     L"common",     0, 0x00, 0, 0,   0, 0,  0, 0, L"",             -1, 0,            0, 0},
    {KindText,      L"version",    0, 0x28, 0, 0,   0, 0,  0, 0, L"K52HJWQ8_VER", -1, FlagReadOnly, 0, 0},
    {KindList,      L"simStatus",  0, 0x1b, 0, 1,   0, 0,  0, 0, L"SIMSTATUS",    -1, FlagReadOnly, 0, 0},
};

// HJWB8
constexpr ParameterDefinition kHJWB8Parameters[] = {
    {KindGroup, L"CC-LinkIE TSN", 0, 0x00, 0, 0, 0, 0, 0, 0, L"",             -1, 0,            0, 0},
    {KindText,  L"stationid",     0, 0x5d, 0, 0, 0, 0, 0, 0, L"STATIONID",    -1, FlagReadOnly, 0, 4},
    {KindText,  L"macadrs",       0, 0x57, 0, 0, 0, 0, 0, 0, L"MACADD",       -1, FlagReadOnly, 0, 3},
    {KindGroup, L"common",        0, 0x00, 0, 0, 0, 0, 0, 0, L"",             -1, 0,            0, 0},
    {KindText,  L"version",       0, 0x28, 0, 0, 0, 0, 0, 0, L"K52HJWB8_VER", -1, FlagReadOnly, 0, 0},
    {KindList,  L"simStatus",     0, 0x1b, 0, 1, 0, 0, 0, 0, L"SIMSTATUS",    -1, FlagReadOnly, 0, 0},
};

// HZKJ8
constexpr ParameterDefinition kHZKJ8Parameters[] = {
    {KindGroup,     L"opcuali",        0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,            0, 0},
    {KindList,      L"anonymouslogin", 0, 0x3a, 0,   2,     1,                    10, 0, 0, L"anonymousLogIn", -1, 0,            0, 0},
    {KindList,      L"userlogin",      0, 0x3b, 0,   1,     1,                    10, 0, 0, L"userLogIn",      -1, 0,            0, 0},
    {KindList,      L"permission01",   0, 0x3c, 0,   1,     1,                    10, 0, 0, L"Permission01",   -1, 0,            0, 0},
    {KindText,      L"loginid01",      0, 0x3d, 0,   0,     0,                    0,  0, 0, L"loginID01",      -1, 0,            0, 6},
    {KindText,      L"password01",     0, 0x3e, 0,   0,     0,                    0,  0, 0, L"PASSWORD01",     -1, 0,            0, 7},
    {KindList,      L"permission02",   0, 0x3f, 0,   1,     1,                    10, 0, 0, L"Permission02",   -1, 0,            0, 0},
    {KindText,      L"loginid02",      0, 0x40, 0,   0,     0,                    0,  0, 0, L"loginID02",      -1, 0,            0, 8},
    {KindText,      L"password02",     0, 0x41, 0,   0,     0,                    0,  0, 0, L"PASSWORD02",     -1, 0,            0, 9},
    {KindGroup,     L"opcuacom",       0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,            0, 0},
    {KindIpAddress, L"ipadrs",         0, 0x58, 0,   0,     Ip(192, 168, 0, 1),   10, 0, 0, L"IP",             -1, 0,            0, 0},
    {KindIpAddress, L"ipmask",         0, 0x5a, 0,   0,     Ip(255, 255, 255, 0), 10, 0, 0, L"SNM",            -1, 0,            0, 0},
    {KindIpAddress, L"ipgw",           0, 0x59, 0,   0,     Ip(192, 168, 0, 100), 10, 0, 0, L"GW",             -1, 0,            0, 0},
    {KindIpAddress, L"dnsipadrs01",    0, 0x54, 0,   0,     Ip(192, 168, 0, 13),  10, 0, 0, L"DNSIP01",        -1, 0,            0, 0},
    {KindIpAddress, L"dnsipadrs02",    0, 0x55, 0,   0,     Ip(192, 168, 0, 13),  10, 0, 0, L"DNSIP02",        -1, 0,            0, 0},
    {KindList,      L"objecttype01",   3, 0x0a, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype02",   3, 0x0b, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype03",   3, 0x0c, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype04",   3, 0x0d, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype05",   3, 0x0e, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype06",   3, 0x0f, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype07",   3, 0x10, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype08",   3, 0x11, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype09",   3, 0x12, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype10",   3, 0x13, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype11",   3, 0x14, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype12",   3, 0x15, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype13",   3, 0x16, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype14",   3, 0x17, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype15",   3, 0x18, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindList,      L"objecttype16",   3, 0x19, 0,   6,     0,                    10, 0, 0, L"objectType",     -1, 0,            0, 0},
    {KindDecimal16, L"timeout",        0, 0x09, 0,   32567, 300,                  10, 0, 0, L"TIMEOUT",        -1, 0,            0, 0},
    {KindText,      L"macadrs",        0, 0x57, 0,   0,     0,                    0,  0, 0, L"MACADD",         -1, FlagReadOnly, 0, 3},
    {KindGroup,     L"datetimeset",    0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,            0, 0},
    {KindList,      L"sntp",           0, 0x53, 0,   1,     0,                    10, 0, 0, L"unusedLST",      -1, 0,            0, 0},
    {KindText,      L"url",            0, 0x56, 0,   0,     0,                    0,  0, 0, L"URL",            -1, 0,            0, 11},
    {KindText,      L"datetime",       0, 0x51, 0,   0,     0,                    0,  0, 0, L"DATETIME",       -1, FlagOnDemand, 0, 10},
    {KindDecimal16, L"utc",            0, 0x52, -12, 14,    9,                    10, 0, 1, L"UTC",            -1, 0,            0, 0},
    {KindGroup,     L"common",         0, 0x00, 0,   0,     0,                    0,  0, 0, L"",               -1, 0,            0, 0},
    {KindText,      L"version",        0, 0x28, 0,   0,     0,                    0,  0, 0, L"K52HZKJ8_VER",   -1, FlagReadOnly, 0, 0},
};

constexpr ChannelDefinition kHZKJ8Channels[] = {
    {ChannelDateTime, 0, 0, 0, 0, 0, 0, 0, 81, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
// clang-format on

} // namespace

const ModelTable& TableWB52() {
    static const ModelTable table{L"WB52", kWB52Parameters, {}};
    return table;
}

const ModelTable& TableQZ52() {
    static const ModelTable table{L"QZ52", kQZ52Parameters, {}};
    return table;
}

const ModelTable& TableHQ8() {
    static const ModelTable table{L"HQ8", kHQ8Parameters, {}};
    return table;
}

const ModelTable& TableHQBZ8() {
    static const ModelTable table{L"HQBZ8", kHQBZ8Parameters, {}};
    return table;
}

const ModelTable& TableHJWQ8() {
    static const ModelTable table{L"HJWQ8", kHJWQ8Parameters, {}};
    return table;
}

const ModelTable& TableHJWB8() {
    static const ModelTable table{L"HJWB8", kHJWB8Parameters, {}};
    return table;
}

const ModelTable& TableHZKJ8() {
    static const ModelTable table{L"HZKJ8", kHZKJ8Parameters, kHZKJ8Channels};
    return table;
}
