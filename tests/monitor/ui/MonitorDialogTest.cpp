// The monitor window against the simulated station, through real widgets
// and input events.
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "base/ui/CFileChooser.h"
#include "base/ui/ControlId.h"
#include "catalog/CCardInterface.h"
#include "editing/ui/CListStepper.h"
#include "editing/ui/CParameterListCtrl.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CEditAIO2.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CEditAIO4_2.h"
#include "monitor/ui/CEditDIO32.h"
#include "monitor/ui/CMonitorDialog.h"
#include "monitor/ui/CMonitorListCtrl.h"
#include "monitor/ui/CTrendView.h"
#include "station/CSimulatedStation.h"
#include "station/CSimulatedStationPort.h"
#include "station/CStationPtyServer.h"
#include "station/StationProtocol.h"
#include "support/GuiTestSupport.h"
#include "support/MessageUses.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QWheelEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sys/resource.h>

namespace {

constexpr int kWait = 5000;

class MonitorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        RegisterSimulatedStationPort();
    }

    // Starts the window on a simulated station of the given modules, for a
    // rack of the given attribute.
    std::shared_ptr<CSimulatedStation> Start(const std::wstring& path,
                                             StationAttribute attribute = StationAttribute()) {
        auto station = GetSimulatedStation(path);
        CComSettings settings = m_link.GetSettings();
        settings.SetDevicePath(path);
        settings.SetDisplayName(L"Station port");
        m_link.SetSettings(settings);
        m_dialog.Begin(m_link, attribute);
        m_dialog.show();
        m_dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
        return station;
    }

    bool WaitCycles(std::uint64_t count) {
        const std::uint64_t until = m_dialog.GetNotificationCount() + count;
        return QTest::qWaitFor([&] { return m_dialog.GetNotificationCount() >= until; }, kWait);
    }

    void ClickRow(int row) {
        CMonitorListCtrl* list = m_dialog.MonitorList();
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    std::vector<CSimulationPanel*> VisiblePanels() const {
        std::vector<CSimulationPanel*> visible;
        for (CSimulationPanel* panel : {static_cast<CSimulationPanel*>(m_dialog.DigitalPanel()),
                                        static_cast<CSimulationPanel*>(m_dialog.TwoChannelPanel()),
                                        static_cast<CSimulationPanel*>(m_dialog.FourChannelPanel()),
                                        static_cast<CSimulationPanel*>(m_dialog.EightChannelPanel())}) {
            if (panel->isVisible()) {
                visible.push_back(panel);
            }
        }
        return visible;
    }

    // Switches the simulation of a module on at the station.
    static void SwitchSimulationOn(CSimulatedStation& station, const CCardInterface& card, int slot) {
        for (int channel = 0; channel < card.GetChannelCount(); ++channel) {
            const ChannelDefinition& row = card.GetChannelRow(channel);
            if (row.channelKind == ChannelSwitch) {
                station.SetValue(slot, row.valuePage, row.valueItem, L"1");
                return;
            }
        }
        FAIL() << "no simulation switch";
    }

    CJX5COMInterface m_link;
    CMonitorDialog m_dialog;
};

TEST_F(MonitorDialogTest, ComRowAndSixteenPointModuleShowNeitherPanelNorAdjustList) {
    const auto station = Start(L"sim:0=K52HQ8,1=JK7W,2=BJ58W");
    station->SetAttribute(0);
    ASSERT_TRUE(WaitCycles(2));

    ClickRow(0);
    EXPECT_EQ(m_dialog.MonitorList()->GetSelectedRow(), 0);
    EXPECT_TRUE(VisiblePanels().empty());
    EXPECT_FALSE(m_dialog.ReadingLabel()->isVisible());

    ClickRow(2);
    ASSERT_TRUE(WaitCycles(2));
    const auto points = m_dialog.MonitorList()->GetDigitalPoints(2);
    EXPECT_TRUE(points.shown);
    EXPECT_EQ(points.label, L"In");
    EXPECT_FALSE(m_dialog.AdjustList()->isVisible());
    EXPECT_FALSE(m_dialog.ReadingLabel()->isVisible());
    EXPECT_TRUE(VisiblePanels().empty());
    EXPECT_TRUE(m_dialog.MonitorList()->GetDigitalPoints(1).label.empty()) << "an analog module has no boxes";
    EXPECT_NE(m_dialog.MonitorList()->GetTypeText(2).find(L"BJ58W"), std::wstring::npos);

    // The boxes are drawn: green for the points that are set, black for the others.
    CMonitorListCtrl* list = m_dialog.MonitorList();
    const QImage image = list->viewport()->grab().toImage();
    const QRect cell = list->visualRect(list->model()->index(2, 2));
    int green = 0;
    int black = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            green += pixel == 0x00FF00 ? 1 : 0;
            black += pixel == 0x000000 ? 1 : 0;
        }
    }
    EXPECT_GT(green, 20);
    EXPECT_GT(black, 20 * green / 2) << "fifteen clear boxes against one set";
}

TEST_F(MonitorDialogTest, SixteenPointModuleGetsTheDigitalPanelWhereTheAttributeAddressesIt) {
    Start(L"sim:0=K52HQ8,1=JK7W,2=BJ58W", StationAttribute(1));
    ASSERT_TRUE(WaitCycles(2));
    ClickRow(1);
    ClickRow(2);
    ASSERT_EQ(VisiblePanels().size(), 1u);
    EXPECT_EQ(VisiblePanels().front(), m_dialog.DigitalPanel());
}

