// What the monitor window adds to every cycle with the trend open: a full
// rack of sixteen four-channel analog modules, ten minutes of history in the
// trend, the recording running. Measured per notification of the monitoring
// thread (the window's whole hand-over: list, adjust list, banner, history,
// recording, next command) and per redraw of the trend, against the
// simulated station unpaced and at line speed. From the recording it also
// works out the size of one hour of recording of this rack.
// A plain timed program, not registered with CTest:
//   QT_QPA_PLATFORM=offscreen bench_monitor_refresh [seconds per run]
#include "base/CResourceManager.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CMonitorDialog.h"
#include "monitor/ui/CMonitorListCtrl.h"
#include "monitor/ui/CTrendView.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(std::chrono::nanoseconds time) {
    return std::chrono::duration<double, std::milli>(time).count();
}

struct Spread {
    double median = 0;
    double p95 = 0;
    double max = 0;
};

Spread SpreadOf(std::vector<double> values) {
    Spread spread;
    if (values.empty()) {
        return spread;
    }
    std::sort(values.begin(), values.end());
    spread.median = values[values.size() / 2];
    spread.p95 = values[std::min(values.size() - 1, values.size() * 95 / 100)];
    spread.max = values.back();
    return spread;
}

// Sixteen four-channel analog modules, two models taking turns.
std::wstring FullRack() {
    std::wstring path = L"sim:0=K52HQ8";
    for (int slot = 1; slot <= 16; ++slot) {
        path += L"," + std::to_wstring(slot) + (slot % 2 != 0 ? L"=JK7W" : L"=KZ7W");
    }
    return path;
}

void Run(const char* what, bool paced, double seconds) {
    const std::wstring path = FullRack();
    const auto station = GetSimulatedStation(path);
    station->SetPacing(paced);
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    settings.SetDevicePath(path);
    link.SetSettings(settings);

    CMonitorDialog dialog;
    dialog.Begin(link, StationAttribute());
    dialog.show();
    // The first cycle gives the rack whose values fill ten minutes of history.
    while (dialog.GetNotificationCount() < 2 || dialog.Thread()->HasLastCommandFailed()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    const auto now = std::chrono::system_clock::now();
    const CCardSlot rack = dialog.MonitorList()->Rack();
    for (auto time = now - std::chrono::minutes(10); time < now; time += std::chrono::milliseconds(100)) {
        dialog.History().Add(rack, time);
    }
    dialog.SelectRow(1);
    dialog.ShowTrend(true);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "k52-bench-recording.csv";
    dialog.StartRecording(file.wstring());

    std::vector<double> updates;
    std::vector<double> redraws;
    std::uint64_t notifications = dialog.GetNotificationCount();
    std::uint64_t redrawCount = dialog.Trend()->GetRedrawCount();
    const std::uint64_t firstNotification = notifications;
    const auto start = Clock::now();
    const auto until = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < until) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (dialog.GetNotificationCount() != notifications) {
            notifications = dialog.GetNotificationCount();
            updates.push_back(Ms(dialog.GetLastUpdateTime()));
        }
        if (dialog.Trend()->GetRedrawCount() != redrawCount) {
            redrawCount = dialog.Trend()->GetRedrawCount();
            redraws.push_back(Ms(dialog.Trend()->GetLastRedrawTime()));
        }
    }
    const double runSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    const auto bytes = static_cast<double>(dialog.Recorder().GetByteCount());
    const auto rows = static_cast<double>(dialog.Recorder().GetRowCount());
    dialog.StopRecording();
    dialog.done(1);
    std::filesystem::remove(file);
    std::filesystem::remove(file.wstring() + L".info");

    const auto cycles = static_cast<double>(notifications - firstNotification);
    const Spread update = SpreadOf(updates);
    const Spread redraw = SpreadOf(redraws);
    std::printf("%s: %.0f cycles in %.1f s (%.1f cycles/s), trend history %zu samples\n", what, cycles, runSeconds,
                cycles / runSeconds, dialog.History().GetSampleCount());
    std::printf("  window hand-over per cycle: median %.3f ms, 95%% %.3f ms, longest %.3f ms\n", update.median,
                update.p95, update.max);
    std::vector<std::size_t> order(updates.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return updates[a] > updates[b]; });
    std::printf("  longest hand-overs (cycle: ms):");
    for (std::size_t i = 0; i < order.size() && i < 5; ++i) {
        std::printf(" %zu: %.3f", order[i], updates[order[i]]);
    }
    std::printf("\n");
    std::printf("  trend redraw (at most every %d ms): %zu redraws, median %.3f ms, 95%% %.3f ms, longest %.3f ms\n",
                CTrendView::kRedrawMs, redraws.size(), redraw.median, redraw.p95, redraw.max);
    if (rows > 0) {
        const double perHour = bytes / runSeconds * 3600.0;
        std::printf("  recording: %.0f rows, %.0f bytes (%.1f bytes a row) -> one hour: %.1f MB (%.0f rows)\n", rows,
                    bytes, bytes / rows, perHour / 1e6, rows / runSeconds * 3600.0);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    CResourceManager::Database().Load(L"English.lng");
    RegisterSimulatedStationPort();
    Run("unpaced simulated station", false, seconds);
    Run("simulated station at 9600 baud", true, seconds * 3);
    return 0;
}
