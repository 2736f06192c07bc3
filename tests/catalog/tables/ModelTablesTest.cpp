#include "catalog/tables/ModelTables.h"
#include "ModelList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

using k52test::AllModels;
using k52test::Model;
using k52test::ModelEntry;
using k52test::Narrow;
using k52test::RowIndex;

namespace {

bool IsSixteenBit(std::int32_t kind) {
    return kind == KindList || kind == KindDecimal16 || kind == KindInteger16 || kind == KindSwitches4 ||
           kind == KindDecimal16Raw;
}

const ParameterDefinition& Row(const char* model, const wchar_t* key) {
    const ModelTable& table = Model(model).table();
    int index = RowIndex(table, key);
    if (index < 0) {
        throw std::invalid_argument("no such row");
    }
    return table.parameters[static_cast<std::size_t>(index)];
}

std::uint32_t Unsigned(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

} // namespace

TEST(ModelTables, RowAndChannelCounts) {
    const std::map<std::string, std::pair<std::size_t, std::size_t>> counts = {
        {"KB7HW", {37, 5}}, {"HB58", {2, 2}},   {"HK58", {2, 2}},   {"DIO", {1, 2}},     {"WB52", {3, 0}},
        {"QZ52", {3, 0}},   {"BJWQ8W", {8, 9}}, {"BHQB8W", {4, 9}}, {"BZKJ8W", {25, 9}}, {"ZKH7JW", {3, 4}},
        {"HJ7W", {28, 5}},  {"QB9W", {19, 3}},  {"BQ7W", {48, 5}},  {"ZQ7W", {52, 5}},   {"KZ9W", {18, 3}},
        {"KZ7W", {32, 5}},  {"JZB7W", {32, 5}}, {"JK9W", {31, 3}},  {"JK7W", {59, 5}},   {"QH7W", {32, 5}},
        {"QZ7W", {36, 5}},  {"HQ8", {14, 0}},   {"HQBZ8", {4, 0}},  {"HJWQ8", {8, 0}},   {"HJWB8", {6, 0}},
        {"HZKJ8", {40, 1}},
    };
    ASSERT_EQ(AllModels().size(), counts.size());
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        const ModelTable& table = entry.table();
        EXPECT_EQ(table.parameters.size(), counts.at(entry.model).first);
        EXPECT_EQ(table.channels.size(), counts.at(entry.model).second);
        // The accessor hands out one table for the whole run.
        EXPECT_EQ(&entry.table(), &table);
    }
}

// Field rules that every row of every model keeps; a slip in one of the
// hand-written rows shows up here with the model and key named.
TEST(ModelTables, EveryRowIsConsistentWithItsKind) {
    for (const ModelEntry& entry : AllModels()) {
        for (const ParameterDefinition& row : entry.table().parameters) {
            ASSERT_NE(row.textKey, nullptr);
            ASSERT_NE(row.fileKey, nullptr);
            SCOPED_TRACE(std::string(entry.model) + " " + Narrow(row.textKey));
            EXPECT_NE(std::wstring_view(row.textKey), L"");
            EXPECT_EQ(row.reserved, 0);
            EXPECT_TRUE(row.kind == KindGroup || row.kind == KindText || row.kind == KindList ||
                        row.kind == KindUnsigned32 || row.kind == KindDecimal16 ||
                        row.kind == KindIpAddress || row.kind == KindDecimal16Raw);
            EXPECT_EQ(row.flags & ~(FlagReadOnly | FlagAdjustment | FlagAdjustContext | FlagOnDemand), 0);
            EXPECT_TRUE(row.unitCode >= -1 && row.unitCode <= 7);
            EXPECT_TRUE(row.decimals >= 0 && row.decimals <= 9);
            if (row.kind == KindGroup) {
                EXPECT_EQ(std::wstring_view(row.fileKey), L"");
                EXPECT_EQ(row.flags, 0);
                continue;
            }
            EXPECT_NE(std::wstring_view(row.fileKey), L"");
            EXPECT_TRUE(row.page >= 0 && row.page <= 9);
            EXPECT_TRUE(row.item >= 0 && row.item <= 99);
            if (row.kind != KindText) {
                EXPECT_EQ(row.textSlot, 0);
            }
            if (row.kind == KindList) {
                EXPECT_EQ(row.minimum, 0);
                EXPECT_GE(row.maximum, 1);
                EXPECT_EQ(row.decimals, 0);
                EXPECT_EQ(row.unitCode, -1);
            }
            if (IsSixteenBit(row.kind)) {
                // Limits and default must be representable in the word the
                // module holds, read with the row's sign.
                std::int32_t low = row.isSigned != 0 ? -32768 : 0;
                std::int32_t high = row.isSigned != 0 ? 32767 : 65535;
                EXPECT_TRUE(row.minimum >= low && row.maximum <= high && row.minimum <= row.maximum);
                EXPECT_TRUE(row.defaultValue >= row.minimum && row.defaultValue <= row.maximum);
            }
            if (row.kind == KindUnsigned32) {
                EXPECT_LE(Unsigned(row.minimum), Unsigned(row.maximum));
                EXPECT_GE(Unsigned(row.defaultValue), Unsigned(row.minimum));
                EXPECT_LE(Unsigned(row.defaultValue), Unsigned(row.maximum));
            }
            if ((row.kind == KindDecimal16 || row.kind == KindDecimal16Raw || row.kind == KindUnsigned32) &&
                row.decimals == 0) {
                // Without decimals the text form is printed in the radix; any
                // other radix would show an empty value.
                EXPECT_TRUE(row.radix == 10 || row.radix == 16);
            }
        }
    }
}

