// Uploading and downloading cards through the real link, against a simulated
// station (and, where the station cannot play the part, a scripted peer).
#include "CardTestHelpers.h"
#include "StationFixture.h"

#include "base/CXmlReaderWriter.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "link/ScriptedPeer.h"

#include <algorithm>
#include <chrono>

using k52test::Access;
using k52test::RowOf;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kIoSlot = 3;

bool Has(const ParameterDefinition& definition, std::int32_t flag) {
    return (definition.flags & flag) != 0;
}

bool IsReadKind(std::int32_t kind) {
    return (kind >= KindText && kind <= KindIpAddress) || kind == KindDecimal16Raw;
}

// The reads an upload makes: the rows of these kinds, in table order.
std::vector<Access> TableReads(const CCardInterface& card, int slot, bool adjustmentOnly) {
    std::vector<Access> reads;
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        if (adjustmentOnly && !Has(definition, FlagAdjustment | FlagAdjustContext | FlagOnDemand)) {
            continue;
        }
        if (IsReadKind(definition.kind)) {
            reads.push_back(Access::Read(slot, definition.page, definition.item));
        }
    }
    return reads;
}

// Gives every setting of the card a value other than its default that the
// card's own checks accept.
void ChangeEverySetting(CCardInterface& card) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        if (Has(definition, FlagReadOnly | FlagOnDemand)) {
            continue;
        }
        switch (definition.kind) {
        case KindText:
            if (definition.textSlot >= 6 && definition.textSlot <= 9) {
                card.SetFromText(row, L"user" + std::to_wstring(row));
            } else if (definition.textSlot == 11) {
                card.SetFromText(row, L"time" + std::to_wstring(row) + L".example");
            }
            break;
        case KindIpAddress:
            card.SetFromText(row, L"10.1." + std::to_wstring(row) + L".200");
            break;
        case KindList:
        case KindUnsigned32:
        case KindDecimal16:
        case KindDecimal16Raw: {
            const std::int32_t current = card.GetStoredValue(row);
            bool changed = false;
            for (std::int32_t candidate :
                 {current + 1, current - 1, definition.maximum, definition.minimum}) {
                if (candidate == current) {
                    continue;
                }
                try {
                    card.SetCheckedValue(row, candidate);
                    changed = true;
                    break;
                } catch (const CException&) {
                }
            }
            EXPECT_TRUE(changed) << "row " << row << " takes no neighbour of its default";
            break;
        }
        default:
            break;
        }
    }
}

// Rows that a normal download writes to the module.
bool IsDownloaded(const CCardInterface& card, int row) {
    const ParameterDefinition& definition = card.GetParameter(row);
    if (Has(definition, FlagReadOnly | FlagOnDemand) || definition.item == 0 || card.IsDisabled(row)) {
        return false;
    }
    if (definition.kind == KindText) {
        return definition.textSlot >= 6 && definition.textSlot <= 11;
    }
    return IsReadKind(definition.kind);
}

struct Model {
    bool communication;
    std::int32_t code;
};

std::unique_ptr<CCardInterface> Create(const Model& model, StationAttribute attribute) {
    return model.communication ? CCOMCardType().CreateByCode(model.code)
                               : CIOCardType(attribute).CreateByCode(model.code);
}

class CardTransferTest : public k52test::StationFixture {};

