#pragma once
#include "station/CSimulatedStation.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

// Serves a simulated station on a pseudo-terminal, so that any program that
// opens serial devices (the tool itself, k52ctl) can talk to it by the
// terminal's path. A thread of its own answers the requests; it runs from
// Start until Stop or destruction.
class CStationPtyServer {
public:
    explicit CStationPtyServer(std::shared_ptr<CSimulatedStation> station);
    ~CStationPtyServer();
    CStationPtyServer(const CStationPtyServer&) = delete;
    CStationPtyServer& operator=(const CStationPtyServer&) = delete;

    // Opens the pseudo-terminal in raw mode and starts answering; raises
    // CPrivateException with the system's reason when that fails.
    void Start();
    void Stop();

    // The path the other side opens (/dev/pts/N); empty before Start.
    const std::string& GetDevicePath() const { return m_devicePath; }

private:
    void Serve();
    void CloseAll();

    std::shared_ptr<CSimulatedStation> m_station;
    std::string m_devicePath;
    int m_master = -1;
    // Held open for the whole run: without it, every time the other side
    // closes the terminal the server's end would see a hang-up.
    int m_slave = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::thread m_thread;
};