TEST(ModelTables, StoredRowsHaveDistinctLocationsAndTextSlots) {
    const std::map<std::wstring, std::int32_t> slotOfKey = {
        {L"version", 0},    {L"macadrs", 3},   {L"stationid", 4},  {L"linkstatus", 5}, {L"loginid01", 6},
        {L"password01", 7}, {L"loginid02", 8}, {L"password02", 9}, {L"datetime", 10},  {L"url", 11},
    };
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        std::set<std::pair<std::int32_t, std::int32_t>> locations;
        std::set<std::int32_t> slots;
        std::set<std::wstring> keys;
        for (const ParameterDefinition& row : entry.table().parameters) {
            EXPECT_TRUE(keys.insert(row.textKey).second) << Narrow(row.textKey);
            if (row.kind == KindGroup) {
                continue;
            }
            // The configuration file names a value by page * 256 + item.
            EXPECT_TRUE(locations.insert({row.page, row.item}).second) << Narrow(row.textKey);
            if (row.kind == KindText) {
                auto slot = slotOfKey.find(row.textKey);
                ASSERT_NE(slot, slotOfKey.end()) << Narrow(row.textKey);
                EXPECT_EQ(row.textSlot, slot->second) << Narrow(row.textKey);
                EXPECT_TRUE(slots.insert(row.textSlot).second) << Narrow(row.textKey);
            }
        }
    }
}

TEST(ModelTables, VersionRowsAndTheirFileKeys) {
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        const ModelTable& table = entry.table();
        int index = RowIndex(table, L"version");
        std::string model = entry.model;
        if (model == "HB58" || model == "HK58" || model == "DIO") {
            EXPECT_EQ(index, -1);
            continue;
        }
        ASSERT_GE(index, 0);
        const ParameterDefinition& row = table.parameters[static_cast<std::size_t>(index)];
        std::string expected = model == "WB52" || model == "QZ52" ? model + "_VER" : "K52" + model + "_VER";
        EXPECT_EQ(Narrow(row.fileKey), expected);
        EXPECT_EQ(row.kind, KindText);
        EXPECT_EQ(row.page, 0);
        EXPECT_EQ(row.item, 0x28);
        EXPECT_EQ(row.flags, FlagReadOnly);
        // "version" sits in the "common" group.
        ASSERT_GE(index, 1);
        EXPECT_EQ(std::wstring_view(table.parameters[static_cast<std::size_t>(index) - 1].textKey),
                  L"common");
    }
}

TEST(ModelTables, SimulationRowsByModel) {
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        std::string model = entry.model;
        const ModelTable& table = entry.table();
        int simu = RowIndex(table, L"simu");
        int status = RowIndex(table, L"simStatus");
        bool communication = model == "HQ8" || model == "HQBZ8" || model == "HJWQ8" || model == "HJWB8";
        if (model == "DIO" || model == "WB52" || model == "QZ52" || model == "HZKJ8" || model == "ZKH7JW") {
            EXPECT_EQ(simu, -1);
            EXPECT_EQ(status, -1);
        } else if (communication) {
            EXPECT_EQ(simu, -1);
            ASSERT_GE(status, 0);
            const ParameterDefinition& row = table.parameters[static_cast<std::size_t>(status)];
            EXPECT_EQ(row.item, 0x1b);
            EXPECT_EQ(row.flags, FlagReadOnly);
            EXPECT_EQ(std::wstring_view(row.fileKey), L"SIMSTATUS");
        } else {
            EXPECT_EQ(status, -1);
            ASSERT_GE(simu, 0);
            const ParameterDefinition& row = table.parameters[static_cast<std::size_t>(simu)];
            EXPECT_EQ(row.item, model == "BJWQ8W" || model == "BZKJ8W" ? 0x4b : 0x4e);
            EXPECT_EQ(row.flags, FlagAdjustment);
            EXPECT_EQ(std::wstring_view(row.fileKey), L"simuLST");
        }
    }
}

