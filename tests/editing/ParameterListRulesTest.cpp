#include "editing/ParameterListRules.h"

#include <gtest/gtest.h>

namespace {

ParameterDefinition Row(std::int32_t kind, std::int32_t flags = 0, std::int32_t textSlot = 0) {
    return ParameterDefinition{kind, L"key", 0, 0, 0, 0, 0, 10, 0, 0, L"", -1, flags, 0, textSlot};
}

} // namespace

TEST(ParameterListRulesTest, TintMovesEveryChannelAwayFromTheMiddle) {
    // A light window is darkened, a dark one lightened, in whole numbers.
    EXPECT_EQ(TintColor({255, 255, 255}, 10), (RgbColor{229, 229, 229}));
    EXPECT_EQ(TintColor({255, 255, 255}, 5), (RgbColor{242, 242, 242}));
    EXPECT_EQ(TintColor({240, 240, 240}, 5), (RgbColor{228, 228, 228})) << "0.95 as a double gives 227";
    EXPECT_EQ(TintColor({30, 40, 50}, 10), (RgbColor{33, 44, 55}));
    EXPECT_EQ(TintColor({0, 0, 0}, 10), (RgbColor{0, 0, 0}));
    // A dark average with a bright channel: that channel is capped, not wrapped.
    EXPECT_EQ(TintColor({250, 10, 10}, 10), (RgbColor{255, 11, 11}));
}

TEST(ParameterListRulesTest, TintDecidesOnTheAverageOfTheThreeChannels) {
    // An average of 127.67 is below 128 although no channel is.
    EXPECT_EQ(TintColor({128, 128, 127}, 10), (RgbColor{140, 140, 139}));
    EXPECT_EQ(TintColor({128, 128, 128}, 10), (RgbColor{115, 115, 115}));
}

TEST(ParameterListRulesTest, EditorByKind) {
    EXPECT_EQ(EditorKindFor(Row(KindList)), EditorKind::DropDown);
    for (std::int32_t kind : {KindSigned32, KindUnsigned32, KindDecimal16, KindInteger16, KindIpAddress,
                              KindWord32, KindDecimal16Raw}) {
        EXPECT_EQ(EditorKindFor(Row(kind)), EditorKind::Text) << "kind " << kind;
    }
    for (std::int32_t kind : {KindGroup, KindNone, KindSwitches4}) {
        EXPECT_EQ(EditorKindFor(Row(kind)), EditorKind::None) << "kind " << kind;
    }
}

TEST(ParameterListRulesTest, OnlyTheTypedTextSlotsAreEditable) {
    // Version, MAC address, station number and link state come from the module.
    for (std::int32_t slot : {0, 3, 4, 5}) {
        EXPECT_EQ(EditorKindFor(Row(KindText, 0, slot)), EditorKind::None) << "slot " << slot;
    }
    // Login names, passwords, date and time, server address.
    for (std::int32_t slot : {6, 9, 10, 11}) {
        EXPECT_EQ(EditorKindFor(Row(KindText, 0, slot)), EditorKind::Text) << "slot " << slot;
    }
}

TEST(ParameterListRulesTest, RowsShownByMode) {
    const ParameterDefinition plain = Row(KindDecimal16);
    const ParameterDefinition adjustment = Row(KindDecimal16, FlagAdjustment);
    const ParameterDefinition onDemand = Row(KindUnsigned32, FlagOnDemand);
    const ParameterDefinition context = Row(KindDecimal16, FlagAdjustContext);

    EXPECT_TRUE(IsShownInList(plain, false));
    EXPECT_TRUE(IsShownInList(adjustment, false));
    EXPECT_FALSE(IsShownInList(onDemand, false));
    EXPECT_TRUE(IsShownInList(context, false));

    EXPECT_FALSE(IsShownInList(plain, true));
    EXPECT_TRUE(IsShownInList(adjustment, true));
    EXPECT_TRUE(IsShownInList(onDemand, true));
    EXPECT_FALSE(IsShownInList(context, true));
}

TEST(ParameterListRulesTest, ToolTipsAreCutTo79Characters) {
    const std::wstring longText(100, L'x');
    EXPECT_EQ(ToolTipText(longText), std::wstring(79, L'x'));
    EXPECT_EQ(ToolTipText(std::wstring(79, L'y')), std::wstring(79, L'y'));
    EXPECT_EQ(ToolTipText(L"0.00 (%)"), L"0.00 (%)");
}
