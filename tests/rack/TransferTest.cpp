// Upload and download against a simulated station through the real link,
// directly and on their worker threads.
#include "TestStation.h"
#include "base/TextConvert.h"
#include "catalog/CIOCardType.h"
#include "rack/CCardSlot.h"
#include "rack/CDownloadThread.h"
#include "rack/CProgressCounter.h"
#include "rack/CUploadThread.h"
#include "station/StationProtocol.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

using k52test::RaisedText;
using k52test::TestStation;
using Kind = StationFault::Kind;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kAll = CCardSlot::kAllSlots;

// Collects reported error texts instead of printing them.
class ReportedErrors {
public:
    ReportedErrors() {
        SetErrorReportHandler([this](const std::wstring& text) {
            std::lock_guard lock(m_mutex);
            m_texts.push_back(text);
        });
    }
    ~ReportedErrors() { SetErrorReportHandler(nullptr); }
    std::vector<std::wstring> Texts() const {
        std::lock_guard lock(m_mutex);
        return m_texts;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::wstring> m_texts;
};

std::wstring Model(const CCardSlot& rack, int index) {
    return rack.HasCard(index) ? rack.GetCard(index)->GetCardName().GetModelName() : L"<none>";
}

std::wstring Uploaded(const std::wstring& inner) {
    return CResourceManager::FormatMessage(Msg::uploaderr, inner);
}
std::wstring Downloaded(const std::wstring& inner) {
    return CResourceManager::FormatMessage(Msg::downloaderr, inner);
}

bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool AnyRequest(TestStation& station, const std::function<bool(const StationRequest&)>& match) {
    for (const StationRequest& request : station.Station().GetRequestLog()) {
        if (match(request)) {
            return true;
        }
    }
    return false;
}

// A row of the card that a normal download writes and an upload reads back.
int WritableNumberRow(const CCardInterface& card) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        if ((definition.kind == KindInteger16 || definition.kind == KindDecimal16) && definition.flags == 0 &&
            !card.IsDisabled(row) && definition.maximum > definition.minimum) {
            return row;
        }
    }
    return -1;
}

int RowWithKey(const CCardInterface& card, std::wstring_view key) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (key == card.GetParameter(row).textKey) {
            return row;
        }
    }
    ADD_FAILURE() << "no row " << ToUtf8(std::wstring(key));
    return 0;
}

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    static CCardSlot Upload(TestStation& station, std::uint64_t mask, CProgressCounter* counter = nullptr) {
        CProgressCounter own;
        auto link = station.OpenLink(mask);
        CCardSlot rack;
        rack.Upload(*link, counter != nullptr ? *counter : own, mask);
        return rack;
    }

    static void Download(TestStation& station, const CCardSlot& rack, std::uint64_t mask,
                         CProgressCounter* counter = nullptr) {
        CProgressCounter own;
        auto link = station.OpenLink(mask);
        rack.Download(*link, counter != nullptr ? *counter : own, mask);
    }
};

// ---------------------------------------------------------------------------
// Upload

TEST_F(TransferTest, UploadReadsThePresentModulesAndEmptiesTheOtherSlots) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    CProgressCounter counter;
    const CCardSlot rack = Upload(station, kAll, &counter);

    EXPECT_EQ(Model(rack, 0), L"K52HQ8");
    EXPECT_EQ(Model(rack, 1), L"JK7W");
    EXPECT_EQ(Model(rack, 3), L"KZ9W");
    for (int index : {2, 4, 9, 16}) {
        EXPECT_EQ(Model(rack, index), L"null") << index;
        EXPECT_EQ(rack.GetCard(index)->GetTypeCode(), 0);
    }
    // The communication module's parameters carry the station attribute word.
    EXPECT_EQ(rack.GetStationAttribute(), StationAttribute(1));
    // One step for the map and one for each I/O slot, against the modules + 1.
    EXPECT_EQ(counter.GetTotal(), 3);
    EXPECT_EQ(counter.GetCurrent(), 17);
    // The modules were read, not just named.
    EXPECT_TRUE(AnyRequest(station, [](const StationRequest& r) { return r.address == 3; }));
}

