#pragma once
#include "station/CSimulatedModule.h"
#include "station/CStationLineUp.h"
#include "station/StationFault.h"
#include "station/StationRequest.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A K52 station in memory: a communication module at address 0 and the I/O
// modules of slots 1 to 16 at addresses 1 to 16. It answers request payloads
// of the two item commands with the reply payloads a station sends, keeps a
// log of every request, and spoils chosen exchanges on request.
//
// Safe to use from several threads: a port may serve it while a test looks
// at its log or changes its faults.
class CSimulatedStation {
public:
    // What goes back for one request. The frame-level faults are carried out
    // by whoever puts the reply on the line.
    struct Reply {
        bool send = true;
        std::vector<std::uint8_t> payload;
        std::optional<StationFault::Kind> frameFault; // WrongStx, WrongEtx or TruncatedBody
        std::chrono::milliseconds delay{0};
    };

    explicit CSimulatedStation(const CStationLineUp& lineUp = CStationLineUp::Demo());
    ~CSimulatedStation();
    CSimulatedStation(const CSimulatedStation&) = delete;
    CSimulatedStation& operator=(const CSimulatedStation&) = delete;

    const CStationLineUp& GetLineUp() const { return m_lineUp; }

    Reply HandleRequest(std::span<const std::uint8_t> payload);

    // The station attribute word reported at item 27 of the communication
    // module: 1 lets the tool address the 16-point digital modules directly.
    void SetAttribute(int value);

    // Pacing: replies take the time they would take on a 9600-baud line.
    void SetPacing(bool on);
    bool IsPacing() const;

    // The clock that moves the live values, in milliseconds. It runs from the
    // station's creation unless frozen; a frozen clock moves only when told.
    void FreezeClock(std::int64_t ms);
    void AdvanceClock(std::int64_t ms);
    void RunClock();

    void InjectFault(const StationFault& fault);
    void ClearFaults();

    std::vector<StationRequest> GetRequestLog() const;
    std::size_t GetRequestCount() const;
    void ClearRequestLog();

    // What an item holds now, as the tool would take it after the colon;
    // nothing when there is no such item.
    std::optional<std::wstring> GetValue(int address, int page, int item) const;
    // Stores a text as a write request would; returns the reply's status.
    std::uint8_t SetValue(int address, int page, int item, const std::wstring& text);
    // See CSimulatedModule::PinValue.
    void PinValue(int address, int page, int item, std::optional<std::wstring> text);

private:
    std::uint8_t ReadLocked(int address, int page, int item, std::wstring& reply) const;
    std::uint8_t WriteLocked(int address, int page, int item, const std::wstring& text);
    std::optional<StationFault> TakeFaultLocked(std::size_t index, const StationRequest& request);
    std::int64_t ClockLocked() const;
    CSimulatedModule* ModuleAt(int address) const;
    std::uint8_t ReadThroughLocked(int item, std::wstring& reply) const;

    mutable std::mutex m_mutex;
    CStationLineUp m_lineUp;
    std::array<std::unique_ptr<CSimulatedModule>, CStationLineUp::kSlotCount> m_modules;
    int m_attribute = 1;
    bool m_pacing = false;
    std::chrono::steady_clock::time_point m_started;
    std::optional<std::int64_t> m_frozenClock;
    std::vector<StationFault> m_faults;
    std::vector<StationRequest> m_log;
};
