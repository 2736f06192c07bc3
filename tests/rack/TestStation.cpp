#include "TestStation.h"

#include "link/CSerialBackend.h"
#include "link/WireFormat.h"
#include "station/CStationLine.h"
#include "station/CStationLineUp.h"
#include "station/StationProtocol.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>

namespace k52test {
namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
    std::shared_ptr<CSimulatedStation> station;
    std::wstring mapWord; // empty: as the station answers
};

std::mutex g_mutex;
std::map<std::wstring, Entry> g_stations;
int g_next = 0;

// Replaces the command word of an active-module map reply.
void RewriteMapWord(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& reply,
                    const std::wstring& word) {
    const bool mapRead = request.size() >= 5 && request[0] == 0 && request[1] == kStationReadCommand &&
                         request[3] == 0 && request[4] == kStationMapItem;
    if (!mapRead || word.empty() || reply.size() < 4) {
        return;
    }
    std::wstring text = DecodeWireText(std::span<const std::uint8_t>(reply).subspan(4));
    const std::size_t colon = text.find(L':');
    text = word + (colon == std::wstring::npos ? L":" + text : text.substr(colon));
    const std::vector<std::uint8_t> bytes = EncodeWireText(text);
    reply.resize(4);
    reply.insert(reply.end(), bytes.begin(), bytes.end());
}

// The station's end of the line, answering each request as soon as its
// frame is complete; late replies arrive when their delay has passed.
class TestStationPort : public CSerialBackend {
public:
    bool Open(const std::wstring& devicePath) override {
        std::lock_guard lock(g_mutex);
        const auto found = g_stations.find(devicePath);
        if (found == g_stations.end()) {
            return false;
        }
        m_path = devicePath;
        m_station = found->second.station;
        return true;
    }
    bool Configure(const SerialLineSettings&) override { return m_station != nullptr; }

    std::size_t Write(const std::uint8_t* data, std::size_t count) override {
        std::vector<std::uint8_t> frame;
        {
            std::lock_guard lock(m_mutex);
            m_input.insert(m_input.end(), data, data + count);
        }
        for (;;) {
            std::vector<std::uint8_t> payload;
            {
                std::lock_guard lock(m_mutex);
                while (!m_input.empty() && m_input.front() != kFrameStx) {
                    m_input.erase(m_input.begin());
                }
                if (m_input.size() < 2 || m_input.size() < m_input[1] + kFrameOverhead) {
                    break;
                }
                const std::size_t length = m_input[1];
                payload.assign(m_input.begin() + 2, m_input.begin() + 2 + static_cast<std::ptrdiff_t>(length));
                m_input.erase(m_input.begin(),
                              m_input.begin() + static_cast<std::ptrdiff_t>(length + kFrameOverhead));
            }
            CSimulatedStation::Reply reply = m_station->HandleRequest(payload);
            if (!reply.send) {
                continue;
            }
            std::wstring word;
            {
                std::lock_guard lock(g_mutex);
                const auto found = g_stations.find(m_path);
                if (found != g_stations.end()) {
                    word = found->second.mapWord;
                }
            }
            RewriteMapWord(payload, reply.payload, word);
            const Clock::time_point due = Clock::now() + reply.delay;
            std::lock_guard lock(m_mutex);
            for (std::uint8_t byte : CStationLine::BuildReplyFrame(reply)) {
                m_output.push_back({byte, due});
            }
            m_wake.notify_all();
        }
        return count;
    }

    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) override {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::unique_lock lock(m_mutex);
        std::size_t got = 0;
        while (!m_cancelled) {
            const Clock::time_point now = Clock::now();
            while (got < count && !m_output.empty() && m_output.front().due <= now) {
                buffer[got++] = m_output.front().byte;
                m_output.pop_front();
            }
            if (got == count || now >= deadline) {
                break;
            }
            Clock::time_point wakeAt = deadline;
            if (!m_output.empty() && m_output.front().due < wakeAt) {
                wakeAt = m_output.front().due;
            }
            m_wake.wait_until(lock, wakeAt);
        }
        return got;
    }

    void Purge(std::uint32_t) override {
        std::lock_guard lock(m_mutex);
        m_cancelled = false;
        m_output.clear();
    }
    void CancelPending() override {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        m_wake.notify_all();
    }
    void Close() override { m_station.reset(); }

private:
    struct Pending {
        std::uint8_t byte;
        Clock::time_point due;
    };

    std::wstring m_path;
    std::shared_ptr<CSimulatedStation> m_station;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::uint8_t> m_input;
    std::deque<Pending> m_output;
    bool m_cancelled = false;
};

} // namespace

void TestStation::Register() {
    RegisterVirtualPortFactory(L"rackstation:",
                               [](const std::wstring&) { return std::make_unique<TestStationPort>(); });
}

TestStation::TestStation(const std::wstring& lineUp) {
    Register();
    std::wstring error;
    const std::optional<CStationLineUp> parsed = CStationLineUp::Parse(lineUp, error);
    if (!parsed) {
        throw std::invalid_argument("bad line-up");
    }
    m_station = std::make_shared<CSimulatedStation>(*parsed);
    std::lock_guard lock(g_mutex);
    m_path = L"rackstation:" + std::to_wstring(g_next++);
    g_stations[m_path] = Entry{m_station, {}};
}

TestStation::~TestStation() {
    std::lock_guard lock(g_mutex);
    g_stations.erase(m_path);
}

void TestStation::SetMapCommandWord(const std::wstring& word) {
    std::lock_guard lock(g_mutex);
    g_stations[m_path].mapWord = word;
}

std::unique_ptr<CJX5COMInterface> TestStation::MakeLink(std::uint64_t mask) const {
    auto link = std::make_unique<CJX5COMInterface>();
    CComSettings settings = link->GetSettings();
    settings.SetDevicePath(m_path);
    settings.SetDisplayName(L"Test station");
    settings.SetModuleSelectionMask(mask);
    link->SetSettings(settings);
    return link;
}

std::unique_ptr<CJX5COMInterface> TestStation::OpenLink(std::uint64_t mask) const {
    auto link = MakeLink(mask);
    link->Open();
    return link;
}

std::vector<StationRequest> TestStation::Writes() const {
    std::vector<StationRequest> writes;
    for (StationRequest& request : m_station->GetRequestLog()) {
        if (request.command == kStationWriteCommand) {
            writes.push_back(std::move(request));
        }
    }
    return writes;
}

long TestStation::FirstWriteTo(int address) const {
    const std::vector<StationRequest> log = m_station->GetRequestLog();
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].command == kStationWriteCommand && log[i].address == address) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

} // namespace k52test
