#include "ScriptedPeer.h"

#include "base/CResourceManager.h"
#include "link/CJX5COMInterface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

using linktest::Bytes;
using linktest::PeerStep;
using linktest::ReferenceFrame;
using Clock = std::chrono::steady_clock;

namespace {

std::wstring Text(PlainMessageKey key) {
    return CResourceManager::GetMessage(key);
}

std::wstring LinkFailure(int address, int number, const std::wstring& inner) {
    return CResourceManager::FormatMessage(Msg::jx5com_comfail, std::wstring(L"Item"), address, number, 1,
                                           inner);
}

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A read reply: echo, the command, 0, status, then the text bytes.
Bytes ReadReply(std::uint8_t address, std::uint8_t status, const std::string& text = "") {
    Bytes payload(4 + text.size());
    payload[0] = address;
    payload[1] = 0x15;
    payload[3] = status;
    std::copy(text.begin(), text.end(), payload.begin() + 4);
    return ReferenceFrame(payload);
}

Bytes WriteReply(std::uint8_t address, std::uint8_t status) {
    return ReferenceFrame({address, 0x16, 0x00, status});
}

Bytes ReadRequest(std::uint8_t address, std::uint8_t page, std::uint8_t item) {
    return {address, 0x15, 0x00, page, item};
}

Bytes WriteRequest(std::uint8_t address, std::uint8_t page, std::uint8_t item, const Bytes& text) {
    Bytes payload(6 + text.size());
    payload[0] = address;
    payload[1] = 0x16;
    payload[3] = page;
    payload[4] = item;
    payload[5] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), payload.begin() + 6);
    return payload;
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        CComSettings settings = m_link.GetSettings();
        settings.SetDevicePath(m_peer.SlavePath());
        settings.SetDisplayName(L"Test port");
        m_link.SetSettings(settings);
        m_link.Open();
    }

    void TearDown() override {
        m_peer.Finish();
        for (const std::string& problem : m_peer.Problems()) {
            ADD_FAILURE() << problem;
        }
    }

    // Runs a command against one scripted request and its reply, and
    // returns the text it raised.
    template <class F> std::wstring FailureOf(const Bytes& request, const Bytes& reply, F&& command) {
        m_peer.Run({{request, reply}});
        return k52test::RaisedText(command);
    }

    linktest::ScriptedPeer m_peer;
    CJX5COMInterface m_link;
};

} // namespace

TEST_F(LinkTest, ReadItemSendsTheRequestAndReturnsTheReplyText) {
    m_peer.Run({{ReadRequest(3, 1, 7), ReadReply(3, 0, "AI:12")},
                // Only the low byte of each argument goes on the wire.
                {ReadRequest(3, 2, 8), ReadReply(3, 0, "")},
                {ReadRequest(4, 0, 1), ReadReply(4, 0, std::string("AB\0CD", 5))},
                {ReadRequest(5, 0, 2), ReadReply(5, 0,
                                                 "\xB0"
                                                 "C")}});
    EXPECT_EQ(m_link.ReadItem(3, 1, 7), L"AI:12");
    EXPECT_EQ(m_link.ReadItem(0x103, 0x202, 0x308), L"");
    EXPECT_EQ(m_link.ReadItem(4, 0, 1), L"AB") << "the text ends at a zero byte";
    EXPECT_EQ(m_link.ReadItem(5, 0, 2), L"\u00B0C") << "text bytes are Latin-1";
    EXPECT_EQ(m_peer.Requests().size(), 4u);
}

TEST_F(LinkTest, ReplyCrcIsNotChecked) {
    Bytes reply = ReadReply(1, 0, "OK");
    reply.back() ^= 0xFF;
    m_peer.Run({{ReadRequest(1, 0, 1), reply}});
    EXPECT_EQ(m_link.ReadItem(1, 0, 1), L"OK");
}

