#include "CardTestHelpers.h"
#include "base/CXmlReaderWriter.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using k52test::RowOf;

namespace {

const wchar_t* const kSlotPath = L"/root/slot[@no='5']";

using Factory = std::function<std::unique_ptr<CCardInterface>(const std::wstring&)>;

// Gives every stored row a value of its own that differs from its default,
// so that a value read into the wrong row or not read at all shows.
void FillDistinctValues(CCardInterface& card) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        switch (definition.kind) {
        case KindText:
            card.SetTextSlot(definition.textSlot, L"text" + std::to_wstring(row));
            break;
        case KindList:
        case KindDecimal16:
        case KindInteger16:
        case KindSwitches4:
        case KindDecimal16Raw:
            card.SetWord(definition.page, definition.item, -(row * 37 + 11));
            break;
        case KindSigned32:
        case KindUnsigned32:
        case KindIpAddress:
        case KindWord32:
            card.SetDword(definition.page, definition.item,
                          0x80000000u + static_cast<std::uint32_t>(row) * 65539u);
            break;
        default:
            break;
        }
    }
}

// The row's value in the form the file holds it.
std::wstring SavedText(const CCardInterface& card, int row) {
    const ParameterDefinition& definition = card.GetParameter(row);
    return definition.kind == KindText ? card.GetTextSlot(definition.textSlot)
                                       : std::to_wstring(card.GetStoredValue(row));
}

void ExpectRoundTrip(const std::wstring& model, const Factory& create) {
    SCOPED_TRACE(testing::Message() << "model " << std::string(model.begin(), model.end()));
    auto original = create(model);
    FillDistinctValues(*original);

    k52test::TempDir dir;
    CXmlReaderWriter writer;
    writer.Create(L"root");
    writer.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"5");
    original->WriteToXml(writer, kSlotPath);
    writer.Save(dir.file("card.cfg"));

    CXmlReaderWriter reader;
    reader.Load(dir.file("card.cfg"));
    auto copy = create(reader.GetText(std::wstring(kSlotPath) + L"/type"));
    EXPECT_EQ(copy->GetTypeCode(), original->GetTypeCode());
    copy->ReadFromXml(reader, kSlotPath);
    const auto fresh = create(model);

    for (int row = 0; row < original->GetParameterCount(); ++row) {
        const ParameterDefinition& definition = original->GetParameter(row);
        SCOPED_TRACE(testing::Message() << "row " << row);
        if (definition.kind == KindGroup) {
            continue;
        }
        const std::wstring path = CMessageFormatter::Printf(
            L"%s/parameter[@item='%04x']", std::wstring(kSlotPath), definition.page * 256 + definition.item);
        if ((definition.flags & FlagOnDemand) != 0) {
            EXPECT_THROW(reader.GetText(path), CException) << "a one-shot value was saved";
            EXPECT_EQ(SavedText(*copy, row), SavedText(*fresh, row));
        } else if ((definition.flags & FlagReadOnly) != 0) {
            EXPECT_EQ(reader.GetText(path), SavedText(*original, row)) << "module information is saved too";
            EXPECT_EQ(SavedText(*copy, row), SavedText(*fresh, row))
                << "module information was taken from a file";
        } else {
            EXPECT_EQ(SavedText(*copy, row), SavedText(*original, row));
            EXPECT_EQ(copy->GetStoredValueText(row), original->GetStoredValueText(row));
        }
    }
}

class CardFiles : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }
};

} // namespace

TEST_F(CardFiles, EveryModelReadsBackWhatItWrote) {
    const Factory io = [](const std::wstring& name) { return CIOCardType().CreateByName(name); };
    const Factory com = [](const std::wstring& name) { return CCOMCardType().CreateByName(name); };
    for (const ModelRow& row : ModelRows(CardRegistry::Io)) {
        ExpectRoundTrip(row.name, io);
    }
    // The 16-point digital cards.
    const Factory addressed = [](const std::wstring& name) {
        return CIOCardType(StationAttribute(1)).CreateByName(name);
    };
    for (const ModelRow& row : ModelRows(CardRegistry::Io)) {
        if (row.traits.digital16 != Digital16::None) {
            ExpectRoundTrip(row.name, addressed);
        }
    }
    for (const ModelRow& row : ModelRows(CardRegistry::Com)) {
        ExpectRoundTrip(row.name, com);
    }
}