TEST_F(CardTransferTest, EveryModelGoesDownAsTextsAndComesBackWhole) {
    std::vector<Model> models;
    for (const ModelRow& row : AllModelRows()) {
        if (IsModule(row)) {
            models.push_back({row.registry == CardRegistry::Com, row.code});
        }
    }
    // The 16-point digital modules are addressed directly.
    m_attribute = StationAttribute(1);
    for (const Model& model : models) {
        std::unique_ptr<CCardInterface> source = Create(model, m_attribute);
        const std::wstring name = source->GetCardName().GetModelName();
        SCOPED_TRACE(ToUtf8(name));
        const int slot = model.communication ? 0 : kIoSlot;
        StartStation({{slot, name}});

        ChangeEverySetting(*source);
        source->DownloadParameters(slot, Link(), -1, false, m_attribute);
        const std::vector<Access> writes = TakeAccesses();
        EXPECT_EQ(static_cast<int>(writes.size()), source->CountDownloadExchanges(slot, m_attribute));
        const bool pageOne = model.communication ||
                             FindModel(CardRegistry::Io, model.code).traits.pageOneWriteFrame;
        const std::vector<Access> opening =
            pageOne ? std::vector{Access::Write(slot, 0, 1, L"1"), Access::Write(slot, 1, 1, L"1")}
                    : std::vector{Access::Write(slot, 0, 1, L"1")};
        const std::vector<Access> closing =
            pageOne ? std::vector{Access::Write(slot, 0, 1, L"0"), Access::Write(slot, 1, 1, L"0")}
                    : std::vector{Access::Write(slot, 0, 1, L"0")};
        ASSERT_GE(writes.size(), opening.size() + closing.size());
        EXPECT_TRUE(std::equal(opening.begin(), opening.end(), writes.begin()));
        EXPECT_TRUE(std::equal(closing.rbegin(), closing.rend(), writes.rbegin()));

        std::unique_ptr<CCardInterface> copy = Create(model, m_attribute);
        copy->UploadParameters(slot, Link(), false);
        EXPECT_EQ(TakeAccesses(), TableReads(*copy, slot, false));
        EXPECT_EQ(static_cast<std::size_t>(copy->CountUploadExchanges(false)), TableReads(*copy, slot, false).size());
        EXPECT_FALSE(copy->IsAdjustmentRead());

        for (int row = 0; row < source->GetParameterCount(); ++row) {
            SCOPED_TRACE(ToUtf8(source->GetParameter(row).textKey));
            const ParameterDefinition& definition = source->GetParameter(row);
            if (IsDownloaded(*source, row)) {
                if (definition.kind == KindText) {
                    EXPECT_EQ(copy->GetTextSlot(definition.textSlot),
                              source->GetTextSlot(definition.textSlot));
                } else {
                    EXPECT_EQ(copy->GetStoredValue(row), source->GetStoredValue(row));
                }
            } else if (definition.kind == KindText && definition.textSlot == 0) {
                EXPECT_EQ(copy->GetTextSlot(0), Station().GetValue(slot, definition.page, definition.item));
            }
        }
    }
}

