#pragma once
#include "link/CSerialBackend.h"
#include "station/CSimulatedStation.h"
#include "station/CStationLine.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

// A serial port whose other end is a simulated station in this process. The
// link chooses it for device paths beginning with "sim:": "sim:" alone is the
// demo station, "sim:0=K52HQ8,1=JK7W" a station of those modules. Each path
// names one station that lives for the rest of the process, so successive
// links to the same path find what earlier ones wrote; like a real port, it
// can be open only once at a time.
class CSimulatedStationPort : public CSerialBackend {
public:
    static constexpr const wchar_t* kPrefix = L"sim:";

    CSimulatedStationPort();
    ~CSimulatedStationPort() override;

    bool Open(const std::wstring& devicePath) override;
    SerialOpenFailure GetOpenFailure() const override { return m_openFailure; }
    bool StartsClean() const override { return true; }
    bool Configure(const SerialLineSettings& settings) override;
    std::size_t Write(const std::uint8_t* data, std::size_t count) override;
    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) override;
    void Purge(std::uint32_t flags) override;
    void CancelPending() override;
    void Close() override;

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::wstring m_path;
    std::shared_ptr<CSimulatedStation> m_station;
    std::optional<CStationLine> m_line;
    bool m_cancelled = false;
    SerialOpenFailure m_openFailure;
};

// Makes the link serve "sim:" paths with CSimulatedStationPort. Programs call
// it once at start; calling it again does no harm.
void RegisterSimulatedStationPort();

// The station of a "sim:" path, made on first use; null for a path that is
// not "sim:" followed by a valid module list.
std::shared_ptr<CSimulatedStation> GetSimulatedStation(const std::wstring& devicePath);
