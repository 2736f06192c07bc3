// Analog output models.
#include "catalog/tables/ModelTables.h"
#include "catalog/tables/TableRows.h"

namespace {

constexpr ChannelKeys kResetOutputKeys{L"resetoutoput01", L"resetoutoput02", L"resetoutoput03",
                                       L"resetoutoput04"};
constexpr ChannelKeys kResetOutputFileKeys{L"RESETOP01", L"RESETOP02", L"RESETOP03", L"RESETOP04"};

// clang-format off
// The value an output takes on a reset, read back as it was written.
constexpr ParameterDefinition ResetOutput(int n) {
    return {KindDecimal16Raw, kResetOutputKeys[n], 1, 0x4a + n, -1500, 11500, -1500, 10, 2, 1, kResetOutputFileKeys[n], 1, 0, 0, 0};
}

constexpr ParameterDefinition OfflineOut() {
    return {KindList, L"offlineout", 0, 0x3a, 0, 1, 0, 0, 0, 0, L"offlineoutLST", -1, 0, 0, 0};
}

// QH7W
constexpr std::array<ParameterDefinition, 7> QH7WChannel(int n) {
    return {ChannelGroup(n),
            Unused(n),
            Bias(n),
            Gain(n),
            ZScale(n),
            FScale(n),
            ResetOutput(n)};
}

constexpr auto kQH7WParameters = ChannelTable<4>(QH7WChannel, std::array{CommonGroup(), Version(L"K52QH7W_VER"), Simu(), OfflineOut()});

// QZ7W: as QH7W with six ranges.
constexpr std::array<ParameterDefinition, 8> QZ7WChannel(int n) {
    return {ChannelGroup(n),
            Unused(n),
            RangePc(n, 6),
            Bias(n),
            Gain(n),
            ZScale(n),
            FScale(n),
            ResetOutput(n)};
}

constexpr auto kQZ7WParameters = ChannelTable<4>(QZ7WChannel, std::array{CommonGroup(), Version(L"K52QZ7W_VER"), Simu(), OfflineOut()});
// clang-format on

constexpr ChannelDefinition kChannels[] = {AnalogValue(0), AnalogValue(1), AnalogValue(2), AnalogValue(3),
                                           SimulationSwitch()};

} // namespace

const ModelTable& TableQH7W() {
    static const ModelTable table{L"QH7W", kQH7WParameters, kChannels};
    return table;
}

const ModelTable& TableQZ7W() {
    static const ModelTable table{L"QZ7W", kQZ7WParameters, kChannels};
    return table;
}
