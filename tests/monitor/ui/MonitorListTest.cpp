// The monitor list's rows of the 16-point digital modules: which point set a
// module shows, and under which label.
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "monitor/ui/CMonitorListCtrl.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A digital card as the monitor finds it after a cycle without the station
// attribute: both 32-point sets of the generic layout read.
CCardSlot::CardHandle ReadDigitalCard(const wchar_t* model) {
    CCardSlot::CardHandle card = CIOCardType().CreateByName(model);
    card->SetDword(2, 20, 0x00A58001U);
    card->SetDword(2, 29, 0xFFFF0F0FU);
    card->SetLiveValuesPresent();
    return card;
}

} // namespace

TEST(MonitorList, InputModulesShowTheirFirstPointSetAndOutputModulesTheirSecond) {
    k52test::LoadEnglish();
    CCardSlot rack;
    rack.Clear();
    rack.SetCard(1, ReadDigitalCard(L"BJ58W"));
    rack.SetCard(2, ReadDigitalCard(L"QJ58W"));
    rack.SetCard(3, CIOCardType().CreateByName(L"KZ9W"));
    // The communication registry's code 1 is no digital module.
    rack.SetCard(0, CCOMCardType().CreateByName(L"QZ52"));
    CMonitorListCtrl list;
    list.ShowRack(rack);

    const CMonitorListCtrl::DigitalPoints inputs = list.GetDigitalPoints(1);
    EXPECT_TRUE(inputs.shown);
    EXPECT_EQ(inputs.label, L"In");
    EXPECT_EQ(inputs.bits, 0x00A58001U);
    const CMonitorListCtrl::DigitalPoints outputs = list.GetDigitalPoints(2);
    EXPECT_TRUE(outputs.shown);
    EXPECT_EQ(outputs.label, L"Out");
    EXPECT_EQ(outputs.bits, 0xFFFF0F0FU);
    for (const int row : {0, 3, 4}) {
        EXPECT_FALSE(list.GetDigitalPoints(row).shown) << row;
    }
}
