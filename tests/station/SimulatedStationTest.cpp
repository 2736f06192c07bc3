#include "catalog/ModelRegistry.h"
#include "link/CGICommandParser.h"
#include "station/CSimulatedModule.h"
#include "station/CSimulatedStation.h"
#include "station/StationProtocol.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Answer {
    std::uint8_t status = 0xFF;
    std::wstring text;
    Bytes payload;
};

Answer Exchange(CSimulatedStation& station, const Bytes& request) {
    const CSimulatedStation::Reply reply = station.HandleRequest(request);
    Answer answer;
    answer.payload = reply.payload;
    if (reply.payload.size() >= 4) {
        answer.status = reply.payload[3];
        for (std::size_t i = 4; i < reply.payload.size(); ++i) {
            answer.text.push_back(static_cast<wchar_t>(reply.payload[i]));
        }
    }
    return answer;
}

Answer Read(CSimulatedStation& station, std::uint8_t address, std::uint8_t page, std::uint8_t item) {
    return Exchange(station, {address, kStationReadCommand, 0, page, item});
}

std::uint8_t Write(CSimulatedStation& station, std::uint8_t address, std::uint8_t page, std::uint8_t item,
                   const std::string& text) {
    Bytes request = {address, kStationWriteCommand, 0, page, item, static_cast<std::uint8_t>(text.size())};
    request.insert(request.end(), text.begin(), text.end());
    return Exchange(station, request).status;
}

// The value the tool takes from a reply: the text after the first colon.
std::wstring ValueOf(const Answer& answer) {
    return CGICommandParser(answer.text).GetValue();
}

CStationLineUp LineUp(const wchar_t* text) {
    std::wstring error;
    std::optional<CStationLineUp> lineUp = CStationLineUp::Parse(text, error);
    if (!lineUp) {
        ADD_FAILURE() << "bad line-up";
        return CStationLineUp();
    }
    return *lineUp;
}

std::int64_t Word(const ParameterDefinition& row) {
    const auto low = static_cast<std::uint16_t>(row.defaultValue & 0xFFFF);
    return row.isSigned != 0 ? static_cast<std::int16_t>(low) : static_cast<std::int64_t>(low);
}

TEST(SimulatedStation, ReportsItsLineUpAtTheCommunicationModule) {
    CSimulatedStation station(LineUp(L"0=K52HJWQ8,1=JK7W,3=KZ9W,16=QB9W"));

    const Answer map = Read(station, 0, 0, 6);
    EXPECT_EQ(map.payload,
              (Bytes{0, kStationReadCommand, 0, 0, 'U', 'P', 'M', 'A', 'P', ':', '8', '0', '0', '5'}));
    EXPECT_EQ(CGICommandParser(map.text).GetHexValue(), 0x8005U);

    EXPECT_EQ(ValueOf(Read(station, 0, 0, 3)), L"K52HJWQ8");
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 10)), L"JK7W");
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 11)), L"");
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 12)), L"KZ9W");
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 25)), L"QB9W");

    EXPECT_EQ(CGICommandParser(Read(station, 0, 0, 27).text).GetDecValue(), 1U);
    station.SetAttribute(0);
    EXPECT_EQ(Read(station, 0, 0, 27).text, L"ATTRIB:0000");
    // The line-up and the attribute are the station's, not the tool's to change.
    EXPECT_EQ(Write(station, 0, 0, 6, "FFFF"), kStationStatusRefused);
    EXPECT_EQ(Write(station, 0, 0, 27, "1"), kStationStatusRefused);
}