TEST_F(LinkTest, WriteItemSendsLengthAndLatin1Bytes) {
    m_peer.Run({{WriteRequest(2, 4, 9, {'G', 'r', 0xFC, 0xDF, 'e', '?'}), WriteReply(2, 0)},
                {WriteRequest(2, 4, 10, {}), WriteReply(2, 0)}});
    m_link.WriteItem(2, 4, 9, L"Gr\u00FC\u00DFe\u20AC");
    m_link.WriteItem(2, 4, 10, L"");
    EXPECT_EQ(m_peer.Requests().size(), 2u);
    EXPECT_EQ(m_peer.Requests().back().size(), 6u);
}

TEST_F(LinkTest, WriteTextOver249CharactersIsRefusedBeforeAnythingIsSent) {
    const std::wstring longest(249, L'x');
    m_peer.Run({{WriteRequest(1, 0, 5, Bytes(249, 'x')), WriteReply(1, 0)}});
    m_link.WriteItem(1, 0, 5, longest);
    EXPECT_EQ(m_peer.Requests().back().size(), 255u);

    const std::wstring raised = k52test::RaisedText([&] { m_link.WriteItem(1, 0, 6, longest + L"x"); });
    EXPECT_EQ(raised.rfind(LinkFailure(1, 6, L""), 0), 0u) << "wrapped like any command failure";
    EXPECT_NE(raised.find(L"255"), std::wstring::npos);
    EXPECT_EQ(m_peer.Requests().size(), 1u) << "nothing of the long request went out";
}

TEST_F(LinkTest, MalformedRepliesRaiseInvalidReply) {
    const std::wstring invalid = LinkFailure(1, 1, Text(Msg::jx5com_invres));
    Bytes wrongStx = ReadReply(1, 0, "X");
    wrongStx[0] = 0x05;
    EXPECT_EQ(FailureOf(ReadRequest(1, 0, 1), wrongStx, [&] { m_link.ReadItem(1, 0, 1); }), invalid);

    Bytes noEtx = ReadReply(1, 0, "X");
    noEtx[noEtx.size() - 3] = 0x04;
    EXPECT_EQ(FailureOf(ReadRequest(1, 0, 1), noEtx, [&] { m_link.ReadItem(1, 0, 1); }), invalid);

    // A wrong echo wins over the error status it carries.
    EXPECT_EQ(FailureOf(ReadRequest(1, 0, 1), ReadReply(2, 5), [&] { m_link.ReadItem(1, 0, 1); }), invalid);

    // Payloads too short to hold echo and status are no success.
    EXPECT_EQ(FailureOf(ReadRequest(1, 0, 1), ReferenceFrame({}), [&] { m_link.ReadItem(1, 0, 1); }),
              invalid);
    EXPECT_EQ(FailureOf(WriteRequest(1, 0, 1, {'5'}), ReferenceFrame({1, 0x16, 0}),
                        [&] { m_link.WriteItem(1, 0, 1, L"5"); }),
              invalid);
}

TEST_F(LinkTest, StatusBytesRaiseTheirTexts) {
    EXPECT_EQ(FailureOf(ReadRequest(7, 1, 2), ReadReply(7, 0x36), [&] { m_link.ReadItem(7, 1, 2); }),
              LinkFailure(7, 2, Text(Msg::jx5com_redundantfail)));
    const std::wstring errorFive =
        FailureOf(WriteRequest(7, 1, 3, {'1'}), WriteReply(7, 5), [&] { m_link.WriteItem(7, 1, 3, L"1"); });
    EXPECT_EQ(errorFive, LinkFailure(7, 3, CResourceManager::FormatMessage(Msg::jx5com_errcode, 5)));
    // The five arguments land in their places.
    EXPECT_EQ(errorFive, L"Communication failed (Item, module 7, item 3, count 1).\n"
                         L"The station answered with error code 5.");
}