TEST(ModelTables, RangeMaximaByModelAndChannel) {
    const std::map<std::string, std::vector<std::int32_t>> maxima = {
        {"KB7HW", {5, 12, 12, 12}}, {"BQ7W", {8, 8, 8, 8}},     {"ZQ7W", {12, 12, 12, 12}},
        {"KZ9W", {11, 11}},         {"KZ7W", {11, 11, 11, 11}}, {"JZB7W", {11, 11, 11, 11}},
        {"QZ7W", {6, 6, 6, 6}},     {"JK9W", {36, 36}},         {"JK7W", {36, 36, 36, 36}},
    };
    for (const ModelEntry& entry : AllModels()) {
        SCOPED_TRACE(entry.model);
        std::vector<std::int32_t> found;
        for (const ParameterDefinition& row : entry.table().parameters) {
            if (std::wstring_view(row.textKey).starts_with(L"rangepc")) {
                EXPECT_EQ(std::wstring_view(row.fileKey), L"rangePC");
                found.push_back(row.maximum);
                bool universal = std::string(entry.model).starts_with("JK");
                EXPECT_EQ(row.defaultValue, universal ? 2 : 0);
                EXPECT_EQ(row.flags, universal ? FlagAdjustContext : 0);
            }
        }
        auto expected = maxima.find(entry.model);
        EXPECT_EQ(found, expected == maxima.end() ? std::vector<std::int32_t>{} : expected->second);
    }
    EXPECT_EQ(Row("BQ7W", L"convrate").maximum, 1);
    EXPECT_EQ(Row("ZQ7W", L"convrate").maximum, 1);
    EXPECT_EQ(Row("KB7HW", L"convrate").maximum, 3);
    EXPECT_EQ(Row("HJ7W", L"convrate").maximum, 3);
}

TEST(ModelTables, ScaleAndBaseRowsThatDifferByModel) {
    for (const wchar_t* key : {L"zscale01", L"fscale04"}) {
        const ParameterDefinition& row = Row("KB7HW", key);
        EXPECT_EQ(row.isSigned, 0);
        EXPECT_EQ(row.minimum, 0);
        EXPECT_EQ(row.maximum, 64000);
        EXPECT_EQ(row.defaultValue, 0);
    }
    EXPECT_EQ(Row("KZ7W", L"fscale02").isSigned, 1);
    EXPECT_EQ(Row("KZ7W", L"fscale02").defaultValue, 10000);

    for (const wchar_t* key : {L"zbase01", L"fbase03"}) {
        const ParameterDefinition& row = Row("HJ7W", key);
        EXPECT_EQ(row.decimals, 2);
        EXPECT_EQ(row.unitCode, 1);
        EXPECT_EQ(row.flags, FlagAdjustment);
    }
    EXPECT_EQ(Row("HJ7W", L"zscale02").flags, FlagAdjustment);
    EXPECT_EQ(Row("HJ7W", L"fscale04").defaultValue, 10000);

    for (const char* model : {"BQ7W", "ZQ7W"}) {
        SCOPED_TRACE(model);
        for (const wchar_t* key : {L"zbase02", L"fbase04"}) {
            const ParameterDefinition& row = Row(model, key);
            EXPECT_EQ(row.decimals, 1);
            EXPECT_EQ(row.unitCode, 3);
            EXPECT_EQ(row.flags, FlagAdjustContext);
        }
        const ParameterDefinition& unit = Row(model, L"unit03");
        EXPECT_EQ(unit.page, 1);
        EXPECT_EQ(unit.item, 0x5c);
        EXPECT_EQ(unit.maximum, 2);
        EXPECT_EQ(std::wstring_view(unit.fileKey), L"Unit");
    }
    EXPECT_EQ(RowIndex(Model("BQ7W").table(), L"cjcsw01"), -1);
    const ParameterDefinition& cjc = Row("ZQ7W", L"cjcsw02");
    EXPECT_EQ(cjc.page, 2);
    EXPECT_EQ(cjc.item, 0x4b);
    EXPECT_EQ(cjc.defaultValue, 1);
    EXPECT_EQ(std::wstring_view(cjc.fileKey), L"cjcSW");

    // The universal inputs start their bases at three decimals and show no
    // unit of their own; the per-card logic changes both.
    const ParameterDefinition& base = Row("JK7W", L"fbase04");
    EXPECT_EQ(base.decimals, 3);
    EXPECT_EQ(base.unitCode, -1);
    EXPECT_EQ(base.flags, FlagAdjustContext);
}