TEST_F(MonitorDialogTest, AnalogModuleShowsItsAdjustListOnceACycleHasReadIt) {
    const auto station = Start(L"sim:0=K52HQ8,5=JK7W");
    ASSERT_TRUE(WaitCycles(2));
    ClickRow(5);
    EXPECT_TRUE(m_dialog.ReadingLabel()->isVisible());
    EXPECT_FALSE(m_dialog.AdjustList()->isVisible());
    ASSERT_EQ(VisiblePanels().size(), 1u);
    EXPECT_EQ(VisiblePanels().front(), m_dialog.FourChannelPanel());

    ASSERT_TRUE(QTest::qWaitFor([&] { return m_dialog.AdjustList()->isVisible(); }, kWait));
    EXPECT_GT(m_dialog.AdjustList()->GetRowCount(), 0);
    EXPECT_FALSE(m_dialog.ReadingLabel()->isVisible());

    // The station stops answering: the rack empties and the list goes.
    auto silence = StationFault::AtItem(0, 0, 6, StationFault::Kind::ErrorStatus).WithStatus(2);
    silence.times = 0;
    station->InjectFault(silence);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_dialog.AdjustList()->isVisible(); }, kWait));
    EXPECT_EQ(m_dialog.MonitorList()->Rack().GetCard(5)->GetTypeCode(), 0);
    EXPECT_FALSE(m_dialog.ReadingLabel()->isVisible());
    EXPECT_TRUE(m_dialog.MonitorList()->GetTypeText(5).empty());
    station->ClearFaults();
}

TEST_F(MonitorDialogTest, AStepInTheAdjustListIsWrittenToTheModule) {
    const auto station = Start(L"sim:0=K52HQ8,6=JK7W");
    ASSERT_TRUE(WaitCycles(1));
    ClickRow(6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_dialog.AdjustList()->isVisible(); }, kWait));
    CParameterListCtrl* adjust = m_dialog.AdjustList();
    adjust->setCurrentItem(adjust->RowItem(0));
    const int parameter = adjust->GetCurrentParameter();
    ASSERT_GE(parameter, 0);
    auto card = m_dialog.MonitorList()->Rack().GetCard(6);
    const ParameterDefinition& definition = card->GetParameter(parameter);
    const auto before = station->GetValue(6, definition.page, definition.item);

    adjust->Stepper()->PressRight();
    ASSERT_TRUE(adjust->GetWriteRequest());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return station->GetValue(6, definition.page, definition.item) != before; }, kWait));
    EXPECT_FALSE(adjust->GetWriteRequest());
    ASSERT_TRUE(WaitCycles(2));
    EXPECT_TRUE(adjust->Stepper()->isEnabled() || !adjust->Stepper()->isVisible());
}

TEST_F(MonitorDialogTest, EscapeInAnAdjustValueTakesTheEditBackAndGoesToTheMonitorList) {
    Start(L"sim:0=K52HQ8,6=JK7W");
    ASSERT_TRUE(WaitCycles(1));
    ClickRow(6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_dialog.AdjustList()->isVisible(); }, kWait));
    CParameterListCtrl* adjust = m_dialog.AdjustList();
    adjust->setFocus();
    adjust->setCurrentItem(adjust->RowItem(0));
    QTest::keyClick(adjust, Qt::Key_5);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(adjust->Editors().IsAnyActive());
    ASSERT_NE(editor, adjust);

    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_FALSE(adjust->Editors().IsAnyActive());
    EXPECT_FALSE(adjust->GetWriteRequest());
    EXPECT_EQ(QApplication::focusWidget(), m_dialog.MonitorList());
    EXPECT_TRUE(VisiblePanels().empty());
}

TEST_F(MonitorDialogTest, ALanguageFileWithoutTheModuleTextsStillShowsTheValues) {
    // A language file is outside input: one that lacks the texts of a model
    // leaves the type cell empty, and the rows are drawn all the same.
    Start(L"sim:0=K52HQ8,1=JK7W,2=BJ58W,3=BJWQ8W");
    ASSERT_TRUE(WaitCycles(2));
    CResourceManager::Database().Reset();
    QImage drawn;
    EXPECT_NO_THROW(drawn = m_dialog.MonitorList()->grab().toImage());
    EXPECT_NO_THROW(ClickRow(1));
    EXPECT_NO_THROW(WaitCycles(1));
    // The eight-channel panel labels its lines from the language file.
    EXPECT_NO_THROW(ClickRow(3));
    EXPECT_TRUE(m_dialog.EightChannelPanel()->isVisible());
    k52test::LoadEnglish();
    EXPECT_FALSE(drawn.isNull());
    EXPECT_TRUE(WaitCycles(1));
}