TEST_F(LinkTest, AttributeItemOfTheComModuleFallsBackToZeros) {
    m_peer.Run({{ReadRequest(0, 0, 27), ReadReply(0, 0x40)},
                {ReadRequest(0, 0, 27), ReadReply(0, 50)},
                {ReadRequest(0, 0, 27), ReadReply(0, 0, "ATTRIB:0011")}});
    EXPECT_EQ(m_link.ReadItem(0, 0, 27), L"ATTRIB:0000");
    EXPECT_EQ(m_link.ReadItem(0, 0, 27), L"ATTRIB:0000");
    EXPECT_EQ(m_link.ReadItem(0, 0, 27), L"ATTRIB:0011");
    m_peer.Finish();

    EXPECT_EQ(FailureOf(ReadRequest(0, 0, 27), ReadReply(0, 5), [&] { m_link.ReadItem(0, 0, 27); }),
              LinkFailure(0, 27, CResourceManager::FormatMessage(Msg::jx5com_errcode, 5)));
    EXPECT_EQ(FailureOf(ReadRequest(0, 0, 26), ReadReply(0, 0x40), [&] { m_link.ReadItem(0, 0, 26); }),
              LinkFailure(0, 26, CResourceManager::FormatMessage(Msg::jx5com_errcode, 0x40)));
    EXPECT_EQ(FailureOf(ReadRequest(1, 0, 27), ReadReply(1, 0x40), [&] { m_link.ReadItem(1, 0, 27); }),
              LinkFailure(1, 27, CResourceManager::FormatMessage(Msg::jx5com_errcode, 0x40)));
    // A reply without a status byte gives no fallback.
    EXPECT_EQ(
        FailureOf(ReadRequest(0, 0, 27), ReferenceFrame({0, 0x15, 0}), [&] { m_link.ReadItem(0, 0, 27); }),
        LinkFailure(0, 27, Text(Msg::jx5com_invres)));
}

TEST_F(LinkTest, ListsRunInOrderAndReportWhereTheyFailed) {
    std::vector<std::wstring> texts = {L"kept"};
    m_peer.Run(
        {{ReadRequest(2, 1, 10), ReadReply(2, 0, "A:1")}, {ReadRequest(2, 3, 11), ReadReply(2, 0, "B:2")}});
    m_link.ReadItems(2, {1, 3}, {10, 11}, texts);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"kept", L"A:1", L"B:2"}));
    m_peer.Finish();

    m_link.ReadItems(2, {}, {}, texts);
    EXPECT_EQ(texts.size(), 3u);
    EXPECT_EQ(m_peer.Requests().size(), 2u);

    // ReadItems names the position, WriteItems the length of its list.
    m_peer.Run({{ReadRequest(2, 1, 10), ReadReply(2, 0, "A:1")}, {ReadRequest(2, 1, 11), ReadReply(2, 5)}});
    EXPECT_EQ(k52test::RaisedText([&] {
                  m_link.ReadItems(2, {1, 1, 1}, {10, 11, 12}, texts);
              }),
              LinkFailure(2, 1, CResourceManager::FormatMessage(Msg::jx5com_errcode, 5)));
    m_peer.Finish();

    std::vector<PeerStep> steps;
    for (std::uint8_t k = 0; k < 3; ++k) {
        steps.push_back(
            {WriteRequest(2, 0, static_cast<std::uint8_t>(20 + k), {'v'}), WriteReply(2, k == 2 ? 5 : 0)});
    }
    m_peer.Run(steps);
    EXPECT_EQ(k52test::RaisedText([&] {
                  m_link.WriteItems(2, {0, 0, 0, 0, 0}, {20, 21, 22, 23, 24}, {L"v", L"v", L"v", L"v", L"v"});
              }),
              LinkFailure(2, 5, CResourceManager::FormatMessage(Msg::jx5com_errcode, 5)));
    m_peer.Finish();

    // Lists that do not fit are refused before anything is sent.
    const std::size_t sent = m_peer.Requests().size();
    EXPECT_EQ(k52test::RaisedText([&] {
                  m_link.WriteItems(2, {0, 0}, {20, 21}, {L"only one"});
              }).rfind(LinkFailure(2, 2, L""), 0),
              0u);
    EXPECT_EQ(k52test::RaisedText([&] {
                  m_link.ReadItems(2, {0}, {20, 21}, texts);
              }).rfind(LinkFailure(2, 1, L""), 0),
              0u);
    EXPECT_EQ(m_peer.Requests().size(), sent);
}