// Every parameter of every model reads back, through the parser the tool
// uses for the row's kind, as the row's default: what a fresh module holds.
TEST(SimulatedStation, EveryParameterOfEveryModelReadsAsItsDefault) {
    for (const ModelRow& module : AllModelRows()) {
        if (!IsModule(module)) {
            continue;
        }
        const std::wstring model = module.name;
        const bool com = CStationLineUp::IsCommunicationModel(model);
        CStationLineUp lineUp;
        lineUp.SetModel(com ? 0 : 5, model);
        CSimulatedStation station(lineUp);
        const std::uint8_t address = com ? 0 : 5;
        int read = 0;
        for (const ParameterDefinition& row : CSimulatedModule::TableOf(model).parameters) {
            if (row.kind == KindGroup || (com && row.page == 0 && row.item == kStationAttributeItem)) {
                continue;
            }
            SCOPED_TRACE(std::wstring(model) + L" " + row.textKey);
            const Answer answer = Read(station, address, static_cast<std::uint8_t>(row.page),
                                       static_cast<std::uint8_t>(row.item));
            ASSERT_EQ(answer.status, kStationStatusOk);
            const CGICommandParser reply(answer.text);
            ++read;
            switch (row.kind) {
            case KindList:
                EXPECT_EQ(static_cast<std::int16_t>(reply.GetDecValue()),
                          static_cast<std::int16_t>(Word(row)));
                break;
            case KindDecimal16:
                EXPECT_EQ(reply.GetScaledValue(row.decimals), Word(row));
                break;
            case KindDecimal16Raw:
                EXPECT_EQ(reply.GetScaledValue(0), Word(row));
                break;
            case KindUnsigned32:
            case KindSigned32:
                EXPECT_EQ(row.radix == 10 ? reply.GetDecValue() : reply.GetHexValue(),
                          static_cast<std::uint32_t>(row.defaultValue));
                break;
            case KindIpAddress: {
                const auto ip = static_cast<std::uint32_t>(row.defaultValue);
                wchar_t dotted[20];
                std::swprintf(dotted, 20, L"%u.%u.%u.%u", ip >> 24, (ip >> 16) & 0xFF, (ip >> 8) & 0xFF,
                              ip & 0xFF);
                EXPECT_EQ(reply.GetValue(), dotted);
                break;
            }
            case KindText:
                if (row.textSlot == 3) {
                    EXPECT_EQ(reply.GetValue().size(), 12U) << "a MAC address comes undivided";
                }
                break;
            default:
                ADD_FAILURE() << "a row of a kind no table uses";
            }
        }
        EXPECT_GT(read, 0) << model;
    }
}

TEST(SimulatedStation, WrittenTextsAreKeptAndReadBack) {
    CSimulatedStation station(LineUp(L"0=K52HQ8,1=JK7W,2=QH7W,4=QB9W"));
    EXPECT_EQ(Write(station, 1, 1, 0x0a, "12.34"), kStationStatusOk); // bias of channel 1
    EXPECT_EQ(ValueOf(Read(station, 1, 1, 0x0a)), L"12.34");
    EXPECT_EQ(Write(station, 1, 1, 0x42, "30"), kStationStatusOk); // range of channel 1
    EXPECT_EQ(CGICommandParser(Read(station, 1, 1, 0x42).text).GetDecValue(), 30U);
    EXPECT_EQ(Write(station, 0, 0, 0x58, "10.0.0.1"), kStationStatusOk);
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 0x58)), L"10.0.0.1");
    EXPECT_EQ(Write(station, 4, 1, 0x2b, "4294967295"), kStationStatusOk);
    // The decimals of a base value follow the range: one decimal after range 1.
    EXPECT_EQ(Write(station, 1, 1, 0x2a, "3000.0"), kStationStatusOk);

    // The output value after reset is shown with decimals but kept raw, and
    // the tool reads it back unscaled.
    EXPECT_EQ(Write(station, 2, 1, 0x4a, "-12.5"), kStationStatusOk);
    EXPECT_EQ(CGICommandParser(Read(station, 2, 1, 0x4a).text).GetScaledValue(0), -1250);

    // A station is written every value once; one it cannot take is turned
    // down and the old value stays.
    const struct {
        std::uint8_t address, page, item;
        const char* text;
    } refused[] = {
        {1, 1, 0x42, "37"},         // range beyond the list
        {1, 1, 0x0a, "12,34"},      // not a number
        {1, 1, 0x0a, "12.34 (%)"},  // a display text with its unit
        {1, 0, 0x28, "9.99"},       // the firmware version is read-only
        {0, 0, 0x58, "10.0.0.256"}, // no address
        {4, 1, 0x2b, "0"},          // a span of at least 1
        {4, 1, 0x2b, "4294967296"}, // beyond 32 bits
        {2, 1, 0x4a, "115.01"},     // beyond the output range
        {1, 0, 1, "2"},             // the edit switch is 0 or 1
    };
    for (const auto& attempt : refused) {
        SCOPED_TRACE(attempt.text);
        const std::wstring before = Read(station, attempt.address, attempt.page, attempt.item).text;
        EXPECT_EQ(Write(station, attempt.address, attempt.page, attempt.item, attempt.text),
                  kStationStatusRefused);
        EXPECT_EQ(Read(station, attempt.address, attempt.page, attempt.item).text, before);
    }
    EXPECT_EQ(ValueOf(Read(station, 1, 1, 0x0a)), L"12.34");
}