TEST_F(CardTransferTest, WhatTheProgramHoldsAlwaysPassesTheDownloadChecks) {
    // Defaults, values the list took, values uploaded and files written from
    // them: a download never refuses any of them. And the rows the checks
    // look at are exactly the rows a download writes.
    for (const std::uint16_t attribute : {0, 1}) {
        m_attribute = StationAttribute(attribute);
        std::vector<Model> models;
        for (std::int32_t code = -1; code <= 18; ++code) {
            models.push_back({false, code});
        }
        for (std::int32_t code = -1; code <= 6; ++code) {
            models.push_back({true, code});
        }
        for (const Model& model : models) {
            std::unique_ptr<CCardInterface> card = Create(model, m_attribute);
            const std::wstring name = card->GetCardName().GetModelName();
            SCOPED_TRACE(ToUtf8(name) + " attribute " + std::to_string(attribute));
            const int slot = model.communication ? 0 : kIoSlot;
            auto expectAllPass = [](const CCardInterface& checked, const char* what) {
                for (int row = 0; row < checked.GetParameterCount(); ++row) {
                    if (checked.IsWrittenByDownload(row)) {
                        EXPECT_NO_THROW(checked.CheckStoredValue(row)) << what << ", row " << row;
                    }
                }
            };
            expectAllPass(*card, "default");
            if (model.code < 0 || (model.code == 0 && !model.communication)) {
                continue; // the unknown and the empty card have no module to talk to
            }
            StartStation({{slot, name}});
            std::unique_ptr<CCardInterface> uploaded = Create(model, m_attribute);
            uploaded->UploadParameters(slot, Link(), false);
            expectAllPass(*uploaded, "uploaded");
            // Saved and opened again, as a backup is.
            CXmlReaderWriter file;
            file.Create(L"root");
            file.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"1");
            uploaded->WriteToXml(file, L"/root/slot[@no='1']");
            std::unique_ptr<CCardInterface> opened = Create(model, m_attribute);
            opened->ReadFromXml(file, L"/root/slot[@no='1']");
            expectAllPass(*opened, "opened");
            TakeAccesses();

            card->DownloadParameters(slot, Link(), -1, false, m_attribute);
            const std::vector<Access> accesses = TakeAccesses();
            EXPECT_EQ(static_cast<int>(accesses.size()), card->CountDownloadExchanges(slot, m_attribute));
            std::vector<Access> written;
            for (const Access& access : accesses) {
                if (access.write && !(access.item == 1 && access.page <= 1)) { // not the write frame
                    written.push_back(Access::Read(access.address, access.page, access.item));
                }
            }
            // Without the attribute word the 16-point modules are not written at all.
            const bool skipped =
                !model.communication && (model.code == 1 || model.code == 2) && attribute == 0;
            std::vector<Access> checked;
            for (int row = 0; row < card->GetParameterCount() && !skipped; ++row) {
                const ParameterDefinition& definition = card->GetParameter(row);
                if (card->IsWrittenByDownload(row)) {
                    checked.push_back(Access::Read(slot, definition.page, definition.item));
                }
            }
            EXPECT_EQ(written, checked);

            ChangeEverySetting(*card);
            expectAllPass(*card, "changed");
        }
    }
}

TEST_F(CardTransferTest, ValuesReachTheModuleInTheirDisplayForm) {
    StartStation({{0, L"K52HQ8"}, {2, L"KZ9W"}, {4, L"QB9W"}});
    auto analog = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    analog->SetFromText(RowOf(*analog, L"bias01"), L"12.34");
    analog->SetFromText(RowOf(*analog, L"bias02"), L"-0.05");
    analog->SetFromText(RowOf(*analog, L"gain01"), L"1.2345");
    analog->DownloadParameters(2, Link(), -1, false, m_attribute);
    EXPECT_EQ(Station().GetValue(2, 1, 0x0a), L"12.34");
    EXPECT_EQ(Station().GetValue(2, 1, 0x0c), L"-0.05");
    EXPECT_EQ(Station().GetValue(2, 1, 0x0b), L"1.2345");
    EXPECT_EQ(Station().GetValue(2, 1, 0x1b), L"10000") << "a row without decimals goes as a whole number";

    auto com = CCOMCardType().CreateByName(L"K52HQ8");
    com->SetFromText(RowOf(*com, L"ipgw"), L"192.168.0.1");
    com->SetFromText(RowOf(*com, L"timeout"), L"2.5");
    TakeAccesses();
    com->DownloadParameters(0, Link(), -1, false, m_attribute);
    const std::vector<Access> writes = TakeAccesses();
    EXPECT_NE(std::find(writes.begin(), writes.end(), Access::Write(0, 0, 0x59, L"192.168.0.1")),
              writes.end());
    EXPECT_NE(std::find(writes.begin(), writes.end(), Access::Write(0, 0, 0x2d, L"2.5")), writes.end());
    for (const Access& access : writes) {
        EXPECT_TRUE(access.write);
        EXPECT_NE(access.item, 0x1b) << "the read-only attribute is never written";
    }

    // A counter's span is read before it is written.
    auto counter = CIOCardType(m_attribute).CreateByName(L"QB9W");
    counter->SetFromText(RowOf(*counter, L"upCount01"), L"4000000000");
    counter->DownloadParameters(4, Link(), -1, false, m_attribute);
    const std::vector<Access> counterWrites = TakeAccesses();
    const auto span = std::find(counterWrites.begin(), counterWrites.end(), Access::Read(4, 1, 0x2b));
    ASSERT_NE(span, counterWrites.end());
    ASSERT_NE(span + 1, counterWrites.end());
    EXPECT_EQ(span[1], Access::Write(4, 1, 0x2b, L"4000000000"));
}

