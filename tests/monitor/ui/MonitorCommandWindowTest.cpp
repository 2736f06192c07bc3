// The main window's "Monitor" command.
#include "app/ui/MainWindowFixture.h"
#include "base/CResourceManager.h"
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CMonitorDialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

using k52test::MainWindowTest;
using k52test::WhenModalShown;

namespace {

class MonitorCommandWindowTest : public MainWindowTest {
protected:
    // End is the demo station, one up from it the test station.
    void ChoosePort(bool demo) {
        auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_End);
        if (!demo) {
            QTest::keyClick(ports, Qt::Key_Up);
        }
    }
};

TEST_F(MonitorCommandWindowTest, MonitorRunsWhileTheMainWindowIsHidden) {
    OpenWindow();
    ChoosePort(true);
    bool mainWindowHidden = false;
    bool cycled = false;
    WhenModalShown([&](QWidget* window) {
        auto* monitor = dynamic_cast<CMonitorDialog*>(window);
        ASSERT_NE(monitor, nullptr);
        mainWindowHidden = !m_window->isVisible();
        cycled = QTest::qWaitFor([&] { return monitor->GetNotificationCount() >= 2; }, 5000);
        QTest::mouseClick(FindControlAs<QPushButton>(window, CMonitorDialog::kCloseButtonId), Qt::LeftButton);
    });
    Click(CK52CONDlg::IdMonitor);

    EXPECT_TRUE(mainWindowHidden);
    EXPECT_TRUE(cycled);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_profile->GetString(L"ComSettings", L"COMPortName", L""), L"sim:");
    EXPECT_TRUE(m_errors.Texts().empty());
}

TEST_F(MonitorCommandWindowTest, ClosingTheMonitorDoesNotEndTheProgram) {
    // The main window is hidden while the monitor runs, so the monitor is the
    // last visible window when it closes; the main window's own loop, which
    // is the program's, must go on all the same.
    OpenWindow();
    ChoosePort(true);
    WhenModalShown([&](QWidget* window) {
        auto* monitor = dynamic_cast<CMonitorDialog*>(window);
        ASSERT_NE(monitor, nullptr);
        QTest::mouseClick(FindControlAs<QPushButton>(window, CMonitorDialog::kCloseButtonId), Qt::LeftButton);
    });
    bool monitorEnded = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        Click(CK52CONDlg::IdMonitor);
        monitorEnded = true;
        // Whatever the monitor left behind has its turn before this.
        QTimer::singleShot(100, m_window.get(), [&] { m_window->done(7); });
    });
    const int result = m_window->exec();

    EXPECT_TRUE(monitorEnded);
    EXPECT_EQ(result, 7);
}

TEST_F(MonitorCommandWindowTest, APortThatCannotBeOpenedShowsItsErrorAndNothingElse) {
    OpenWindow(L"/dev/k52-no-such-port");
    ChoosePort(false);
    Click(CK52CONDlg::IdMonitor);

    ASSERT_EQ(m_errors.Texts().size(), 1u);
    // The window's message says why, in the user's language.
    EXPECT_EQ(m_errors.Texts()[0],
              CResourceManager::FormatMessage(Msg::serio_openerr, k52test::kTestStationName) + L"\n" +
                  CResourceManager::GetMessage(Msg::serio_notpresent));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(m_window->isVisible());
    // The choice was stored all the same.
    EXPECT_EQ(m_profile->GetString(L"ComSettings", L"COMPortName", L""), L"/dev/k52-no-such-port");
}

} // namespace