TEST(SimulatedStation, UnknownPlacesAndMalformedRequestsAreAnsweredWithAStatus) {
    CSimulatedStation station(LineUp(L"1=JK7W"));
    EXPECT_EQ(Read(station, 2, 0, 0x28).status, kStationStatusNoSuchItem); // empty slot
    EXPECT_EQ(Read(station, 17, 0, 6).status, kStationStatusNoSuchItem);
    EXPECT_EQ(Read(station, 1, 9, 99).status, kStationStatusNoSuchItem);
    EXPECT_EQ(Write(station, 1, 9, 99, "1"), kStationStatusNoSuchItem);

    EXPECT_EQ(Exchange(station, {1, kStationReadCommand, 0, 1}).payload,
              (Bytes{1, kStationReadCommand, 0, kStationStatusBadRequest}));
    EXPECT_EQ(Exchange(station, {1, 0x17, 0, 1, 0x0a}).status, kStationStatusBadRequest);
    // The text length byte says 3 but 2 bytes follow.
    EXPECT_EQ(Exchange(station, {1, kStationWriteCommand, 0, 1, 0x0a, 3, '1', '2'}).status,
              kStationStatusBadRequest);
    EXPECT_FALSE(station.HandleRequest(Bytes{}).send);
    EXPECT_EQ(ValueOf(Read(station, 1, 1, 0x0a)), L"0.00");
}

TEST(SimulatedStation, LogsEveryRequestInOrder) {
    CSimulatedStation station(LineUp(L"1=KZ9W"));
    Read(station, 0, 0, 6);
    Write(station, 1, 1, 0x0b, "1.2345");
    Read(station, 7, 2, 3);
    const std::vector<StationRequest> log = station.GetRequestLog();
    ASSERT_EQ(log.size(), 3U);
    EXPECT_EQ(log[0].command, kStationReadCommand);
    EXPECT_EQ(log[0].item, 6);
    EXPECT_EQ(log[1].address, 1);
    EXPECT_EQ(log[1].command, kStationWriteCommand);
    EXPECT_EQ(log[1].page, 1);
    EXPECT_EQ(log[1].item, 0x0b);
    EXPECT_EQ(log[1].text, L"1.2345");
    EXPECT_EQ(log[2].address, 7);
    EXPECT_EQ(log[2].status, kStationStatusNoSuchItem);
    station.ClearRequestLog();
    EXPECT_EQ(station.GetRequestCount(), 0U);
}

TEST(SimulatedStation, LiveValuesMoveWithTheClock) {
    CSimulatedStation station(LineUp(L"1=KZ9W,2=BJ58W,3=QB9W,4=HJ7W"));
    station.FreezeClock(1000);
    const std::wstring analog = ValueOf(Read(station, 1, 0, 10));
    const std::wstring points = ValueOf(Read(station, 2, 0, 10));
    const std::uint32_t count = CGICommandParser(Read(station, 3, 0, 10).text).GetDecValue();
    EXPECT_EQ(ValueOf(Read(station, 1, 0, 10)), analog) << "a frozen clock holds the values";
    EXPECT_EQ(CGICommandParser(Read(station, 1, 0, 18).text).GetDecValue(), 0U) << "channel status";
    EXPECT_EQ(Read(station, 4, 1, 90).status, kStationStatusOk) << "second value";

    station.AdvanceClock(700);
    EXPECT_NE(ValueOf(Read(station, 1, 0, 10)), analog);
    EXPECT_NE(ValueOf(Read(station, 2, 0, 10)), points);
    EXPECT_EQ(CGICommandParser(Read(station, 3, 0, 10).text).GetDecValue(), count + 7);
    // Sixteen points in one word, a single point set.
    const std::uint32_t bits = CGICommandParser(Read(station, 2, 0, 10).text).GetHexValue();
    EXPECT_EQ(bits & (bits - 1), 0U);
    EXPECT_NE(bits, 0U);
    EXPECT_LE(bits, 0xFFFFU);
}

