// The comparison of two racks on real cards and real files: what counts as a
// difference, what is listed apart, and how rows of different models pair.
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "rack/CCardSlot.h"
#include "rack/CRackComparison.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

int RowOf(const CCardInterface& card, const std::wstring& key) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const wchar_t* textKey = card.GetParameter(row).textKey;
        if (textKey != nullptr && key == textKey) {
            return row;
        }
    }
    ADD_FAILURE() << "no row " << std::string(key.begin(), key.end());
    return 0;
}

// The communication module, JK7W in slot 1 and KZ9W in slot 3, with defaults.
CCardSlot PlantRack() {
    CCardSlot rack;
    rack.Clear();
    rack.SetCard(0, CCOMCardType().CreateByName(L"K52HQ8"));
    rack.SetCard(1, CIOCardType().CreateByName(L"JK7W"));
    rack.SetCard(3, CIOCardType().CreateByName(L"KZ9W"));
    return rack;
}

// A copy whose cards are its own, so that a change stays on one side.
CCardSlot Copy(const CCardSlot& rack) {
    CCardSlot copy;
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        copy.SetCard(index, CCardSlot::CopyCard(*rack.GetCard(index), CCardSlot::GetSlotNumber(index)));
    }
    return copy;
}

void SetText(const CCardSlot& rack, int slot, const std::wstring& key, const std::wstring& text) {
    CCardInterface& card = *rack.GetCard(slot);
    card.SetFromText(RowOf(card, key), text);
}

class RackComparisonTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }
};