TEST_F(MonitorDialogTest, SimulationValuesReachTheStationAndTheListShowsThem) {
    const auto station = Start(L"sim:0=K52HQ8,2=BJ58W,3=KZ7W", StationAttribute(1));
    station->SetAttribute(1);
    ASSERT_TRUE(WaitCycles(1));

    // Not simulating yet: the panel is there but disabled.
    ClickRow(3);
    CEditAIO4* panel = m_dialog.FourChannelPanel();
    ASSERT_TRUE(panel->isVisible());
    ASSERT_TRUE(WaitCycles(1));
    EXPECT_FALSE(panel->Edit(0)->isEnabled());
    EXPECT_FALSE(panel->SetButton()->isEnabled());

    SwitchSimulationOn(*station, *m_dialog.MonitorList()->Rack().GetCard(3), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->SetButton()->isEnabled(); }, kWait));
    EXPECT_NE(m_dialog.MonitorList()->GetTypeText(3).find(L"Simulating"), std::wstring::npos);

    panel->Edit(0)->selectAll();
    QTest::keyClicks(panel->Edit(0), QStringLiteral("1234"));
    panel->Edit(3)->selectAll();
    QTest::keyClicks(panel->Edit(3), QStringLiteral("-40000"));
    QTest::mouseClick(panel->SetButton(), Qt::LeftButton);
    EXPECT_FALSE(panel->SetButton()->isEnabled());
    EXPECT_EQ(panel->Edit(3)->text(), QStringLiteral("-32768"));

    const auto card = m_dialog.MonitorList()->Rack().GetCard(3);
    const ChannelDefinition first = card->GetChannelRow(0);
    const ChannelDefinition fourth = card->GetChannelRow(3);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return station->GetValue(3, first.valuePage, first.valueItem) ==
                   std::optional<std::wstring>(L"1234");
        },
        kWait))
        << [&] {
               std::string text;
               for (const auto& request : station->GetRequestLog()) {
                   if (request.address == 3 && !request.text.empty()) {
                       text += std::to_string(request.page) + "/" + std::to_string(request.item) + "=" +
                               QString::fromStdWString(request.text).toStdString() + " st" +
                               std::to_string(request.status) + "; ";
                   }
               }
               return text + " first " + std::to_string(first.valuePage) + "/" +
                      std::to_string(first.valueItem) + " now " +
                      QString::fromStdWString(
                          station->GetValue(3, first.valuePage, first.valueItem).value_or(L"?"))
                          .toStdString();
           }();
    EXPECT_EQ(station->GetValue(3, fourth.valuePage, fourth.valueItem),
              std::optional<std::wstring>(L"-32768"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->SetButton()->isEnabled(); }, kWait))
        << "the request was consumed";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_dialog.MonitorList()->GetChannelText(3, 0) == L"Ch 1\n1234"; }, kWait))
        << QString::fromStdWString(m_dialog.MonitorList()->GetChannelText(3, 0)).toStdString();

    // The digital module: boxes 1 and 3 give the points 1 and 3.
    ClickRow(2);
    SwitchSimulationOn(*station, *m_dialog.MonitorList()->Rack().GetCard(2), 2);
    CEditDIO32* digital = m_dialog.DigitalPanel();
    ASSERT_TRUE(digital->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return digital->SetButton()->isEnabled(); }, kWait));
    for (int bit = 0; bit < 16; ++bit) {
        digital->Box(bit)->setChecked(false);
    }
    QTest::mouseClick(digital->Box(0), Qt::LeftButton);
    QTest::mouseClick(digital->Box(2), Qt::LeftButton);
    QTest::mouseClick(digital->SetButton(), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_dialog.MonitorList()->GetDigitalPoints(2).bits == 5u; }, kWait));
}

TEST_F(MonitorDialogTest, AnAnalogModuleWithItsAdjustListAndPanelBesideADigitalModule) {
    const auto station = Start(L"sim:0=K52HQ8,1=JK7W,2=BJ58W,3=KZ9W,4=QB9W");
    station->SetAttribute(1);
    ASSERT_TRUE(WaitCycles(1));
    ClickRow(1);
    SwitchSimulationOn(*station, *m_dialog.MonitorList()->Rack().GetCard(1), 1);
    CEditAIO4* panel = m_dialog.FourChannelPanel();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_dialog.AdjustList()->isVisible() && panel->SetButton()->isEnabled(); }, kWait));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(m_dialog.ReadingLabel()->isVisible());
    EXPECT_TRUE(m_dialog.MonitorList()->GetDigitalPoints(2).shown);
    // The panel sits inside "Simulate Data", the adjust list inside "Adjust Parameter".
    EXPECT_TRUE(FindControl(&m_dialog, CMonitorDialog::kSimulateGroupId)
                    ->geometry()
                    .contains(panel->geometry().topLeft()));
    EXPECT_TRUE(FindControl(&m_dialog, CMonitorDialog::kAdjustGroupId)
                    ->geometry()
                    .contains(m_dialog.AdjustList()->geometry()));
    // For the README: K52_MONITOR_SCREENSHOT names the picture to write.
    if (const char* screenshot = std::getenv("K52_MONITOR_SCREENSHOT")) {
        QTest::qWait(100);
        EXPECT_TRUE(m_dialog.grab().save(QString::fromLocal8Bit(screenshot)));
    }
}

TEST_F(MonitorDialogTest, TabLeavesTheMonitorListAndTheArrowsKeepItsColumnsInPlace) {
    Start(L"sim:0=K52HQ8,1=JK7W");
    ASSERT_TRUE(WaitCycles(2));
    ClickRow(0);
    CMonitorListCtrl* list = m_dialog.MonitorList();
    ASSERT_TRUE(list->hasFocus());

    // The arrows choose rows; the columns fill the width and stay put.
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->GetSelectedRow(), 1);
    EXPECT_EQ(list->horizontalHeader()->sectionViewportPosition(0), 0);

    // Tab goes on to the next control ("close", the COM slot has no adjust
    // list) instead of walking through the cells.
    ClickRow(0);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(),
              FindControlAs<QPushButton>(&m_dialog, CMonitorDialog::kCloseButtonId));
    EXPECT_EQ(list->GetSelectedRow(), 0);
    EXPECT_EQ(list->horizontalHeader()->sectionViewportPosition(0), 0);
}