TEST(SimulatedStation, SimulationWritesShowWhileTheSwitchIsOn) {
    CSimulatedStation station(LineUp(L"1=KZ9W,2=BJ58W"));
    station.FreezeClock(0);
    const auto simulate = [&station] {
        EXPECT_EQ(Write(station, 1, 0, 1, "1"), kStationStatusOk);
        EXPECT_EQ(Write(station, 1, 1, 1, "1"), kStationStatusOk);
        EXPECT_EQ(Write(station, 1, 0, 10, "1234"), kStationStatusOk);
        EXPECT_EQ(Write(station, 1, 0, 11, "-5"), kStationStatusOk);
        EXPECT_EQ(Write(station, 1, 0, 1, "0"), kStationStatusOk);
        EXPECT_EQ(Write(station, 1, 1, 1, "0"), kStationStatusOk);
    };
    simulate();
    EXPECT_NE(ValueOf(Read(station, 1, 0, 10)), L"1234") << "the switch is off";

    EXPECT_EQ(Write(station, 1, 0, 0x4e, "1"), kStationStatusOk);
    simulate();
    station.AdvanceClock(5000);
    EXPECT_EQ(ValueOf(Read(station, 1, 0, 10)), L"1234");
    EXPECT_EQ(static_cast<std::uint16_t>(CGICommandParser(Read(station, 1, 0, 11).text).GetDecValue()),
              0xFFFBU);
    EXPECT_EQ(CGICommandParser(Read(station, 1, 0, 0x4e).text).GetDecValue(), 1U) << "the switch channel";
    EXPECT_EQ(Write(station, 1, 0, 18, "3"), kStationStatusRefused) << "a status is not simulated";
    // An empty text gives the channel its own value back.
    EXPECT_EQ(Write(station, 1, 0, 11, ""), kStationStatusOk);
    EXPECT_NE(static_cast<std::uint16_t>(CGICommandParser(Read(station, 1, 0, 11).text).GetDecValue()),
              0xFFFBU);
    EXPECT_EQ(ValueOf(Read(station, 1, 0, 10)), L"1234");

    EXPECT_EQ(Write(station, 1, 0, 0x4e, "0"), kStationStatusOk);
    EXPECT_NE(ValueOf(Read(station, 1, 0, 10)), L"1234");

    EXPECT_EQ(Write(station, 2, 0, 0x4e, "1"), kStationStatusOk);
    EXPECT_EQ(Write(station, 2, 0, 10, "00FF"), kStationStatusOk);
    EXPECT_EQ(Write(station, 2, 0, 10, "1FFFF"), kStationStatusRefused) << "sixteen points in a word";
    EXPECT_EQ(CGICommandParser(Read(station, 2, 0, 10).text).GetHexValue(), 0xFFU);
}

