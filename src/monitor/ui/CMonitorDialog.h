#pragma once
#include "base/CResourceManager.h"
#include "monitor/CMonitorSession.h"
#include "monitor/ui/CObserverDialog.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

class CAnalogSimulationPanel;
class CCardInterface;
class CCardSlot;
class CEditAIO2;
class CEditAIO4;
class CEditAIO4_2;
class CEditDIO32;
class CFileChooser;
class CJX5COMInterface;
class CMonitorListCtrl;
class CParameterListCtrl;
class CSimulationPanel;
class CTrendView;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

// The window "Monitor": the live values of the whole rack, refreshed after
// every monitoring cycle, the adjustable parameters of the selected module,
// written to it as they are changed, and the panel in which the user sets
// what the module is to simulate. What it does with the station (the
// thread, the requests, the recording, switching the simulation off on
// closing) is its session's; the window shows and asks.
//
// Below the lower areas: a banner that names the modules that simulate,
// the recording of the live values to a CSV file, and the trend of the
// selected module, shown to the right of the window. Closing the window
// while modules simulate asks whether to leave them so.
class CMonitorDialog : public CObserverDialog, private CResourceManager {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 132;
    static constexpr int kMonitorListId = 1003;
    static constexpr int kAdjustListId = 1010;
    static constexpr int kCloseButtonId = 1023;
    static constexpr int kSimulateGroupId = 1032;
    static constexpr int kAdjustGroupId = 1031;
    static constexpr int kReadingLabelId = 1033;
    static constexpr int kStatusLabelId = 1080;
    static constexpr int kBannerId = 1090;
    static constexpr int kRecordButtonId = 1091;
    static constexpr int kRecordLabelId = 1092;
    static constexpr int kTrendButtonId = 1093;

    explicit CMonitorDialog(QWidget* parent = nullptr);
    // Stops the thread before anything else goes.
    ~CMonitorDialog() override;

    // Runs the window modally with the caller's link; true when it ended
    // with result 1, which closing it always gives. The window's thread has
    // ended when it returns.
    bool RunModal(CJX5COMInterface& link, StationAttribute attribute);

    // Prepares the lists and panels and starts monitoring over the link;
    // RunModal does it before the window shows. The caller keeps the link
    // until the window has closed or gone.
    void Begin(CJX5COMInterface& link, StationAttribute attribute);

    CMonitorListCtrl* MonitorList() const { return m_list; }
    CParameterListCtrl* AdjustList() const { return m_adjustList; }
    QLabel* ReadingLabel() const { return m_readingLabel; }
    // The line below the list: what the line is doing, and its counts.
    QLabel* StatusLabel() const { return m_statusLabel; }
    CEditDIO32* DigitalPanel() const { return m_dio32; }
    CEditAIO2* TwoChannelPanel() const { return m_aio2; }
    CEditAIO4* FourChannelPanel() const { return m_aio4; }
    CEditAIO4_2* EightChannelPanel() const { return m_aio4_2; }
    CMonitorThread* Thread() const { return m_session.Thread(); }
    QLabel* SimulationBanner() const { return m_banner; }
    QPushButton* RecordButton() const { return m_recordButton; }
    QLabel* RecordLabel() const { return m_recordLabel; }
    QPushButton* TrendButton() const { return m_trendButton; }
    CTrendView* Trend() const { return m_trend; }
    // The trend's own window, shown beside the monitor.
    QDialog* TrendWindow() const { return m_trendWindow; }
    const CLiveValueRecorder& Recorder() const { return m_session.Recorder(); }
    CTrendHistory& History() { return m_session.History(); }
    // Replaces the dialog that asks for the recording's file.
    void SetFileChooser(std::unique_ptr<CFileChooser> chooser);
    // What the window did with the thread's last notification: the work
    // the window adds to every cycle.
    std::chrono::nanoseconds GetLastUpdateTime() const { return m_lastUpdateTime; }

    void ShowTrend(bool shown);
    // Starts recording to the file, as "Record..." does once a file is chosen.
    void StartRecording(const std::wstring& path);
    void StopRecording();
    // Notifications of the thread handled so far.
    std::uint64_t GetNotificationCount() const { return m_notificationCount; }

    void SelectRow(int row);
    void OpenPanel(int slotIndex);
    // Takes the window's and its panels' texts from the language file, where
    // it has them, and fits the layout to them.
    void Translate();

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceTrendWindow();
    void MovePanels();
    void OnRowClicked(int row);
    void OnReport(std::uint64_t run, const CMonitorThread::Report& report);
    void ShowBanner();
    void ShowRecordingState();
    void ToggleRecording();
    void RecordingFailed(const std::wstring& message);
    // True when the user chose to switch the simulation off.
    bool AskAboutSimulation();
    bool StartSwitchingOff();
    void FinishSwitchingOff();
    void FinishClose(int result);
    void TranslateAddedControls();
    void LayOutToTexts();
    void OnSetConfirmed(CSimulationPanel* panel);
    void TakeWriteRequest();
    void ShowLineState(const CMonitorThread::LineState& state);
    void Refresh(const CMonitorThread::Report& report, bool simulationSent);
    void ShowAdjustListAndLabel();
    void HidePanels();
    bool IsEmptySlot(int slotIndex) const;
    CAnalogSimulationPanel* AnalogPanelFor(std::int32_t typeCode) const;
    std::array<CSimulationPanel*, 4> Panels() const;

    CJX5COMInterface* m_link = nullptr;
    CMonitorSession m_session;
    int m_selectedIndex = -1;
    std::int32_t m_selectedSlot = 0;
    std::shared_ptr<CCardInterface> m_card;
    std::uint64_t m_notificationCount = 0;
    std::uint64_t m_lineStateShown = ~std::uint64_t{0};
    QString m_lineStateText;

    CMonitorListCtrl* m_list = nullptr;
    CParameterListCtrl* m_adjustList = nullptr;
    QPushButton* m_closeButton = nullptr;
    QGroupBox* m_simulateGroup = nullptr;
    QGroupBox* m_adjustGroup = nullptr;
    QLabel* m_readingLabel = nullptr;
    QLabel* m_statusLabel = nullptr;
    CEditDIO32* m_dio32 = nullptr;
    CEditAIO4* m_aio4 = nullptr;
    CEditAIO2* m_aio2 = nullptr;
    CEditAIO4_2* m_aio4_2 = nullptr;

    std::unique_ptr<CFileChooser> m_chooser;
    bool m_closeAsked = false;
    std::chrono::nanoseconds m_lastUpdateTime{0};

    QLabel* m_banner = nullptr;
    QPushButton* m_recordButton = nullptr;
    QLabel* m_recordLabel = nullptr;
    QPushButton* m_trendButton = nullptr;
    CTrendView* m_trend = nullptr;
    QDialog* m_trendWindow = nullptr;
    QTimer* m_recordTimer = nullptr;
};
