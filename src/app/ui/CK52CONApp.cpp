#include "app/ui/CK52CONApp.h"

#include "app/ui/ApplicationIcon.h"
#include "app/ui/CK52CONDlg.h"
#include "base/CProfile.h"
#include "base/Version.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/CSettingsProfile.h"
#include "base/ui/RegisteredEvents.h"
#include "station/CSimulatedStationPort.h"

#include <memory>

CK52CONApp::CK52CONApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Every window without an icon of its own shows the program's icon.
    setWindowIcon(ApplicationIcon());
    // Lets the desktop match the windows to the installed k52cfg.desktop.
    setDesktopFileName(QStringLiteral("k52cfg"));
}

CK52CONApp::~CK52CONApp() = default;

int CK52CONApp::InitInstance() {
    RegisterEventTypes();
    // The per-user store under "K-VANTRO" and the program's file name.
    CProfile::SetApplication(std::make_shared<CSettingsProfile>());
    CErrorBox::InstallAsErrorReportHandler();
    // Error boxes carry this title; the main window's own caption is the
    // same text, so the desktop does not repeat it in the title bar.
    setApplicationDisplayName(QString::fromStdWString(GetVersionCaption()));
    RegisterSimulatedStationPort();

    {
        CK52CONDlg window;
        window.exec();
    }
    // The program ends with its window; no event loop runs after it.
    return 0;
}
