#include "monitor/ui/CMonitorDialog.h"

#include "base/CException.h"
#include "base/FilePath.h"
#include "base/Version.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/CFileChooser.h"
#include "base/ui/ControlTextFit.h"
#include "base/ui/TranslateWindow.h"
#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/ModelRegistry.h"
#include "editing/ui/CParameterListCtrl.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CLineStateText.h"
#include "monitor/CMonitorThread.h"
#include "monitor/ui/CEditAIO2.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CEditAIO4_2.h"
#include "monitor/ui/CEditDIO32.h"
#include "monitor/ui/CMonitorListCtrl.h"
#include "monitor/ui/CTrendView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <span>

namespace {

// The panels are for the I/O slots only.
bool IsEightChannelModel(std::int32_t typeCode) {
    return FindModel(CardRegistry::Io, typeCode).traits.panel == SimulationPanel::EightChannels;
}
bool IsTwoChannelModel(std::int32_t typeCode) {
    return FindModel(CardRegistry::Io, typeCode).traits.panel == SimulationPanel::TwoChannels;
}

// The window's size in dialog units, and the width the trend's own window
// opens with (as high as the monitor).
constexpr int kWidth = 419;
constexpr int kHeight = 393;
constexpr int kTrendWidth = 300;

// The language file is outside input: a control whose text it lacks keeps
// the English one.
QString GuiText(int id, const wchar_t* fallback) {
    try {
        const std::wstring text = CResourceManager::Database().GetGuiText(CMonitorDialog::kTemplateId, id);
        return QString::fromStdWString(text.empty() ? std::wstring(fallback) : text);
    } catch (const std::exception&) {
        return QString::fromStdWString(fallback);
    }
}

// hh:mm:ss of a duration.
std::wstring Elapsed(std::chrono::steady_clock::duration duration) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration).count();
    return CMessageFormatter::Printf(L"%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                                     static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

} // namespace

