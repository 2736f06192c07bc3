#include "ModelList.h"
#include "catalog/tables/ModelTables.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using k52test::AllModels;
using k52test::Model;
using k52test::ModelEntry;
using k52test::Narrow;
using k52test::RowIndex;

namespace {

struct Block {
    int channel; // 1 to 4
    std::size_t first;
    std::vector<const ParameterDefinition*> rows; // without the heading
};

// The "ch01" ... "ch04" groups of a table with the rows each one holds.
std::vector<Block> ChannelBlocks(const ModelTable& table) {
    std::vector<Block> blocks;
    bool inChannel = false;
    for (std::size_t i = 0; i < table.parameters.size(); ++i) {
        const ParameterDefinition& row = table.parameters[i];
        if (row.kind == KindGroup) {
            std::wstring_view key = row.textKey;
            inChannel = key.size() == 4 && key.starts_with(L"ch");
            if (inChannel) {
                blocks.push_back({std::stoi(std::wstring(key.substr(2))), i, {}});
            }
        } else if (inChannel) {
            blocks.back().rows.push_back(&row);
        }
    }
    return blocks;
}

std::wstring BaseKey(std::wstring_view key) {
    return std::wstring(key.substr(0, key.size() - 2));
}

struct Placement {
    std::int32_t page;
    std::int32_t item;
    std::int32_t pageStep;
    std::int32_t itemStep;
};

// Where channel N's row of each kind lives: page + pageStep * n, item + itemStep * n.
Placement PlacementOf(const std::string& model, const std::wstring& base) {
    bool universal = model == "JK9W" || model == "JK7W";
    static const std::map<std::wstring, Placement> placements = {
        {L"unused", {1, 0x3a, 0, 1}},  {L"rangepc", {1, 0x42, 0, 1}},      {L"bias", {1, 0x0a, 0, 2}},
        {L"gain", {1, 0x0b, 0, 2}},    {L"zscale", {1, 0x1a, 0, 2}},       {L"fscale", {1, 0x1b, 0, 2}},
        {L"zbase", {1, 0x2a, 0, 2}},   {L"fbase", {1, 0x2b, 0, 2}},        {L"burnout", {1, 0x52, 0, 1}},
        {L"dropout", {1, 0x5a, 0, 1}}, {L"resetoutoput", {1, 0x4a, 0, 1}}, {L"unit", {1, 0x5a, 0, 1}},
        {L"cjcsw", {2, 0x4a, 0, 1}},   {L"upCount", {1, 0x2b, 0, 2}},      {L"ofpreset", {1, 0x2a, 0, 2}},
        {L"preset", {1, 0x02, 0, 1}},  {L"unusedVal", {1, 0x52, 0, 1}},
    };
    // The universal inputs keep their type-dependent rows on one page per channel.
    static const std::map<std::wstring, Placement> universalPages = {
        {L"unit", {2, 0x45, 1, 0}},  {L"wirertd", {2, 0x42, 1, 0}},   {L"burnout", {2, 0x43, 1, 0}},
        {L"cjcsw", {2, 0x44, 1, 0}}, {L"FOLfilter", {2, 0x47, 1, 0}},
    };
    if (universal && universalPages.contains(base)) {
        return universalPages.at(base);
    }
    return placements.at(base);
}

} // namespace

