#include "monitor/ui/CMonitorDialog.h"

#include "app/ui/CDialogUnits.h"
#include "app/ui/CErrorBox.h"
#include "base/CException.h"
#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/ModelRegistry.h"
#include "catalog/StationAttribute.h"
#include "editing/ui/CParameterListCtrl.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CLineStateText.h"
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CEditAIO2.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CEditAIO4_2.h"
#include "monitor/ui/CEditDIO32.h"
#include "monitor/ui/CMonitorListCtrl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <chrono>
#include <span>
#include <thread>

namespace {

// The panels are for the I/O slots only.
bool IsEightChannelModel(std::int32_t typeCode) {
    return FindModel(CardRegistry::Io, typeCode).traits.panel == SimulationPanel::EightChannels;
}
bool IsTwoChannelModel(std::int32_t typeCode) {
    return FindModel(CardRegistry::Io, typeCode).traits.panel == SimulationPanel::TwoChannels;
}

} // namespace

CMonitorDialog::CMonitorDialog(QWidget* parent) : CObserverDialog(parent) {
    setWindowTitle(QStringLiteral("Monitor"));
    setWindowIcon(QApplication::windowIcon());
    const CDialogUnits units(font());
    setFixedSize(units.ToPixels(419, 365));

    // Group boxes first, so that the controls inside them are drawn over them.
    m_simulateGroup = new QGroupBox(QStringLiteral("Simulate Data"), this);
    units.Place(m_simulateGroup, kSimulateGroupId, 241, 234, 170, 101);
    m_adjustGroup = new QGroupBox(QStringLiteral("Adjust Parameter"), this);
    units.Place(m_adjustGroup, kAdjustGroupId, 7, 233, 231, 123);

    m_list = new CMonitorListCtrl(this);
    // The list leaves room below it for the line's status.
    units.Place(m_list, kMonitorListId, 7, 8, 404, 203);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setTextFormat(Qt::PlainText);
    units.Place(m_statusLabel, kStatusLabelId, 7, 213, 404, 18);
    m_adjustList = new CParameterListCtrl(this);
    units.Place(m_adjustList, kAdjustListId, 14, 244, 219, 105);
    m_closeButton = new QPushButton(QStringLiteral("close"), this);
    m_closeButton->setAutoDefault(false);
    units.Place(m_closeButton, kCloseButtonId, 351, 339, 60, 17);
    m_readingLabel = new QLabel(QStringLiteral("Reading Adjust Parameter"), this);
    units.Place(m_readingLabel, kReadingLabelId, 84, 335, 102, 9);

    connect(m_closeButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(m_list, &CMonitorListCtrl::RowSelected, this, &CMonitorDialog::SelectRow);
    connect(m_adjustList, &CParameterListCtrl::WriteRequested, this, &CMonitorDialog::TakeWriteRequest);

    m_dio32 = new CEditDIO32(this);
    m_aio4 = new CEditAIO4(this);
    m_aio2 = new CEditAIO2(this);
    m_aio4_2 = new CEditAIO4_2(this);
    for (CSimulationPanel* panel : Panels()) {
        panel->Attach(this);
        connect(panel, &CSimulationPanel::SetConfirmed, this, [this, panel] { OnPanelUpdate(panel); });
    }
}

CMonitorDialog::~CMonitorDialog() {
    StopThread();
}

std::array<CSimulationPanel*, 4> CMonitorDialog::Panels() const {
    return {m_dio32, m_aio4, m_aio2, m_aio4_2};
}

bool CMonitorDialog::RunModal(CJX5COMInterface& link) {
    Begin(link);
    return exec() == 1;
}

void CMonitorDialog::Begin(CJX5COMInterface& link) {
    m_link = &link;
    m_adjustList->Initialize();
    m_adjustList->SetAdjustMode(true);
    m_adjustList->hide();
    m_readingLabel->hide();
    m_list->Initialize();
    HidePanels();

    // A thread left from an earlier start is ended before a new one begins.
    StopThread();
    m_thread = std::make_unique<CMonitorThread>(link);
    m_thread->Attach(this);
    m_thread->Start();
    m_thread->PostCycle();
    m_writeState = 0;
    m_writeRequests.clear();
    m_simulationRequests.clear();
    m_lineStateShown = ~std::uint64_t{0};
    ShowLineState(m_thread->GetLineState());
}

void CMonitorDialog::StopThread() {
    if (m_thread) {
        m_thread->Stop();
    }
}

void CMonitorDialog::done(int result) {
    // The thread is ended while the window still exists, so that "close"
    // returns only once nothing talks to the station any more.
    StopThread();
    CObserverDialog::done(result);
}

// Escape neither closes the window nor ends it with another result.
void CMonitorDialog::reject() {}

void CMonitorDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    done(1);
}

void CMonitorDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_adjustList->hasFocus()) {
            m_adjustList->BeginEdit(-1, 0);
        }
        return;
    case Qt::Key_Escape:
        // An open editor of the adjust list is taken back first: losing the
        // focus to the monitor list it would report a cancel, and the list
        // would take the focus back to itself.
        m_adjustList->HideEditors();
        HidePanels();
        m_list->setFocus();
        return;
    default:
        CObserverDialog::keyPressEvent(event);
    }
}

void CMonitorDialog::OnUpdate(CObservable* subject) {
    if (m_thread && subject == m_thread.get()) {
        OnThreadUpdate();
        return;
    }
    for (CSimulationPanel* panel : Panels()) {
        if (subject == panel) {
            OnPanelUpdate(panel);
            return;
        }
    }
}

void CMonitorDialog::OnThreadUpdate() {
    // A notification that was under way when the thread was stopped.
    if (!m_thread->IsRunning()) {
        return;
    }
    ++m_notificationCount;
    // What the command left, whole: the thread goes on with its own rack.
    const std::shared_ptr<const CMonitorThread::Report> report = m_thread->GetReport();
    if (m_writeState == 0 && !m_writeRequests.empty()) {
        // The write goes out between two cycles; the display waits for the
        // notification that follows it.
        const WriteRequest request = m_writeRequests.front();
        m_writeRequests.pop_front();
        if (m_writeRequests.empty()) {
            m_adjustList->ClearWriteRequest();
        }
        m_thread->RequestParameterWrite(request.slot, request.card, request.parameter);
        m_writeState = 1;
    } else if (m_writeState == 0 || m_writeState == 1) {
        Refresh(*report);
    }
    ShowLineState(report->line);
    if (report->failed) {
        ++m_failedNotificationCount;
        // Without a station the commands fail at once; a short rest now and
        // then leaves the processor to others.
        if (++m_failedInARow >= 5) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_failedInARow = 0;
        }
    }
}

void CMonitorDialog::Refresh(const CMonitorThread::Report& report) {
    m_list->ShowRack(report.rack);

    // A request is still on its way while a panel's "SET" waits to be taken,
    // while the window holds it, or while the thread's rack shows it.
    bool anyBusy = false;
    bool requestOnItsWay = !m_simulationRequests.empty() || m_list->Rack().IsSimulationPending();
    for (CSimulationPanel* panel : Panels()) {
        anyBusy = anyBusy || panel->IsBusy();
        requestOnItsWay = requestOnItsWay || panel->HasSetRequest();
    }
    if (anyBusy && !requestOnItsWay) {
        for (CSimulationPanel* panel : Panels()) {
            panel->ClearBusy();
        }
    }

    m_adjustList->EnableSteppers(true);
    m_thread->PostCycle(m_selectedIndex, TakeSimulation());

    if (m_selectedIndex >= 0) {
        // While the list is shown the window keeps editing the card it holds,
        // so that the user's changes are not replaced by every new cycle.
        const bool empty = IsEmptySlot(m_selectedIndex);
        if ((m_adjustList->isVisible() && empty) || (!m_adjustList->isVisible() && !empty)) {
            m_card = m_list->Rack().GetCard(m_selectedIndex);
            m_adjustList->ShowCard(m_card);
        }
    }
    ShowAdjustListAndLabel();
    if (m_selectedIndex >= 0) {
        // The card the adjust list keeps editing stops hearing from the
        // module; whether it simulates now is the newest cycle's to say.
        const auto current = m_list->Rack().GetCard(m_selectedIndex);
        const bool simulating = current && current->IsSimulating();
        for (CSimulationPanel* panel : Panels()) {
            panel->EnableInputs(simulating);
        }
    }
    m_writeState = 0;
}