TEST_F(CardFiles, StoredTextsOfTheFile) {
    auto card = CIOCardType().CreateByName(L"JK7W");
    card->SetFromText(RowOf(*card, L"bias01"), L"12.34");
    card->SetWord(1, 0x1a, 0xFFFF);
    CXmlReaderWriter writer;
    writer.Create(L"root");
    writer.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"5");
    card->WriteToXml(writer, kSlotPath);
    const std::wstring slot = kSlotPath;
    EXPECT_EQ(writer.GetText(slot + L"/type"), L"JK7W");
    EXPECT_EQ(writer.GetText(slot + L"/parameter[@item='010b']"), L"10000");
    EXPECT_EQ(writer.GetText(slot + L"/parameter[@item='010a']"), L"1234");
    EXPECT_EQ(writer.GetText(slot + L"/parameter[@item='011a']"), L"-1");
    EXPECT_EQ(writer.GetText(slot + L"/parameter[@item='0028']"), L"-");

    auto com = CCOMCardType().CreateByName(L"K52HQ8");
    com->SetWord(0, 0x5c, 0xFFFF); // unsigned 65535 is saved as the signed word
    writer.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"0");
    com->WriteToXml(writer, L"/root/slot[@no='0']");
    EXPECT_EQ(writer.GetText(L"/root/slot[@no='0']/parameter[@item='0058']"), L"-1062731775");
    EXPECT_EQ(writer.GetText(L"/root/slot[@no='0']/parameter[@item='005c']"), L"-1");
}

TEST_F(CardFiles, ReadingTakesNumbersAsTheyStandAndNeedsEveryRow) {
    k52test::TempDir dir;
    k52test::WriteFile(dir.path() / "odd.cfg",
                       "<root><slot no='1'><type>KZ9W</type>"
                       "<parameter item='0028'>v9</parameter>"
                       "<parameter item='013a'>abc</parameter><parameter item='013b'>1</parameter>"
                       "<parameter item='0142'>70000</parameter><parameter item='010a'> -12xyz</parameter>"
                       "<parameter item='010b'>99999999999</parameter><parameter item='011a'>0</parameter>"
                       "<parameter item='011b'>0</parameter><parameter item='0143'>0</parameter>"
                       "<parameter item='010c'>0</parameter><parameter item='010d'>0</parameter>"
                       "<parameter item='011c'>0</parameter><parameter item='011d'>0</parameter>"
                       "<parameter item='003a'>0</parameter><parameter item='004e'>1</parameter>"
                       "</slot></root>");
    CXmlReaderWriter reader;
    reader.Load(dir.file("odd.cfg"));
    auto card = CIOCardType().CreateByName(L"KZ9W");
    card->SetWord(1, 0x3a, 1);
    card->ReadFromXml(reader, L"/root/slot[@no='1']");
    EXPECT_EQ(card->GetWord(1, 0x3a), 0) << "a text that is not a number stores 0";
    EXPECT_EQ(card->GetWord(1, 0x42), static_cast<std::int16_t>(70000 & 0xFFFF))
        << "no range check on reading";
    EXPECT_EQ(card->GetWord(1, 0x0a), -12);
    EXPECT_EQ(card->GetWord(1, 0x0b), -1) << "a number beyond 32 bits saturates before it is cut to 16";
    EXPECT_EQ(card->GetWord(0, 0x4e), 1);
    EXPECT_EQ(card->GetTextSlot(0), L"-");

    auto other = CIOCardType().CreateByName(L"KZ7W");
    EXPECT_THROW(other->ReadFromXml(reader, L"/root/slot[@no='1']"), CException);
}