TEST(ChannelBlocks, RepeatPerChannelWithTheirItemSteps) {
    const std::map<std::string, int> channelCount = {
        {"KB7HW", 4}, {"HJ7W", 4},  {"QB9W", 2}, {"BQ7W", 4}, {"ZQ7W", 4}, {"KZ9W", 2},
        {"KZ7W", 4},  {"JZB7W", 4}, {"JK9W", 2}, {"JK7W", 4}, {"QH7W", 4}, {"QZ7W", 4},
    };
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        std::string model = entry.model;
        std::vector<Block> blocks = ChannelBlocks(entry.table());
        auto expected = channelCount.find(model);
        ASSERT_EQ(blocks.size(),
                  expected == channelCount.end() ? 0u : static_cast<std::size_t>(expected->second));
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            const Block& block = blocks[b];
            ASSERT_EQ(block.channel, static_cast<int>(b) + 1);
            ASSERT_EQ(block.rows.size(), blocks[0].rows.size());
            int n = block.channel - 1;
            wchar_t digits[3] = {L'0', static_cast<wchar_t>(L'0' + block.channel), 0};
            for (std::size_t r = 0; r < block.rows.size(); ++r) {
                const ParameterDefinition& row = *block.rows[r];
                const ParameterDefinition& first = *blocks[0].rows[r];
                std::wstring_view key = row.textKey;
                SCOPED_TRACE(Narrow(key));
                ASSERT_TRUE(key.ends_with(digits));
                ASSERT_EQ(BaseKey(key), BaseKey(first.textKey));
                Placement at = PlacementOf(model, BaseKey(key));
                EXPECT_EQ(row.page, at.page + at.pageStep * n);
                EXPECT_EQ(row.item, at.item + at.itemStep * n);
                // Everything else repeats from channel 1, but for the two
                // documented exceptions below.
                EXPECT_EQ(row.kind, first.kind);
                EXPECT_EQ(row.minimum, first.minimum);
                if (!(model == "KB7HW" && BaseKey(key) == L"rangepc")) {
                    EXPECT_EQ(row.maximum, first.maximum);
                }
                EXPECT_EQ(row.defaultValue, first.defaultValue);
                EXPECT_EQ(row.radix, first.radix);
                EXPECT_EQ(row.decimals, first.decimals);
                EXPECT_EQ(row.isSigned, first.isSigned);
                EXPECT_EQ(row.unitCode, first.unitCode);
                EXPECT_EQ(row.flags, first.flags);
                std::wstring_view fileKey = row.fileKey;
                if (row.kind == KindList) {
                    EXPECT_EQ(fileKey, std::wstring_view(first.fileKey));
                } else if (BaseKey(key) == L"FOLfilter") {
                    // The fourth channel's filter shares the third one's file key.
                    EXPECT_TRUE(
                        fileKey.ends_with(block.channel == 4 ? std::wstring(L"03") : std::wstring(digits)));
                } else {
                    EXPECT_TRUE(fileKey.ends_with(digits)) << Narrow(fileKey);
                    EXPECT_EQ(BaseKey(fileKey), BaseKey(first.fileKey));
                }
            }
        }
    }
    EXPECT_EQ(Narrow(Model("JK7W").table().parameters[55].fileKey), "FOLFilter03");
    EXPECT_EQ(Narrow(Model("JK7W").table().parameters[41].fileKey), "FOLFilter03");
    EXPECT_EQ(Narrow(Model("JK9W").table().parameters[27].fileKey), "FOLFilter02");
}

// A range change resets the channel's bases, bias and gain, and a unit change
// sets the bases' decimals: an upload reads rows in table order, so the range
// and unit rows must come before the rows they rewrite.
TEST(ChannelBlocks, RangeAndUnitRowsComeBeforeTheRowsTheyReset) {
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        for (const Block& block : ChannelBlocks(entry.table())) {
            std::map<std::wstring, std::size_t> position;
            for (std::size_t r = 0; r < block.rows.size(); ++r) {
                position[BaseKey(block.rows[r]->textKey)] = r;
            }
            auto before = [&](const wchar_t* earlier, std::initializer_list<const wchar_t*> later) {
                if (!position.contains(earlier)) {
                    return;
                }
                for (const wchar_t* key : later) {
                    if (position.contains(key)) {
                        EXPECT_LT(position[earlier], position[key]) << Narrow(earlier) << " " << Narrow(key);
                    }
                }
            };
            before(L"rangepc", {L"zbase", L"fbase", L"bias", L"gain"});
            before(L"unit", {L"zbase", L"fbase"});
        }
    }
}