TEST_F(MonitorDialogTest, EscapeNeverClosesTheWindowCloseEndsItWithResultOne) {
    const auto station = GetSimulatedStation(L"sim:0=K52HQ8,1=KZ9W");
    CComSettings settings = m_link.GetSettings();
    settings.SetDevicePath(L"sim:0=K52HQ8,1=KZ9W");
    m_link.SetSettings(settings);
    bool stillOpen = false;
    qint64 closing = -1;
    QElapsedTimer timer;
    k52test::WhenModalShown([&](QWidget* window) {
        ASSERT_EQ(window, &m_dialog);
        QTest::qWait(100);
        QTest::keyClick(window, Qt::Key_Escape);
        QTest::qWait(50);
        stillOpen = window->isVisible();
        timer.start();
        QTest::mouseClick(FindControlAs<QPushButton>(window, CMonitorDialog::kCloseButtonId), Qt::LeftButton);
    });
    EXPECT_TRUE(m_dialog.RunModal(m_link, StationAttribute()));
    closing = timer.elapsed();
    EXPECT_TRUE(stillOpen);
    EXPECT_LT(closing, 1000);
    EXPECT_FALSE(m_dialog.Thread()->IsRunning());
    EXPECT_GT(m_dialog.GetNotificationCount(), 0u);

    // The close box ends it the same way.
    CMonitorDialog second;
    k52test::WhenModalShown([&](QWidget* window) { window->close(); });
    EXPECT_TRUE(second.RunModal(m_link, StationAttribute()));
}

// The recording's file, chosen in place of the user.
class FixedFileChooser : public CFileChooser {
public:
    explicit FixedFileChooser(std::wstring path) : m_path(std::move(path)) {}
    std::optional<std::wstring> ChooseFileToSave(QWidget*, const std::wstring& filter) override {
        filterText = filter;
        return m_path;
    }
    std::wstring filterText;

private:
    std::wstring m_path;
};

std::vector<std::string> FileLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::istringstream in(k52test::ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_F(MonitorDialogTest, RecordingHoldsEveryFinishedCycleAndAFullDiskStopsOnlyTheRecording) {
    k52test::TempDir dir;
    const std::wstring path = dir.file("live.csv");
    auto chooser = std::make_unique<FixedFileChooser>(path);
    FixedFileChooser* asked = chooser.get();
    m_dialog.SetFileChooser(std::move(chooser));
    Start(L"sim:0=K52HQ8,7=JK7W,8=QB9W");
    ASSERT_TRUE(WaitCycles(1));
    QTest::mouseClick(m_dialog.RecordButton(), Qt::LeftButton);
    ASSERT_TRUE(m_dialog.Recorder().IsRecording());
    EXPECT_NE(asked->filterText.find(L"*.csv"), std::wstring::npos);
    EXPECT_EQ(m_dialog.RecordButton()->text(), QStringLiteral("Stop &recording"));

    // Read while the monitor runs, the file holds every finished cycle, in whole rows.
    for (int cycle = 0; cycle < 3; ++cycle) {
        ASSERT_TRUE(WaitCycles(1));
        const std::string content = k52test::ReadFile(path);
        EXPECT_EQ(content.size(), m_dialog.Recorder().GetByteCount());
        EXPECT_EQ(FileLines(path).size(), 1 + m_dialog.Recorder().GetRowCount());
        EXPECT_EQ(content.back(), '\n');
    }
    ASSERT_GT(m_dialog.Recorder().GetRowCount(), 0u);
    EXPECT_TRUE(m_dialog.RecordLabel()->text().startsWith(QStringLiteral("Recording: 00:00:0")))
        << m_dialog.RecordLabel()->text().toStdString();

    // The disk fills up (a file-size limit a little above what is written):
    // the recording stops with a message, the monitor goes on, and the file
    // keeps its whole rows.
    k52test::ErrorBoxRecorder errors;
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = static_cast<rlim_t>(m_dialog.Recorder().GetByteCount() + 100);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool stopped = QTest::qWaitFor([&] { return !m_dialog.Recorder().IsRecording(); }, kWait);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_TRUE(stopped);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !errors.Texts().empty(); }, kWait));
    EXPECT_NE(errors.Texts().front().find(L"has stopped"), std::wstring::npos);
    EXPECT_NE(errors.Texts().front().find(path), std::wstring::npos);
    EXPECT_TRUE(WaitCycles(2)) << "the monitor goes on";
    const std::vector<std::string> rows = FileLines(path);
    EXPECT_EQ(rows.size(), 1 + m_dialog.Recorder().GetRowCount());
    EXPECT_EQ(k52test::ReadFile(path).size(), m_dialog.Recorder().GetByteCount());
    for (const std::string& row : rows) {
        EXPECT_EQ(std::count(row.begin(), row.end(), ','), 7) << row;
    }
    EXPECT_EQ(m_dialog.RecordButton()->text(), QStringLiteral("&Record..."));
}

