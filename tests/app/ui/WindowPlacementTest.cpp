// The main and monitor windows on the screen: within it, their lists taking
// the room, and Tab going through them as they are seen. The ctest entries
// WindowPlacement.* run these on a 1280 x 720 screen, and on one at display
// scale 1.5; the plain run on the offscreen platform's own screen.
#include "app/ui/MainWindowFixture.h"
#include "editing/ui/CParameterListCtrl.h"
#include "link/CJX5COMInterface.h"
#include "monitor/ui/CMonitorDialog.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CMonitorListCtrl.h"
#include "station/CSimulatedStation.h"

#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <set>

namespace {

class WindowPlacementTest : public k52test::MainWindowTest {
protected:
    static QRect Room(const QWidget& window) { return window.screen()->availableGeometry(); }

    // The focus's path through the window from first, until it comes back.
    static std::vector<QWidget*> TabWalk(QWidget& window, QWidget* first) {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> walk{first};
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            if (focus == first || focus == nullptr) {
                break;
            }
            walk.push_back(focus);
        }
        return walk;
    }

    // Each stop after the one before as the eye reads: further right on the
    // same line, or lower down.
    static void ExpectReadingOrder(const QWidget& window, const std::vector<QWidget*>& walk) {
        for (std::size_t at = 1; at < walk.size(); ++at) {
            const QRect before(walk[at - 1]->mapTo(&window, QPoint()), walk[at - 1]->size());
            const QRect now(walk[at]->mapTo(&window, QPoint()), walk[at]->size());
            const bool sameLine = now.top() <= before.bottom() && before.top() <= now.bottom();
            EXPECT_TRUE(now.top() > before.top() || (sameLine && now.left() > before.left()))
                << "stop " << at << " at " << now.x() << "," << now.y() << " after " << before.x() << ","
                << before.y();
        }
    }
};

TEST_F(WindowPlacementTest, TheMainWindowFitsTheScreenAndGivesItsRoomToTheLists) {
    CK52CONDlg& window = OpenWindow();
    const QRect room = Room(window);
    EXPECT_TRUE(room.contains(window.frameGeometry())) << window.frameGeometry().height() << " " << room.height();
    auto* parameters = Control<CParameterListCtrl>(CK52CONDlg::IdParameterList);
    auto* slotList = Control<QWidget>(CK52CONDlg::IdSlotList);
    auto* upload = Control<QWidget>(CK52CONDlg::IdUpload);
    EXPECT_GT(parameters->viewport()->height(), 3 * parameters->fontMetrics().height());

    // Larger: the lists take the room, the commands keep to the right edge,
    // the status line to the bottom.
    const QSize before = parameters->size();
    const int slotListBefore = slotList->height();
    const int uploadGap = window.width() - upload->geometry().right();
    window.resize(window.size() + QSize(120, 90));
    EXPECT_EQ(parameters->size(), before + QSize(120, 90));
    EXPECT_EQ(slotList->height(), slotListBefore + 90);
    EXPECT_EQ(window.width() - upload->geometry().right(), uploadGap);
    EXPECT_EQ(window.StatusLine()->geometry().bottom(), window.height() - 1);
    EXPECT_EQ(window.StatusLine()->width(), window.width());
    EXPECT_LT(parameters->geometry().bottom(), window.StatusLine()->geometry().top());
}

TEST_F(WindowPlacementTest, TheMonitorWindowAndItsTrendFitTheScreen) {
    RegisterSimulatedStationPort();
    GetSimulatedStation(L"sim:0=K52HQ8,9=JK7W");
    // The link outlives the window, whose thread uses it.
    CJX5COMInterface link;
    CMonitorDialog monitor;
    CComSettings settings = link.GetSettings();
    settings.SetDevicePath(L"sim:0=K52HQ8,9=JK7W");
    link.SetSettings(settings);
    monitor.Begin(link, StationAttribute());
    monitor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&monitor));
    const QRect room = Room(monitor);
    EXPECT_TRUE(room.contains(monitor.frameGeometry()));
    // Record and Trend within reach, the live values still to be read.
    for (QWidget* button : {static_cast<QWidget*>(monitor.RecordButton()), static_cast<QWidget*>(monitor.TrendButton())}) {
        EXPECT_TRUE(monitor.rect().contains(button->geometry()));
    }
    EXPECT_GT(monitor.MonitorList()->viewport()->height(), 2 * monitor.fontMetrics().height());

    // Tab through the window as it is seen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.GetNotificationCount() >= 1; }, 5000));
    const QRect row = monitor.MonitorList()->visualRect(monitor.MonitorList()->model()->index(9, 0));
    QTest::mouseClick(monitor.MonitorList()->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.FourChannelPanel()->isVisible(); }, 5000));
    const std::vector<QWidget*> walk = TabWalk(monitor, monitor.MonitorList());
    EXPECT_GE(walk.size(), 4u) << "list, close, Record, Trend at least";
    ExpectReadingOrder(monitor, walk);
    const int width = monitor.width();
    QTest::mouseClick(monitor.TrendButton(), Qt::LeftButton);
    ASSERT_TRUE(monitor.TrendWindow()->isVisible());
    EXPECT_EQ(monitor.width(), width) << "the trend has a window of its own";
    EXPECT_TRUE(room.contains(monitor.TrendWindow()->frameGeometry()));
    monitor.TrendWindow()->close();
    EXPECT_FALSE(monitor.TrendButton()->isChecked());

    monitor.done(1);
}

TEST_F(WindowPlacementTest, TabFollowsTheMainWindowAsSeenInBothLanguages) {
    for (const wchar_t* language : {L"English.lng", L"Japanese.lng"}) {
        m_profile->WriteString(L"Settings", L"DisplayLanguage", language);
        CK52CONDlg& window = OpenWindow();
        const std::vector<QWidget*> walk = TabWalk(window, Control<QWidget>(CK52CONDlg::IdPortCombo));
        std::vector<int> ids;
        ids.reserve(walk.size());
        for (QWidget* stop : walk) {
            ids.push_back(GetControlId(stop).value_or(-1));
        }
        using W = CK52CONDlg;
        EXPECT_EQ(ids, (std::vector<int>{W::IdPortCombo, W::IdUpload, W::IdDownload, W::IdMonitor, W::IdOpenFile,
                                         W::IdSaveFile, W::IdPreferences, W::IdAllOnOff, W::IdCompare,
                                         W::IdReport, W::IdModelButton, W::IdSlotList, W::IdParameterList}));
        ExpectReadingOrder(window, walk);
        // Every command has an access key of its own.
        std::set<QString> keys;
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
            if (GetControlId(button).value_or(-1) != W::IdModelButton) {
                EXPECT_FALSE(button->shortcut().isEmpty()) << button->text().toStdString();
                EXPECT_TRUE(keys.insert(button->shortcut().toString()).second) << button->text().toStdString();
            }
        }
    }
}

} // namespace
