// Temperature input models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

// clang-format off
// BQ7W's channel block with its number of ranges: "unit" on page 1; "zbase" and
// "fbase" with 1 decimal in unit 3, read with the adjustments.
constexpr std::array<ParameterDefinition, 11> TemperatureChannel(int n, int ranges) {
    return {ChannelGroup(n),
            Unused(n),
            RangePc(n, ranges),
            ChannelList(kUnitKeys, n, 1, 0x5a + n, 2, 0, L"Unit", FlagAdjustContext),
            ZBase(n, 1, 3, FlagAdjustContext),
            FBase(n, 1, 3, FlagAdjustContext),
            Bias(n),
            Gain(n),
            ZScale(n),
            FScale(n),
            Burnout(n)};
}

constexpr std::array<ParameterDefinition, 11> BQ7WChannel(int n) { return TemperatureChannel(n, 8); }

// ZQ7W: twelve ranges, and "cjcsw" after "burnout".
constexpr std::array<ParameterDefinition, 12> ZQ7WChannel(int n) {
    const std::array<ParameterDefinition, 11> rows = TemperatureChannel(n, 12);
    std::array<ParameterDefinition, 12> block{};
    std::copy(rows.begin(), rows.end(), block.begin());
    block.back() = ChannelList(kCjcSwKeys, n, 2, 0x4a + n, 1, 1, L"cjcSW");
    return block;
}

constexpr auto kBQ7WParameters = ChannelTable<4>(BQ7WChannel, std::array{CommonGroup(), Version(L"K52BQ7W_VER"), ConvRate(1), Simu()});
constexpr auto kZQ7WParameters = ChannelTable<4>(ZQ7WChannel, std::array{CommonGroup(), Version(L"K52ZQ7W_VER"), ConvRate(1), Simu()});

// Channel 1 is shown with 1 decimal in unit 3.
constexpr ChannelDefinition kChannels[] = {
    {ChannelAnalog, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 1, 0, 0, 3, 0, 0, 18},
    AnalogValue(1), AnalogValue(2), AnalogValue(3), SimulationSwitch(),
};
// clang-format on

} // namespace

const ModelTable& TableBQ7W() {
    static const ModelTable table{L"BQ7W", kBQ7WParameters, kChannels};
    return table;
}

const ModelTable& TableZQ7W() {
    static const ModelTable table{L"ZQ7W", kZQ7WParameters, kChannels};
    return table;
}