TEST_F(MonitorDialogTest, TrendDrawsTheSelectedModulePausesAndZoomsWithTheWheel) {
    Start(L"sim:0=K52HQ8,9=JK7W,10=BJ58W");
    ASSERT_TRUE(WaitCycles(1));
    ClickRow(9);
    const int narrow = m_dialog.width();
    QTest::mouseClick(m_dialog.TrendButton(), Qt::LeftButton);
    CTrendView* trend = m_dialog.Trend();
    ASSERT_TRUE(trend->isVisible());
    EXPECT_EQ(m_dialog.width(), narrow) << "the trend has a window of its own";

    // One curve per channel, each with a legend entry, filling as cycles come.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return trend->Curves().size() == 4 && trend->Curves().back().points.size() >= 3; }, kWait));
    EXPECT_EQ(trend->Curves().front().name, QStringLiteral("Ch 1"));
    // The value axis (its ticks are tested on their own) covers the curves.
    const TrendTicks& axis = trend->ValueAxis();
    for (const CTrendView::Curve& curve : trend->Curves()) {
        for (const QPointF& point : curve.points) {
            EXPECT_GE(point.y(), axis.low);
            EXPECT_LE(point.y(), axis.high);
        }
    }

    // Paused, the picture holds still while the history goes on.
    QTest::mouseClick(trend->PauseButton(), Qt::LeftButton);
    EXPECT_EQ(trend->PauseButton()->text(), QStringLiteral("&Resume"));
    const double end = trend->GetEndMs();
    const std::size_t points = trend->Curves().front().points.size();
    QTest::qWait(3 * CTrendView::kRedrawMs);
    EXPECT_EQ(trend->GetEndMs(), end);
    EXPECT_EQ(trend->Curves().front().points.size(), points);

    // The wheel zooms the time axis, around the pointer while paused.
    QWidget* viewport = trend->Plot();
    const QPointF centre = QRectF(viewport->rect()).center();
    QWheelEvent wheel(centre, viewport->mapToGlobal(centre), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_NEAR(trend->GetShownMs(), 600000.0 * 0.8 * 0.8, 1.0);
    EXPECT_LT(trend->GetEndMs(), end) << "the newest minutes move out to the right";

    QTest::mouseClick(trend->PauseButton(), Qt::LeftButton);
    EXPECT_EQ(trend->PauseButton()->text(), QStringLiteral("&Pause"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return trend->GetEndMs() > end; }, kWait));

    // For the README: K52_TREND_SCREENSHOT names the picture to write.
    // The last minute, as the user chooses it from the span list.
    if (const char* screenshot = std::getenv("K52_TREND_SCREENSHOT")) {
        trend->SpanList()->setFocus();
        QTest::keyClick(trend->SpanList(), Qt::Key_Home);
        EXPECT_NEAR(trend->GetShownMs(), 60000.0, 1.0);
        QTest::qWait(50000);
        trend->Redraw();
        EXPECT_TRUE(trend->window()->grab().save(QString::fromLocal8Bit(screenshot)));
    }

    // A digital module has no curves, and says so.
    ClickRow(10);
    EXPECT_TRUE(trend->Curves().empty());
    EXPECT_TRUE(trend->Title().contains(QStringLiteral("no values to draw")));
}

// The switch item of a module as the station holds it.
std::optional<std::wstring> SwitchAtStation(const CSimulatedStation& station, const CCardInterface& card, int slot) {
    const ParameterDefinition& row = card.GetParameter(card.GetSimulationSwitchRow());
    return station.GetValue(slot, row.page, row.item);
}

TEST_F(MonitorDialogTest, ABannerNamesTheSimulatingModulesAndEscapeAtCloseLeavesThemSo) {
    const auto station = Start(L"sim:0=K52HQ8,11=JK7W,12=KZ9W");
    ASSERT_TRUE(WaitCycles(2));
    QLabel* banner = m_dialog.SimulationBanner();
    EXPECT_FALSE(banner->isVisible());
    const auto card = m_dialog.MonitorList()->Rack().GetCard(11);
    SwitchSimulationOn(*station, *card, 11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return banner->isVisible(); }, kWait));
    EXPECT_EQ(banner->text(), QStringLiteral("Simulating: IO11 JK7W"));
    const QImage drawn = banner->grab().toImage();
    const QColor colour = drawn.pixelColor(2, drawn.height() / 2);
    EXPECT_GT(colour.red(), 150);
    EXPECT_LT(colour.green(), 60);
    // For the README: K52_BANNER_SCREENSHOT names the picture to write.
    if (const char* screenshot = std::getenv("K52_BANNER_SCREENSHOT")) {
        CMonitorListCtrl* list = m_dialog.MonitorList();
        list->scrollTo(list->model()->index(12, 0), QAbstractItemView::PositionAtBottom);
        ClickRow(11);
        QTest::qWait(300);
        EXPECT_TRUE(m_dialog.grab().save(QString::fromLocal8Bit(screenshot)));
    }

    // While the station does not answer, what was known stands.
    auto silence = StationFault::AtItem(0, 0, 6, StationFault::Kind::ErrorStatus).WithStatus(2);
    silence.times = 0;
    station->InjectFault(silence);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_dialog.Thread()->HasLastCommandFailed(); }, kWait));
    ASSERT_TRUE(WaitCycles(2));
    EXPECT_TRUE(banner->isVisible());
    station->ClearFaults();

    // Closing asks; Escape leaves the module simulating.
    QString question;
    k52test::WhenModalShown([&](QWidget* box) {
        question = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::mouseClick(FindControlAs<QPushButton>(&m_dialog, CMonitorDialog::kCloseButtonId), Qt::LeftButton);
    EXPECT_TRUE(question.contains(QStringLiteral("IO11 JK7W"))) << question.toStdString();
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_FALSE(m_dialog.Thread()->IsRunning());
    EXPECT_EQ(SwitchAtStation(*station, *card, 11), std::optional<std::wstring>(L"1"));
}

TEST_F(MonitorDialogTest, SwitchingSimulationOffAtCloseWritesEachModulesSwitchAloneAndNamesAFailure) {
    const auto station = Start(L"sim:0=K52HQ8,13=JK7W,14=QB9W,15=KZ9W");
    ASSERT_TRUE(WaitCycles(1));
    const auto analog = m_dialog.MonitorList()->Rack().GetCard(13);
    const auto counter = m_dialog.MonitorList()->Rack().GetCard(14);
    SwitchSimulationOn(*station, *analog, 13);
    SwitchSimulationOn(*station, *counter, 14);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_dialog.SimulationBanner()->text() == QStringLiteral("Simulating: IO13 JK7W, IO14 QB9W"); },
        kWait));
    // The counter module turns the write of its switch down.
    const ParameterDefinition& switchRow = analog->GetParameter(analog->GetSimulationSwitchRow());
    station->InjectFault(StationFault::AtItem(14, static_cast<std::uint8_t>(switchRow.page),
                                              static_cast<std::uint8_t>(switchRow.item),
                                              StationFault::Kind::ErrorStatus)
                             .WithStatus(2)
                             .ForCommand(kStationWriteCommand)
                             .Times(0));
    station->ClearRequestLog();

    k52test::ErrorBoxRecorder errors;
    k52test::WhenModalShown([&](QWidget* box) {
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Switch simulation off")) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
        }
    });
    m_dialog.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_dialog.isVisible(); }, kWait));
    station->ClearFaults();
    ASSERT_EQ(errors.Texts().size(), 1u);
    EXPECT_EQ(errors.Texts().front().rfind(L"Simulation could not be switched off in IO14 QB9W.", 0), 0u);
    EXPECT_FALSE(m_dialog.Thread()->IsRunning());
    EXPECT_EQ(SwitchAtStation(*station, *analog, 13), std::optional<std::wstring>(L"0"));
    EXPECT_EQ(SwitchAtStation(*station, *counter, 14), std::optional<std::wstring>(L"1"));
    // Only the switch and the write frame around it: the calibration of a
    // module that was never selected is not touched.
    for (const StationRequest& request : station->GetRequestLog()) {
        if (request.command == kStationWriteCommand && request.address != 0) {
            EXPECT_TRUE(request.address == 13 || request.address == 14) << request.address;
            EXPECT_TRUE(request.item == 1 || (request.page == switchRow.page && request.item == switchRow.item))
                << request.page << "/" << request.item;
        }
    }
}

