// The window program as it starts and ends, driven the way a user drives it:
// the demo station chosen, an upload, the monitor opened and closed, then
// the main window closed. It prints the moment (CLOCK_MONOTONIC, shared by
// every process of the machine) at which it closes the main window, so that
// a test can time how long the process takes to end after that.
#include "app/ui/CK52CONApp.h"
#include "app/ui/CK52CONDlg.h"
#include "base/ui/ControlId.h"
#include "monitor/ui/CMonitorDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long NowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

void Click(QWidget* window, int id) {
    // Later, from the event loop: the click runs a modal window of its own.
    QTimer::singleShot(0, window, [window, id] { FindControlAs<QPushButton>(window, id)->click(); });
}

} // namespace

int main(int argc, char** argv) {
    CK52CONApp application(argc, argv);
    enum class Step { Upload, Monitor, CloseMonitor, CloseMain, Done } step = Step::Upload;
    QElapsedTimer clock;
    clock.start();
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (clock.elapsed() > 60'000) {
            std::fprintf(stderr, "stuck\n");
            std::_Exit(2);
        }
        QWidget* modal = QApplication::activeModalWidget();
        auto* main = qobject_cast<CK52CONDlg*>(modal);
        switch (step) {
        case Step::Upload:
            if (main != nullptr && main->isVisible()) {
                auto* ports = FindControlAs<QComboBox>(main, CK52CONDlg::IdPortCombo);
                ports->setCurrentIndex(ports->count() - 2); // the demo station, before "Other port..."
                Click(main, CK52CONDlg::IdUpload);
                step = Step::Monitor;
            }
            break;
        case Step::Monitor:
            if (main != nullptr && main->GetRack().GetCard(1) &&
                main->GetRack().GetCard(1)->GetTypeCode() != 0) {
                Click(main, CK52CONDlg::IdMonitor);
                step = Step::CloseMonitor;
            }
            break;
        case Step::CloseMonitor:
            if (auto* monitor = qobject_cast<CMonitorDialog*>(modal);
                monitor != nullptr && monitor->GetNotificationCount() >= 3) {
                monitor->close();
                step = Step::CloseMain;
            }
            break;
        case Step::CloseMain:
            if (main != nullptr && main->isVisible()) {
                driver.stop();
                std::printf("closing %lld\n", NowNanoseconds());
                std::fflush(stdout);
                main->close();
                step = Step::Done;
            }
            break;
        case Step::Done:
            break;
        }
    });
    driver.start(50);
    return application.InitInstance();
}