TEST_F(RackComparisonTest, ValuesCompareAsStoredWordsAndReadAsTheListShowsThem) {
    const CCardSlot found = PlantRack();
    struct Case {
        const char* what;
        std::function<void(const CCardSlot&, const CCardSlot&)> change;
        int differences;
    };
    const Case cases[] = {
        {"equal", [](const CCardSlot&, const CCardSlot&) {}, 0},
        {"1.5 and 1.50 are one value",
         [](const CCardSlot& a, const CCardSlot& b) {
             SetText(a, 1, L"gain01", L"1.5");
             SetText(b, 1, L"gain01", L"1.50");
         },
         0},
        {"a changed gain", [](const CCardSlot&, const CCardSlot& b) { SetText(b, 1, L"gain01", L"1.25"); }, 1},
        {"a changed address of the communication module",
         [](const CCardSlot&, const CCardSlot& b) {
             CCardInterface& card = *b.GetCard(0);
             for (int row = 0; row < card.GetParameterCount(); ++row) {
                 if (card.GetParameter(row).kind == KindIpAddress) {
                     card.SetFromText(row, L"10.0.0.7");
                     return;
                 }
             }
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CCardSlot left = Copy(found);
        const CCardSlot right = Copy(found);
        c.change(left, right);
        const CRackComparison comparison(left, right);
        EXPECT_EQ(comparison.IsEqual(), c.differences == 0);
        EXPECT_TRUE(comparison.GetModuleDifferences().empty());
        ASSERT_EQ(comparison.GetValueDifferences().size(), static_cast<std::size_t>(c.differences));
        EXPECT_TRUE(comparison.GetUncountedDifferences().empty());
        EXPECT_EQ(comparison.GetComparedSlotCount(), CCardSlot::kSlotCount);
    }

    // The difference reads as the list shows it: caption, values with their units.
    const CCardSlot right = Copy(found);
    SetText(right, 1, L"gain01", L"1.25");
    SetText(right, 1, L"bias01", L"-2");
    const CRackComparison comparison(found, right);
    ASSERT_EQ(comparison.GetValueDifferences().size(), 2u);
    const CRackComparison::RowDifference& bias = comparison.GetValueDifferences()[0];
    const CCardInterface& card = *right.GetCard(1);
    EXPECT_EQ(bias.slotIndex, 1);
    EXPECT_EQ(bias.caption, card.GetCaption(RowOf(card, L"bias01")));
    EXPECT_EQ(bias.leftText, L"0.00 (%)");
    EXPECT_EQ(bias.rightText, L"-2.00 (%)");
    EXPECT_EQ(comparison.GetValueDifferences()[1].rightText, L"1.2500");
    EXPECT_TRUE(comparison.IsRightRowDifferent(1, RowOf(card, L"gain01")));
    EXPECT_FALSE(comparison.IsRightRowDifferent(1, RowOf(card, L"gain02")));

    // Only the chosen slots are compared.
    EXPECT_TRUE(CRackComparison(found, right, 0b1111'1111'1111'1101).IsEqual());
    EXPECT_EQ(CRackComparison(found, right, 0b10).GetComparedSlotCount(), 1);
}

// Rows of two models never pair, even where they share a name and a stored
// value: the slot is one module difference naming both models.
TEST_F(RackComparisonTest, AnotherModelInASlotIsOneModuleDifferenceAndItsRowsAreNotCompared) {
    const CCardSlot left = PlantRack();
    CCardSlot right = Copy(left);
    right.SetCard(0, CCOMCardType().CreateByName(L"K52HZKJ8"));
    right.SetCard(1, CIOCardType().CreateByName(L"JK9W"));
    SetText(right, 1, L"gain02", L"2");
    right.SetCard(3, CIOCardType().CreateByCode(0));

    const CRackComparison comparison(left, right);
    EXPECT_FALSE(comparison.IsEqual());
    ASSERT_EQ(comparison.GetModuleDifferences().size(), 3u);
    const std::pair<const wchar_t*, const wchar_t*> models[] = {
        {L"K52HQ8", L"K52HZKJ8"}, {L"JK7W", L"JK9W"}, {L"KZ9W", L"null"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(comparison.GetModuleDifferences()[i].leftModel, models[i].first);
        EXPECT_EQ(comparison.GetModuleDifferences()[i].rightModel, models[i].second);
    }
    EXPECT_TRUE(comparison.IsModuleDifferent(3));
    EXPECT_TRUE(comparison.GetValueDifferences().empty());
    EXPECT_TRUE(comparison.GetUncountedDifferences().empty());
}

TEST_F(RackComparisonTest, RowsADownloadNeverWritesAreListedApartAndNeverCount) {
    const CCardSlot left = PlantRack();
    const CCardSlot right = Copy(left);
    // The module's firmware version, and the unit of a channel that measures
    // volts (unused, shown grey), differ.
    CCardInterface& card = *right.GetCard(1);
    card.SetTextSlot(card.GetParameter(RowOf(card, L"version")).textSlot, L"2.07");
    const int unit = RowOf(card, L"unit01");
    ASSERT_TRUE(card.IsDisabled(unit));
    card.SetWord(card.GetParameter(unit).page, card.GetParameter(unit).item, 1);

    const CRackComparison comparison(left, right);
    EXPECT_TRUE(comparison.IsEqual());
    ASSERT_EQ(comparison.GetUncountedDifferences().size(), 2u);
    EXPECT_EQ(comparison.GetUncountedDifferences()[0].rightRow, unit);
    EXPECT_EQ(comparison.GetUncountedDifferences()[1].rightText, L"2.07");
    EXPECT_FALSE(comparison.IsRightRowDifferent(1, unit));
}

TEST_F(RackComparisonTest, AFileReadForComparisonKeepsItsModuleInformationAndItsUnreadTexts) {
    k52test::TempDir dir;
    CCardSlot rack = PlantRack();
    CCardInterface& card = *rack.GetCard(1);
    card.SetTextSlot(card.GetParameter(RowOf(card, L"version")).textSlot, L"1.02");
    const std::wstring file = dir.file("plant.cfg");
    rack.SaveToFile(file);

    CCardSlot opened;
    opened.LoadFromFile(file);
    CCardSlot compared;
    compared.LoadForComparison(file);
    const int version = RowOf(card, L"version");
    EXPECT_EQ(opened.GetCard(1)->GetStoredValueText(version), L"-") << "an open keeps the card's own";
    EXPECT_EQ(compared.GetCard(1)->GetStoredValueText(version), L"1.02");
    EXPECT_TRUE(CRackComparison(rack, compared).GetUncountedDifferences().empty());

    // A hand-written "0150" is the same number as 150; "abc" is no number at all.
    std::string text = k52test::ReadFile(dir.path() / "plant.cfg");
    const std::string gain = "<parameter item=\"010b\">10000</parameter>";
    ASSERT_NE(text.find(gain), std::string::npos);
    const std::string versionElement = "<parameter item=\"0028\">1.02</parameter>";
    ASSERT_NE(text.find(versionElement), std::string::npos);
    for (const auto& [written, differs] : {std::pair{"010000", false}, std::pair{"abc", true}}) {
        SCOPED_TRACE(written);
        std::string edited = text;
        edited.replace(edited.find(gain), gain.size(), std::string("<parameter item=\"010b\">") + written +
                                                           "</parameter>");
        // A file without the version element is still read, keeping the card's.
        edited.erase(edited.find(versionElement), versionElement.size());
        k52test::WriteFile(dir.path() / "edited.cfg", edited);
        CCardSlot handEdited;
        handEdited.LoadForComparison(dir.file("edited.cfg"));
        const CRackComparison comparison(rack, handEdited);
        EXPECT_EQ(comparison.IsEqual(), !differs);
        if (differs) {
            ASSERT_EQ(comparison.GetValueDifferences().size(), 1u);
            EXPECT_EQ(comparison.GetValueDifferences()[0].rightText, L"?abc");
        }
        ASSERT_EQ(comparison.GetUncountedDifferences().size(), 1u);
        EXPECT_EQ(comparison.GetUncountedDifferences()[0].rightText, L"-");
    }
}

} // namespace