TEST_F(TransferTest, UploadCountsTheModulesOfTheStation) {
    TestStation four(L"0=K52HQ8,1=JK7W,2=JK7W,7=KZ9W,16=JK7W");
    CProgressCounter counter;
    Upload(four, kAll, &counter);
    EXPECT_EQ(counter.GetTotal(), 5);
    EXPECT_EQ(counter.GetCurrent(), 17);

    std::wstring lineUp = L"0=K52HQ8";
    for (int slot = 1; slot <= 16; ++slot) {
        lineUp += L"," + std::to_wstring(slot) + L"=JK7W";
    }
    TestStation full(lineUp);
    CProgressCounter fullCounter;
    const CCardSlot rack = Upload(full, kAll, &fullCounter);
    EXPECT_EQ(fullCounter.GetTotal(), 17);
    EXPECT_EQ(fullCounter.GetCurrent(), 17);
    EXPECT_EQ(Model(rack, 16), L"JK7W");
}

TEST_F(TransferTest, UploadLeavesUnchosenSlotsToTheWindowsRack) {
    TestStation station(L"0=K52HQ8,1=JK7W,5=KZ9W");
    const std::uint64_t mask = kAll & ~std::uint64_t{0x21}; // neither the COM slot nor slot 5
    const CCardSlot uploaded = Upload(station, mask);

    // Neither module was asked anything, not even its name.
    EXPECT_FALSE(AnyRequest(station, [](const StationRequest& r) {
        return r.address == 5 ||
               (r.address == 0 && r.page == 0 && (r.item == kStationNameItem || r.item == 14));
    }));
    EXPECT_FALSE(AnyRequest(station, [](const StationRequest& r) { return r.address == 0 && r.page != 0; }));
    EXPECT_FALSE(uploaded.HasCard(0));
    EXPECT_EQ(Model(uploaded, 5), L"null");
    EXPECT_EQ(Model(uploaded, 1), L"JK7W");

    CCardSlot window;
    window.Clear();
    window.SetCard(5, CIOCardType().CreateByName(L"QB9W"));
    const CCardSlot::CardHandle com = window.GetCard(0);
    const CCardSlot::CardHandle five = window.GetCard(5);
    window.CopySlots(uploaded, mask);
    EXPECT_EQ(window.GetCard(0), com);
    EXPECT_EQ(window.GetCard(5), five);
    EXPECT_EQ(window.GetCard(1), uploaded.GetCard(1));
}

TEST_F(TransferTest, MapCommandWordStatusIsTakenByUploadOnly) {
    TestStation station(L"0=K52HQ8,2=JK7W");
    station.SetMapCommandWord(L"STATUS");
    const CCardSlot rack = Upload(station, kAll);
    EXPECT_EQ(Model(rack, 2), L"JK7W");

    station.Station().ClearRequestLog();
    EXPECT_EQ(RaisedText([&] { Download(station, rack, kAll); }), Downloaded(L"can't read active i/o card"));
    EXPECT_TRUE(station.Writes().empty());

    station.SetMapCommandWord(L"UPMAX");
    CCardSlot kept = rack;
    EXPECT_EQ(RaisedText([&] { kept = Upload(station, kAll); }), Uploaded(L"can't read active i/o card"));
    EXPECT_EQ(kept.GetCard(2), rack.GetCard(2));
}