TEST_F(LinkTest, ReadThenWriteItemReadsFirstAndReportsOvercount) {
    m_peer.Run({{ReadRequest(4, 2, 6), ReadReply(4, 0, "UPCOUNT:5")},
                {WriteRequest(4, 2, 6, {'0'}), WriteReply(4, 0)}});
    m_link.ReadThenWriteItem(4, 2, 6, L"0");
    EXPECT_EQ(m_peer.Requests().size(), 2u);
    m_peer.Finish();

    m_peer.Run({{ReadRequest(4, 2, 6), ReadReply(4, 0, "UPCOUNT:5")},
                {WriteRequest(4, 2, 6, {'0'}), WriteReply(4, 9)}});
    EXPECT_EQ(k52test::RaisedText([&] { m_link.ReadThenWriteItem(4, 2, 6, L"0"); }),
              Text(Msg::jx5com_overcount));
}

TEST_F(LinkTest, SilenceAndCutRepliesTimeOutAfterOneSecond) {
    struct Case {
        const char* name;
        Bytes reply;
    };
    const Case cases[] = {
        {"no answer", {}}, {"short header", {0x02}}, {"short body", {0x02, 0x05, 0x01, 0x15, 0x00}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_peer.Run({{ReadRequest(1, 0, 1), c.reply}});
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(k52test::RaisedText([&] { m_link.ReadItem(1, 0, 1); }),
                  LinkFailure(1, 1, Text(Msg::jx5com_timeout)));
        const long long elapsed = MillisecondsSince(start);
        EXPECT_GE(elapsed, 950);
        EXPECT_LE(elapsed, 1500);
        m_peer.Finish();
    }
}

namespace {

// Cancels the link from a second thread once the peer has the request, and
// keeps when it did so.
class Canceller {
public:
    Canceller(CJX5COMInterface& link, linktest::ScriptedPeer& peer)
        : m_thread([this, &link, &peer] {
              const auto give_up = Clock::now() + std::chrono::seconds(5);
              while (peer.Requests().empty() && Clock::now() < give_up) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
              // Let the link settle into its read.
              std::this_thread::sleep_for(std::chrono::milliseconds(100));
              m_when = Clock::now();
              link.Cancel();
          }) {}
    ~Canceller() { Join(); }
    void Join() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    Clock::time_point When() const { return m_when; }

private:
    Clock::time_point m_when;
    std::thread m_thread;
};

} // namespace

TEST_F(LinkTest, CancelEndsAWaitingReadAtOnceAndTheLinkStaysRefused) {
    m_peer.Run({PeerStep{ReadRequest(1, 0, 1), {}, true}});
    Canceller canceller(m_link, m_peer);
    std::wstring raised = L"<none>";
    try {
        m_link.ReadItem(1, 0, 1);
    } catch (const CPrivateException& error) {
        raised = error.GetText();
    }
    const Clock::time_point ended = Clock::now();
    canceller.Join();
    EXPECT_EQ(raised, L"") << "a cancellation is never reported as a failure";
    // The time-out would end the read about 900 ms after the cancel.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(ended - canceller.When()).count(), 500);
    m_peer.Finish();

    // Every later exchange is refused without a byte on the line.
    EXPECT_EQ(k52test::RaisedText([&] { m_link.ReadItem(1, 0, 1); }), L"");
    EXPECT_EQ(k52test::RaisedText([&] { m_link.WriteItem(1, 0, 1, L"1"); }), L"");
    EXPECT_EQ(k52test::RaisedText([&] { m_link.WriteItems(1, {0}, {1}, {L"1"}); }), L"");
    EXPECT_EQ(m_peer.Requests().size(), 1u);
}

TEST_F(LinkTest, CancelledReadThenWriteReportsOvercount) {
    m_peer.Run({PeerStep{ReadRequest(1, 0, 1), {}, true}});
    Canceller canceller(m_link, m_peer);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(k52test::RaisedText([&] { m_link.ReadThenWriteItem(1, 0, 1, L"0"); }),
              Text(Msg::jx5com_overcount));
    EXPECT_LT(MillisecondsSince(start), 900) << "the cancel, not the time-out, ended the read";
    EXPECT_EQ(k52test::RaisedText([&] { m_link.ReadThenWriteItem(1, 0, 1, L"0"); }),
              Text(Msg::jx5com_overcount));
    EXPECT_EQ(m_peer.Requests().size(), 1u);
}

// A read-then-write reports every failure as its own, a cancellation too:
// its callers ask the link whether it was cancelled. Its kind therefore never
// says "cancelled", while the other commands' cancellation does.
TEST_F(LinkTest, ACancelledReadThenWriteIsAFailureOfItsOwnKind) {
    m_peer.Run({});
    m_link.Cancel();
    EXPECT_EQ(k52test::RaisedKind([&] { m_link.ReadThenWriteItem(1, 0, 1, L"0"); }), FailureKind::Other);
    EXPECT_EQ(k52test::RaisedKind([&] { m_link.ReadItem(1, 0, 1); }), FailureKind::Cancelled);
    EXPECT_EQ(k52test::RaisedKind([&] { m_link.WriteItems(1, {0}, {1}, {L"1"}); }), FailureKind::Cancelled);
}

TEST(LinkOpen, MissingOrBusyPortsNameTheirDisplayName) {
    k52test::LoadEnglish();
    linktest::ScriptedPeer peer;
    CJX5COMInterface first;
    CComSettings settings = first.GetSettings();
    settings.SetDevicePath(peer.SlavePath());
    settings.SetDisplayName(L"USB adapter (ttyUSB0)");
    first.SetSettings(settings);
    first.Open();

    CJX5COMInterface second;
    second.SetSettings(settings);
    const std::wstring busy = k52test::RaisedText([&] { second.Open(); });
    EXPECT_EQ(busy,
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"USB adapter (ttyUSB0)")) +
                  L"\n" + CResourceManager::GetMessage(Msg::serio_inuse));
    EXPECT_NE(busy.find(L"USB adapter (ttyUSB0)"), std::wstring::npos);

    // Once closed, the port is free again.
    first.Close();
    second.Open();
    second.Close();

    settings.SetDevicePath(L"/dev/k52-no-such-port");
    settings.SetDisplayName(L"COM9");
    second.SetSettings(settings);
    EXPECT_EQ(k52test::RaisedText([&] { second.Open(); }),
              CResourceManager::FormatMessage(Msg::serio_openerr, std::wstring(L"COM9")) + L"\n" +
                  CResourceManager::GetMessage(Msg::serio_notpresent));
}