// The parameter row of a card by its text key.
int ParameterRow(const CCardInterface& card, const wchar_t* key) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (card.GetParameter(row).textKey == std::wstring_view(key)) {
            return row;
        }
    }
    return -1;
}

bool WroteTo(const CSimulatedStation& station, int address) {
    for (const StationRequest& request : station.GetRequestLog()) {
        if (request.address == address && request.command == kStationWriteCommand) {
            return true;
        }
    }
    return false;
}

// At line speed a cycle takes long enough for the user to commit a value and
// select another module before the write goes out. The write still goes to
// the module it was made for, with the value typed, and nothing goes to the
// other one.
TEST_F(MonitorDialogTest, AnAdjustmentCommittedJustBeforeSelectingAnotherModuleReachesItsOwnModule) {
    const auto station = Start(L"sim:0=K52HQ8,4=JK7W,9=JK7W");
    station->SetPacing(true);
    struct Try {
        int from;
        int to;
        const char* typed;
        const wchar_t* expected;
    };
    for (const Try& attempt : {Try{4, 9, "1.8", L"1.8000"}, Try{9, 4, "0.9", L"0.9000"}}) {
        const int from = attempt.from;
        const int to = attempt.to;
        const char* typed = attempt.typed;
        const std::wstring expected = attempt.expected;
        SCOPED_TRACE(from);
        ClickRow(from);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_dialog.AdjustList()->isVisible(); }, 3 * kWait));
        CParameterListCtrl* adjust = m_dialog.AdjustList();
        const auto card = m_dialog.MonitorList()->Rack().GetCard(from);
        const int gain = ParameterRow(*card, L"gain01");
        int row = 0;
        while (adjust->ParameterOfRow(row) != gain && row < adjust->GetRowCount()) {
            ++row;
        }
        ASSERT_LT(row, adjust->GetRowCount());
        const ParameterDefinition& definition = card->GetParameter(gain);
        const auto otherGain = station->GetValue(to, definition.page, definition.item);
        station->ClearRequestLog();

        QTest::mouseClick(adjust->viewport(), Qt::LeftButton, {}, adjust->CellRect(row, 1).center());
        QTest::keyClick(adjust, static_cast<char>(typed[0]));
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, adjust);
        QTest::keyClicks(editor, QString::fromLatin1(typed + 1));
        QTest::keyClick(editor, Qt::Key_Return);
        ClickRow(to);

        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return station->GetValue(from, definition.page, definition.item) == std::wstring(expected);
            },
            3 * kWait));
        ASSERT_TRUE(WaitCycles(2));
        EXPECT_EQ(station->GetValue(to, definition.page, definition.item), otherGain);
        EXPECT_FALSE(WroteTo(*station, to));
    }
}

// "SET" and, before the next cycle, another module of the same kind: the
// simulation goes to the module whose panel was confirmed, never to the one
// selected when the request is handed over.
TEST_F(MonitorDialogTest, SimulationConfirmedJustBeforeSelectingAnotherModuleGoesToItsOwnModule) {
    const auto station = Start(L"sim:0=K52HQ8,3=KZ7W,5=KZ7W");
    station->FreezeClock(2000);
    ASSERT_TRUE(WaitCycles(1));
    for (const int slot : {3, 5}) {
        SwitchSimulationOn(*station, *m_dialog.MonitorList()->Rack().GetCard(slot), slot);
    }
    const ChannelDefinition first = m_dialog.MonitorList()->Rack().GetCard(3)->GetChannelRow(0);
    const auto before = station->GetValue(5, first.valuePage, first.valueItem);
    station->SetPacing(true);
    ClickRow(3);
    CEditAIO4* panel = m_dialog.FourChannelPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->SetButton()->isEnabled(); }, 3 * kWait));
    ASSERT_TRUE(WaitCycles(1));
    station->ClearRequestLog();

    panel->Edit(0)->selectAll();
    QTest::keyClicks(panel->Edit(0), QStringLiteral("1234"));
    QTest::mouseClick(panel->SetButton(), Qt::LeftButton);
    ClickRow(5);
    EXPECT_TRUE(panel->isVisible()) << "the same panel, now for the other module";

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return station->GetValue(3, first.valuePage, first.valueItem) == std::wstring(L"1234"); },
        3 * kWait));
    ASSERT_TRUE(WaitCycles(2));
    EXPECT_EQ(station->GetValue(5, first.valuePage, first.valueItem), before);
    EXPECT_FALSE(WroteTo(*station, 5));
}