std::optional<CMonitorThread::Simulation> CMonitorDialog::TakeSimulation() {
    // One request a cycle: the cycle carries one.
    if (m_simulationRequests.empty()) {
        return std::nullopt;
    }
    const SimulationRequest request = m_simulationRequests.front();
    m_simulationRequests.pop_front();
    return CMonitorThread::Simulation{
        request.slot, request.mode,
        std::vector<std::int32_t>(request.values.begin(), request.values.begin() + request.valueCount)};
}

void CMonitorDialog::TakeWriteRequest() {
    // Taken the moment the value is committed: the card as it is now, for
    // the slot it belongs to. Selecting another module before the write goes
    // out replaces the window's card, never this request.
    if (!m_card) {
        return;
    }
    m_writeRequests.push_back(WriteRequest{m_selectedSlot, CCardSlot::CopyCard(*m_card, m_selectedSlot),
                                           m_adjustList->GetCurrentParameter()});
}

void CMonitorDialog::ShowLineState(const CMonitorThread::LineState& state) {
    if (m_link == nullptr) {
        return;
    }
    if (state.changes != m_lineStateShown) {
        m_lineStateShown = state.changes;
        QString text = QString::fromStdWString(CLineStateText::State(state));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        m_statusLabel->setToolTip(text);
        m_lineStateText = text;
    }
    // The reason may be long; the whole of it is in the tool tip.
    const QString elided =
        m_statusLabel->fontMetrics().elidedText(m_lineStateText, Qt::ElideRight, m_statusLabel->width());
    m_statusLabel->setText(elided + QLatin1Char('\n') +
                           QString::fromStdWString(CLineStateText::Counts(m_link->GetCounts())));
}

bool CMonitorDialog::IsEmptySlot(int slotIndex) const {
    if (!CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(slotIndex))) {
        return false;
    }
    const auto card = m_list->Rack().GetCard(slotIndex);
    return !card || card->GetTypeCode() == 0;
}

void CMonitorDialog::ShowAdjustListAndLabel() {
    const bool hasRows = m_adjustList->GetRowCount() > 0;
    m_adjustList->setVisible(hasRows);
    bool reading = false;
    if (!hasRows && m_selectedIndex >= 0 && CCardSlot::IsIoSlotNumber(m_selectedSlot)) {
        reading = !m_list->Rack().IsDigital16Card(m_selectedIndex) && !IsEmptySlot(m_selectedIndex);
    }
    m_readingLabel->setVisible(reading);
}

void CMonitorDialog::SelectRow(int row) {
    if (row < 0 || row >= CCardSlot::kSlotCount) {
        return;
    }
    m_selectedIndex = row;
    m_selectedSlot = CCardSlot::GetSlotNumber(row);
    m_card = m_list->Rack().GetCard(row);
    m_adjustList->ShowCard(m_card);
    ShowAdjustListAndLabel();
    OpenPanel(m_selectedSlot);
}

void CMonitorDialog::HidePanels() {
    for (CSimulationPanel* panel : Panels()) {
        panel->hide();
    }
}

CAnalogSimulationPanel* CMonitorDialog::AnalogPanelFor(std::int32_t typeCode) const {
    if (IsTwoChannelModel(typeCode)) {
        return m_aio2;
    }
    if (IsEightChannelModel(typeCode)) {
        return m_aio4_2;
    }
    return m_aio4;
}