TEST(LinkFrame, CheckReplyJudgesEchoBeforeStatus) {
    k52test::LoadEnglish();
    CJX5COMInterface link;
    EXPECT_NO_THROW(link.CheckReply(3, {}));
    EXPECT_NO_THROW(link.CheckReply(3, {9}));
    EXPECT_NO_THROW(link.CheckReply(3, {3, 0x15, 0, 0, 'x'}));
    EXPECT_EQ(k52test::RaisedText([&] { link.CheckReply(3, {3, 0x15}); }), Text(Msg::jx5com_invres));
    EXPECT_EQ(k52test::RaisedText([&] { link.CheckReply(3, {4, 0x15, 0, 0}); }), Text(Msg::jx5com_invres));
    EXPECT_EQ(k52test::RaisedText([&] { link.CheckReply(3, {4, 0x15, 0, 0x36}); }), Text(Msg::jx5com_invres));
    EXPECT_EQ(k52test::RaisedText([&] {
                  link.CheckReply(3, {3, 0x15, 0, 0x36});
              }),
              Text(Msg::jx5com_redundantfail));
    EXPECT_EQ(k52test::RaisedText([&] {
                  link.CheckReply(3, {3, 0x15, 0, 200});
              }),
              CResourceManager::FormatMessage(Msg::jx5com_errcode, 200));
}