// The station's port goes away (its server ends, as an adapter unplugged)
// and comes back at the same path: the window shows why there is nothing,
// then the modules again, without being reopened.
TEST_F(MonitorDialogTest, ComesBackByItselfWhenThePortReturnsAtTheSamePath) {
    k52test::TempDir dir;
    const std::filesystem::path path = dir.path() / "station";
    CStationLineUp lineUp;
    lineUp.SetModel(4, L"KZ9W");
    const auto station = std::make_shared<CSimulatedStation>(lineUp);
    auto server = std::make_unique<CStationPtyServer>(station);
    server->Start();
    std::filesystem::create_symlink(server->GetDevicePath(), path);
    Start(path.wstring());
    const auto moduleShown = [&] {
        const auto card = m_dialog.MonitorList()->Rack().GetCard(4);
        return card && card->GetTypeCode() != 0 && card->HasLiveValues();
    };
    ASSERT_TRUE(QTest::qWaitFor(moduleShown, 2 * kWait));

    server.reset();
    std::filesystem::remove(path);
    const QString noReply = QString::fromStdWString(k52test::RawMessage(Msg::monitor_noreply)).left(8);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_dialog.StatusLabel()->text().startsWith(noReply); }, 2 * kWait));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return m_dialog.StatusLabel()->toolTip().contains(
                QString::fromStdWString(CResourceManager::GetMessage(Msg::serio_notpresent)));
        },
        2 * kWait));
    EXPECT_FALSE(moduleShown());

    server = std::make_unique<CStationPtyServer>(station);
    server->Start();
    std::filesystem::create_symlink(server->GetDevicePath(), path);
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(QTest::qWaitFor(moduleShown, 2 * kWait));
    EXPECT_LT(back.elapsed(), 5000);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return m_dialog.StatusLabel()->text().startsWith(
                QString::fromStdWString(CResourceManager::GetMessage(Msg::monitor_reading)));
        },
        kWait));
    m_dialog.done(1);
}

// The line below the list: why there is no reading and since when, then
// "Reading" again, with the link's counts since the window opened.
TEST_F(MonitorDialogTest, TheStatusLineTellsTheLinesStateAndCounts) {
    const auto station = Start(L"sim:0=K52HQ8,2=KZ7W");
    ASSERT_TRUE(WaitCycles(1));
    station->InjectFault(
        StationFault::AtItem(0, 0, 6, StationFault::Kind::ErrorStatus).WithStatus(7).Times(2));
    const QString noReply = QString::fromStdWString(k52test::RawMessage(Msg::monitor_noreply)).left(8);
    QLabel* status = m_dialog.StatusLabel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text().startsWith(noReply); }, kWait))
        << status->text().toStdString();
    const QString errorText =
        QString::fromStdWString(CResourceManager::FormatMessage(Msg::jx5com_errcode, 7));
    EXPECT_TRUE(status->toolTip().contains(errorText)) << status->toolTip().toStdString();
    EXPECT_TRUE(status->toolTip().contains(QRegularExpression(QStringLiteral("\\d\\d:\\d\\d:\\d\\d"))));
    EXPECT_FALSE(status->toolTip().contains(QLatin1Char('\n'))) << "one line";

    const QString reading = QString::fromStdWString(CResourceManager::GetMessage(Msg::monitor_reading));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return status->text().startsWith(reading + QLatin1Char('\n')); }, kWait));
    const CJX5COMInterface::Counts counts = m_link.GetCounts();
    EXPECT_GE(counts.errorStatuses, 2u);
    EXPECT_TRUE(status->text().contains(QStringLiteral("%1 error statuses").arg(counts.errorStatuses)))
        << status->text().toStdString();
    EXPECT_GT(counts.exchanges, 10u);
}

} // namespace

namespace {

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the window for a while on a port and closes it with "close"; the
// figures go to the test's output.
void RunAndClose(const std::wstring& path, bool paced, const char* what) {
    if (auto station = GetSimulatedStation(path)) {
        station->SetPacing(paced);
    }
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    settings.SetDevicePath(path);
    link.SetSettings(settings);
    CMonitorDialog dialog;
    const int runMs = qEnvironmentVariableIntValue("K52_MONITOR_RUN_MS") > 0
                          ? qEnvironmentVariableIntValue("K52_MONITOR_RUN_MS")
                          : 1000;
    qint64 closeMs = -1;
    std::uint64_t notifications = 0;
    double processor = 0;
    std::uint64_t before = 0;
    double processorBefore = 0;
    // The figures are taken while the window's own modal loop runs.
    k52test::WhenModalShown([&](QWidget* window) {
        before = dialog.GetNotificationCount();
        processorBefore = ProcessorSeconds();
        QTimer::singleShot(runMs, window, [&, window] {
            notifications = dialog.GetNotificationCount() - before;
            processor = ProcessorSeconds() - processorBefore;
            QElapsedTimer timer;
            timer.start();
            QTest::mouseClick(FindControlAs<QPushButton>(window, CMonitorDialog::kCloseButtonId),
                              Qt::LeftButton);
            closeMs = timer.elapsed();
        });
    });
    EXPECT_TRUE(dialog.RunModal(link, StationAttribute()));
    EXPECT_LT(closeMs, 1000) << what;
    // At line speed a whole cycle may take longer than the run; closing then
    // cancels it on the line.
    if (!paced) {
        EXPECT_GT(notifications, 0u) << what;
    }
    std::printf("[ figures  ] %s: %.1f cycles/s, processor %.0f%% of one core, close %lld ms\n", what,
                static_cast<double>(notifications) * 1000.0 / runMs, processor * 100000.0 / runMs,
                static_cast<long long>(closeMs));
}

} // namespace