void CMonitorDialog::OpenPanel(int slotNumber) {
    if (slotNumber < 0 || slotNumber >= CCardSlot::kSlotCount) {
        return;
    }
    const CCardSlot& rack = m_list->Rack();
    const auto card = rack.GetCard(slotNumber);
    if (!CCardSlot::IsIoSlotNumber(slotNumber) || !card || card->GetTypeCode() == 0 ||
        (rack.IsDigital16Card(slotNumber) && GetStationAttribute() == 0)) {
        HidePanels();
        m_list->setFocus();
        return;
    }
    const QPoint position = m_simulateGroup->geometry().topLeft() + QPoint(2, 13);
    CMonitorUnit unit;
    card->FillMonitorUnit(0, unit);

    CSimulationPanel* shown = nullptr;
    if (unit.kind == CMonitorUnit::KindDigital) {
        for (CSimulationPanel* panel :
             {static_cast<CSimulationPanel*>(m_aio4), static_cast<CSimulationPanel*>(m_aio2),
              static_cast<CSimulationPanel*>(m_aio4_2)}) {
            panel->hide();
        }
        // Only the sixteen points of these modules can be simulated.
        m_dio32->SetMask(0xFFFF);
        m_dio32->SetValue(unit.bits);
        shown = m_dio32;
    } else if (unit.kind == CMonitorUnit::KindAnalog || unit.kind == CMonitorUnit::KindCounter) {
        m_dio32->hide();
        CAnalogSimulationPanel* analog = AnalogPanelFor(card->GetTypeCode());
        for (CAnalogSimulationPanel* panel :
             {static_cast<CAnalogSimulationPanel*>(m_aio4), static_cast<CAnalogSimulationPanel*>(m_aio2),
              static_cast<CAnalogSimulationPanel*>(m_aio4_2)}) {
            if (panel != analog) {
                panel->hide();
            }
        }
        for (int channel = 0; channel < analog->GetChannelCount(); ++channel) {
            card->FillMonitorUnit(channel, unit);
            analog->SetInput(channel, unit.mainValue);
        }
        analog->SetStatus(unit.status);
        shown = analog;
    } else {
        m_list->setFocus();
        return;
    }
    shown->SetSlot(slotNumber);
    shown->move(position);
    shown->EnableInputs(card->IsSimulating());
    shown->show();
    shown->raise();
    shown->ShowInput();
}

void CMonitorDialog::OnPanelUpdate(CSimulationPanel* panel) {
    // A panel closed with its own cancel tells the window too, but a request
    // is sent only for "SET": the stored input was never confirmed. "SET"
    // is taken when it is pressed (SetConfirmed); its notification, which
    // comes later, then finds nothing left to take.
    if (!panel->HasSetRequest()) {
        return;
    }
    panel->TakeSetRequest();
    const int slot = panel->GetSlot();
    if (slot < 0 || slot >= CCardSlot::kSlotCount) {
        panel->ClearBusy();
        return;
    }
    const auto card = m_list->Rack().GetCard(slot);
    if (!card) {
        panel->ClearBusy();
        return;
    }
    SimulationRequest request;
    request.slot = slot;
    CMonitorUnit unit;
    card->FillMonitorUnit(0, unit);
    if (unit.kind == CMonitorUnit::KindDigital) {
        request.mode = static_cast<std::int32_t>(m_dio32->GetValue());
    } else if (unit.kind == CMonitorUnit::KindAnalog || unit.kind == CMonitorUnit::KindCounter) {
        CAnalogSimulationPanel* analog = AnalogPanelFor(card->GetTypeCode());
        try {
            for (int channel = 0; channel < analog->GetChannelCount(); ++channel) {
                request.values[static_cast<std::size_t>(channel)] =
                    card->ParseSimulationValue(channel, analog->GetInput(channel));
            }
        } catch (const std::exception& error) {
            analog->ClearBusy();
            CErrorBox::Show(this, GetExceptionMessage(error));
            return;
        }
    } else {
        panel->ClearBusy();
        return;
    }
    request.valueCount = SimulationValueCount(FindModel(CardRegistry::Io, card->GetTypeCode()));
    m_simulationRequests.push_back(request);
    m_list->viewport()->update();
}
