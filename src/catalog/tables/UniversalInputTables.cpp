// Universal input models: JK9W (two channels) and JK7W (four), 14 rows a channel.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

constexpr ChannelKeys kWireRtdKeys{L"wirertd01", L"wirertd02", L"wirertd03", L"wirertd04"};
constexpr ChannelKeys kFilterKeys{L"FOLfilter01", L"FOLfilter02", L"FOLfilter03", L"FOLfilter04"};
// Channel 4's filter carries channel 3's file key, as the table always had it;
// files hold values by item, so nothing reads the key of a number row.
constexpr ChannelKeys kFilterFileKeys{L"FOLFilter01", L"FOLFilter02", L"FOLFilter03", L"FOLFilter03"};

// clang-format off
// Channel n + 1 keeps its unit, wiring, burnout, compensation and filter on page 2 + n.
constexpr std::array<ParameterDefinition, 14> Channel(int n) {
    const int page = 2 + n;
    return {ChannelGroup(n),
            Unused(n),
            ChannelList(kRangePcKeys, n, 1, 0x42 + n, 36, 2, L"rangePC", FlagAdjustContext),
            ChannelList(kUnitKeys, n, page, 0x45, 2, 0, L"Unit", FlagAdjustContext),
            ZBase(n, 3, -1, FlagAdjustContext),
            FBase(n, 3, -1, FlagAdjustContext),
            Bias(n),
            Gain(n),
            ZScale(n),
            FScale(n),
            ChannelList(kWireRtdKeys, n, page, 0x42, 1, 1, L"wireRTD"),
            ChannelList(kBurnoutKeys, n, page, 0x43, 2, 1, L"burnOut"),
            ChannelList(kCjcSwKeys, n, page, 0x44, 1, 1, L"cjcSW"),
            ParameterDefinition{KindDecimal16, kFilterKeys[n], page, 0x47, 0, 600, 0, 10, 1, 1, kFilterFileKeys[n], 6, 0, 0, 0}};
}
// clang-format on

constexpr auto kJK9WParameters =
    ChannelTable<2>(Channel, std::array{CommonGroup(), Version(L"K52JK9W_VER"), Simu()});
constexpr auto kJK7WParameters =
    ChannelTable<4>(Channel, std::array{CommonGroup(), Version(L"K52JK7W_VER"), Simu()});

constexpr ChannelDefinition kJK9WChannels[] = {AnalogValue(0), AnalogValue(1), SimulationSwitch()};
constexpr ChannelDefinition kJK7WChannels[] = {AnalogValue(0), AnalogValue(1), AnalogValue(2), AnalogValue(3),
                                               SimulationSwitch()};

} // namespace

const ModelTable& TableJK9W() {
    static const ModelTable table{L"JK9W", kJK9WParameters, kJK9WChannels};
    return table;
}

const ModelTable& TableJK7W() {
    static const ModelTable table{L"JK7W", kJK7WParameters, kJK7WChannels};
    return table;
}