// The model logic finds a channel's rows by row index: channel * rows per
// channel + position.
TEST(ChannelBlocks, PositionsThatTheModelLogicReliesOn) {
    const std::vector<std::wstring> universal = {L"ch",      L"unused",  L"rangepc", L"unit",     L"zbase",
                                                 L"fbase",   L"bias",    L"gain",    L"zscale",   L"fscale",
                                                 L"wirertd", L"burnout", L"cjcsw",   L"FOLfilter"};
    const std::map<std::string, std::pair<std::size_t, int>> layouts = {
        {"BQ7W", {11, 4}}, {"ZQ7W", {12, 4}}, {"JK9W", {14, 2}}, {"JK7W", {14, 4}}};
    for (const auto& [model, layout] : layouts) {
        SCOPED_TRACE(model);
        const ModelTable& table = Model(model).table();
        const std::size_t perChannel = layout.first;
        const int channels = layout.second;
        for (int n = 0; n < channels; ++n) {
            auto key = [&](std::size_t position) {
                return BaseKey(table.parameters[perChannel * static_cast<std::size_t>(n) + position].textKey);
            };
            EXPECT_EQ(key(0), L"ch");
            EXPECT_EQ(key(3), L"unit");
            EXPECT_EQ(key(4), L"zbase");
            EXPECT_EQ(key(5), L"fbase");
            if (perChannel == 14) {
                for (std::size_t position = 0; position < 14; ++position) {
                    EXPECT_EQ(key(position), universal[position]) << position;
                }
            }
        }
        std::size_t common = perChannel * static_cast<std::size_t>(channels);
        EXPECT_EQ(std::wstring_view(table.parameters[common].textKey), L"common");
    }
    // JK9W is the first channels of the JK7W layout followed by the same "common".
    const ModelTable& two = Model("JK9W").table();
    const ModelTable& four = Model("JK7W").table();
    for (std::size_t i = 0; i < 28; ++i) {
        EXPECT_EQ(std::wstring_view(two.parameters[i].textKey),
                  std::wstring_view(four.parameters[i].textKey));
    }
    for (std::size_t i = 28; i < 31; ++i) {
        EXPECT_EQ(std::wstring_view(two.parameters[i].textKey),
                  std::wstring_view(four.parameters[i + 28].textKey));
    }
    EXPECT_EQ(RowIndex(four, L"rangepc02"), 16);
    EXPECT_EQ(RowIndex(four, L"zbase02"), 18);
    EXPECT_EQ(RowIndex(four, L"fbase02"), 19);
}

