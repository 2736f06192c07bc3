// One ReadItem exchange over a pseudo-terminal whose other side answers at
// once: the cost of the link itself (framing, purge, write, two reads, check).
#include "base/CProfile.h"
#include "link/CJX5COMInterface.h"
#include "link/WireFormat.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Answers every request frame with a read reply of the requested address.
class AnsweringStation {
public:
    AnsweringStation() {
        char name[128] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        m_path = std::wstring(name, name + std::char_traits<char>::length(name));
        m_thread = std::thread([this] { Serve(); });
    }
    ~AnsweringStation() {
        m_stop = true;
        m_thread.join();
        ::close(m_slave);
        ::close(m_master);
    }
    const std::wstring& Path() const { return m_path; }

private:
    bool ReadExactly(std::uint8_t* buffer, std::size_t count) {
        std::size_t got = 0;
        while (got < count && !m_stop) {
            pollfd fd{m_master, POLLIN, 0};
            if (::poll(&fd, 1, 50) <= 0) {
                continue;
            }
            const ssize_t n = ::read(m_master, buffer + got, count - got);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
            }
        }
        return got == count;
    }

    void Serve() {
        std::uint8_t header[2];
        std::vector<std::uint8_t> rest;
        while (ReadExactly(header, 2)) {
            rest.resize(header[1] + 3u);
            if (!ReadExactly(rest.data(), rest.size())) {
                return;
            }
            const std::vector<std::uint8_t> payload = {rest[0], 0x15, 0x00, 0x00, 'A', 'I',
                                                       ':',     '1',  '2',  '3',  '4'};
            const std::vector<std::uint8_t> reply = BuildFrame(payload);
            if (::write(m_master, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) {
                return;
            }
        }
    }

    int m_master = -1;
    int m_slave = -1;
    std::wstring m_path;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void ReadItemExchange(benchmark::State& state) {
    AnsweringStation station;
    CMemoryProfile profile;
    CComSettings settings(profile);
    settings.SetDevicePath(station.Path());
    settings.SetDisplayName(L"bench");
    CJX5COMInterface link;
    link.SetSettings(settings);
    link.Open();
    for (auto _ : state) {
        benchmark::DoNotOptimize(link.ReadItem(3, 1, 7));
    }
    state.counters["exchanges/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(ReadItemExchange)->UseRealTime();

BENCHMARK_MAIN();