TEST_F(TransferTest, FailedUploadThreadLeavesTheWindowsRackWhole) {
    std::wstring lineUp = L"0=K52HQ8";
    for (int slot = 1; slot <= 16; ++slot) {
        lineUp += L"," + std::to_wstring(slot) + L"=JK7W";
    }
    TestStation station(lineUp);
    StationFault fault;
    fault.kind = Kind::ErrorStatus;
    fault.status = 5;
    fault.address = 9;
    station.Station().InjectFault(fault);

    CCardSlot window;
    window.Clear();
    const CCardSlot before = window;
    ReportedErrors reported;
    std::wstring stored;
    {
        auto link = station.MakeLink(kAll);
        CUploadThread thread;
        thread.SetLink(*link);
        EXPECT_EQ(thread.GetProgressText(), L"Reading the station...");
        thread.Start();
        ASSERT_TRUE(WaitFor([&] { return thread.HasEnded(); }));
        if (thread.Succeeded()) {
            window.CopySlots(thread.GetRack(), kAll);
        }
        ASSERT_NE(thread.GetError(), nullptr);
        stored = thread.GetError()->GetText();
        EXPECT_FALSE(thread.GetRack().HasCard(1)) << "the thread's rack took nothing either";
        EXPECT_TRUE(reported.Texts().empty());
    }
    const std::vector<StationRequest> log = station.Station().GetRequestLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().address, 9);
    EXPECT_FALSE(AnyRequest(station, [](const StationRequest& r) { return r.address > 9; }));
    const std::wstring inner = CResourceManager::FormatMessage(
        Msg::jx5com_comfail, std::wstring(L"Item"), 9, static_cast<int>(log.back().item), 1,
        CResourceManager::FormatMessage(Msg::jx5com_errcode, 5));
    EXPECT_EQ(stored, Uploaded(inner));
    EXPECT_EQ(reported.Texts(), std::vector<std::wstring>{Uploaded(inner)});
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        EXPECT_EQ(window.GetCard(index), before.GetCard(index)) << index;
    }
}

TEST_F(TransferTest, UploadThreadThatCannotOpenItsPortReportsThePortsMessage) {
    ReportedErrors reported;
    std::wstring stored;
    {
        auto link = std::make_unique<CJX5COMInterface>();
        CComSettings settings;
        settings.SetDevicePath(L"rackstation:nothing-here");
        settings.SetModuleSelectionMask(kAll);
        link->SetSettings(settings);
        CUploadThread thread;
        thread.SetLink(*link);
        thread.Start();
        thread.Wait();
        EXPECT_FALSE(thread.Succeeded());
        ASSERT_NE(thread.GetError(), nullptr);
        stored = thread.GetError()->GetText();
    }
    EXPECT_NE(stored, L"");
    EXPECT_EQ(stored.rfind(L"Upload failed.", 0), std::wstring::npos) << "an open failure keeps its own text";
    EXPECT_EQ(reported.Texts(), std::vector<std::wstring>{stored});
}

TEST_F(TransferTest, CancelledUploadEndsWithoutMessageOrResult) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    StationFault fault;
    fault.kind = Kind::NoReply;
    fault.address = 3;
    station.Station().InjectFault(fault);
    ReportedErrors reported;
    {
        auto link = station.MakeLink(kAll);
        CUploadThread thread;
        thread.SetLink(*link);
        thread.Start();
        ASSERT_TRUE(WaitFor(
            [&] { return AnyRequest(station, [](const StationRequest& r) { return r.address == 3; }); }));
        const auto cancelled = Clock::now();
        thread.Cancel();
        ASSERT_TRUE(WaitFor([&] { return thread.HasEnded(); }));
        // Well before the link's reply time-out: the pending read was interrupted.
        EXPECT_LT(Clock::now() - cancelled, std::chrono::milliseconds(900));
        EXPECT_FALSE(thread.Succeeded());
        EXPECT_EQ(thread.GetError(), nullptr);
        EXPECT_FALSE(thread.GetRack().HasCard(0));
    }
    EXPECT_TRUE(reported.Texts().empty());
}

TEST_F(TransferTest, FailureOfACancelledLinkIsTheCancellationEvenBeforeTheThreadIsMarked) {
    // Cancel interrupts the link first and marks the thread after; the worker
    // may fail in between. Cancelling the link alone plays that moment.
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    StationFault fault;
    fault.kind = Kind::NoReply;
    fault.address = 3;
    station.Station().InjectFault(fault);
    ReportedErrors reported;
    {
        auto link = station.MakeLink(kAll);
        CUploadThread thread;
        thread.SetLink(*link);
        thread.Start();
        ASSERT_TRUE(WaitFor(
            [&] { return AnyRequest(station, [](const StationRequest& r) { return r.address == 3; }); }));
        link->Cancel();
        thread.Wait();
        EXPECT_FALSE(thread.Succeeded());
        EXPECT_TRUE(thread.IsCancelled());
        EXPECT_EQ(thread.GetError(), nullptr);
    }
    EXPECT_TRUE(reported.Texts().empty());
}

