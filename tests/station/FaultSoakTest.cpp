// A long run of exchanges through the real link against the simulated
// station, with faults of every kind the station can play injected at random
// from a fixed seed. Single reads and writes, item lists, and whole uploads
// and downloads of a small rack are interleaved; each outcome is checked
// against what the fault must cause, and so are the time each operation
// takes and the heap in use at the end.
#include "base/CException.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "catalog/CCardInterface.h"
#include "link/CJX5COMInterface.h"
#include "rack/CCardSlot.h"
#include "rack/CDownloadThread.h"
#include "rack/CProgressCounter.h"
#include "rack/CUploadThread.h"
#include "station/CSimulatedStationPort.h"
#include "station/CStationPtyServer.h"
#include "station/StationProtocol.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define K52_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define K52_SOAK_SANITIZED 1
#endif
#endif
#ifndef K52_SOAK_SANITIZED
#define K52_SOAK_SANITIZED 0
#endif

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Kind = StationFault::Kind;

constexpr std::uint32_t kDefaultSeed = 20261209;
constexpr std::size_t kDefaultExchanges = 10000;
constexpr std::size_t kPtyExchanges = 3000;
constexpr std::uint64_t kAll = CCardSlot::kAllSlots;
const std::wstring kLineUp = L"0=K52HQ8,1=JK7W,3=KZ9W";

// Per operation: a fault that costs nothing is played often, one that makes
// the link wait for its time-out seldom, so that the run stays near a minute.
constexpr double kQuickFaultRate = 0.12;
constexpr double kSlowFaultRate = 0.02;
// A whole transfer is many exchanges; one in two gets a fault somewhere.
constexpr double kTransferFaultRate = 0.5;
constexpr double kTransferSlowShare = 0.1;

// Whatever the build, a faulted exchange never takes more than its two reads;
// the slack covers the work around it (more under the sanitizers).
constexpr milliseconds kReadTimeout{CJX5COMInterface::kReplyTimeoutMs};
constexpr milliseconds kOperationSlack{K52_SOAK_SANITIZED ? 1500 : 500};
constexpr milliseconds kExchangeSlack{K52_SOAK_SANITIZED ? 40 : 10};

std::size_t EnvironmentNumber(const char* name, std::size_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 0) : fallback;
}

// The fault kinds as the soak plays them: a late reply either within the
// read time-out (taken) or beyond it (a time-out).
enum class Played {
    NoReply,
    LateWithin,
    LateBeyond,
    WrongStx,
    WrongEcho,
    ErrorStatus,
    WrongEtx,
    TruncatedBody,
    ShortPayload,
    Count
};

constexpr std::array<const char*, static_cast<std::size_t>(Played::Count)> kPlayedNames = {
    "no_reply",     "late_within", "late_beyond",    "wrong_stx",    "wrong_echo",
    "error_status", "wrong_etx",   "truncated_body", "short_payload"};

// The station's fault behind each played kind, in the order of Played.
constexpr std::array<StationFault::Kind, static_cast<std::size_t>(Played::Count)> kStationKinds = {
    StationFault::Kind::NoReply,  StationFault::Kind::LateReply,     StationFault::Kind::LateReply,
    StationFault::Kind::WrongStx, StationFault::Kind::WrongEcho,     StationFault::Kind::ErrorStatus,
    StationFault::Kind::WrongEtx, StationFault::Kind::TruncatedBody, StationFault::Kind::ShortPayload};

// Slow faults make the link wait out its time-out (or a good part of it).
constexpr std::array kSlowFaults = {Played::NoReply, Played::LateWithin, Played::LateBeyond,
                                    Played::TruncatedBody};
constexpr std::array kQuickFaults = {Played::WrongStx, Played::WrongEcho, Played::ErrorStatus,
                                     Played::WrongEtx, Played::ShortPayload};

bool IsSlow(Played played) {
    return std::ranges::find(kSlowFaults, played) != kSlowFaults.end();
}

struct PlannedFault {
    Played played = Played::NoReply;
    StationFault fault;
};

// A readable item of the station and whether a write of its own value is taken.
struct Place {
    int address;
    int page;
    int item;
    bool writable;
};

struct Outcome {
    std::optional<std::wstring> failure; // the text raised, or nothing on success
    std::vector<StationRequest> log;     // the requests of this operation
    double milliseconds = 0;
};

