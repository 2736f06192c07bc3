// Analog input models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// clang-format off
// KB7HW: "zscale" and "fscale" unsigned from 0 to 64000, and a "dropout" per channel.
constexpr ChannelKeys kDropoutKeys{L"dropout01", L"dropout02", L"dropout03", L"dropout04"};
constexpr ChannelKeys kDropoutFileKeys{L"DROP_OUT01", L"DROP_OUT02", L"DROP_OUT03", L"DROP_OUT04"};

constexpr std::array<ParameterDefinition, 8> KB7HWChannel(int n) {
    return {ChannelGroup(n),
            Unused(n),
            RangePc(n, n == 0 ? 5 : 12),
            Bias(n),
            Gain(n),
            ParameterDefinition{KindDecimal16, kZScaleKeys[n], 1, 0x1a + 2 * n, 0, 64000, 0, 10, 0, 0, kZScaleFileKeys[n], -1, 0, 0, 0},
            ParameterDefinition{KindDecimal16, kFScaleKeys[n], 1, 0x1b + 2 * n, 0, 64000, 0, 10, 0, 0, kFScaleFileKeys[n], -1, 0, 0, 0},
            ParameterDefinition{KindDecimal16, kDropoutKeys[n], 1, 0x5a + n, 5, 500, 10, 10, 1, 0, kDropoutFileKeys[n], 1, 0, 0, 0}};
}

constexpr auto kKB7HWParameters = ChannelTable<4>(KB7HWChannel, std::array{
    CommonGroup(),
    Version(L"K52KB7HW_VER"),
    ConvRate(3),
    ParameterDefinition{KindDecimal16, L"powerDELAY", 0, 0x1a, 0, 600, 50, 10, 1, 0, L"POW_TIMER01", 6, 0, 0, 0},
    Simu()});

// KZ9W (two channels), KZ7W and JZB7W (four).
constexpr std::array<ParameterDefinition, 7> KZChannel(int n) {
    return {ChannelGroup(n),
            Unused(n),
            RangePc(n, 11),
            Bias(n),
            Gain(n),
            ZScale(n),
            FScale(n)};
}

constexpr auto kKZ9WParameters = ChannelTable<2>(KZChannel, std::array{CommonGroup(), Version(L"K52KZ9W_VER"), ConvRate(3), Simu()});
constexpr auto kKZ7WParameters = ChannelTable<4>(KZChannel, std::array{CommonGroup(), Version(L"K52KZ7W_VER"), ConvRate(3), Simu()});
constexpr auto kJZB7WParameters = ChannelTable<4>(KZChannel, std::array{
    CommonGroup(),
    Version(L"K52JZB7W_VER"),
    ParameterDefinition{KindList, L"average", 0, 0x3a, 0, 8, 0, 0, 0, 0, L"averageNUM", -1, 0, 0, 0},
    Simu()});

// HJ7W: "zbase" and "fbase" with 2 decimals in unit 1; all four are adjustments.
constexpr std::array<ParameterDefinition, 6> HJ7WChannel(int n) {
    return {ChannelGroup(n),
            Unused(n),
            ZBase(n, 2, 1, FlagAdjustment),
            FBase(n, 2, 1, FlagAdjustment),
            ZScale(n, FlagAdjustment),
            FScale(n, FlagAdjustment)};
}

constexpr auto kHJ7WParameters = ChannelTable<4>(HJ7WChannel, std::array{CommonGroup(), Version(L"K52HJ7W_VER"), ConvRate(3), Simu()});

constexpr ChannelDefinition kHJ7WChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 10, 90, 0, 0, 2, 0, -1, 1, 0, 18},
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 11, 91, 0, 0, 2, 0, -1, 1, 0, 19},
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 12, 92, 0, 0, 2, 0, -1, 1, 0, 20},
    {ChannelAnalog, 0, 0, 0, 0, 0, 1, 0, 13, 93, 0, 0, 2, 0, -1, 1, 0, 21},
    SimulationSwitch(),
};

// ZKH7JW
constexpr ParameterDefinition kZKH7JWParameters[] = {
    CommonGroup(),
    Version(L"K52ZKH7JW_VER"),
    {KindList, L"FetchDS", 0, 0x3a, 0, 1, 1, 0, 0, 0, L"FetchDSLST", -1, 0, 0, 0},
};
// clang-format on

constexpr ChannelDefinition kTwoChannels[] = {AnalogValue(0), AnalogValue(1), SimulationSwitch()};
constexpr ChannelDefinition kFourChannels[] = {AnalogValue(0), AnalogValue(1), AnalogValue(2), AnalogValue(3),
                                               SimulationSwitch()};
constexpr ChannelDefinition kZKH7JWChannels[] = {AnalogValue(0), AnalogValue(1), AnalogValue(2),
                                                 AnalogValue(3)};

} // namespace

const ModelTable& TableKB7HW() {
    static const ModelTable table{L"KB7HW", kKB7HWParameters, kFourChannels};
    return table;
}

const ModelTable& TableKZ9W() {
    static const ModelTable table{L"KZ9W", kKZ9WParameters, kTwoChannels};
    return table;
}

const ModelTable& TableKZ7W() {
    static const ModelTable table{L"KZ7W", kKZ7WParameters, kFourChannels};
    return table;
}

const ModelTable& TableJZB7W() {
    static const ModelTable table{L"JZB7W", kJZB7WParameters, kFourChannels};
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