TEST(ModelTables, CounterRows) {
    const ModelTable& table = Model("QB9W").table();
    for (int n = 0; n < 2; ++n) {
        SCOPED_TRACE(n);
        std::wstring suffix = n == 0 ? L"01" : L"02";
        const ParameterDefinition& span = Row("QB9W", (L"upCount" + suffix).c_str());
        EXPECT_EQ(span.kind, KindUnsigned32);
        EXPECT_EQ(span.item, 0x2b + 2 * n);
        EXPECT_EQ(span.minimum, 1);
        EXPECT_EQ(Unsigned(span.maximum), 4294967295u);
        EXPECT_EQ(Unsigned(span.defaultValue), 4294967295u);
        EXPECT_EQ(Narrow(span.fileKey), "SPAN" + Narrow(suffix));

        const ParameterDefinition& preset = Row("QB9W", (L"preset" + suffix).c_str());
        EXPECT_EQ(preset.kind, KindUnsigned32);
        EXPECT_EQ(preset.item, 0x02 + n);
        EXPECT_EQ(preset.flags, FlagOnDemand);
        EXPECT_EQ(Narrow(preset.fileKey), "CURRENT" + Narrow(suffix));

        const ParameterDefinition& replacement = Row("QB9W", (L"unusedVal" + suffix).c_str());
        EXPECT_EQ(replacement.kind, KindUnsigned32);
        EXPECT_EQ(replacement.item, 0x52 + n);
        EXPECT_EQ(Unsigned(replacement.maximum), 4294967295u);

        EXPECT_EQ(Row("QB9W", (L"ofpreset" + suffix).c_str()).item, 0x2a + 2 * n);
    }
    const std::pair<const wchar_t*, std::int32_t> common[] = {
        {L"edge", 0}, {L"resetEdge", 0}, {L"resetUse", 1}, {L"resetByCOM", 1}};
    std::int32_t item = 0x3a;
    for (auto [key, defaultValue] : common) {
        const ParameterDefinition& row = Row("QB9W", key);
        EXPECT_EQ(row.page, 0);
        EXPECT_EQ(row.item, item++);
        EXPECT_EQ(row.maximum, 1);
        EXPECT_EQ(row.defaultValue, defaultValue);
    }
    EXPECT_EQ(RowIndex(table, L"version"), 13);
}

// IP defaults keep the first octet in the top byte; the communication model
// has one object type per I/O slot, the I/O gateway only one.
TEST(ModelTables, NetworkRowsOfTheCommunicationModels) {
    for (const char* model : {"HQ8", "BZKJ8W", "HZKJ8"}) {
        SCOPED_TRACE(model);
        EXPECT_EQ(Unsigned(Row(model, L"ipadrs").defaultValue), 0xC0A80001u);
        EXPECT_EQ(Unsigned(Row(model, L"ipmask").defaultValue), 0xFFFFFF00u);
        EXPECT_EQ(Unsigned(Row(model, L"ipgw").defaultValue), 0xC0A80064u);
    }
    EXPECT_EQ(Unsigned(Row("HZKJ8", L"dnsipadrs02").defaultValue), 0xC0A8000Du);
    EXPECT_EQ(Row("HZKJ8", L"utc").isSigned, 1);
    for (int k = 1; k <= 16; ++k) {
        std::wstring key = std::wstring(L"objecttype") + (k < 10 ? L"0" : L"") + std::to_wstring(k);
        const ParameterDefinition& row = Row("HZKJ8", key.c_str());
        EXPECT_EQ(row.page, 3);
        EXPECT_EQ(row.item, 0x0a + k - 1);
    }
    EXPECT_EQ(RowIndex(Model("BZKJ8W").table(), L"objecttype02"), -1);
    EXPECT_EQ(RowIndex(Model("BZKJ8W").table(), L"datetime"), -1);
    EXPECT_EQ(Row("HZKJ8", L"datetime").flags, FlagOnDemand);
    EXPECT_EQ(Row("HJWB8", L"stationid").item, 0x5d);
    EXPECT_EQ(Row("HJWQ8", L"stationid").item, 0x5a);
}
