#pragma once
#include "base/TextConvert.h"
#include "catalog/CCardInterface.h"
#include "catalog/StationAttribute.h"
#include "link/CJX5COMInterface.h"
#include "station/CSimulatedStation.h"
#include "station/CStationPtyServer.h"
#include "station/StationProtocol.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace k52test {

// One request as the station took it: a read, or a write with its text.
struct Access {
    int address = 0;
    int page = 0;
    int item = 0;
    bool write = false;
    std::wstring text;

    static Access Read(int address, int page, int item) { return {address, page, item, false, {}}; }
    static Access Write(int address, int page, int item, std::wstring text) {
        return {address, page, item, true, std::move(text)};
    }
    bool operator==(const Access&) const = default;
};

inline void PrintTo(const Access& access, std::ostream* out) {
    *out << (access.write ? "write " : "read ") << access.address << ":" << access.page << ":" << access.item;
    if (access.write) {
        *out << " \"" << ToUtf8(access.text) << "\"";
    }
}

// A simulated station served on a pseudo-terminal and the real link opened
// on it: cards talk to it exactly as they talk to a station on a serial line.
class StationFixture : public ::testing::Test {
protected:
    void SetUp() override {
        LoadEnglish();
    }

    void TearDown() override {
        m_link.reset();
        if (m_server) {
            m_server->Stop();
        }
    }

    // A station with these models by slot; slot 0 keeps the default
    // communication module unless named.
    void StartStation(const std::map<int, std::wstring>& models) {
        m_link.reset();
        if (m_server) {
            m_server->Stop();
        }
        CStationLineUp lineUp;
        for (const auto& [slot, model] : models) {
            lineUp.SetModel(slot, model);
        }
        m_station = std::make_shared<CSimulatedStation>(lineUp);
        m_server = std::make_unique<CStationPtyServer>(m_station);
        m_server->Start();
        m_link = std::make_unique<CJX5COMInterface>();
        CComSettings settings = m_link->GetSettings();
        settings.SetDevicePath(FromUtf8(m_server->GetDevicePath()));
        settings.SetDisplayName(L"Station");
        m_link->SetSettings(settings);
        m_link->Open();
    }

    CSimulatedStation& Station() { return *m_station; }
    CJX5COMInterface& Link() { return *m_link; }

    // Every request since the last call, oldest first.
    std::vector<Access> TakeAccesses() {
        std::vector<Access> accesses;
        for (const StationRequest& request : m_station->GetRequestLog()) {
            accesses.push_back({request.address, request.page, request.item,
                                request.command == kStationWriteCommand, request.text});
        }
        m_station->ClearRequestLog();
        return accesses;
    }

    std::shared_ptr<CSimulatedStation> m_station;
    std::unique_ptr<CStationPtyServer> m_server;
    std::unique_ptr<CJX5COMInterface> m_link;
    // The attribute of the rack the cards are in.
    StationAttribute m_attribute;
};

} // namespace k52test