TEST_F(TransferTest, CancelledLinkRaisesTheCancellationNotAFailure) {
    TestStation station(L"0=K52HQ8,1=JK7W");
    CCardSlot rack = Upload(station, kAll);
    const CCardSlot before = rack;
    auto link = station.OpenLink(kAll);
    link->Cancel();
    CProgressCounter counter;
    EXPECT_EQ(RaisedText([&] { rack.Upload(*link, counter, kAll); }), L"");
    EXPECT_EQ(RaisedText([&] { rack.Download(*link, counter, kAll); }), L"");
    EXPECT_EQ(RaisedText([&] { rack.RefreshForMonitor(*link); }), L"");
    EXPECT_EQ(rack.GetCard(1), before.GetCard(1));
}

// ---------------------------------------------------------------------------
// Download

TEST_F(TransferTest, DownloadWritesWhatTheNextUploadReadsBack) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    CCardSlot window = Upload(station, kAll);
    CCardInterface& card = *window.GetCard(1);
    const int row = WritableNumberRow(card);
    ASSERT_GE(row, 0);
    const std::int32_t before = card.GetStoredValue(row);
    card.StepValue(row, before < card.GetParameter(row).maximum ? 1 : -1);
    const std::int32_t changed = card.GetStoredValue(row);
    ASSERT_NE(changed, before);

    station.Station().ClearRequestLog();
    ReportedErrors reported;
    {
        auto link = station.MakeLink(kAll);
        CDownloadThread thread;
        thread.GetRack() = window;
        thread.SetLink(*link);
        EXPECT_EQ(thread.GetProgressText(), L"Writing to the station...");
        thread.Start();
        thread.Wait();
        EXPECT_TRUE(thread.Succeeded());
        // 1 for the map and 1 for each of the 17 slots, shown as complete.
        EXPECT_EQ(thread.GetProgress().GetCurrent(), 18);
        EXPECT_EQ(thread.GetProgress().GetTotal(), 18);
    }
    EXPECT_TRUE(reported.Texts().empty());
    EXPECT_NE(station.FirstWriteTo(0), -1);
    EXPECT_NE(station.FirstWriteTo(1), -1);
    // The empty slots, chosen or not, are never written.
    for (int address = 4; address <= 16; ++address) {
        EXPECT_EQ(station.FirstWriteTo(address), -1) << address;
    }

    const CCardSlot again = Upload(station, kAll);
    EXPECT_EQ(again.GetCard(1)->GetStoredValue(row), changed);
}

TEST_F(TransferTest, DownloadCountsTheStepsAgainstTheModules) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    const CCardSlot rack = Upload(station, kAll);
    CProgressCounter counter;
    Download(station, rack, kAll, &counter);
    EXPECT_EQ(counter.GetTotal(), 3);
    EXPECT_EQ(counter.GetCurrent(), 18);
}

TEST_F(TransferTest, DifferentCommunicationModuleIsRefusedEvenWhenNotChosen) {
    TestStation station(L"0=K52HQ8,1=JK7W");
    CCardSlot rack = Upload(station, kAll);
    TestStation other(L"0=K52HJWQ8,1=JK7W");
    for (std::uint64_t mask : {kAll, kAll & ~std::uint64_t{1}}) {
        SCOPED_TRACE(mask);
        EXPECT_EQ(RaisedText([&] { Download(other, rack, mask); }),
                  Downloaded(CResourceManager::GetMessage(Msg::difcomcarderr)));
        EXPECT_TRUE(other.Writes().empty());
    }
}

TEST_F(TransferTest, DifferentModuleIsRefusedOnlyInAChosenSlot) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    CCardSlot rack = Upload(station, kAll);
    rack.SetCard(4, CIOCardType().CreateByName(L"JK7W"));
    station.Station().ClearRequestLog();

    EXPECT_EQ(RaisedText([&] { Download(station, rack, kAll); }),
              Downloaded(CResourceManager::FormatMessage(Msg::difcarderr, 4)));
    EXPECT_TRUE(station.Writes().empty()) << "something was written before the check passed";

    // A different module in slot 3, found only after slot 1 was checked.
    CCardSlot swapped = Upload(station, kAll);
    swapped.SetCard(3, CIOCardType().CreateByName(L"JK7W"));
    station.Station().ClearRequestLog();
    EXPECT_EQ(RaisedText([&] { Download(station, swapped, kAll); }),
              Downloaded(CResourceManager::FormatMessage(Msg::difcarderr, 3)));
    EXPECT_TRUE(station.Writes().empty());

    Download(station, rack, kAll & ~std::uint64_t{1U << 4});
    EXPECT_NE(station.FirstWriteTo(3), -1);
    EXPECT_EQ(station.FirstWriteTo(4), -1);
}

