#include "base/TextConvert.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/CTableCard.h"
#include "catalog/CUniversalInputCard.h"
#include "catalog/ModelRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Registries : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }
};

const wchar_t* const kIoNames[] = {L"null", L"BJ58W",  L"QJ58W",  L"KZ7W",   L"KZ9W",  L"QZ7W",  L"QH7W",
                                   L"JK7W", L"JK9W",   L"ZQ7W",   L"BQ7W",   L"HJ7W",  L"KB7HW", L"JZB7W",
                                   L"QB9W", L"ZKH7JW", L"BJWQ8W", L"BHQB8W", L"BZKJ8W"};
const wchar_t* const kComNames[] = {L"K52HQBZ8", L"QZ52",     L"WB52",    L"K52HQ8",
                                    L"K52HJWQ8", L"K52HZKJ8", L"K52HJWB8"};

void ExpectUnknown(const CCardInterface& card) {
    EXPECT_NE(dynamic_cast<const CCardUnknown*>(&card), nullptr);
    EXPECT_EQ(card.GetTypeCode(), -1);
    EXPECT_EQ(card.GetSectionName(), L"unknown");
    EXPECT_EQ(card.GetCardName().GetModelName(), L"unknown");
    EXPECT_EQ(card.GetParameterCount(), 0);
    EXPECT_EQ(card.GetChannelCount(), 0);
}

} // namespace

TEST_F(Registries, EveryIoModelIsCreatedByNameAndCodeAndNamedAfterIt) {
    CIOCardType registry;
    for (int code = 0; code <= 18; ++code) {
        const std::wstring name = kIoNames[code];
        EXPECT_EQ(registry.CodeFromName(name), code);
        for (const std::shared_ptr<CCardInterface>& card :
             {std::shared_ptr<CCardInterface>(registry.CreateByCode(code)),
              std::shared_ptr<CCardInterface>(registry.CreateByName(name))}) {
            EXPECT_EQ(card->GetTypeCode(), code);
            EXPECT_EQ(card->GetSectionName(), name);
            EXPECT_EQ(card->GetCardName().GetModelName(), name);
        }
        EXPECT_EQ(registry.GetLongNameByCode(code), CCardName(name).GetLongName());
        EXPECT_FALSE(registry.GetLongNameByCode(code).empty());
    }
    EXPECT_NE(dynamic_cast<CCardJK7W*>(registry.CreateByName(L"JK7W").get()), nullptr);
    EXPECT_EQ(registry.CreateByName(L"JK7W")->GetParameterCount(), 59);
    EXPECT_EQ(registry.CreateByName(L"null")->GetParameterCount(), 0);
}

TEST_F(Registries, EveryComModelIsCreatedByNameAndCode) {
    CCOMCardType registry;
    for (int code = 0; code <= 6; ++code) {
        const std::wstring name = kComNames[code];
        for (const std::shared_ptr<CCardInterface>& card :
             {std::shared_ptr<CCardInterface>(registry.CreateByCode(code)),
              std::shared_ptr<CCardInterface>(registry.CreateByName(name))}) {
            EXPECT_EQ(card->GetTypeCode(), code);
            EXPECT_EQ(card->GetSectionName(), name);
            EXPECT_EQ(card->GetCardName().GetModelName(), name);
        }
        EXPECT_FALSE(registry.GetLongNameByCode(code).empty());
    }
    EXPECT_NE(dynamic_cast<CCardHQBZ8*>(registry.CreateByCode(0).get()), nullptr);
    EXPECT_EQ(registry.CreateByName(L"K52HZKJ8")->GetParameterCount(), 40);
}

TEST_F(Registries, UnknownNamesAndCodesGiveTheUnknownCard) {
    CIOCardType io;
    CCOMCardType com;
    EXPECT_EQ(io.CodeFromName(L"XY99"), 0) << "an unknown name counts as the empty slot's code";
    EXPECT_EQ(io.CodeFromName(L"unknown"), -1);
    EXPECT_EQ(io.CodeFromName(L"jk7w"), 0);
    ExpectUnknown(*io.CreateByName(L"XY99"));
    ExpectUnknown(*io.CreateByName(L"jk7w"));
    ExpectUnknown(*io.CreateByName(L"unknown"));
    ExpectUnknown(*io.CreateByName(L""));
    ExpectUnknown(*io.CreateByCode(MenuModelCount(CardRegistry::Io)));
    ExpectUnknown(*io.CreateByCode(-1));
    ExpectUnknown(*io.CreateByCode(-2));
    ExpectUnknown(*com.CreateByName(L"K52HQ8 "));
    ExpectUnknown(*com.CreateByName(L"JK7W"));
    ExpectUnknown(*com.CreateByCode(MenuModelCount(CardRegistry::Com)));
    ExpectUnknown(*com.CreateByCode(-1));
    EXPECT_EQ(io.GetLongNameByCode(42), CCardName(L"unknown").GetLongName());
    EXPECT_EQ(com.GetLongNameByCode(42), io.GetLongNameByCode(-1));
}

