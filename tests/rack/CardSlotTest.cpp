// The rack in memory: its default cards, the sharing of cards between racks,
// the copy of chosen slots and the captions of the slot list.
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "rack/CCardSlot.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class CardSlotTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    // A rack whose every slot holds a card of its own, so that a copied slot
    // can be told from a kept one by identity.
    static CCardSlot FilledRack() {
        CCardSlot rack;
        rack.Clear();
        rack.SetCard(0, CCOMCardType().CreateByName(L"K52HQ8"));
        for (int index = 1; index < CCardSlot::kSlotCount; ++index) {
            rack.SetCard(index, CIOCardType().CreateByName(L"JK7W"));
        }
        return rack;
    }
};

TEST_F(CardSlotTest, ClearPutsADefaultCardInEverySlot) {
    CCardSlot rack;
    EXPECT_FALSE(rack.HasCard(0));
    std::int32_t values[] = {1, 2, 3, 4};
    rack.RequestSimulation(3, 1, values);
    rack.Clear();
    EXPECT_FALSE(rack.IsSimulationPending());

    ASSERT_TRUE(rack.HasCard(0));
    EXPECT_EQ(rack.GetCard(0)->GetTypeCode(), 0);
    EXPECT_EQ(rack.GetCard(0)->GetCardName().GetModelName(), L"K52HQBZ8");
    for (int index = 1; index < CCardSlot::kSlotCount; ++index) {
        ASSERT_TRUE(rack.HasCard(index)) << index;
        EXPECT_EQ(rack.GetCard(index)->GetTypeCode(), 0) << index;
        EXPECT_EQ(rack.GetCard(index)->GetCardName().GetModelName(), L"null") << index;
        EXPECT_NE(rack.GetCard(index), rack.GetCard(index - 1)) << "each slot has a card of its own";
    }
}

TEST_F(CardSlotTest, CopySlotsTakesExactlyTheChosenSlots) {
    const CCardSlot source = FilledRack();
    const struct {
        std::uint64_t mask;
        std::uint32_t copied; // bit i: slot index i takes the source's card
    } cases[] = {
        {0x1FFFF, 0x1FFFF},
        {0x00002, 0x00002},
        {0x00001, 0x00001},
        {0xFFFFFFFFFFFE0000ULL, 0}, // bits above the seventeen slots change nothing
        {0, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.mask);
        CCardSlot target;
        target.Clear();
        const CCardSlot before = target;
        target.CopySlots(source, test.mask);
        for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
            const bool copied = ((test.copied >> index) & 1U) != 0;
            EXPECT_EQ(target.GetCard(index), copied ? source.GetCard(index) : before.GetCard(index)) << index;
        }
    }
}

TEST_F(CardSlotTest, CopySlotsKeepsACardTheSourceDoesNotHave) {
    // An upload without the COM slot leaves that slot out of its rack; taking
    // its slots must not empty the window's COM slot.
    CCardSlot source = FilledRack();
    CCardSlot partial;
    partial.CopySlots(source, 0x1FFFE);
    ASSERT_FALSE(partial.HasCard(0));

    CCardSlot window;
    window.Clear();
    const CCardSlot::CardHandle com = window.GetCard(0);
    window.CopySlots(partial, CCardSlot::kAllSlots);
    EXPECT_EQ(window.GetCard(0), com);
    EXPECT_EQ(window.GetCard(5), source.GetCard(5));
}

TEST_F(CardSlotTest, CopiedAndAssignedRacksShareTheirCards) {
    CCardSlot window = FilledRack();
    window.SetMonitoredSlot(4);
    std::int32_t values[] = {7, 8, 9, 10};
    window.RequestSimulation(2, 3, values);

    CCardSlot assigned;
    assigned = window;
    CCardSlot copied;
    copied.Clear();
    copied.CopySlots(window, 0x00010);

    EXPECT_EQ(assigned.GetMonitoredSlot(), 4);
    EXPECT_TRUE(assigned.IsSimulationPending());
    EXPECT_EQ(assigned.GetSimulationSlot(), 2);

    // A value changed through one rack is the value of the others.
    window.GetCard(4)->SetWord(1, 10, 1234);
    EXPECT_EQ(assigned.GetCard(4)->GetWord(1, 10), 1234);
    EXPECT_EQ(copied.GetCard(4)->GetWord(1, 10), 1234);

    // The card lives as long as any rack holds it, and no longer.
    std::weak_ptr<CCardInterface> card = window.GetCard(4);
    window.Clear();
    assigned.Clear();
    EXPECT_FALSE(card.expired());
    copied.Clear();
    EXPECT_TRUE(card.expired());
}

TEST_F(CardSlotTest, SixteenPointDigitalCardsAreKnownByTheirCode) {
    CCardSlot rack;
    rack.Clear();
    rack.SetCard(1, CIOCardType().CreateByCode(1));
    rack.SetCard(2, CIOCardType().CreateByCode(2));
    rack.SetCard(3, CIOCardType().CreateByName(L"JK7W"));
    EXPECT_TRUE(rack.IsDigital16Card(1));
    EXPECT_TRUE(rack.IsDigital16Card(2));
    EXPECT_FALSE(rack.IsDigital16Card(3));
    EXPECT_FALSE(rack.IsDigital16Card(4));
    rack.SetCard(4, nullptr);
    EXPECT_FALSE(rack.IsDigital16Card(4));
}

TEST_F(CardSlotTest, CaptionsNameTheComSlotAndNumberTheIoSlotsWithTwoDigits) {
    CCardSlot rack;
    EXPECT_EQ(rack.GetSlotCaption(0), L"COM");
    EXPECT_EQ(rack.GetSlotCaption(1), L"IO01");
    EXPECT_EQ(rack.GetSlotCaption(9), L"IO09");
    EXPECT_EQ(rack.GetSlotCaption(16), L"IO16");
}

TEST_F(CardSlotTest, SlotIndexOutsideTheRackIsRefused) {
    CCardSlot rack;
    rack.Clear();
    EXPECT_THROW(rack.GetCard(17), std::out_of_range);
    EXPECT_THROW(rack.GetCard(-1), std::out_of_range);
    EXPECT_THROW(rack.SetCard(17, nullptr), std::out_of_range);
    EXPECT_THROW(rack.GetSlotCaption(17), std::out_of_range);
    std::int32_t values[] = {1};
    EXPECT_THROW(rack.RequestSimulation(17, 0, values), std::out_of_range);
}

} // namespace