TEST(SimulatedStation, PassesDigitalPointsOnThroughTheCommunicationModule) {
    CSimulatedStation station(LineUp(L"1=JK7W,2=QJ58W"));
    station.SetAttribute(0);
    station.FreezeClock(2500);
    const std::uint32_t points = CGICommandParser(Read(station, 2, 0, 10).text).GetHexValue();

    EXPECT_EQ(Read(station, 0, 2, 20).status, kStationStatusRefused) << "before the read-through is on";
    EXPECT_EQ(Write(station, 0, 2, 1, "1"), kStationStatusOk);
    EXPECT_EQ(Write(station, 0, 2, 4, "2"), kStationStatusOk);
    EXPECT_EQ(CGICommandParser(Read(station, 0, 2, 20).text).GetHexValue(), points);
    EXPECT_EQ(CGICommandParser(Read(station, 0, 2, 21).text).GetHexValue(), 0U);
    EXPECT_EQ(Read(station, 0, 2, 29).status, kStationStatusOk);
    EXPECT_EQ(Read(station, 0, 2, 30).status, kStationStatusOk);

    // A simulated pattern shows the same way.
    EXPECT_EQ(Write(station, 2, 0, 0x4e, "1"), kStationStatusOk);
    EXPECT_EQ(Write(station, 2, 2, 20, "A5A5"), kStationStatusOk);
    EXPECT_EQ(CGICommandParser(Read(station, 0, 2, 20).text).GetHexValue(), 0xA5A5U);
    EXPECT_EQ(CGICommandParser(Read(station, 2, 0, 10).text).GetHexValue(), 0xA5A5U);

    EXPECT_EQ(Write(station, 0, 2, 4, "1"), kStationStatusOk);
    EXPECT_EQ(Read(station, 0, 2, 20).status, kStationStatusNoSuchItem) << "slot 1 holds no digital module";
    EXPECT_EQ(Write(station, 0, 2, 4, "17"), kStationStatusRefused);
    EXPECT_EQ(Write(station, 0, 2, 1, "0"), kStationStatusOk);
    EXPECT_EQ(Read(station, 0, 2, 20).status, kStationStatusRefused);
}

TEST(SimulatedStation, TheModuleClockRunsFromWhatWasWritten) {
    CSimulatedStation station(LineUp(L"0=K52HZKJ8"));
    station.FreezeClock(400);
    EXPECT_EQ(Write(station, 0, 0, 0x51, "2024/1/5 7:08:09"), kStationStatusOk);
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 0x51)), L"2024/01/05 07:08:09");
    station.AdvanceClock(61'000);
    EXPECT_EQ(ValueOf(Read(station, 0, 0, 0x51)), L"2024/01/05 07:09:10");
    EXPECT_EQ(Write(station, 0, 0, 0x51, "2024/02/30 00:00:00"), kStationStatusRefused);
}

TEST(SimulatedStation, FaultsSpoilTheChosenExchangesOnly) {
    CSimulatedStation station(LineUp(L"1=KZ9W"));
    station.InjectFault(
        StationFault::AtItem(1, 1, 0x0a, StationFault::Kind::ErrorStatus).WithStatus(9).Times(2));
    station.InjectFault(StationFault::AtRequest(4, StationFault::Kind::WrongEcho));

    // Turned down, and not carried out.
    EXPECT_EQ(Write(station, 1, 1, 0x0a, "1.00"), 9);
    EXPECT_EQ(Exchange(station, {1, kStationReadCommand, 0, 1, 0x0a}).payload,
              (Bytes{1, kStationReadCommand, 0, 9}));
    EXPECT_EQ(ValueOf(Read(station, 1, 1, 0x0a)), L"0.00") << "two times only";
    EXPECT_EQ(Read(station, 1, 1, 0x0b).status, kStationStatusOk);

    const Answer echo = Read(station, 1, 1, 0x0b); // request 4
    EXPECT_EQ(echo.payload[0], 2);
    EXPECT_EQ(echo.status, kStationStatusOk);
    EXPECT_EQ(Read(station, 1, 1, 0x0b).payload[0], 1);

    station.InjectFault(StationFault::AtItem(1, 1, 0x0a, StationFault::Kind::NoReply));
    const CSimulatedStation::Reply silent =
        station.HandleRequest(Bytes{1, kStationWriteCommand, 0, 1, 0x0a, 1, '7'});
    EXPECT_FALSE(silent.send);
    EXPECT_EQ(ValueOf(Read(station, 1, 1, 0x0a)), L"7") << "a lost reply does not undo the write";

    station.InjectFault(StationFault::AtItem(1, 1, 0x0a, StationFault::Kind::ShortPayload));
    EXPECT_EQ(station.HandleRequest(Bytes{1, kStationReadCommand, 0, 1, 0x0a}).payload,
              (Bytes{1, kStationReadCommand, 0}));
}

} // namespace