TEST(ChannelTables, LiveValueRows) {
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        for (const ChannelDefinition& channel : entry.table().channels) {
            // A third value and fields 2 to 5 are never used.
            for (int field : {2, 3, 4, 5, 8, 11, 14, 17}) {
                EXPECT_EQ(channel.Field(field), 0) << field;
            }
        }
    }
    struct Analog {
        const char* model;
        int channels;
        std::int32_t switchItem;
    };
    for (const Analog& analog :
         {Analog{"KB7HW", 4, 78}, Analog{"KZ9W", 2, 78}, Analog{"KZ7W", 4, 78}, Analog{"JZB7W", 4, 78},
          Analog{"QH7W", 4, 78}, Analog{"QZ7W", 4, 78}, Analog{"JK9W", 2, 78}, Analog{"JK7W", 4, 78},
          Analog{"BQ7W", 4, 78}, Analog{"ZQ7W", 4, 78}, Analog{"ZKH7JW", 4, 0}}) {
        SCOPED_TRACE(analog.model);
        const ModelTable& table = Model(analog.model).table();
        bool temperature = std::string(analog.model).ends_with("Q7W");
        for (int n = 0; n < analog.channels; ++n) {
            const ChannelDefinition& channel = table.channels[static_cast<std::size_t>(n)];
            EXPECT_EQ(channel.channelKind, ChannelAnalog);
            EXPECT_EQ(channel.valuePage, 0);
            EXPECT_EQ(channel.valueItem, 10 + n);
            EXPECT_EQ(channel.secondItem, 0);
            EXPECT_EQ(channel.statusItem, 18 + n);
            EXPECT_EQ(channel.valueDecimals, temperature && n == 0 ? 1 : 2);
            EXPECT_EQ(channel.valueUnit, temperature && n == 0 ? 3 : 1);
        }
        if (analog.switchItem != 0) {
            ASSERT_EQ(table.channels.size(), static_cast<std::size_t>(analog.channels) + 1);
            EXPECT_EQ(table.channels.back().channelKind, ChannelSwitch);
            EXPECT_EQ(table.channels.back().valueItem, analog.switchItem);
        }
    }

    const ModelTable& hj = Model("HJ7W").table();
    for (int n = 0; n < 4; ++n) {
        const ChannelDefinition& channel = hj.channels[static_cast<std::size_t>(n)];
        EXPECT_EQ(channel.valueItem, 10 + n);
        EXPECT_EQ(channel.valueDecimals, 0);
        EXPECT_EQ(channel.valueUnit, -1);
        EXPECT_EQ(channel.secondPage, 1);
        EXPECT_EQ(channel.secondItem, 90 + n);
        EXPECT_EQ(channel.secondDecimals, 2);
        EXPECT_EQ(channel.secondUnit, 1);
    }

    for (const char* model : {"BJWQ8W", "BZKJ8W", "BHQB8W"}) {
        SCOPED_TRACE(model);
        const ModelTable& table = Model(model).table();
        std::int32_t second = std::string(model) == "BHQB8W" ? 67 : 14;
        for (int n = 0; n < 4; ++n) {
            const ChannelDefinition& pair = table.channels[static_cast<std::size_t>(n)];
            const ChannelDefinition& single = table.channels[static_cast<std::size_t>(n) + 4];
            EXPECT_EQ(pair.valueItem, 10 + n);
            EXPECT_EQ(pair.secondItem, second + n);
            EXPECT_EQ(pair.valueUnit, -1);
            EXPECT_EQ(pair.secondUnit, 1);
            EXPECT_EQ(single.valueItem, second + n);
            EXPECT_EQ(single.valueUnit, 1);
            EXPECT_EQ(pair.statusItem, 18 + n);
            EXPECT_EQ(single.statusItem, 18 + n);
        }
        EXPECT_EQ(table.channels[8].channelKind, ChannelSwitch);
        EXPECT_EQ(table.channels[8].valueItem, std::string(model) == "BHQB8W" ? 78 : 75);
    }

    for (const char* model : {"HB58", "HK58"}) {
        const ChannelDefinition& points = Model(model).table().channels[0];
        EXPECT_EQ(points.channelKind, ChannelDigital);
        EXPECT_EQ(points.valueItem, 10);
        EXPECT_EQ(points.valueDecimals, 16);
    }
    const ModelTable& dio = Model("DIO").table();
    EXPECT_EQ(dio.channels[0].valuePage, 2);
    EXPECT_EQ(dio.channels[0].valueItem, 20);
    EXPECT_EQ(dio.channels[1].valueItem, 29);
    EXPECT_EQ(dio.channels[1].valueDecimals, 32);

    const ModelTable& counter = Model("QB9W").table();
    EXPECT_EQ(counter.channels[0].channelKind, ChannelCounter);
    EXPECT_EQ(counter.channels[1].valueItem, 11);
    EXPECT_EQ(counter.channels[1].valueUnit, 0);
    EXPECT_EQ(counter.channels[1].statusItem, 0);

    const ChannelDefinition& clock = Model("HZKJ8").table().channels[0];
    EXPECT_EQ(clock.channelKind, ChannelDateTime);
    EXPECT_EQ(clock.valueItem, 81);
}
