#pragma once
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CObserverDialog.h"

#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

class CAnalogSimulationPanel;
class CCardInterface;
class CEditAIO2;
class CEditAIO4;
class CEditAIO4_2;
class CEditDIO32;
class CJX5COMInterface;
class CMonitorListCtrl;
class CParameterListCtrl;
class CSimulationPanel;
class QGroupBox;
class QLabel;
class QPushButton;

// The window "Monitor": the live values of the whole rack, refreshed after
// every monitoring cycle, the adjustable parameters of the selected module,
// written to it as they are changed, and the panel in which the user sets
// what the module is to simulate. It drives the monitoring thread one
// command at a time: every notification from the thread queues the next.
class CMonitorDialog : public CObserverDialog {
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

    explicit CMonitorDialog(QWidget* parent = nullptr);
    // Stops the thread before anything else goes.
    ~CMonitorDialog() override;

    // Runs the window modally with the caller's link; true when it ended
    // with result 1, which closing it always gives. The window's thread has
    // ended when it returns.
    bool RunModal(CJX5COMInterface& link);

    // Prepares the lists and panels and starts monitoring over the link;
    // RunModal does it before the window shows. The caller keeps the link
    // until the window has closed or gone.
    void Begin(CJX5COMInterface& link);

    CMonitorListCtrl* MonitorList() const { return m_list; }
    CParameterListCtrl* AdjustList() const { return m_adjustList; }
    QLabel* ReadingLabel() const { return m_readingLabel; }
    // The line below the list: what the line is doing, and its counts.
    QLabel* StatusLabel() const { return m_statusLabel; }
    CEditDIO32* DigitalPanel() const { return m_dio32; }
    CEditAIO2* TwoChannelPanel() const { return m_aio2; }
    CEditAIO4* FourChannelPanel() const { return m_aio4; }
    CEditAIO4_2* EightChannelPanel() const { return m_aio4_2; }
    CMonitorThread* Thread() const { return m_thread.get(); }
    // Notifications of the thread handled so far.
    std::uint64_t GetNotificationCount() const { return m_notificationCount; }
    std::uint64_t GetFailedNotificationCount() const { return m_failedNotificationCount; }

    void SelectRow(int row);
    void OpenPanel(int slotNumber);

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void OnUpdate(CObservable* subject) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnThreadUpdate();
    void OnPanelUpdate(CSimulationPanel* panel);
    void TakeWriteRequest();
    void ShowLineState(const CMonitorThread::LineState& state);
    void Refresh(const CMonitorThread::Report& report);
    // The next simulation request the user confirmed, taken from the queue.
    std::optional<CMonitorThread::Simulation> TakeSimulation();
    void ShowAdjustListAndLabel();
    void HidePanels();
    void StopThread();
    bool IsEmptySlot(int slotIndex) const;
    CAnalogSimulationPanel* AnalogPanelFor(std::int32_t typeCode) const;
    std::array<CSimulationPanel*, 4> Panels() const;

    CJX5COMInterface* m_link = nullptr;
    std::unique_ptr<CMonitorThread> m_thread;
    int m_selectedIndex = -1;
    std::int32_t m_selectedSlot = 0;
    std::shared_ptr<CCardInterface> m_card;
    int m_writeState = 0;
    int m_failedInARow = 0;
    std::uint64_t m_notificationCount = 0;
    std::uint64_t m_failedNotificationCount = 0;

    // A request is made of what the user confirmed, for the module it was
    // confirmed for, at that moment; it waits here until it can be handed to
    // the thread between two of its commands, whatever is selected meanwhile.
    struct SimulationRequest {
        int slot = 0;
        std::int32_t mode = 0;
        std::array<std::int32_t, 8> values{};
        int valueCount = 4;
    };
    struct WriteRequest {
        std::int32_t slot = 0;
        std::shared_ptr<CCardInterface> card;
        std::int32_t parameter = -1;
    };
    std::deque<SimulationRequest> m_simulationRequests;
    std::deque<WriteRequest> m_writeRequests;
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
};
