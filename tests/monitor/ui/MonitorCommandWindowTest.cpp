// The main window's "Monitor" command.
#include "app/CResourceManager.h"
#include "app/ui/MainWindowFixture.h"
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CMonitorDialog.h"

#include <QComboBox>
#include <QPushButton>

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

TEST_F(MonitorCommandWindowTest, APortThatCannotBeOpenedShowsItsErrorAndNothingElse) {
    OpenWindow(L"/dev/k52-no-such-port");
    ChoosePort(false);
    Click(CK52CONDlg::IdMonitor);

    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(m_errors.Texts()[0],
              CResourceManager::FormatMessage(L"serio.openerr", k52test::kTestStationName));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(m_window->isVisible());
    // The choice was stored all the same.
    EXPECT_EQ(m_profile->GetString(L"ComSettings", L"COMPortName", L""), L"/dev/k52-no-such-port");
}

} // namespace