TEST_F(TransferTest, SixteenPointDigitalModuleIsWrittenOnlyWithTheStationsAttribute) {
    TestStation station(L"0=K52HQ8,1=JK7W,2=BJ58W");
    CCardSlot rack = Upload(station, kAll);
    ASSERT_TRUE(rack.IsDigital16Card(2));

    rack.SetStationAttribute(StationAttribute(0));
    station.Station().ClearRequestLog();
    Download(station, rack, kAll);
    EXPECT_NE(station.FirstWriteTo(1), -1);
    EXPECT_EQ(station.FirstWriteTo(2), -1);

    rack.SetStationAttribute(StationAttribute(1));
    station.Station().ClearRequestLog();
    Download(station, rack, kAll);
    EXPECT_NE(station.FirstWriteTo(2), -1);
}

TEST_F(TransferTest, ReadingAnotherStationLeavesTheRacksTreatmentOfSixteenPointModulesAlone) {
    // What a comparison with a station does: it reads into a rack of its own.
    TestStation station(L"0=K52HQ8,2=BJ58W");
    const CCardSlot rack = Upload(station, kAll);
    TestStation other(L"0=K52HQ8,2=BJ58W");
    other.Station().SetAttribute(0);
    EXPECT_EQ(Upload(other, kAll).GetStationAttribute(), StationAttribute(0));

    station.Station().ClearRequestLog();
    Download(station, rack, kAll);
    EXPECT_NE(station.FirstWriteTo(2), -1);
}

TEST_F(TransferTest, AValueItsCardRefusesStopsTheDownloadBeforeTheStationHearsAnything) {
    // A file from this station, then edited by hand in slot 1 (item 0142 is
    // channel 1's input range, 010b its gain).
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    k52test::TempDir dir;
    const std::wstring file = dir.file("plant.cfg");
    Upload(station, kAll).SaveToFile(file);
    const std::string saved = k52test::ReadFile(dir.path() / "plant.cfg");
    struct Case {
        std::string item, was, text;
        const wchar_t* caption;
        std::wstring message;
    };
    CCardSlot reference;
    reference.LoadFromFile(file);
    const CCardInterface& card = *reference.GetCard(1);
    const int range = RowWithKey(card, L"rangepc01");
    const std::wstring rangeMessage = CResourceManager::FormatNumberedMessage(
        Msg::rangeerr, card.GetCaption(range), card.GetValueText(range, card.GetParameter(range).minimum),
        card.GetValueText(range, card.GetParameter(range).maximum));
    const int gain = RowWithKey(card, L"gain01");
    const std::wstring notANumber = CResourceManager::FormatNumberedMessage(
        Msg::inperr_named, card.GetCaption(gain), card.GetValueText(gain, card.GetParameter(gain).minimum),
        card.GetValueText(gain, card.GetParameter(gain).maximum));
    const std::vector<Case> cases = {
        {"0142", "2", "99", L"rangepc01", rangeMessage},
        {"0142", "2", "-5", L"rangepc01", rangeMessage},
        {"010b", "10000", "abc", L"gain01", notANumber},
        {"010b", "10000", "", L"gain01", notANumber},
        {"010b", "10000", "2147483648", L"gain01", notANumber},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.item + " \"" + test.text + "\"");
        const std::string from = "<parameter item=\"" + test.item + "\">" + test.was + "</parameter>";
        const std::size_t slotOne = saved.find("<slot no=\"1\">");
        const std::size_t at = saved.find(from, slotOne);
        ASSERT_NE(at, std::string::npos);
        std::string edited = saved;
        edited.replace(at, from.size(),
                       "<parameter item=\"" + test.item + "\">" + test.text + "</parameter>");
        k52test::WriteFile(dir.path() / "edited.cfg", edited);
        CCardSlot rack;
        rack.LoadFromFile(dir.file("edited.cfg")); // opens all the same, for mending in the list
        station.Station().ClearRequestLog();

        const std::wstring caption = rack.GetCard(1)->GetCaption(RowWithKey(*rack.GetCard(1), test.caption));
        EXPECT_EQ(RaisedText([&] { Download(station, rack, kAll); }),
                  Downloaded(CResourceManager::FormatNumberedMessage(
                      Msg::downvalueerr, std::wstring(L"IO01"), caption, FromUtf8(test.text), test.message)));
        EXPECT_EQ(station.Station().GetRequestCount(), 0U) << "the station was asked something";
        // Slot 1 left out: nothing of it is checked or written.
        Download(station, rack, kAll & ~std::uint64_t{2});
        EXPECT_EQ(station.FirstWriteTo(1), -1);
        EXPECT_NE(station.FirstWriteTo(3), -1);
    }
}