TEST_F(CardTransferTest, UploadOfARangeRowKeepsTheModuleScalingThatFollowsIt) {
    StartStation({{1, L"JK7W"}});
    Station().SetValue(1, 1, 0x42, L"0");
    Station().SetValue(1, 1, 0x2a, L"1.500");
    Station().SetValue(1, 1, 0x2b, L"-2.000");
    Station().SetValue(1, 1, 0x0a, L"0.25");
    Station().SetValue(1, 1, 0x0b, L"1.2000");
    auto card = CIOCardType(m_attribute).CreateByName(L"JK7W");
    card->UploadParameters(1, Link(), false);
    EXPECT_EQ(card->GetWord(1, 0x42), 0);
    EXPECT_EQ(card->GetWord(1, 0x2a), 1500);
    EXPECT_EQ(card->GetWord(1, 0x2b), -2000);
    EXPECT_EQ(card->GetWord(1, 0x0a), 25);
    EXPECT_EQ(card->GetWord(1, 0x0b), 12000);
    EXPECT_EQ(card->GetStoredValueText(RowOf(*card, L"zbase01")), L"1.500");

    // The decimals follow the range read just before: range 9 has none.
    Station().SetValue(1, 1, 0x42, L"9");
    Station().SetValue(1, 1, 0x2a, L"150");
    card->UploadParameters(1, Link(), false);
    EXPECT_EQ(card->GetWord(1, 0x2a), 150);
    EXPECT_EQ(card->GetWord(1, 0x0b), 12000);
}

TEST_F(CardTransferTest, AdjustmentUploadReadsOnlyTheAdjustmentSet) {
    StartStation({{1, L"JK7W"}});
    auto card = CIOCardType(m_attribute).CreateByName(L"JK7W");
    card->UploadParameters(1, Link(), true);
    const std::vector<Access> reads = TakeAccesses();
    EXPECT_EQ(reads, TableReads(*card, 1, true));
    EXPECT_LT(reads.size(), TableReads(*card, 1, false).size());
    EXPECT_TRUE(card->IsAdjustmentRead());
}

TEST_F(CardTransferTest, ListValueOutsideItsRangeFailsTheUpload) {
    StartStation({{2, L"KZ9W"}});
    Station().PinValue(2, 1, 0x43, L"12");
    auto card = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    const int range = RowOf(*card, L"rangepc02");
    const std::wstring expected = CResourceManager::FormatNumberedMessage(
        Msg::rangeerr, card->GetCaption(range), card->GetValueText(range, 0), card->GetValueText(range, 11));
    EXPECT_EQ(k52test::RaisedText([&] { card->UploadParameters(2, Link(), false); }), expected);
    EXPECT_EQ(card->GetWord(1, 0x43), 0) << "the refused value is not kept";
}

TEST_F(CardTransferTest, AttributeRowIsReadAtAnyAddress) {
    // The rack takes the attribute word from its communication module's card
    // (TransferTest); a card reads the row as any other.
    m_link.reset();
    linktest::ScriptedPeer peer;
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    settings.SetDevicePath(peer.SlavePath());
    link.SetSettings(settings);
    link.Open();
    const auto readReply = [](std::uint8_t address, const std::string& text) {
        linktest::Bytes payload{address, 0x15, 0x00, 0x00};
        payload.insert(payload.end(), text.begin(), text.end());
        return linktest::ReferenceFrame(payload);
    };
    peer.Run({{{5, 0x15, 0x00, 0x00, 0x28}, readReply(5, "VER:2.10")},
              {{5, 0x15, 0x00, 0x00, 0x1b}, readReply(5, "ATTRIB:0001")}});
    auto other = CCOMCardType().CreateByName(L"K52HQBZ8");
    other->UploadParameters(5, link, false);
    peer.Finish();
    EXPECT_TRUE(peer.Problems().empty());
    EXPECT_EQ(other->GetWord(0, 0x1b), 1);
    EXPECT_EQ(other->GetTextSlot(0), L"2.10");
}