TEST(MonitorDialogFigures, CloseEndsTheMonitorPromptlyWithAndWithoutAStation) {
    k52test::LoadEnglish();
    RegisterSimulatedStationPort();
    RunAndClose(L"/dev/k52-no-such-port", false, "absent station (port missing)");
    RunAndClose(L"sim:0=K52HQ8,1=JK7W,2=BJ58W,3=KZ9W,4=QB9W,7=BJWQ8W", false, "simulated station");
    RunAndClose(L"sim:0=K52HQ8,1=JK7W,2=BJ58W,3=KZ9W,4=QB9W,7=BJWQ8W,8=KZ7W", true,
                "simulated station at line speed");
}

TEST_F(MonitorDialogTest, APanelClosedWithEscapeOpensAgainWhenItsRowIsClicked) {
    Start(L"sim:0=K52HQ8,1=KZ9W");
    ASSERT_TRUE(WaitCycles(1));
    ClickRow(1);
    ASSERT_EQ(VisiblePanels().size(), 1u);
    CSimulationPanel* panel = VisiblePanels().front();

    // The panel's own Escape, then the window's: each time the same row opens it again.
    for (QWidget* target : {static_cast<QWidget*>(panel), static_cast<QWidget*>(m_dialog.MonitorList())}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        ASSERT_TRUE(VisiblePanels().empty());
        ClickRow(1);
        EXPECT_EQ(VisiblePanels(), std::vector<CSimulationPanel*>{panel});
    }
}

TEST_F(MonitorDialogTest, TheWindowSpeaksTheChosenLanguageAndAnOlderFileKeepsItsEnglish) {
    const std::wstring path = L"sim:0=K52HQ8,1=KZ9W,2=BJ58W";
    GetSimulatedStation(path)->SetAttribute(1);
    struct Texts {
        QString caption, close, simulate, reading, set, channel, number, in;
    };
    const auto textsOf = [&](CMonitorDialog& dialog) {
        // A link of its own: one that a window has stopped stays cancelled.
        CJX5COMInterface link;
        CComSettings settings = link.GetSettings();
        settings.SetDevicePath(path);
        link.SetSettings(settings);
        dialog.Begin(link, StationAttribute());
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.MonitorList()->GetDigitalPoints(2).shown; }, kWait));
        CMonitorListCtrl* list = dialog.MonitorList();
        Texts texts{dialog.windowTitle(),
                    FindControlAs<QPushButton>(&dialog, CMonitorDialog::kCloseButtonId)->text(),
                    FindControlAs<QGroupBox>(&dialog, CMonitorDialog::kSimulateGroupId)->title(),
                    dialog.ReadingLabel()->text(),
                    dialog.DigitalPanel()->SetButton()->text(),
                    QString::fromStdWString(list->GetChannelText(1, 0)).section(QLatin1Char('\n'), 0, 0),
                    list->horizontalHeaderItem(0)->text(),
                    QString::fromStdWString(list->GetDigitalPoints(2).label)};
        dialog.done(1);
        return texts;
    };

    ASSERT_NO_THROW(CResourceManager::Database().Load(L"Japanese.lng"));
    {
        CMonitorDialog japanese;
        const Texts texts = textsOf(japanese);
        EXPECT_EQ(texts.caption, QStringLiteral("モニタ"));
        EXPECT_EQ(texts.close, QStringLiteral("閉じる(&C)"));
        EXPECT_EQ(texts.simulate, QStringLiteral("シミュレーションデータ"));
        EXPECT_EQ(texts.reading, QStringLiteral("調整パラメータを読み込み中"));
        EXPECT_EQ(texts.set, QStringLiteral("設定(&S)"));
        EXPECT_EQ(texts.channel, QStringLiteral("CH1"));
        EXPECT_EQ(texts.number, QStringLiteral("番号"));
        EXPECT_EQ(texts.in, QStringLiteral("入力"));
        // The channel captions of the panels come from the same text.
        const QList<QLabel*> labels = japanese.FourChannelPanel()->findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                [](const QLabel* label) { return label->text() == QStringLiteral("CH4"); }));
    }

    // A Japanese file from before these texts existed.
    k52test::TempDir dir;
    const std::string japanese =
        k52test::ReadFile(std::filesystem::path(ToUtf8(GetModuleDirectory())) / "Japanese.lng");
    const std::regex added(
        R"re(<gui name="13[2-6]">[\s\S]*?</gui>|<text name="(monitor\.col|monitor\.in|monitor\.out|channel)[^"]*">[^<]*</text>)re");
    k52test::WriteFile(dir.path() / "Older.lng", std::regex_replace(japanese, added, ""));
    ASSERT_NO_THROW(CResourceManager::Database().Load(dir.file("Older.lng")));
    {
        CMonitorDialog older;
        const Texts texts = textsOf(older);
        EXPECT_EQ(texts.caption, QStringLiteral("Monitor"));
        EXPECT_EQ(texts.close, QStringLiteral("close"));
        EXPECT_EQ(texts.simulate, QStringLiteral("Simulate Data"));
        EXPECT_EQ(texts.reading, QStringLiteral("Reading Adjust Parameter"));
        EXPECT_EQ(texts.set, QStringLiteral("SET"));
        EXPECT_EQ(texts.channel, QStringLiteral("Ch 1"));
        EXPECT_EQ(texts.number, QStringLiteral("No"));
        EXPECT_EQ(texts.in, QStringLiteral("In"));
    }
    k52test::LoadEnglish();
}
