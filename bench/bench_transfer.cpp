// Upload and download of a full rack (K52HQ8 and sixteen JK7W) from a
// simulated station on a pseudo-terminal that paces both directions as a
// 9600-baud line would. Reports the measured time against the wire-time
// bound (every request and reply byte at 10 bits, 9600 bit/s), then the
// exchanges per second with the pacing off. A plain timed program: one
// transfer takes tens of seconds, so it is run once, not sampled.
#include "base/CResourceManager.h"
#include "link/CJX5COMInterface.h"
#include "link/CSerialBackend.h"
#include "link/posix/CPosixSerialBackend.h"
#include "rack/CCardSlot.h"
#include "rack/CProgressCounter.h"
#include "station/CSimulatedStation.h"
#include "station/CStationLineUp.h"
#include "station/CStationPtyServer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

namespace {

constexpr double kBitsPerByte = 10.0;
constexpr double kBitsPerSecond = 9600.0;

std::atomic<std::size_t> g_bytesWritten{0};
std::atomic<std::size_t> g_bytesRead{0};

// The operating system's port, counting every byte that crosses it, so that
// the bound is computed from what the link really sent and received.
class CountingPort : public CSerialBackend {
public:
    static constexpr const wchar_t* kPrefix = L"count:";

    bool Open(const std::wstring& devicePath) override {
        return m_port.Open(devicePath.substr(std::wstring(kPrefix).size()));
    }
    bool Configure(const SerialLineSettings& settings) override { return m_port.Configure(settings); }
    std::size_t Write(const std::uint8_t* data, std::size_t count) override {
        const std::size_t written = m_port.Write(data, count);
        g_bytesWritten += written;
        return written;
    }
    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) override {
        const std::size_t got = m_port.Read(buffer, count, timeoutMs);
        g_bytesRead += got;
        return got;
    }
    void Purge(std::uint32_t flags) override { m_port.Purge(flags); }
    void CancelPending() override { m_port.CancelPending(); }
    void Close() override { m_port.Close(); }

private:
    CPosixSerialBackend m_port;
};

struct Measure {
    double seconds = 0;
    std::size_t bytes = 0;
    std::size_t exchanges = 0;
};

template <class Operation> Measure Run(CSimulatedStation& station, Operation&& operation) {
    g_bytesWritten = 0;
    g_bytesRead = 0;
    const std::size_t requestsBefore = station.GetRequestCount();
    const auto started = std::chrono::steady_clock::now();
    operation();
    Measure measure;
    measure.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    measure.bytes = g_bytesWritten + g_bytesRead;
    measure.exchanges = station.GetRequestCount() - requestsBefore;
    return measure;
}

void ReportPaced(const char* name, const Measure& measure) {
    const double bound = static_cast<double>(measure.bytes) * kBitsPerByte / kBitsPerSecond;
    std::printf("%-9s %5zu exchanges %7zu bytes  measured %7.3f s  wire bound %7.3f s  ratio %.4f\n", name,
                measure.exchanges, measure.bytes, measure.seconds, bound, measure.seconds / bound);
}

void ReportUnpaced(const char* name, const Measure& measure) {
    std::printf("%-9s %5zu exchanges in %.3f s: %.0f exchanges/s\n", name, measure.exchanges, measure.seconds,
                static_cast<double>(measure.exchanges) / measure.seconds);
}

} // namespace

int main() {
    try {
        CResourceManager::Database().Load(L"English.lng");
        RegisterVirtualPortFactory(CountingPort::kPrefix,
                                   [](const std::wstring&) { return std::make_unique<CountingPort>(); });

        std::wstring lineUp = L"0=K52HQ8";
        for (int slot = 1; slot <= 16; ++slot) {
            lineUp += L"," + std::to_wstring(slot) + L"=JK7W";
        }
        std::wstring error;
        auto station = std::make_shared<CSimulatedStation>(*CStationLineUp::Parse(lineUp, error));
        CStationPtyServer server(station);
        server.Start();
        const std::string& device = server.GetDevicePath();

        CJX5COMInterface link;
        CComSettings settings = link.GetSettings();
        settings.SetDevicePath(std::wstring(CountingPort::kPrefix) +
                               std::wstring(device.begin(), device.end()));
        settings.SetDisplayName(L"benchmark station");
        settings.SetModuleSelectionMask(CCardSlot::kAllSlots);
        link.SetSettings(settings);
        link.Open();

        CCardSlot rack;
        CProgressCounter progress;
        std::printf("full rack: K52HQ8 and sixteen JK7W over %s, 9600 baud, 10 bits a byte\n",
                    device.c_str());

        station->SetPacing(true);
        const Measure upload = Run(*station, [&] { rack.Upload(link, progress, CCardSlot::kAllSlots); });
        ReportPaced("upload", upload);
        const Measure download = Run(*station, [&] { rack.Download(link, progress, CCardSlot::kAllSlots); });
        ReportPaced("download", download);

        station->SetPacing(false);
        const Measure fastUpload = Run(*station, [&] { rack.Upload(link, progress, CCardSlot::kAllSlots); });
        ReportUnpaced("upload", fastUpload);
        const Measure fastDownload =
            Run(*station, [&] { rack.Download(link, progress, CCardSlot::kAllSlots); });
        ReportUnpaced("download", fastDownload);

        link.Close();
        server.Stop();
        const double worst = std::max(upload.seconds / (static_cast<double>(upload.bytes) * kBitsPerByte / kBitsPerSecond),
                                      download.seconds / (static_cast<double>(download.bytes) * kBitsPerByte / kBitsPerSecond));
        std::printf("worst ratio %.4f (%s 1.05)\n", worst, worst <= 1.05 ? "within" : "NOT within");
        return worst <= 1.05 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_transfer: %s\n", error.what());
        return 1;
    }
}