TEST_F(Registries, StationAttributeChoosesTheDigitalClass) {
    CIOCardType registry;
    auto generic = registry.CreateByCode(1);
    EXPECT_NE(dynamic_cast<CCardDIO*>(generic.get()), nullptr);
    EXPECT_EQ(generic->GetChannelCount(), 2);
    EXPECT_EQ(generic->GetChannelRow(0).valueDecimals, 32);
    EXPECT_EQ(generic->GetParameterCount(), 1);
    EXPECT_NE(dynamic_cast<CCardDIO*>(registry.CreateByName(L"QJ58W").get()), nullptr);
    // Only the word 1 addresses the 16-point modules, as downloads have
    // always taken it; the module's row holds nothing else.
    EXPECT_NE(dynamic_cast<CCardDIO*>(CIOCardType(StationAttribute(2)).CreateByCode(1).get()), nullptr);

    const CIOCardType addressed(StationAttribute(1));
    auto input = addressed.CreateByCode(1);
    auto output = addressed.CreateByName(L"QJ58W");
    EXPECT_NE(dynamic_cast<CCardHB58*>(input.get()), nullptr);
    EXPECT_NE(dynamic_cast<CCardHK58*>(output.get()), nullptr);
    EXPECT_EQ(input->GetParameterCount(), 2);
    EXPECT_EQ(input->GetSectionName(), L"BJ58W");
    EXPECT_EQ(output->GetTypeCode(), 2);

    EXPECT_EQ(generic->GetSectionName(), L"BJ58W");
}

// What the menus, the file and the station rely on for every model, the
// ones added later included: each row's card has the row's code, name and
// table, codes run from -1 without a gap, and a name means one model.
TEST_F(Registries, EveryRowMakesACardOfItsCodeNameAndTable) {
    for (const CardRegistry registry : {CardRegistry::Io, CardRegistry::Com}) {
        const std::span<const ModelRow> rows = ModelRows(registry);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(MenuModelCount(registry), static_cast<int>(rows.size()) - 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ModelRow& row = rows[i];
            SCOPED_TRACE(ToUtf8(row.name));
            EXPECT_EQ(row.code, static_cast<std::int32_t>(i) - 1);
            EXPECT_EQ(FindModelByName(registry, row.name), &row);
            EXPECT_EQ(&FindModel(registry, row.code), &row);
            for (const std::uint16_t attribute : {std::uint16_t{0}, std::uint16_t{1}}) {
                const std::unique_ptr<CCardInterface> card =
                    registry == CardRegistry::Io ? CIOCardType(StationAttribute(attribute)).CreateByName(row.name)
                                                 : CCOMCardType().CreateByName(row.name);
                EXPECT_EQ(card->GetTypeCode(), row.code);
                EXPECT_EQ(card->GetSectionName(), row.name);
                const bool generic = row.traits.digital16 != Digital16::None && attribute == 0;
                std::span<const ParameterDefinition> parameters;
                if (generic) {
                    parameters = TableDIO().parameters;
                } else if (IsModule(row)) {
                    parameters = row.table().parameters;
                }
                ASSERT_EQ(card->GetParameterCount(), static_cast<int>(parameters.size()));
                if (!parameters.empty()) {
                    EXPECT_EQ(&card->GetParameter(0), parameters.data()) << "the card reads another table";
                }
            }
        }
    }
}

TEST_F(Registries, CardNamesGiveTheModelsTexts) {
    CCardName name(L"JK7W");
    EXPECT_NE(name.GetLongName(), name.GetShortName());
    EXPECT_FALSE(name.GetScaledDataName().empty());
    EXPECT_FALSE(name.GetRawDataName().empty());
    EXPECT_THROW(CCardName(L"XY99").GetLongName(), CException);
}
