#include "station/CSimulatedStationPort.h"

#include <map>
#include <set>

namespace {

// The stations of all "sim:" paths used in this process, and which of them
// a port holds open.
struct StationDirectory {
    std::mutex mutex;
    std::map<std::wstring, std::shared_ptr<CSimulatedStation>> stations;
    std::set<std::wstring> open;
};

StationDirectory& Directory() {
    static StationDirectory directory;
    return directory;
}

std::shared_ptr<CSimulatedStation> FindOrMakeLocked(StationDirectory& directory, const std::wstring& path) {
    const std::wstring_view prefix = CSimulatedStationPort::kPrefix;
    if (path.compare(0, prefix.size(), prefix) != 0) {
        return nullptr;
    }
    if (const auto found = directory.stations.find(path); found != directory.stations.end()) {
        return found->second;
    }
    const std::wstring_view modules = std::wstring_view(path).substr(prefix.size());
    std::wstring error;
    std::optional<CStationLineUp> lineUp =
        modules.empty() ? CStationLineUp::Demo() : CStationLineUp::Parse(modules, error);
    if (!lineUp) {
        return nullptr;
    }
    auto station = std::make_shared<CSimulatedStation>(*lineUp);
    directory.stations.emplace(path, station);
    return station;
}

} // namespace

CSimulatedStationPort::CSimulatedStationPort() = default;

CSimulatedStationPort::~CSimulatedStationPort() {
    CSimulatedStationPort::Close();
}

bool CSimulatedStationPort::Open(const std::wstring& devicePath) {
    Close();
    StationDirectory& directory = Directory();
    std::lock_guard directoryLock(directory.mutex);
    std::shared_ptr<CSimulatedStation> station = FindOrMakeLocked(directory, devicePath);
    if (!station || directory.open.contains(devicePath)) {
        m_openFailure = SerialOpenFailure{};
        m_openFailure.kind = station ? SerialOpenFailure::Kind::InUse : SerialOpenFailure::Kind::NotPresent;
        return false;
    }
    m_openFailure = SerialOpenFailure{};
    directory.open.insert(devicePath);
    std::lock_guard lock(m_mutex);
    m_path = devicePath;
    m_station = std::move(station);
    m_line.emplace(m_station);
    m_cancelled = false;
    return true;
}

bool CSimulatedStationPort::Configure(const SerialLineSettings&) {
    // The station answers at whatever speed it is asked; pacing is its own setting.
    std::lock_guard lock(m_mutex);
    return m_line.has_value();
}

std::size_t CSimulatedStationPort::Write(const std::uint8_t* data, std::size_t count) {
    std::lock_guard lock(m_mutex);
    if (!m_line) {
        return 0;
    }
    m_line->Receive(std::span<const std::uint8_t>(data, count), CStationLine::Clock::now());
    // A reply may already be there for a reader waiting on another thread.
    m_wake.notify_all();
    return count;
}

std::size_t CSimulatedStationPort::Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) {
    using Clock = CStationLine::Clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_mutex);
    std::size_t got = 0;
    while (m_line && !m_cancelled) {
        const Clock::time_point now = Clock::now();
        got += m_line->Take(buffer + got, count - got, now);
        if (got == count || now >= deadline) {
            break;
        }
        // Wake once, when the last byte asked for has come; only a cancel or
        // a close wakes the reader earlier.
        const std::optional<Clock::time_point> complete = m_line->ArrivalOf(count - got);
        m_wake.wait_until(lock, complete ? std::min(*complete, deadline) : deadline);
    }
    return got;
}

void CSimulatedStationPort::Purge(std::uint32_t flags) {
    std::lock_guard lock(m_mutex);
    m_cancelled = false;
    if (m_line && (flags & (kPurgeRxAbort | kPurgeRxClear)) != 0) {
        m_line->DropArrived(CStationLine::Clock::now());
    }
}

void CSimulatedStationPort::CancelPending() {
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    m_wake.notify_all();
}

void CSimulatedStationPort::Close() {
    std::wstring path;
    {
        std::lock_guard lock(m_mutex);
        if (!m_line) {
            return;
        }
        m_line.reset();
        m_station.reset();
        path = std::move(m_path);
        m_path.clear();
        m_wake.notify_all();
    }
    StationDirectory& directory = Directory();
    std::lock_guard directoryLock(directory.mutex);
    directory.open.erase(path);
}

void RegisterSimulatedStationPort() {
    RegisterVirtualPortFactory(CSimulatedStationPort::kPrefix,
                               [](const std::wstring&) { return std::make_unique<CSimulatedStationPort>(); });
}

std::shared_ptr<CSimulatedStation> GetSimulatedStation(const std::wstring& devicePath) {
    StationDirectory& directory = Directory();
    std::lock_guard lock(directory.mutex);
    return FindOrMakeLocked(directory, devicePath);
}