class FaultSoak : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterSimulatedStationPort();
        m_previousHandler = SetErrorReportHandler([this](const std::wstring& text) {
            std::lock_guard lock(m_reportedMutex);
            m_reported.push_back(text);
        });
        m_timeout = CResourceManager::GetMessage(Msg::jx5com_timeout);
        m_invalid = CResourceManager::GetMessage(Msg::jx5com_invres);
    }

    // Opens the link to the station at the path.
    void Connect(const std::wstring& path, std::shared_ptr<CSimulatedStation> station) {
        m_station = std::move(station);
        ASSERT_NE(m_station, nullptr);
        // Live values stand still, so that every read has one right answer.
        m_station->FreezeClock(3'600'000);
        m_path = path;
        NewLink();
        FindPlaces();
    }

    // A cancelled link refuses every later exchange; the next operation
    // takes a new one, as the tool does.
    void NewLink() {
        m_link.reset();
        m_link = std::make_unique<CJX5COMInterface>();
        CComSettings settings = m_link->GetSettings();
        settings.SetDevicePath(m_path);
        settings.SetDisplayName(L"Soak station");
        settings.SetModuleSelectionMask(kAll);
        m_link->SetSettings(settings);
        m_link->Open();
    }

    void TearDown() override {
        m_link.reset();
        SetErrorReportHandler(m_previousHandler);
    }

    void FindPlaces() {
        for (int address : {0, 1, 3}) {
            for (int page = 0; page < 8; ++page) {
                for (int item = 0; item < 128; ++item) {
                    const std::optional<std::wstring> value = m_station->GetValue(address, page, item);
                    if (!value || (address == 0 && page == 0 && item == 27)) {
                        continue; // the attribute item has its own fallback rule
                    }
                    // Writing an item's own value back changes nothing, so
                    // the station stays in one known state.
                    const bool writable =
                        m_station->SetValue(address, page, item, *value) == kStationStatusOk;
                    m_places.push_back({address, page, item, writable});
                }
            }
        }
    }

    // The inner text the link must raise for a fault on this request;
    // nothing when the exchange must still succeed.
    std::optional<std::wstring> ExpectedInner(const PlannedFault& planned,
                                              const StationRequest& request) const {
        switch (planned.played) {
        case Played::LateWithin:
            return std::nullopt;
        case Played::NoReply:
        case Played::LateBeyond:
        case Played::TruncatedBody:
            return m_timeout;
        case Played::WrongStx:
        case Played::WrongEcho:
        case Played::WrongEtx:
        case Played::ShortPayload:
            return m_invalid;
        case Played::ErrorStatus: {
            const std::uint8_t status = planned.fault.status;
            const bool attribute = request.address == 0 && request.command == kStationReadCommand &&
                                   request.page == 0 && request.item == 27;
            if (attribute && status >= 50) {
                return std::nullopt; // modules without the attribute answer so
            }
            if (status == kStationStatusRedundancy) {
                return CResourceManager::GetMessage(Msg::jx5com_redundantfail);
            }
            return CResourceManager::FormatMessage(Msg::jx5com_errcode, static_cast<int>(status));
        }
        case Played::Count:
            break;
        }
        return std::nullopt;
    }

    static std::wstring LinkFailure(int address, int number, const std::wstring& inner) {
        return CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"), address, number, 1,
                                               inner);
    }

    // A list failure names the module and the reason; its item number is the
    // list's own count, checked by the link tests.
    static void ExpectListFailure(const std::wstring& text, int address, const std::wstring& inner) {
        const std::wstring pattern = LinkFailure(address, 987654321, inner);
        const std::size_t number = pattern.find(L"987654321");
        ASSERT_NE(number, std::wstring::npos);
        EXPECT_TRUE(text.starts_with(pattern.substr(0, number))) << ToUtf8(text);
        EXPECT_TRUE(text.ends_with(pattern.substr(number + 9))) << ToUtf8(text);
    }

    PlannedFault PlanFault(bool slow, std::size_t index) {
        static constexpr std::array<std::uint8_t, 9> kStatuses = {1, 2, 4, 5, 0x10, 0x31, 0x36, 0x40, 0xFF};
        PlannedFault planned;
        planned.played =
            slow ? kSlowFaults[Pick(kSlowFaults.size())] : kQuickFaults[Pick(kQuickFaults.size())];
        const Kind kind = kStationKinds[static_cast<std::size_t>(planned.played)];
        planned.fault = StationFault::AtRequest(index, kind);
        if (planned.played == Played::LateWithin) {
            planned.fault.WithDelay(milliseconds(20 + Pick(500)));
        } else if (planned.played == Played::LateBeyond) {
            planned.fault.WithDelay(kReadTimeout + milliseconds(100 + Pick(200)));
        } else if (planned.played == Played::ErrorStatus) {
            planned.fault.WithStatus(kStatuses[Pick(kStatuses.size())]);
        }
        return planned;
    }

    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random);
    }
    bool Chance(double rate) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < rate; }

    // Runs one operation with the station's log cleared first, so that a
    // fault's request index counts from the operation's first exchange.
    template <class F> Outcome Run(const std::optional<PlannedFault>& planned, F&& operation) {
        m_station->ClearFaults();
        m_station->ClearRequestLog();
        if (planned) {
            m_station->InjectFault(planned->fault);
        }
        Outcome outcome;
        const Clock::time_point start = Clock::now();
        try {
            operation();
        } catch (const CException& error) {
            outcome.failure = GetExceptionMessage(error, 100000);
        }
        outcome.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        outcome.log = m_station->GetRequestLog();
        m_station->ClearFaults();
        m_exchanges += outcome.log.size();
        return outcome;
    }

    // Counts the fault if it was played, checks the time the operation took,
    // and returns the request it spoilt.
    const StationRequest* Judge(const std::optional<PlannedFault>& planned, const Outcome& outcome) {
        const StationRequest* spoilt = nullptr;
        milliseconds allowed = kOperationSlack + kExchangeSlack * static_cast<int>(outcome.log.size());
        if (planned && *planned->fault.requestIndex < outcome.log.size()) {
            spoilt = &outcome.log[*planned->fault.requestIndex];
            ++m_played[static_cast<std::size_t>(planned->played)];
            if (IsSlow(planned->played)) {
                allowed += 2 * kReadTimeout;
            }
            if (planned->played == Played::LateBeyond) {
                // Without a sequence number the link cannot tell a reply this
                // late from the next request's; it is let through before the
                // next request, whose purge then throws it away.
                std::this_thread::sleep_for(planned->fault.delay - kReadTimeout + milliseconds(50));
            }
        }
        m_longest = std::max(m_longest, outcome.milliseconds);
        EXPECT_LE(outcome.milliseconds, static_cast<double>(allowed.count()))
            << outcome.log.size() << " exchanges took too long";
        return spoilt;
    }

    // --- single exchanges -------------------------------------------------

    void ReadOne() {
        const Place& place = m_places[Pick(m_places.size())];
        const std::optional<PlannedFault> planned = MaybeFault(0);
        std::wstring text;
        const Outcome outcome =
            Run(planned, [&] { text = m_link->ReadItem(place.address, place.page, place.item); });
        const StationRequest* spoilt = Judge(planned, outcome);
        const std::optional<std::wstring> inner = spoilt ? ExpectedInner(*planned, *spoilt) : std::nullopt;
        SCOPED_TRACE(Describe("read", place, planned));
        if (inner) {
            EXPECT_EQ(outcome.failure.value_or(L"<success>"), LinkFailure(place.address, place.item, *inner));
            return;
        }
        ASSERT_FALSE(outcome.failure) << ToUtf8(*outcome.failure);
        const std::size_t colon = text.find(L':');
        ASSERT_NE(colon, std::wstring::npos) << ToUtf8(text);
        EXPECT_EQ(text.substr(colon + 1), m_station->GetValue(place.address, place.page, place.item));
    }

    void WriteOne() {
        const Place& place = Writable();
        const std::wstring value = m_station->GetValue(place.address, place.page, place.item).value();
        const std::optional<PlannedFault> planned = MaybeFault(0);
        const Outcome outcome =
            Run(planned, [&] { m_link->WriteItem(place.address, place.page, place.item, value); });
        const StationRequest* spoilt = Judge(planned, outcome);
        const std::optional<std::wstring> inner = spoilt ? ExpectedInner(*planned, *spoilt) : std::nullopt;
        SCOPED_TRACE(Describe("write", place, planned));
        if (inner) {
            EXPECT_EQ(outcome.failure.value_or(L"<success>"), LinkFailure(place.address, place.item, *inner));
        } else {
            EXPECT_FALSE(outcome.failure) << ToUtf8(*outcome.failure);
        }
        ASSERT_EQ(outcome.log.size(), 1U);
        EXPECT_EQ(outcome.log[0].text, value);
        EXPECT_EQ(m_station->GetValue(place.address, place.page, place.item), value);
    }

    // --- item lists -------------------------------------------------------

    void ReadList() {
        const int address = std::array{0, 1, 3}[Pick(3)];
        std::vector<const Place*> chosen = PlacesAt(address, false, 2 + Pick(5));
        std::vector<std::uint32_t> pages;
        std::vector<std::uint32_t> items;
        for (const Place* place : chosen) {
            pages.push_back(static_cast<std::uint32_t>(place->page));
            items.push_back(static_cast<std::uint32_t>(place->item));
        }
        const std::optional<PlannedFault> planned = MaybeFault(Pick(chosen.size()));
        std::vector<std::wstring> texts;
        const Outcome outcome = Run(planned, [&] { m_link->ReadItems(address, pages, items, texts); });
        const StationRequest* spoilt = Judge(planned, outcome);
        const std::optional<std::wstring> inner = spoilt ? ExpectedInner(*planned, *spoilt) : std::nullopt;
        SCOPED_TRACE(testing::Message() << "read list at " << address);
        if (inner) {
            ASSERT_TRUE(outcome.failure) << "a spoilt list read succeeded";
            ExpectListFailure(*outcome.failure, address, *inner);
            EXPECT_EQ(outcome.log.size(), *planned->fault.requestIndex + 1)
                << "the list goes on after a failure";
            return;
        }
        ASSERT_FALSE(outcome.failure) << ToUtf8(*outcome.failure);
        ASSERT_EQ(texts.size(), chosen.size());
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            const std::size_t colon = texts[k].find(L':');
            EXPECT_EQ(texts[k].substr(colon == std::wstring::npos ? 0 : colon + 1),
                      m_station->GetValue(address, chosen[k]->page, chosen[k]->item));
        }
    }

    void WriteList() {
        const int address = std::array{0, 1, 3}[Pick(3)];
        std::vector<const Place*> chosen = PlacesAt(address, true, 2 + Pick(3));
        std::vector<std::uint32_t> pages;
        std::vector<std::uint32_t> items;
        std::vector<std::wstring> texts;
        for (const Place* place : chosen) {
            pages.push_back(static_cast<std::uint32_t>(place->page));
            items.push_back(static_cast<std::uint32_t>(place->item));
            texts.push_back(m_station->GetValue(address, place->page, place->item).value());
        }
        const std::optional<PlannedFault> planned = MaybeFault(Pick(chosen.size()));
        const Outcome outcome = Run(planned, [&] { m_link->WriteItems(address, pages, items, texts); });
        const StationRequest* spoilt = Judge(planned, outcome);
        const std::optional<std::wstring> inner = spoilt ? ExpectedInner(*planned, *spoilt) : std::nullopt;
        SCOPED_TRACE(testing::Message() << "write list at " << address);
        if (inner) {
            ASSERT_TRUE(outcome.failure) << "a spoilt list write succeeded";
            ExpectListFailure(*outcome.failure, address, *inner);
            EXPECT_EQ(outcome.log.size(), *planned->fault.requestIndex + 1)
                << "the list goes on after a failure";
        } else {
            EXPECT_FALSE(outcome.failure) << ToUtf8(*outcome.failure);
            EXPECT_EQ(outcome.log.size(), chosen.size());
        }
    }

    // --- whole transfers --------------------------------------------------

    std::wstring Image(const CCardSlot& rack) {
        const std::wstring file = m_dir.file("image.xml");
        rack.SaveToFile(file);
        return FromUtf8(k52test::ReadFile(file));
    }

    // A transfer's fault lands anywhere in it: its length is known from the
    // fault-free warm-up.
    std::optional<PlannedFault> TransferFault(std::size_t length) {
        if (!Chance(kTransferFaultRate)) {
            return std::nullopt;
        }
        return PlanFault(Chance(kTransferSlowShare), Pick(length));
    }

    // Upload into the window's rack: directly, or on the worker thread whose
    // result the window takes only on success.
    // Runs a transfer thread to its end as the progress window does and
    // returns its failure; the thread reports that failure, once, when it goes.
    std::optional<std::wstring> RunThread(CTransferThread& thread) {
        thread.SetLink(*m_link);
        thread.Start();
        thread.Wait();
        EXPECT_TRUE(thread.HasEnded());
        if (thread.Succeeded()) {
            return std::nullopt;
        }
        return thread.GetError() != nullptr ? GetExceptionMessage(*thread.GetError(), 100000)
                                            : std::wstring(L"<failed without a text>");
    }

    void ExpectReported(const std::optional<std::wstring>& failure) {
        std::lock_guard lock(m_reportedMutex);
        if (failure) {
            EXPECT_EQ(m_reported, std::vector<std::wstring>{*failure});
        } else {
            EXPECT_TRUE(m_reported.empty());
        }
        m_reported.clear();
    }

    std::optional<std::wstring> DoUpload(CCardSlot& window, bool threaded) {
        if (!threaded) {
            CProgressCounter progress;
            window.Upload(*m_link, progress, kAll);
            return std::nullopt;
        }
        std::optional<std::wstring> failure;
        {
            CUploadThread thread;
            failure = RunThread(thread);
            if (!failure) {
                window.CopySlots(thread.GetRack(), kAll);
            }
        }
        ExpectReported(failure);
        m_link->Open(); // the thread's link closes the port when it is done
        return failure;
    }

    std::optional<std::wstring> DoDownload(const CCardSlot& window, bool threaded) {
        if (!threaded) {
            CProgressCounter progress;
            window.Download(*m_link, progress, kAll);
            return std::nullopt;
        }
        std::optional<std::wstring> failure;
        {
            CDownloadThread thread;
            thread.GetRack() = window;
            failure = RunThread(thread);
        }
        ExpectReported(failure);
        m_link->Open();
        return failure;
    }

    // The rack as a fault-free upload reads it now.
    std::wstring CleanUploadImage(CCardSlot* into = nullptr) {
        CCardSlot own;
        CCardSlot& reference = into != nullptr ? *into : own;
        const Outcome outcome = Run(std::nullopt, [&] {
            CProgressCounter progress;
            reference.Upload(*m_link, progress, kAll);
        });
        EXPECT_FALSE(outcome.failure) << ToUtf8(outcome.failure.value_or(L""));
        m_uploadLength = outcome.log.size();
        return Image(reference);
    }

    void UploadOnce(CCardSlot& window) {
        const bool threaded = Chance(0.5);
        const std::wstring before = Image(window);
        const std::optional<PlannedFault> planned = TransferFault(m_uploadLength);
        std::optional<std::wstring> kept;
        Outcome outcome = Run(planned, [&] { kept = DoUpload(window, threaded); });
        if (kept) {
            outcome.failure = kept;
        }
        const StationRequest* spoilt = Judge(planned, outcome);
        const std::optional<std::wstring> inner = spoilt ? ExpectedInner(*planned, *spoilt) : std::nullopt;
        SCOPED_TRACE(testing::Message()
                     << (threaded ? "upload thread" : "upload") << ", fault "
                     << (planned ? kPlayedNames[static_cast<std::size_t>(planned->played)] : "none"));
        ++m_uploads;
        if (inner) {
            EXPECT_EQ(outcome.failure.value_or(L"<success>"),
                      CResourceManager::FormatMessage(Msg::uploaderr,
                                                      LinkFailure(spoilt->address, spoilt->item, *inner)));
            EXPECT_EQ(Image(window), before) << "a failed upload changed the rack";
            ++m_failedUploads;
            return;
        }
        ASSERT_FALSE(outcome.failure) << ToUtf8(*outcome.failure);
        const std::wstring uploaded = Image(window);
        CCardSlot reference;
        const std::wstring expected = CleanUploadImage(&reference);
        if (spoilt != nullptr && planned->played == Played::ErrorStatus) {
            // The attribute item fell back to zeros, as it does for modules
            // without it; the window goes on with what the station holds.
            window = reference;
            return;
        }
        EXPECT_EQ(uploaded, expected) << "a successful upload read something else";
    }

    // Changes one number row of the rack's first analog module, so that a
    // download has something to write.
    void ChangeSomething(CCardSlot& window) {
        CCardInterface& card = *window.GetCard(1);
        std::vector<int> rows;
        for (int row = 0; row < card.GetParameterCount(); ++row) {
            const ParameterDefinition& definition = card.GetParameter(row);
            if ((definition.kind == KindInteger16 || definition.kind == KindDecimal16) &&
                definition.flags == 0 && !card.IsDisabled(row) && definition.maximum > definition.minimum) {
                rows.push_back(row);
            }
        }
        ASSERT_FALSE(rows.empty());
        const int row = rows[Pick(rows.size())];
        const std::int32_t value = card.GetStoredValue(row);
        const std::int32_t step = value < card.GetParameter(row).maximum ? 1 : -1;
        card.StepValue(row, step);
        // Only a value the card takes: a download refuses any other before it writes.
        try {
            card.CheckStoredValue(row);
        } catch (const std::exception&) {
            card.StepValue(row, -step);
        }
    }

    // The note that a failed or cancelled download adds when it stopped while
    // writing the module at this address.
    static std::wstring HalfWritten(int address) {
        return CResourceManager::FormatMessage(Msg::partialerr, CCardSlot().GetSlotCaption(address));
    }

    // The check phase reads model names at address 0; every other request
    // of a download belongs to the writing of the module it is addressed to.
    static bool IsWritePhase(const StationRequest& request) {
        return request.command == kStationWriteCommand || request.address != 0;
    }

    // The module whose writing a cancel cut off, as the log shows it: the
    // address of the last request, while its write frame is still open.
    static std::optional<int> OpenModule(const std::vector<StationRequest>& log) {
        if (log.empty() || !IsWritePhase(log.back())) {
            return std::nullopt;
        }
        const StationRequest& last = log.back();
        const bool closing = last.command == kStationWriteCommand && last.item == 1 && last.text == L"0";
        if (closing && last.answered) {
            // The last closing write has gone; a module that closes page 1
            // too is still open after its page 0.
            const bool pageOneToFollow =
                last.page == 0 && std::any_of(log.begin(), log.end(), [&](const StationRequest& r) {
                    return r.address == last.address && r.command == kStationWriteCommand && r.item == 1 &&
                           r.page == 1;
                });
            if (!pageOneToFollow) {
                return std::nullopt;
            }
        }
        return last.address;
    }

    void DownloadOnce(CCardSlot& window) {
        const bool threaded = Chance(0.5);
        ChangeSomething(window);
        const std::optional<PlannedFault> planned = TransferFault(m_downloadLength);
        std::optional<std::wstring> kept;
        Outcome outcome = Run(planned, [&] { kept = DoDownload(window, threaded); });
        if (kept) {
            outcome.failure = kept;
        }
        if (!planned) {
            m_downloadLength = outcome.log.size();
        }
        const StationRequest* spoilt = Judge(planned, outcome);
        const std::optional<std::wstring> inner = spoilt ? ExpectedInner(*planned, *spoilt) : std::nullopt;
        SCOPED_TRACE(testing::Message()
                     << (threaded ? "download thread" : "download") << ", fault "
                     << (planned ? kPlayedNames[static_cast<std::size_t>(planned->played)] : "none"));
        ++m_downloads;
        if (inner) {
            // The message names the module and item of the exchange that
            // failed, and a module it left half-written.
            std::wstring reason = LinkFailure(spoilt->address, spoilt->item, *inner);
            if (IsWritePhase(*spoilt)) {
                reason += L"\n" + HalfWritten(spoilt->address);
            }
            EXPECT_EQ(outcome.failure.value_or(L"<success>"),
                      CResourceManager::FormatMessage(Msg::downloaderr, reason));
            ++m_failedDownloads;
            return;
        }
        ASSERT_FALSE(outcome.failure) << ToUtf8(*outcome.failure);
        EXPECT_EQ(CleanUploadImage(), Image(window)) << "the station does not hold what was downloaded";
    }

    // The user cancels a transfer on its worker thread at some moment: the
    // worker ends at once and silently, the window takes no result.
    void CancelOnce(CCardSlot& window) {
        const bool upload = Chance(0.5);
        const auto delay = std::chrono::microseconds(Pick(4000));
        const std::wstring before = Image(window);
        double stopping = 0;
        bool succeeded = true;
        std::optional<std::wstring> kept;
        const Outcome outcome = Run(std::nullopt, [&] {
            std::unique_ptr<CTransferThread> thread;
            if (upload) {
                thread = std::make_unique<CUploadThread>();
            } else {
                thread = std::make_unique<CDownloadThread>();
                thread->GetRack() = window;
            }
            thread->SetLink(*m_link);
            thread->Start();
            std::this_thread::sleep_for(delay);
            const Clock::time_point cancelled = Clock::now();
            thread->Cancel();
            thread->Wait();
            stopping = std::chrono::duration<double, std::milli>(Clock::now() - cancelled).count();
            succeeded = thread->Succeeded();
            if (thread->GetError() != nullptr) {
                kept = GetExceptionMessage(*thread->GetError(), 100000);
            }
        });
        SCOPED_TRACE(upload ? "cancelled upload" : "cancelled download");
        ++m_cancels;
        if (outcome.log.size() < (upload ? m_uploadLength : m_downloadLength)) {
            ++m_interrupted;
        }
        m_longestCancel = std::max(m_longestCancel, stopping);
        EXPECT_FALSE(succeeded) << "a cancelled transfer counts as a success";
        // Silent, unless the cancel cut a module's writing off half-way.
        const std::optional<int> open = upload ? std::nullopt : OpenModule(outcome.log);
        if (kept && !upload) {
            if (open) {
                EXPECT_EQ(*kept, CResourceManager::FormatMessage(Msg::downloadcancel, HalfWritten(*open)));
            } else {
                // The cancel came as the next module was begun, before its
                // first request went out: it is named all the same ("may").
                // So is the module whose closing write was the last request:
                // its writing has not returned yet when the cancel lands
                // right after that write (seen under a sanitizer's pace).
                const int first =
                    !outcome.log.empty() && IsWritePhase(outcome.log.back()) ? outcome.log.back().address : 0;
                bool named = false;
                for (int address = first; address < CCardSlot::kSlotCount; ++address) {
                    named = named || *kept == CResourceManager::FormatMessage(Msg::downloadcancel,
                                                                              HalfWritten(address));
                }
                EXPECT_TRUE(named) << ToUtf8(*kept);
            }
        } else {
            EXPECT_FALSE(kept) << ToUtf8(kept.value_or(L""));
        }
        EXPECT_FALSE(outcome.failure) << ToUtf8(outcome.failure.value_or(L""));
        ExpectReported(kept);
        EXPECT_LE(stopping, static_cast<double>(kOperationSlack.count()))
            << "the cancel did not end the exchange";
        EXPECT_EQ(Image(window), before);
        NewLink();
    }

    // --- helpers ----------------------------------------------------------

    std::optional<PlannedFault> MaybeFault(std::size_t index) {
        if (Chance(kSlowFaultRate)) {
            return PlanFault(true, index);
        }
        if (Chance(kQuickFaultRate)) {
            return PlanFault(false, index);
        }
        return std::nullopt;
    }

    const Place& Writable() {
        for (;;) {
            const Place& place = m_places[Pick(m_places.size())];
            if (place.writable) {
                return place;
            }
        }
    }

    std::vector<const Place*> PlacesAt(int address, bool writable, std::size_t count) {
        std::vector<const Place*> candidates;
        for (const Place& place : m_places) {
            if (place.address == address && (!writable || place.writable)) {
                candidates.push_back(&place);
            }
        }
        std::vector<const Place*> chosen;
        for (std::size_t k = 0; k < count && !candidates.empty(); ++k) {
            chosen.push_back(candidates[Pick(candidates.size())]);
        }
        return chosen;
    }

    static std::string Describe(const char* what, const Place& place,
                                const std::optional<PlannedFault>& planned) {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "%s (%d, %d, %d), fault %s", what, place.address, place.page,
                      place.item, planned ? kPlayedNames[static_cast<std::size_t>(planned->played)] : "none");
        return buffer;
    }

    // Runs operations until the station has taken the number of exchanges.
    void Soak(const char* name, std::size_t defaultTarget) {
        const auto seed = static_cast<std::uint32_t>(EnvironmentNumber("K52_SOAK_SEED", kDefaultSeed));
        const std::size_t target = EnvironmentNumber("K52_SOAK_EXCHANGES", defaultTarget);
        m_random.seed(seed);
        RecordProperty("seed", std::to_string(seed));
        ASSERT_GT(m_places.size(), 20U);

        const Clock::time_point start = Clock::now();
        CCardSlot window;
        CleanUploadImage(&window);
        ASSERT_GT(m_uploadLength, 0U);
        {
            const Outcome first = Run(std::nullopt, [&] {
                CProgressCounter progress;
                window.Download(*m_link, progress, kAll);
            });
            ASSERT_FALSE(first.failure) << ToUtf8(*first.failure);
            m_downloadLength = first.log.size();
        }

        // The heap is measured once everything that lives for the whole run
        // (texts, station, pools of the libraries) has been made.
        const std::size_t warmUp = target / 10;
        std::optional<std::size_t> heapAfterWarmUp;
        std::size_t operations = 0;
        while (m_exchanges < target && !HasFatalFailure()) {
            const std::size_t roll = Pick(1000);
            if (roll < 450) {
                ReadOne();
            } else if (roll < 750) {
                WriteOne();
            } else if (roll < 880) {
                ReadList();
            } else if (roll < 960) {
                WriteList();
            } else if (roll < 978) {
                UploadOnce(window);
            } else if (roll < 995) {
                DownloadOnce(window);
            } else {
                CancelOnce(window);
            }
            ++operations;
            if (!heapAfterWarmUp && m_exchanges >= warmUp) {
                heapAfterWarmUp = mallinfo2().uordblks;
            }
        }
        [[maybe_unused]] const std::size_t heapAtEnd = mallinfo2().uordblks;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

        std::size_t faults = 0;
        std::string counts;
        for (std::size_t k = 0; k < m_played.size(); ++k) {
            faults += m_played[k];
            counts +=
                std::string(counts.empty() ? "" : ", ") + kPlayedNames[k] + " " + std::to_string(m_played[k]);
            RecordProperty(kPlayedNames[k], std::to_string(m_played[k]));
        }
        RecordProperty("exchanges", std::to_string(m_exchanges));
        RecordProperty("faults", std::to_string(faults));
        std::printf("%s: seed %u, %zu exchanges in %zu operations, %.1f s, longest operation %.0f ms\n"
                    "%s: %zu faults played: %s\n"
                    "%s: uploads %d (%d failed), downloads %d (%d failed), %d cancelled (%d mid-way, longest "
                    "stop %.0f ms)\n",
                    name, seed, m_exchanges, operations, seconds, m_longest, name, faults, counts.c_str(),
                    name, m_uploads, m_failedUploads, m_downloads, m_failedDownloads, m_cancels,
                    m_interrupted, m_longestCancel);

        // Every kind was played at least once at this length.
        if (target >= defaultTarget && defaultTarget >= kDefaultExchanges) {
            for (std::size_t k = 0; k < m_played.size(); ++k) {
                EXPECT_GT(m_played[k], 0U) << kPlayedNames[k];
            }
            EXPECT_GT(m_failedUploads, 0);
            EXPECT_GT(m_failedDownloads, 0);
        }

#if K52_SOAK_SANITIZED
        std::printf("%s: heap not compared, the sanitizer keeps its own\n", name);
#else
        ASSERT_TRUE(heapAfterWarmUp);
        const auto growth = static_cast<long long>(heapAtEnd) - static_cast<long long>(*heapAfterWarmUp);
        std::printf("%s: heap in use %zu bytes after warm-up, %zu at the end (%+lld)\n", name,
                    *heapAfterWarmUp, heapAtEnd, growth);
        RecordProperty("heap_growth", std::to_string(growth));
        // Allocator pools and the last operation's leftovers, not a leak of one
        // allocation per exchange (which would be hundreds of kilobytes).
        EXPECT_LT(growth, 64 * 1024);
#endif
    }

    std::shared_ptr<CSimulatedStation> m_station;
    std::wstring m_path;
    std::unique_ptr<CJX5COMInterface> m_link;
    std::vector<Place> m_places;
    std::wstring m_timeout;
    std::wstring m_invalid;
    std::mt19937 m_random;
    k52test::TempDir m_dir;
    ErrorReportHandler m_previousHandler;
    std::mutex m_reportedMutex;
    std::vector<std::wstring> m_reported;

    std::size_t m_exchanges = 0;
    std::size_t m_uploadLength = 0;
    std::size_t m_downloadLength = 0;
    std::array<std::size_t, static_cast<std::size_t>(Played::Count)> m_played{};
    int m_uploads = 0;
    int m_failedUploads = 0;
    int m_downloads = 0;
    int m_failedDownloads = 0;
    int m_cancels = 0;
    int m_interrupted = 0;
    double m_longestCancel = 0;
    double m_longest = 0;
};

TEST_F(FaultSoak, InProcessPortEveryFaultEndsInTheLinksMessageAndNothingLeaks) {
    const std::wstring path = std::wstring(CSimulatedStationPort::kPrefix) + kLineUp;
    Connect(path, GetSimulatedStation(path));
    Soak("soak", kDefaultExchanges);
}

// The same over a pseudo-terminal: the operating system's serial code, its
// purge and its read time-outs, with the station answering on its own thread.
TEST_F(FaultSoak, PseudoTerminalEveryFaultEndsInTheLinksMessageAndNothingLeaks) {
    std::wstring error;
    const std::optional<CStationLineUp> lineUp = CStationLineUp::Parse(kLineUp, error);
    ASSERT_TRUE(lineUp);
    auto station = std::make_shared<CSimulatedStation>(*lineUp);
    CStationPtyServer server(station);
    server.Start();
    Connect(FromUtf8(server.GetDevicePath()), station);
    Soak("pty soak", kPtyExchanges);
    m_link.reset();
}

} // namespace