TEST_F(TransferTest, ARefusedPasswordIsNamedByItsMaskOnly) {
    TestStation station(L"0=K52HZKJ8,1=JK7W");
    CCardSlot rack = Upload(station, kAll);
    CCardInterface& card = *rack.GetCard(0);
    int row = 0;
    while (!IsPasswordRow(card.GetParameter(row))) {
        ++row;
    }
    card.SetTextSlot(card.GetParameter(row).textSlot, L"hunter_2");
    const std::wstring text = RaisedText([&] { Download(station, rack, kAll); });
    EXPECT_EQ(text, Downloaded(CResourceManager::FormatNumberedMessage(
                        Msg::downvalueerr, std::wstring(L"COM"), card.GetCaption(row),
                        std::wstring(kPasswordMask), CResourceManager::GetMessage(Msg::passwordErr))));
    EXPECT_EQ(text.find(L"hunter"), std::wstring::npos);
}

TEST_F(TransferTest, AFailureWhileAModuleIsWrittenNamesThatModule) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    const CCardSlot rack = Upload(station, kAll);
    auto failAt = [&](StationFault fault) {
        station.Station().ClearFaults();
        station.Station().ClearRequestLog();
        station.Station().InjectFault(fault);
        return RaisedText([&] { Download(station, rack, kAll); });
    };
    const std::wstring refused = CResourceManager::FormatMessage(Msg::jx5com_errcode, 5);
    // Slot 3 refuses its gain after its first values went in.
    const std::wstring midway = failAt(StationFault::AtItem(3, 1, 0x0b, Kind::ErrorStatus).WithStatus(5));
    EXPECT_EQ(midway,
              Downloaded(CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"), 3, 0x0b,
                                                         1, refused) +
                         L"\n" + CResourceManager::FormatMessage(Msg::partialerr, std::wstring(L"IO03"))));
    EXPECT_NE(station.FirstWriteTo(1), -1) << "the slots before stay written";

    // A failure while the station is compared leaves no module half-written.
    const std::wstring checking = failAt(StationFault::AtItem(0, 0, 12, Kind::ErrorStatus).WithStatus(5));
    EXPECT_EQ(checking, Downloaded(CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"),
                                                                   0, 12, 1, refused)));
    EXPECT_TRUE(station.Writes().empty());
}

TEST_F(TransferTest, CancelledDownloadStopsAtTheNextExchangeAndNamesTheModuleLeftHalfWritten) {
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    const CCardSlot window = Upload(station, kAll);
    station.Station().ClearRequestLog();
    StationFault fault;
    fault.kind = Kind::NoReply;
    fault.address = 3;
    fault.command = kStationWriteCommand;
    station.Station().InjectFault(fault);

    ReportedErrors reported;
    {
        auto link = station.MakeLink(kAll);
        CDownloadThread thread;
        thread.GetRack() = window;
        thread.SetLink(*link);
        thread.Start();
        ASSERT_TRUE(WaitFor([&] { return station.FirstWriteTo(3) != -1; }));
        thread.Cancel();
        thread.Wait();
        EXPECT_FALSE(thread.Succeeded());
        EXPECT_TRUE(thread.IsCancelled());
    }
    // No failure, but the module whose write was cut off is named.
    EXPECT_EQ(
        reported.Texts(),
        std::vector<std::wstring>{CResourceManager::FormatMessage(
            Msg::downloadcancel, CResourceManager::FormatMessage(Msg::partialerr, std::wstring(L"IO03")))});
    // The slots before it stay written; nothing went out after the cancel.
    EXPECT_NE(station.FirstWriteTo(0), -1);
    EXPECT_NE(station.FirstWriteTo(1), -1);
    EXPECT_EQ(static_cast<long>(station.Station().GetRequestCount()) - 1, station.FirstWriteTo(3));
}

