#pragma once
#include "link/CJX5COMInterface.h"
#include "station/CSimulatedStation.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace k52test {

// A fresh simulated station for one test, reached by the real link at a
// device path of its own ("rackstation:N"), so that no test sees what
// another wrote. It can also answer the active-module map with another
// command word than the station's own, which no station model sends on its own.
class TestStation {
public:
    // A line-up as k52sim takes it: "0=K52HQ8,1=JK7W".
    explicit TestStation(const std::wstring& lineUp);
    ~TestStation();
    TestStation(const TestStation&) = delete;
    TestStation& operator=(const TestStation&) = delete;

    const std::wstring& GetPath() const { return m_path; }
    CSimulatedStation& Station() { return *m_station; }

    // The command word of every active-module map reply from now on.
    void SetMapCommandWord(const std::wstring& word);

    // A link to this station with the selection mask in its settings; not opened.
    std::unique_ptr<CJX5COMInterface> MakeLink(std::uint64_t mask) const;
    std::unique_ptr<CJX5COMInterface> OpenLink(std::uint64_t mask) const;

    // The requests that wrote an item, in order.
    std::vector<StationRequest> Writes() const;
    // The index in the request log of the first write to a module at this address, or -1.
    long FirstWriteTo(int address) const;

    // Makes every "rackstation:" path reach its test station; called by the constructor.
    static void Register();

private:
    std::wstring m_path;
    std::shared_ptr<CSimulatedStation> m_station;
};

} // namespace k52test