CMonitorDialog::CMonitorDialog(QWidget* parent) : CObserverDialog(parent) {
    setWindowTitle(QStringLiteral("Monitor"));
    setWindowIcon(QApplication::windowIcon());
    const CDialogUnits units(font());

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

    // A module that simulates shows forced values: that must not go unseen.
    m_banner = new QLabel(this);
    m_banner->setTextFormat(Qt::PlainText);
    m_banner->setStyleSheet(QStringLiteral(
        "QLabel { background-color: #c00000; color: #ffffff; font-weight: bold; padding-left: 4px; }"));
    units.Place(m_banner, kBannerId, 7, 359, 404, 13);
    m_banner->hide();
    m_recordButton = new QPushButton(this);
    m_recordButton->setAutoDefault(false);
    units.Place(m_recordButton, kRecordButtonId, 7, 375, 70, 14);
    m_recordLabel = new QLabel(this);
    m_recordLabel->setTextFormat(Qt::PlainText);
    units.Place(m_recordLabel, kRecordLabelId, 81, 377, 266, 10);
    m_trendButton = new QPushButton(this);
    m_trendButton->setAutoDefault(false);
    m_trendButton->setCheckable(true);
    units.Place(m_trendButton, kTrendButtonId, 351, 375, 60, 14);
    // The trend has a window of its own beside the monitor, so that neither
    // has to grow past the screen's edge to show it.
    m_trendWindow = new QDialog(this);
    m_trendWindow->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* trendLayout = new QVBoxLayout(m_trendWindow);
    trendLayout->setContentsMargins(0, 0, 0, 0);
    m_trend = new CTrendView(m_session.History(), m_trendWindow);
    trendLayout->addWidget(m_trend);
    // Laid out from the start, so that its controls have their places
    // before it is first shown.
    m_trendWindow->resize(units.ToPixels(kTrendWidth, kHeight));
    trendLayout->activate();
    m_trend->layout()->activate();
    connect(m_trendWindow, &QDialog::finished, this, [this] { ShowTrend(false); });
    // Its controls share the monitor's Tab chain: out of sight, they must
    // not take the focus from the monitor's own.
    m_trendWindow->setEnabled(false);

    // A larger window gives its room to the live values; everything below
    // them keeps its size and moves with the bottom edge, the simulation
    // panel and the buttons with the right edge.
    using A = CDialogUnits::Anchors;
    const A down{0, 100, 0, 100};
    const A corner{100, 100, 100, 100};
    for (auto [control, anchors] :
         {std::pair<QWidget*, A>{m_list, A{0, 0, 100, 100}}, {m_statusLabel, A{0, 100, 100, 100}},
          {m_adjustGroup, down}, {m_adjustList, down}, {m_readingLabel, down}, {m_simulateGroup, corner},
          {m_closeButton, corner}, {m_banner, A{0, 100, 100, 100}}, {m_recordButton, down},
          {m_recordLabel, A{0, 100, 100, 100}}, {m_trendButton, corner}}) {
        CDialogUnits::Anchor(control, anchors);
    }
    units.SizeResizableWindow(this, kWidth, kHeight);
    m_recordTimer = new QTimer(this);
    m_recordTimer->setInterval(1000);
    connect(m_recordTimer, &QTimer::timeout, this, &CMonitorDialog::ShowRecordingState);
    connect(m_recordButton, &QPushButton::clicked, this, &CMonitorDialog::ToggleRecording);
    connect(m_trendButton, &QPushButton::toggled, this, &CMonitorDialog::ShowTrend);
    m_chooser = std::make_unique<CFileChooser>();

    connect(m_closeButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(m_list, &CMonitorListCtrl::RowSelected, this, &CMonitorDialog::SelectRow);
    connect(m_list, &CMonitorListCtrl::RowClicked, this, &CMonitorDialog::OnRowClicked);
    connect(m_adjustList, &CParameterListCtrl::WriteRequested, this, &CMonitorDialog::TakeWriteRequest);

    m_dio32 = new CEditDIO32(this);
    m_aio4 = new CEditAIO4(this);
    m_aio2 = new CEditAIO2(this);
    m_aio4_2 = new CEditAIO4_2(this);
    for (CSimulationPanel* panel : Panels()) {
        connect(panel, &CSimulationPanel::SetConfirmed, this, [this, panel] { OnSetConfirmed(panel); });
    }
    Translate();
}

void CMonitorDialog::Translate() {
    // The window and its panels were given language entries later than the
    // other windows: a file written before keeps their English texts.
    TranslateWindow(kTemplateId, this, MissingText::KeepLayoutText);
    for (CSimulationPanel* panel : Panels()) {
        TranslateWindow(panel->GetWindowNumber(), panel, MissingText::KeepLayoutText);
    }
    TranslateAddedControls();
}

CMonitorDialog::~CMonitorDialog() {
    m_session.Stop();
}

std::array<CSimulationPanel*, 4> CMonitorDialog::Panels() const {
    return {m_dio32, m_aio4, m_aio2, m_aio4_2};
}

bool CMonitorDialog::RunModal(CJX5COMInterface& link, StationAttribute attribute) {
    Begin(link, attribute);
    return exec() == 1;
}

void CMonitorDialog::Begin(CJX5COMInterface& link, StationAttribute attribute) {
    m_link = &link;
    m_adjustList->Initialize();
    m_adjustList->SetAdjustMode(true);
    m_adjustList->hide();
    m_readingLabel->hide();
    m_list->Initialize();
    HidePanels();

    // Each report reaches the window's thread as it was published; reports
    // still on their way when the window goes are dropped with it.
    m_session.Start(link, attribute, [this](std::uint64_t run, const std::shared_ptr<const CMonitorThread::Report>& report) {
        Post([this, run, report] { OnReport(run, *report); });
    });
    m_lineStateShown = ~std::uint64_t{0};
    m_closeAsked = false;
    ShowBanner();
    ShowLineState(m_session.Thread()->GetLineState());
}

void CMonitorDialog::done(int result) {
    if (m_session.IsClosing()) {
        return; // the window closes by itself once the modules are written
    }
    if (!m_closeAsked && m_session.GetState() != CMonitorSession::State::Stopped &&
        m_session.Simulation().Any()) {
        m_closeAsked = true;
        if (AskAboutSimulation() && StartSwitchingOff()) {
            return;
        }
    }
    FinishClose(result);
}

void CMonitorDialog::FinishClose(int result) {
    // The thread is ended while the window still exists, so that "close"
    // returns only once nothing talks to the station any more.
    m_session.Stop();
    StopRecording();
    m_trendButton->setChecked(false);
    CObserverDialog::done(result);
}

// Escape neither closes the window nor ends it with another result.
void CMonitorDialog::reject() {}

void CMonitorDialog::closeEvent(QCloseEvent* event) {
    done(1);
    // Still open while the simulation is being switched off.
    if (isVisible()) {
        event->ignore();
    } else {
        event->accept();
    }
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

void CMonitorDialog::OnReport(std::uint64_t run, const CMonitorThread::Report& report) {
    const auto started = std::chrono::steady_clock::now();
    const CMonitorSession::Outcome outcome = m_session.Take(run, report);
    if (!outcome.taken) {
        return;
    }
    ++m_notificationCount;
    using State = CMonitorSession::State;
    if (m_session.GetState() == State::Reading) {
        Refresh(report, outcome.simulationSent);
    } else if (m_session.GetState() == State::Writing && !m_session.HasWritesWaiting()) {
        m_adjustList->ClearWriteRequest();
    } else if (m_session.GetState() == State::SwitchedOff) {
        FinishSwitchingOff();
    }
    if (outcome.cycleAt) {
        ShowBanner();
        m_trend->NoteCycle(*outcome.cycleAt);
        if (outcome.recordingError) {
            RecordingFailed(*outcome.recordingError);
        } else if (m_session.IsRecording()) {
            ShowRecordingState();
        }
    }
    ShowLineState(report.line);
    m_lastUpdateTime = std::chrono::steady_clock::now() - started;
}

void CMonitorDialog::ShowBanner() {
    if (m_session.GetState() == CMonitorSession::State::SwitchingOff) {
        return;
    }
    if (!m_session.Simulation().Any()) {
        m_banner->hide();
        return;
    }
    const QString text =
        QString::fromStdWString(FormatMessage(Msg::monitor_simulating, m_session.Simulation().Describe()));
    m_banner->setToolTip(text);
    m_banner->setText(m_banner->fontMetrics().elidedText(text, Qt::ElideRight, m_banner->width() - 8));
    m_banner->show();
}

void CMonitorDialog::TranslateAddedControls() {
    m_recordButton->setText(m_session.IsRecording()
                                ? QString::fromStdWString(GetMessage(Msg::monitor_stoprecord))
                                : GuiText(kRecordButtonId, L"&Record..."));
    m_trendButton->setText(GuiText(kTrendButtonId, L"&Trend"));
    m_trend->Translate();
    LayOutToTexts();
}

void CMonitorDialog::LayOutToTexts() {
    // Texts change with the language and with the recording's state: the
    // window takes the unit at which every one of them fits.
    CDialogUnits::FittingTexts(this).LayOut(this);
    // The panels' boxes take their turn in Tab's order where they are seen.
    MovePanels();
    SetTabOrderByPlace(this);
    m_trendWindow->setWindowTitle(WithoutAccessKey(m_trendButton->text()));
}

void CMonitorDialog::MovePanels() {
    // The open panel sits in its group, wherever the window's size put it.
    const QPoint position = m_simulateGroup->geometry().topLeft() + QPoint(2, 13);
    for (CSimulationPanel* panel : Panels()) {
        panel->move(position);
    }
}

void CMonitorDialog::resizeEvent(QResizeEvent* event) {
    CObserverDialog::resizeEvent(event);
    MovePanels();
    if (m_banner->isVisible()) {
        m_banner->setText(m_banner->fontMetrics().elidedText(m_banner->toolTip(), Qt::ElideRight,
                                                             m_banner->width() - 8));
    }
}

void CMonitorDialog::PlaceTrendWindow() {
    // Beside the monitor where the screen has room, else over its right part.
    const CDialogUnits units = CDialogUnits::FittingTexts(this);
    const QRect room = RoomOnScreen(m_trendWindow);
    const QSize size = units.ToPixels(kTrendWidth, kHeight).boundedTo(room.size());
    m_trendWindow->resize(size);
    const QRect monitor = frameGeometry();
    int left = monitor.right() + 1;
    if (left + size.width() > room.right() + 1) {
        left = monitor.left() - size.width() >= room.left() ? monitor.left() - size.width()
                                                            : room.right() + 1 - size.width();
    }
    m_trendWindow->move(left, std::max(room.top(), monitor.top()));
    KeepOnScreen(m_trendWindow);
}

void CMonitorDialog::SetFileChooser(std::unique_ptr<CFileChooser> chooser) {
    m_chooser = std::move(chooser);
}

void CMonitorDialog::ShowTrend(bool shown) {
    if (m_trendButton->isChecked() != shown) {
        m_trendButton->setChecked(shown); // comes back here through toggled
        return;
    }
    if (shown == m_trendWindow->isVisible()) {
        return;
    }
    m_trendWindow->setEnabled(shown);
    if (shown) {
        PlaceTrendWindow();
        m_trendWindow->show();
        // Once shown, the frame the window system adds is known.
        KeepOnScreen(m_trendWindow);
        m_trend->Redraw();
    } else {
        m_trendWindow->hide();
    }
}

void CMonitorDialog::ToggleRecording() {
    if (m_session.IsRecording()) {
        StopRecording();
        return;
    }
    const std::optional<std::wstring> path = m_chooser->ChooseFileToSave(this, GetMessage(Msg::csvfilter));
    if (path) {
        StartRecording(*path);
    }
}

void CMonitorDialog::StartRecording(const std::wstring& path) {
    try {
        m_session.StartRecording(PathFromText(path));
    } catch (const std::exception& error) {
        CErrorBox::Show(this, GetExceptionMessage(error));
        return;
    }
    m_recordTimer->start();
    TranslateAddedControls();
    ShowRecordingState();
}

void CMonitorDialog::StopRecording() {
    if (!m_session.IsRecording()) {
        return;
    }
    m_session.StopRecording();
    m_recordTimer->stop();
    TranslateAddedControls();
    ShowRecordingState();
}

void CMonitorDialog::RecordingFailed(const std::wstring& message) {
    m_recordTimer->stop();
    TranslateAddedControls();
    // Shown once this notification has been dealt with: the monitor goes on
    // meanwhile, and the box does not run inside the cycle's hand-over.
    QTimer::singleShot(0, this, [this, message] { CErrorBox::Show(this, message); });
    ShowRecordingState();
}

void CMonitorDialog::ShowRecordingState() {
    QString text;
    const CLiveValueRecorder& recorder = m_session.Recorder();
    if (m_session.IsRecording()) {
        text =
            QString::fromStdWString(FormatMessage(Msg::monitor_recording, Elapsed(m_session.RecordingTime()),
                                                  static_cast<unsigned long long>(recorder.GetRowCount())));
    } else if (m_session.GetRecording() != CMonitorSession::Recording::Off) {
        text = QString::fromStdWString(FormatMessage(Msg::monitor_recorded,
                                                     static_cast<unsigned long long>(recorder.GetRowCount()),
                                                     DisplayPath(recorder.GetPath())));
    }
    m_recordLabel->setToolTip(text);
    m_recordLabel->setText(m_recordLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, m_recordLabel->width()));
}

bool CMonitorDialog::AskAboutSimulation() {
    QMessageBox box(this);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(windowTitle());
    box.setText(
        QString::fromStdWString(FormatMessage(Msg::monitor_simquestion, m_session.Simulation().Describe())));
    // Leaving them is what Escape and the box's close button do: nothing is
    // written to the station unless asked for in so many words.
    QPushButton* leave = box.addButton(QString::fromStdWString(GetMessage(Msg::monitor_leavesim)),
                                       QMessageBox::RejectRole);
    QPushButton* off =
        box.addButton(QString::fromStdWString(GetMessage(Msg::monitor_simoff)), QMessageBox::AcceptRole);
    box.setDefaultButton(leave);
    box.setEscapeButton(leave);
    box.exec();
    return box.clickedButton() == off;
}

bool CMonitorDialog::StartSwitchingOff() {
    if (!m_session.StartSwitchingOff(m_list->Rack())) {
        CErrorBox::Show(this, FormatMessage(Msg::monitor_simofferr,
                                            CSimulationWatch::Describe(m_session.NotSwitchedOff())));
        return false;
    }
    m_closeButton->setEnabled(false);
    m_recordButton->setEnabled(false);
    m_banner->setText(QString::fromStdWString(GetMessage(Msg::monitor_simoffing)));
    m_banner->show();
    return true;
}

void CMonitorDialog::FinishSwitchingOff() {
    const std::vector<CSimulationWatch::Module> failed = m_session.NotSwitchedOff();
    // Closed once this notification has been dealt with; a box naming the
    // modules whose switch was not written comes first, after the thread
    // has ended.
    QTimer::singleShot(0, this, [this, failed] {
        m_session.Stop();
        if (!failed.empty()) {
            CErrorBox::Show(this, FormatMessage(Msg::monitor_simofferr, CSimulationWatch::Describe(failed)));
        }
        FinishClose(1);
    });
}

void CMonitorDialog::Refresh(const CMonitorThread::Report& report, bool simulationSent) {
    m_list->ShowRack(report.rack);

    // A request is still on its way while it goes out with the next cycle,
    // or while the thread's rack shows it.
    if (!simulationSent && !m_list->Rack().IsSimulationPending()) {
        for (CSimulationPanel* panel : Panels()) {
            panel->ClearBusy();
        }
    }

    m_adjustList->EnableSteppers(true);

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
}

void CMonitorDialog::TakeWriteRequest() {
    // Taken the moment the value is committed: the card as it is now, for
    // the slot it belongs to. Selecting another module before the write goes
    // out replaces the window's card, never this request.
    if (!m_card) {
        return;
    }
    m_session.QueueWrite(m_selectedSlot, CCardSlot::CopyCard(*m_card, m_selectedSlot),
                         m_adjustList->GetCurrentParameter());
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
    m_session.Monitor(row);
    OpenPanel(row);
    m_trend->ShowSlot(row, m_list->GetCaptionText(row));
}

void CMonitorDialog::OnRowClicked(int row) {
    // A click on the row already selected changes no selection; it opens the
    // row's panel again after Escape has closed it.
    if (row != m_selectedIndex) {
        return;
    }
    for (CSimulationPanel* panel : Panels()) {
        if (panel->isVisible()) {
            return;
        }
    }
    OpenPanel(m_selectedIndex);
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

void CMonitorDialog::OpenPanel(int slotIndex) {
    if (slotIndex < 0 || slotIndex >= CCardSlot::kSlotCount) {
        return;
    }
    const CCardSlot& rack = m_list->Rack();
    const auto card = rack.GetCard(slotIndex);
    const bool ioSlot = CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(slotIndex));
    if (!ioSlot || !card || card->GetTypeCode() == 0 ||
        (rack.IsDigital16Card(slotIndex) && !rack.GetStationAttribute().AddressesDigital16())) {
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
    shown->SetSlot(slotIndex);
    shown->move(position);
    shown->EnableInputs(card->IsSimulating());
    shown->show();
    shown->raise();
    shown->ShowInput();
}

void CMonitorDialog::OnSetConfirmed(CSimulationPanel* panel) {
    // Taken the moment "SET" is pressed, for the module the panel was opened
    // for, whatever is selected before it goes out.
    const int slotIndex = panel->GetSlot();
    const auto card =
        slotIndex >= 0 && slotIndex < CCardSlot::kSlotCount ? m_list->Rack().GetCard(slotIndex) : nullptr;
    if (!card) {
        panel->ClearBusy();
        return;
    }
    CMonitorThread::Simulation request{slotIndex, 0, {}};
    std::array<std::int32_t, 8> values{};
    CMonitorUnit unit;
    card->FillMonitorUnit(0, unit);
    if (unit.kind == CMonitorUnit::KindDigital) {
        request.mode = static_cast<std::int32_t>(m_dio32->GetValue());
    } else if (unit.kind == CMonitorUnit::KindAnalog || unit.kind == CMonitorUnit::KindCounter) {
        CAnalogSimulationPanel* analog = AnalogPanelFor(card->GetTypeCode());
        try {
            for (int channel = 0; channel < analog->GetChannelCount(); ++channel) {
                values[static_cast<std::size_t>(channel)] =
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
    const int count = SimulationValueCount(FindModel(CardRegistry::Io, card->GetTypeCode()));
    request.values.assign(values.begin(), values.begin() + count);
    m_session.QueueSimulation(std::move(request));
}