// ---------------------------------------------------------------------------
// Failure kinds

// Callers tell failures apart by their kind, never by their text: the kind
// survives the wrapping into "Communication failed ..." and "Upload failed."
// or "Download failed.", and the worker thread keeps it with the text.
TEST_F(TransferTest, EveryFailureCarriesItsKindThroughTheWrapping) {
    using k52test::RaisedKind;
    TestStation station(L"0=K52HQ8,1=JK7W,3=KZ9W");
    const CCardSlot rack = Upload(station, kAll);
    const auto uploadFailing = [&](Kind kind, std::uint8_t status) {
        StationFault fault;
        fault.kind = kind;
        fault.status = status;
        fault.address = 3;
        station.Station().ClearFaults();
        station.Station().InjectFault(fault);
        return RaisedKind([&] { Upload(station, kAll); });
    };
    const struct {
        Kind fault;
        std::uint8_t status;
        FailureKind expected;
    } faults[] = {
        {Kind::NoReply, 0, FailureKind::Timeout},
        {Kind::TruncatedBody, 0, FailureKind::Timeout},
        {Kind::WrongStx, 0, FailureKind::InvalidReply},
        {Kind::WrongEcho, 0, FailureKind::InvalidReply},
        {Kind::ShortPayload, 0, FailureKind::InvalidReply},
        {Kind::ErrorStatus, 5, FailureKind::StationStatus},
        {Kind::ErrorStatus, 0x36, FailureKind::StationStatus},
    };
    for (const auto& test : faults) {
        SCOPED_TRACE(static_cast<int>(test.fault));
        EXPECT_EQ(uploadFailing(test.fault, test.status), test.expected);
    }
    station.Station().ClearFaults();

    // Another module in a chosen slot; a module refusing a value halfway.
    CCardSlot other = rack;
    other.SetCard(4, CIOCardType().CreateByName(L"JK7W"));
    EXPECT_EQ(RaisedKind([&] { Download(station, other, kAll); }), FailureKind::Mismatch);
    station.Station().InjectFault(StationFault::AtItem(3, 1, 0x0b, Kind::ErrorStatus).WithStatus(5));
    EXPECT_EQ(RaisedKind([&] { Download(station, rack, kAll); }), FailureKind::PartialWrite);
    station.Station().ClearFaults();

    // A value its card refuses; a file that is not a configuration.
    const CCardSlot::CardHandle card = CIOCardType().CreateByName(L"JK7W");
    EXPECT_EQ(RaisedKind([&] { card->SetFromText(WritableNumberRow(*card), L"abc"); }), FailureKind::Input);
    k52test::TempDir dir;
    k52test::WriteFile(dir.path() / "notes.cfg", "<notes/>");
    CCardSlot opened;
    EXPECT_EQ(RaisedKind([&] { opened.LoadFromFile(dir.file("notes.cfg")); }), FailureKind::File);

    // A cancelled link; a port that is not there, as the worker keeps it.
    auto cancelled = station.OpenLink(kAll);
    cancelled->Cancel();
    CCardSlot untouched;
    CProgressCounter counter;
    EXPECT_EQ(RaisedKind([&] { untouched.Upload(*cancelled, counter, kAll); }), FailureKind::Cancelled);
    auto nowhere = std::make_unique<CJX5COMInterface>();
    CComSettings settings;
    settings.SetDevicePath(L"rackstation:nothing-here");
    nowhere->SetSettings(settings);
    ReportedErrors reported;
    CUploadThread thread;
    thread.SetLink(*nowhere);
    thread.Start();
    thread.Wait();
    ASSERT_NE(thread.GetError(), nullptr);
    EXPECT_EQ(thread.GetError()->GetKind(), FailureKind::Port);
}

} // namespace