TEST_F(CardTransferTest, SixteenPointDigitalCardWritesOnlyWithTheAttributeWord) {
    StartStation({{2, L"BJ58W"}});
    m_attribute = StationAttribute(0);
    auto generic = CIOCardType(m_attribute).CreateByCode(1);
    generic->DownloadParameters(2, Link(), -1, false, m_attribute);
    EXPECT_TRUE(TakeAccesses().empty());

    m_attribute = StationAttribute(1);
    auto digital = CIOCardType(m_attribute).CreateByCode(1);
    digital->SetCheckedValue(RowOf(*digital, L"simu"), 1);
    digital->DownloadParameters(2, Link(), -1, false, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Write(2, 0, 1, L"1"), Access::Write(2, 1, 1, L"1"),
                                           Access::Write(2, 0, 0x4e, L"1"), Access::Write(2, 0, 1, L"0"),
                                           Access::Write(2, 1, 1, L"0")}));
}

TEST_F(CardTransferTest, OnDemandDownloadWritesTheAdjustmentRowsAndTheAskedCommand) {
    StartStation({{5, L"QB9W"}});
    auto card = CIOCardType(m_attribute).CreateByName(L"QB9W");
    card->SetCheckedValue(RowOf(*card, L"preset01"), 111);
    card->SetCheckedValue(RowOf(*card, L"preset02"), 222);
    card->SetCheckedValue(RowOf(*card, L"simu"), 1);

    const Clock::time_point start = Clock::now();
    card->DownloadParameters(5, Link(), RowOf(*card, L"preset02"), true, m_attribute);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(500));
    const std::vector<StationRequest> log = Station().GetRequestLog();
    ASSERT_FALSE(log.empty());
    EXPECT_GE(log.back().received - log.front().received, std::chrono::milliseconds(480))
        << "the module has the time before the write frame closes";
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Write(5, 0, 1, L"1"), Access::Write(5, 1, 1, L"1"),
                                           Access::Write(5, 1, 0x03, L"222"), Access::Write(5, 0, 0x4e, L"1"),
                                           Access::Write(5, 0, 1, L"0"), Access::Write(5, 1, 1, L"0")}));

    // Asked for a row that is not a command, only the adjustment rows go.
    card->DownloadParameters(5, Link(), RowOf(*card, L"edge"), true, m_attribute);
    EXPECT_EQ(TakeAccesses(), (std::vector{Access::Write(5, 0, 1, L"1"), Access::Write(5, 1, 1, L"1"),
                                           Access::Write(5, 0, 0x4e, L"1"), Access::Write(5, 0, 1, L"0"),
                                           Access::Write(5, 1, 1, L"0")}));

    // A normal download leaves the commands alone and does not wait.
    const Clock::time_point normal = Clock::now();
    card->DownloadParameters(5, Link(), RowOf(*card, L"preset02"), false, m_attribute);
    EXPECT_LT(Clock::now() - normal, std::chrono::milliseconds(400));
    for (const Access& access : TakeAccesses()) {
        EXPECT_FALSE(access.page == 1 && (access.item == 0x02 || access.item == 0x03));
    }
}

TEST_F(CardTransferTest, NetworkModelsNeverTouchItemOneOfPageOne) {
    m_attribute = StationAttribute(1);
    for (const wchar_t* model : {L"BJWQ8W", L"BHQB8W", L"BZKJ8W"}) {
        SCOPED_TRACE(ToUtf8(model));
        StartStation({{6, model}});
        auto card = CIOCardType(m_attribute).CreateByName(model);
        card->DownloadParameters(6, Link(), -1, false, m_attribute);
        card->DownloadParameters(6, Link(), -1, true, m_attribute);
        card->ExchangeLiveValues(6, Link(), true, m_attribute);
        const std::vector<Access> accesses = TakeAccesses();
        EXPECT_EQ(std::count(accesses.begin(), accesses.end(), Access::Write(6, 0, 1, L"1")), 3);
        EXPECT_EQ(std::count(accesses.begin(), accesses.end(), Access::Write(6, 0, 1, L"0")), 3);
        for (const Access& access : accesses) {
            EXPECT_FALSE(access.page == 1 && access.item == 1);
        }
    }
}

TEST_F(CardTransferTest, FailedDownloadStopsAtOnceAndLeavesTheFrameOpen) {
    StartStation({{2, L"KZ9W"}});
    Station().InjectFault(StationFault::AtItem(2, 1, 0x0b, StationFault::Kind::ErrorStatus).WithStatus(7));
    auto card = CIOCardType(m_attribute).CreateByName(L"KZ9W");
    const std::wstring raised = k52test::RaisedText([&] { card->DownloadParameters(2, Link(), -1, false, m_attribute); });
    EXPECT_EQ(raised,
              CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"), 2, 0x0b, 1,
                                              CResourceManager::FormatMessage(Msg::jx5com_errcode, 7)));
    const std::vector<Access> accesses = TakeAccesses();
    ASSERT_FALSE(accesses.empty());
    EXPECT_EQ(accesses.back(), Access::Write(2, 1, 0x0b, L"1.0000"));
    EXPECT_EQ(std::count(accesses.begin(), accesses.end(), Access::Write(2, 0, 1, L"0")), 0);
}

} // namespace

// The monitor reads only the adjustment set of the selected module. Its base
// values have the decimals (and the unit) of the channel's range and unit, so
// those rows are read with it: a channel in °F shows, and would write back,
// the same base values as after a full upload.
TEST_F(CardTransferTest, AdjustmentUploadReadsTheRowsTheBaseDecimalsDependOn) {
    struct Case {
        const wchar_t* model;
        std::uint8_t rangePage, rangeItem, unitPage, unitItem;
        const wchar_t* range;
    };
    for (const Case& c : {Case{L"JK7W", 1, 0x42, 2, 0x45, L"10"}, Case{L"BQ7W", 1, 0x42, 1, 0x5a, L"1"}}) {
        SCOPED_TRACE(std::wstring(c.model));
        StartStation({{1, c.model}});
        Station().SetValue(1, c.rangePage, c.rangeItem, c.range);
        Station().SetValue(1, c.unitPage, c.unitItem, L"1");
        Station().SetValue(1, 1, 0x2a, L"-40");
        Station().SetValue(1, 1, 0x2b, L"1200");

        auto full = CIOCardType(m_attribute).CreateByName(c.model);
        full->UploadParameters(1, Link(), false);
        auto adjust = CIOCardType(m_attribute).CreateByName(c.model);
        adjust->UploadParameters(1, Link(), true);
        for (const wchar_t* key : {L"zbase01", L"fbase01"}) {
            const int row = RowOf(*full, key);
            EXPECT_EQ(adjust->GetRowDecimals(row), full->GetRowDecimals(row)) << key;
            EXPECT_EQ(adjust->GetDisplayText(row), full->GetDisplayText(row)) << key;
            EXPECT_EQ(adjust->GetUnitText(row), full->GetUnitText(row)) << key;
            EXPECT_EQ(adjust->GetWord(1, full->GetParameter(row).item),
                      full->GetWord(1, full->GetParameter(row).item));
        }
        EXPECT_EQ(full->GetRowDecimals(RowOf(*full, L"zbase01")), 0) << "°F base values are whole degrees";
    }
}
