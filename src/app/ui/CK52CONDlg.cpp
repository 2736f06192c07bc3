#include "app/ui/CK52CONDlg.h"

#include "app/ui/CPreferencesDialog.h"
#include "app/ui/CReportDialog.h"
#include "app/ui/CSlotList.h"
#include "base/CException.h"
#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/FilePath.h"
#include "base/Version.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "base/ui/CFileChooser.h"
#include "base/ui/ControlId.h"
#include "base/ui/ControlTextFit.h"
#include "base/ui/QtTranslation.h"
#include "base/ui/TranslateWindow.h"
#include "editing/ui/CParameterListCtrl.h"
#include "link/CComSettings.h"
#include "link/CJX5COMInterface.h"
#include "monitor/ui/CMonitorDialog.h"
#include "rack/CDownloadThread.h"
#include "rack/CRackComparison.h"
#include "rack/CUploadThread.h"
#include "rack/ui/CCompareDialog.h"
#include "rack/ui/CProgressDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QStatusBar>
#include <QTime>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>
#include <bit>
#include <exception>
#include <filesystem>

namespace {

void ShowError(QWidget* parent, const std::exception& error) {
    // A user's cancellation has nothing to say.
    if (!IsCancellation(error)) {
        CErrorBox::Show(parent, GetExceptionMessage(error, 1024));
    }
}

constexpr std::uint64_t kAllSlots = CCardSlot::kAllSlots;

std::wstring TimeNow() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdWString();
}

// A short confirmation stays this long in the status line.
constexpr int kStatusMilliseconds = 15000;

} // namespace

CK52CONDlg::CK52CONDlg(QWidget* parent, const ComPortSources& portSources)
    : QDialog(parent), m_portList(portSources), m_fileChooser(std::make_unique<CFileChooser>()) {
    CreateControls();
    m_parameterList->Attach(this);
    ConnectCommands();
    InitDialog();
}

CK52CONDlg::~CK52CONDlg() = default;

void CK52CONDlg::SetFileChooser(std::unique_ptr<CFileChooser> chooser) {
    m_fileChooser = chooser ? std::move(chooser) : std::make_unique<CFileChooser>();
}

void CK52CONDlg::CreateControls() {
    setWindowTitle(QStringLiteral("K52CFG"));
    CDialogUnits units(font());

    // Created in the layout's order: the language texts are applied in the
    // order of the window's children. The group boxes are siblings of the
    // controls they frame, created first so that the controls lie above them.
    auto* communication = new QGroupBox(QStringLiteral("Communication"), this);
    units.Place(communication, IdCommunicationGroup, 8, 3, 366, 26);
    SetFallbackControlId(communication, kSharedControlId);

    auto* portLabel = new QLabel(QStringLiteral("COM por&t"), this);
    units.Place(portLabel, IdPortLabel, 15, 15, 32, 8);

    // The layout's height of 187 includes the open drop-down; the closed box
    // is as high as the buttons beside it.
    m_portCombo = new QComboBox(this);
    units.Place(m_portCombo, IdPortCombo, 48, 13, 169, 12);
    portLabel->setBuddy(m_portCombo);

    auto* upload = new QPushButton(QStringLiteral("&Upload"), this);
    units.Place(upload, IdUpload, 218, 12, 48, 13);
    auto* download = new QPushButton(QStringLiteral("&Download"), this);
    units.Place(download, IdDownload, 269, 12, 48, 13);
    auto* monitor = new QPushButton(QStringLiteral("&Monitor"), this);
    units.Place(monitor, IdMonitor, 321, 12, 48, 13);

    auto* fileMenu = new QGroupBox(QStringLiteral("File Menu"), this);
    units.Place(fileMenu, IdFileMenuGroup, 8, 30, 313, 22);
    SetFallbackControlId(fileMenu, kSharedControlId);

    m_fileName = new QLabel(QStringLiteral("Filename : No File"), this);
    units.Place(m_fileName, IdFileName, 15, 40, 201, 8);

    auto* openFile = new QPushButton(QStringLiteral("&Open File"), this);
    units.Place(openFile, IdOpenFile, 218, 36, 48, 13);
    auto* saveFile = new QPushButton(QStringLiteral("&Save File"), this);
    units.Place(saveFile, IdSaveFile, 269, 36, 48, 13);
    auto* preferences = new QPushButton(QStringLiteral("&Preferences"), this);
    units.Place(preferences, IdPreferences, 325, 36, 45, 13);

    m_allOnOff = new QCheckBox(QStringLiteral("&All On/Off"), this);
    units.Place(m_allOnOff, IdAllOnOff, 13, 55, 48, 10);

    m_slotList = new CSlotList(this);
    units.Place(m_slotList, IdSlotList, 9, 65, 143, 252);

    m_modelButton = new QPushButton(this);
    m_modelButton->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: 4px; }"));
    units.Place(m_modelButton, IdModelButton, 156, 56, 218, 14);

    m_parameterList = new CParameterListCtrl(this);
    units.Place(m_parameterList, IdParameterList, 156, 70, 218, 247);

    // In the free room between "All On/Off" and the model button, after the
    // layout's own controls: nothing of the layout moves for them.
    auto* compare = new QPushButton(QStringLiteral("&Compare"), this);
    units.Place(compare, IdCompare, 63, 53, 44, 11);
    SetAddedLater(compare);
    auto* report = new QPushButton(QStringLiteral("&Report"), this);
    units.Place(report, IdReport, 109, 53, 43, 11);
    SetAddedLater(report);

    // The status line: under the layout (PlaceStatusLine).
    m_statusLine = new QStatusBar(this);
    m_statusLine->setSizeGripEnabled(false);

    // A larger window gives its room to the lists: the parameter list takes
    // the width and, with the slot list, the height; the commands stay at
    // the right edge.
    using A = CDialogUnits::Anchors;
    const A stretch{0, 0, 100, 0};
    const A right{100, 0, 100, 0};
    for (auto [id, anchors] : {std::pair{IdCommunicationGroup, stretch}, {IdPortCombo, stretch},
                               {IdUpload, right}, {IdDownload, right}, {IdMonitor, right},
                               {IdFileMenuGroup, stretch}, {IdFileName, stretch}, {IdOpenFile, right},
                               {IdSaveFile, right}, {IdPreferences, right}, {IdModelButton, stretch},
                               {IdSlotList, A{0, 0, 0, 100}}, {IdParameterList, A{0, 0, 100, 100}}}) {
        CDialogUnits::Anchor(FindControl(this, id), anchors);
    }
    CDialogUnits::ReserveBottom(this, m_statusLine->sizeHint().height());
    units.SizeResizableWindow(this, 381, 324);
}

void CK52CONDlg::PlaceStatusLine() {
    // Along the bottom edge, below the layout (which keeps room for it).
    const int statusHeight = m_statusLine->sizeHint().height();
    m_statusLine->setGeometry(0, height() - statusHeight, width(), statusHeight);
}

void CK52CONDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceStatusLine();
}

void CK52CONDlg::ConnectCommands() {
    struct CommandEntry {
        int id;
        Command command;
    };
    // The buttons and what they do.
    static const CommandEntry kCommands[] = {
        {IdUpload, &CK52CONDlg::OnUpload},           {IdDownload, &CK52CONDlg::OnDownload},
        {IdMonitor, &CK52CONDlg::OnMonitor},
        {IdOpenFile, &CK52CONDlg::OnOpenFile},       {IdSaveFile, &CK52CONDlg::OnSaveFile},
        {IdPreferences, &CK52CONDlg::OnPreferences}, {IdModelButton, &CK52CONDlg::OnModelButton},
        {IdCompare, &CK52CONDlg::OnCompare},         {IdReport, &CK52CONDlg::OnReport},
    };
    for (const CommandEntry& entry : kCommands) {
        auto* button = FindControlAs<QPushButton>(this, entry.id);
        Command command = entry.command;
        connect(button, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
    }
    connect(m_allOnOff, &QCheckBox::clicked, this, [this](bool on) { OnAllOnOff(on); });
    connect(m_slotList, &QTableWidget::itemSelectionChanged, this, [this] { OnSlotSelectionChanged(); });
    // "All On/Off" shows whether every slot is checked, however they came to be.
    connect(m_slotList, &QTableWidget::itemChanged, this, [this] { UpdateAllOnOff(); });
    connect(m_portCombo, &QComboBox::activated, this, [this](int index) { OnPortActivated(index); });
    m_portCombo->installEventFilter(this);
    // Ctrl+F from anywhere in the window narrows the parameter list.
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, [this] { m_parameterList->OpenFilter(); });
}

void CK52CONDlg::InitDialog() {
    setWindowTitle(QString::fromStdWString(GetVersionCaption()));
    m_settings.Load();
    m_rack.Clear();
    m_slotList->SetupColumns();
    m_parameterList->Initialize();
    FillPortCombo();
    m_selectedSlot = 0;
    Database().Reset();
    ApplyLanguage();
}

void CK52CONDlg::FillPortCombo() {
    CComSettings settings;
    m_portCombo->clear();
    for (int position = 0; position < m_portList.GetCount(); ++position) {
        m_portCombo->addItem(QString::fromStdWString(m_portList.GetDisplayName(position)));
    }
    m_portCombo->addItem(QString::fromStdWString(GetMessage(Msg::otherport)));
    int position = m_portList.FindSelection(settings.GetDisplayName());
    const bool named = position >= 0 && m_portList.GetDisplayName(position) == settings.GetDisplayName();
    if (!named && !settings.GetDevicePath().empty()) {
        // A stored port missing today (an adapter unplugged, a simulator not
        // running) stays the choice: opening it then says what is missing,
        // where the first port would silently be another device.
        position = -1;
        for (int index = 0; index < m_portList.GetCount(); ++index) {
            if (m_portList.GetDevicePath(index) == settings.GetDevicePath()) {
                position = index;
            }
        }
        if (position < 0) {
            position = AddOtherPort(settings.GetDevicePath(), settings.GetDisplayName().empty()
                                                                  ? settings.GetDevicePath()
                                                                  : settings.GetDisplayName());
        }
    }
    m_portCombo->setCurrentIndex(position);
    m_portIndexBefore = position;
}

int CK52CONDlg::OtherPortEntry() const {
    return m_portCombo->count() - 1;
}

std::wstring CK52CONDlg::PortPathAt(int index) const {
    if (index >= 0 && index < m_portList.GetCount()) {
        return m_portList.GetDevicePath(index);
    }
    const auto other = static_cast<std::size_t>(index - m_portList.GetCount());
    return index >= 0 && other < m_otherPorts.size() ? m_otherPorts[other].first : std::wstring();
}

std::wstring CK52CONDlg::PortNameAt(int index) const {
    if (index >= 0 && index < m_portList.GetCount()) {
        return m_portList.GetDisplayName(index);
    }
    const auto other = static_cast<std::size_t>(index - m_portList.GetCount());
    return index >= 0 && other < m_otherPorts.size() ? m_otherPorts[other].second : std::wstring();
}

int CK52CONDlg::AddOtherPort(const std::wstring& path, const std::wstring& name) {
    for (int index = 0; index < OtherPortEntry(); ++index) {
        if (PortPathAt(index) == path) {
            return index;
        }
    }
    m_otherPorts.emplace_back(path, name);
    const int index = m_portList.GetCount() + static_cast<int>(m_otherPorts.size()) - 1;
    m_portCombo->insertItem(index, QString::fromStdWString(name));
    return index;
}

bool CK52CONDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_portCombo && event->type() == QEvent::KeyPress) {
        // Stepping through the closed box stops at the last port: "Other
        // port..." asks a question, and is chosen from the open list.
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int lastPort = OtherPortEntry() - 1;
        const bool past = key == Qt::Key_End || key == Qt::Key_PageDown ||
                          (key == Qt::Key_Down && m_portCombo->currentIndex() >= lastPort);
        if (past && lastPort >= 0) {
            m_portCombo->setCurrentIndex(lastPort);
            OnPortActivated(lastPort);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CK52CONDlg::OnPortActivated(int index) {
    if (index != OtherPortEntry()) {
        m_portIndexBefore = index;
        return;
    }
    // Until a usable path is given, the choice before stays.
    m_portCombo->setCurrentIndex(m_portIndexBefore);
    bool ok = false;
    const QString typed =
        QInputDialog::getText(this, windowTitle(), QString::fromStdWString(GetMessage(Msg::otherport_prompt)),
                              QLineEdit::Normal, QString::fromStdWString(PortPathAt(m_portIndexBefore)), &ok)
            .trimmed();
    if (!ok || typed.isEmpty()) {
        return;
    }
    const std::wstring typedPath = typed.toStdWString();
#ifdef _WIN32
    // A serial port there is a device name, not a file: "COM20", or a name in
    // the device namespace as given ("\\.\COM20").
    std::wstring path;
    if (typedPath.starts_with(L"\\\\.\\")) {
        path = typedPath;
    } else if (const std::optional<int> number = CComPortList::PortNumberOfName(typedPath)) {
        path = CComPortList::DevicePathOfPort(*number);
    }
    if (path.empty()) {
        CErrorBox::Show(this, FormatMessage(Msg::otherport_bad, typedPath));
        return;
    }
#else
    const std::wstring& path = typedPath;
    std::error_code error;
    // A link (k52sim --link, a udev rule's name) is followed to its device.
    if (!std::filesystem::is_character_file(PathFromText(path), error)) {
        CErrorBox::Show(this, FormatMessage(Msg::otherport_bad, path));
        return;
    }
#endif
    m_portIndexBefore = AddOtherPort(path, path);
    m_portCombo->setCurrentIndex(m_portIndexBefore);
    CComSettings settings;
    settings.SetDevicePath(path);
    settings.SetDisplayName(path);
    settings.SaveToProfile();
}

void CK52CONDlg::ShowPortNames() {
    // Only what the combo shows changes: the port list keeps the names that
    // the profile stores and finds the choice by, whatever the language.
    for (int position = 0; position < m_portList.GetCount() && position < m_portCombo->count(); ++position) {
        std::wstring name = m_portList.GetDisplayName(position);
        // The list's own demo entry, not another port a test or a simulator serves there.
        if (m_portList.GetDevicePath(position) == CComPortList::kDemoStationPath &&
            name == CComPortList::kDemoStationName) {
            name = GetMessage(Msg::demostation);
        } else if (m_portList.IsGenericPort(position)) {
            // The port's own part, " (COMn)", stays.
            name = GetMessage(Msg::comport) + name.substr(std::wstring_view(CComPortList::kGenericPortName).size());
        }
        m_portCombo->setItemText(position, QString::fromStdWString(name));
    }
    m_portCombo->setItemText(OtherPortEntry(), QString::fromStdWString(GetMessage(Msg::otherport)));
}

void CK52CONDlg::ApplyLanguage() {
    bool reported = false;
    try {
        Database().Load(m_settings.GetDisplayLanguage());
    } catch (const std::exception& error) {
        ShowError(this, error);
        // Every look-up below fails the same way now; once is enough to say so.
        reported = true;
    }
    // Each step runs whatever the one before it met: the window must show
    // the rack and stay usable, so that the user can choose another language.
    auto step = [&](const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& error) {
            if (!reported) {
                ShowError(this, error);
                reported = true;
            }
        }
    };
    if (!m_caption.isEmpty()) {
        setWindowTitle(m_caption);
    }
    step([&] { TranslateWindow(kWindowNumber, this); });
    m_caption = windowTitle();
    ShowTitle();
    // The label's own entry has just replaced the name of the open file.
    step([&] { ShowFileName(); });
    UseQtTranslationOfLanguageFile();
    ShowPortNames();
    // The texts of another language need room of their own.
    CDialogUnits::ReserveBottom(this, m_statusLine->sizeHint().height());
    FitWindowToTexts(this);
    PlaceStatusLine();
    step([&] { m_slotList->Refresh(m_rack); });
    SelectSlotRow(m_selectedSlot);
    step([&] { ShowSelectedSlot(); });
}

void CK52CONDlg::SelectSlotRow(int row) {
    // Marking the row is not a choice of the user's: ShowSelectedSlot follows.
    QSignalBlocker blocker(m_slotList);
    m_slotList->selectRow(row);
}

void CK52CONDlg::ShowSelectedSlot() {
    CCardSlot::CardHandle card = m_rack.GetCard(m_selectedSlot);
    std::wstring longName;
    std::exception_ptr failure;
    try {
        longName = card ? card->GetCardName().GetLongName() : std::wstring();
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    // The list must show the slot's own card even when its name is missing:
    // edits of a card that has left the rack would be lost.
    SetShortenedText(m_modelButton, QStringLiteral(" ") + QString::fromStdWString(longName));
    m_modelButton->setEnabled(true);
    m_parameterList->ShowCard(card);
    RememberShownValues();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void CK52CONDlg::RunCommand(Command command) {
    RunGuarded([this, command] { (this->*command)(); });
}

void CK52CONDlg::RunGuarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowError(this, error);
    }
}

void CK52CONDlg::Update(CObservable* subject) {
    if (subject != static_cast<CObservable*>(m_parameterList)) {
        return;
    }
    MarkChanged(std::uint64_t{1} << m_selectedSlot);
    SayWhatWasReset();
    RunGuarded([this] { m_slotList->Refresh(m_rack); });
}

void CK52CONDlg::RememberShownValues() {
    m_shownValues.clear();
    const CCardSlot::CardHandle card = m_rack.GetCard(m_selectedSlot);
    for (int row = 0; card && row < card->GetParameterCount(); ++row) {
        m_shownValues.push_back(card->GetStoredValueText(row));
    }
}

void CK52CONDlg::SayWhatWasReset() {
    // Some values put other rows back to their defaults (another input range
    // drops the channel's calibration): the user is told which.
    const CCardSlot::CardHandle card = m_rack.GetCard(m_selectedSlot);
    const std::vector<std::wstring> before = m_shownValues;
    RememberShownValues();
    if (!card || before.size() != m_shownValues.size()) {
        return;
    }
    const int edited = m_parameterList->GetCurrentParameter();
    std::wstring captions;
    for (int row = 0; row < card->GetParameterCount(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        if (row != edited && before[index] != m_shownValues[index]) {
            captions += (captions.empty() ? L"" : L", ") + card->GetCaption(row);
        }
    }
    if (!captions.empty()) {
        ShowStatus(FormatMessage(Msg::status_reset, captions));
    }
}

void CK52CONDlg::MarkChanged(std::uint64_t slotMask) {
    m_changedSlots |= slotMask & kAllSlots;
    ShowTitle();
}

void CK52CONDlg::MarkKept(std::uint64_t slotMask) {
    m_changedSlots &= ~slotMask;
    ShowTitle();
}

void CK52CONDlg::ShowTitle() {
    setWindowTitle(m_changedSlots != 0 ? QStringLiteral("*") + m_caption : m_caption);
}

void CK52CONDlg::ShowStatus(const std::wstring& text) {
    m_statusLine->showMessage(QString::fromStdWString(text), kStatusMilliseconds);
}

std::wstring CK52CONDlg::PortChosenText() const {
    return m_portCombo->currentText().toStdWString();
}

bool CK52CONDlg::AskBeforeReplacing(std::uint64_t slotMask) {
    if ((m_changedSlots & slotMask) == 0) {
        return true;
    }
    QMessageBox box(this);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(m_caption);
    box.setText(QString::fromStdWString(GetMessage(Msg::unsaved_question)));
    QPushButton* save =
        box.addButton(QString::fromStdWString(GetMessage(Msg::unsaved_save)), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QString::fromStdWString(GetMessage(Msg::unsaved_discard)), QMessageBox::DestructiveRole);
    QPushButton* cancel =
        box.addButton(QString::fromStdWString(GetMessage(Msg::unsaved_cancel)), QMessageBox::RejectRole);
    // Enter, Escape and the box's close button keep the changes.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == discard) {
        return true;
    }
    if (box.clickedButton() != save) {
        return false;
    }
    // Going on only once the changes are in a file.
    OnSaveFile();
    return (m_changedSlots & slotMask) == 0;
}

void CK52CONDlg::closeEvent(QCloseEvent* event) {
    bool go = false;
    RunGuarded([&] { go = AskBeforeReplacing(kAllSlots); });
    if (!go) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CK52CONDlg::UpdateAllOnOff() {
    m_allOnOff->setChecked(m_slotList->rowCount() > 0 && (m_slotList->GetCheckedMask() & kAllSlots) == kAllSlots);
}

void CK52CONDlg::TakePortChoice(CJX5COMInterface& link) {
    CComSettings settings;
    int position = m_portCombo->currentIndex();
    settings.SetDevicePath(PortPathAt(position));
    settings.SetDisplayName(PortNameAt(position));
    settings.SaveToProfile();
    link.SetSettings(settings);
}

std::optional<CCardSlot> CK52CONDlg::ReadStation(std::uint64_t mask) {
    // Declared before the thread: the worker uses the link until it has ended.
    CJX5COMInterface link;
    TakePortChoice(link);
    auto thread = std::make_unique<CUploadThread>();
    thread->SetLink(link);
    // An upload without the communication module keeps the attribute it knows.
    thread->GetRack().SetStationAttribute(m_rack.GetStationAttribute());
    link.GetSettings().SetModuleSelectionMask(mask);
    {
        CProgressDialog dialog(nullptr);
        dialog.RunWithThread(*thread);
    }
    std::optional<CCardSlot> station;
    if (thread->Succeeded()) {
        station = thread->GetRack();
    }
    // Shows the worker's failure, now that the progress window has gone.
    thread.reset();
    return station;
}

void CK52CONDlg::OnUpload() {
    const std::uint64_t mask = m_slotList->GetCheckedMask() & kAllSlots;
    if (!AskBeforeReplacing(mask)) {
        return;
    }
    if (const std::optional<CCardSlot> station = ReadStation(mask)) {
        m_rack.CopySlots(*station, mask);
        MarkKept(mask);
        const std::wstring time = TimeNow();
        m_fromStation.emplace(PortChosenText(), time);
        ShowFileName();
        ShowStatus(FormatMessage(Msg::status_uploaded, std::popcount(mask), PortChosenText(), time));
        m_slotList->Refresh(m_rack);
        ShowSelectedSlot();
    }
}

void CK52CONDlg::OnDownload() {
    CJX5COMInterface link;
    TakePortChoice(link);
    auto thread = std::make_unique<CDownloadThread>();
    thread->SetLink(link);
    link.GetSettings().SetModuleSelectionMask(m_slotList->GetCheckedMask());
    thread->GetRack() = m_rack;
    {
        CProgressDialog dialog(nullptr);
        dialog.RunWithThread(*thread);
    }
    const bool written = thread->Succeeded();
    const std::uint64_t mask = link.GetSettings().GetModuleSelectionMask() & kAllSlots;
    thread.reset();
    if (written) {
        // What the station holds now is kept, as a saved file is.
        MarkKept(mask);
        ShowStatus(FormatMessage(Msg::status_downloaded, std::popcount(mask), PortChosenText(), TimeNow()));
    }
}

void CK52CONDlg::OnMonitor() {
    CJX5COMInterface link;
    TakePortChoice(link);
    // A port that cannot be opened fails here, before the main window goes.
    link.Open();
    link.Close();
    CMonitorDialog monitor(nullptr);
    // The main window comes back however the monitor ends.
    struct ShowAgain {
        CK52CONDlg* window;
        ~ShowAgain() {
            window->m_hiddenForMonitor = false;
            window->show();
        }
    } showAgain{this};
    m_hiddenForMonitor = true;
    hide();
    monitor.RunModal(link, m_rack.GetStationAttribute());
}

void CK52CONDlg::OnCompare() {
    auto* button = FindControlAs<QPushButton>(this, IdCompare);
    QMenu menu(this);
    QAction* station = menu.addAction(QString::fromStdWString(GetMessage(Msg::cmp_withstation)));
    QAction* file = menu.addAction(QString::fromStdWString(GetMessage(Msg::cmp_withfile)));
    QAction* chosen = menu.exec(button->mapToGlobal(QPoint(0, button->height() - 1)));
    if (chosen == station) {
        OnCompareWithStation();
    } else if (chosen == file) {
        OnCompareWithFile();
    }
}

void CK52CONDlg::OnCompareWithStation() {
    // As Upload reads the station, but the window's rack is left as it is.
    const std::uint64_t mask = m_slotList->GetCheckedMask();
    if (const std::optional<CCardSlot> station = ReadStation(mask)) {
        const CRackComparison comparison(m_rack, *station, mask);
        ShowCompared(comparison);
        CCompareDialog(comparison, m_rack, GetMessage(Msg::cmp_colstation), this).exec();
    }
}

void CK52CONDlg::OnCompareWithFile() {
    std::optional<std::wstring> path = m_fileChooser->ChooseFileToOpen(this, FileFilterText());
    if (!path) {
        return;
    }
    CCardSlot file(m_rack.GetStationAttribute());
    file.LoadForComparison(PathFromText(*path));
    const CRackComparison comparison(m_rack, file, m_slotList->GetCheckedMask());
    ShowCompared(comparison);
    CCompareDialog(comparison, m_rack, GetMessage(Msg::cmp_colfile), this).exec();
}

void CK52CONDlg::ShowCompared(const CRackComparison& comparison) {
    ShowStatus(FormatMessage(Msg::status_compared, TimeNow(),
                             static_cast<int>(comparison.GetModuleDifferences().size()),
                             static_cast<int>(comparison.GetValueDifferences().size())));
}

void CK52CONDlg::OnReport() {
    CReportDialog dialog(m_rack, *m_fileChooser, this);
    // The choices of the last report come back, for a report made again.
    dialog.RestoreChoices(m_reportTitle, m_reportAsFound, m_reportPdf);
    const bool saved = dialog.exec() == QDialog::Accepted;
    dialog.GetChoices(m_reportTitle, m_reportAsFound, m_reportPdf);
    if (saved) {
        ShowStatus(FormatMessage(Msg::status_report,
                                 DisplayPath(PathFromText(dialog.SavedPath()).filename()), TimeNow()));
    }
}

std::wstring CK52CONDlg::FileFilterText() const {
    return GetMessage(Msg::fopenfilter);
}

void CK52CONDlg::OnOpenFile() {
    if (!AskBeforeReplacing(kAllSlots)) {
        return;
    }
    std::optional<std::wstring> path = m_fileChooser->ChooseFileToOpen(this, FileFilterText());
    if (!path) {
        return;
    }
    m_rack.LoadFromFile(PathFromText(*path));
    MarkKept(kAllSlots);
    SetFileNameText(*path);
    m_slotList->Refresh(m_rack);
    ShowSelectedSlot();
    // A hand-edited file opens all the same; what is odd in it is said once.
    const std::wstring warnings =
        m_rack.FormatLoadWarnings(DisplayPath(PathFromText(*path).filename()), 20);
    if (!warnings.empty()) {
        CErrorBox::Show(this, warnings);
    }
}

void CK52CONDlg::OnSaveFile() {
    std::optional<std::wstring> path = m_fileChooser->ChooseFileToSave(this, FileFilterText());
    if (!path) {
        return;
    }
    m_rack.SaveToFile(PathFromText(*path));
    MarkKept(kAllSlots);
    SetFileNameText(*path);
    ShowStatus(FormatMessage(Msg::status_saved, m_fileNameShown, TimeNow()));
}

void CK52CONDlg::SetFileNameText(const std::wstring& path) {
    m_fileNameShown = DisplayPath(PathFromText(path).filename());
    m_fromStation.reset();
    ShowFileName();
}

void CK52CONDlg::ShowFileName() {
    if (m_fromStation) {
        SetShortenedText(m_fileName,
                         QString::fromStdWString(FormatMessage(Msg::fromstation, m_fromStation->first,
                                                               m_fromStation->second)),
                         Qt::ElideMiddle);
        return;
    }
    if (m_fileNameShown.empty()) {
        return;
    }
    // A long name is shortened in its middle, so that its end stays in sight.
    SetShortenedText(m_fileName, QString::fromStdWString(FormatMessage(Msg::filename, m_fileNameShown)),
                     Qt::ElideMiddle);
}

void CK52CONDlg::OnPreferences() {
    CPreferencesDialog dialog(this);
    if (dialog.Edit(m_settings)) {
        m_settings.Save();
        ApplyLanguage();
    }
}

void CK52CONDlg::OnModelButton() {
    const bool ioSlot = CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(m_selectedSlot));
    const int count = ioSlot ? kIoModelCount : kComModelCount;
    QMenu menu(this);
    for (int code = 0; code < count; ++code) {
        std::wstring name =
            ioSlot ? m_ioCardType.GetLongNameByCode(code) : m_comCardType.GetLongNameByCode(code);
        QAction* action = menu.addAction(QString::fromStdWString(name));
        action->setData(kCardMenuBase + code);
    }
    m_cardMenu = &menu;
    QAction* chosen = menu.exec(m_modelButton->mapToGlobal(QPoint(0, m_modelButton->height() - 1)));
    m_cardMenu = nullptr;
    if (chosen != nullptr) {
        OnCardMenuCommand(chosen->data().toInt());
    }
}

void CK52CONDlg::OnCardMenuCommand(int id) {
    const int code = id - kCardMenuBase;
    if (code < 0 || code >= kIoModelCount) {
        return;
    }
    const bool ioSlot = CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(m_selectedSlot));
    CCardSlot::CardHandle card = ioSlot ? CCardSlot::CardHandle(CIOCardType(m_rack.GetStationAttribute()).CreateByCode(code))
                                        : CCardSlot::CardHandle(m_comCardType.CreateByCode(code));
    m_rack.SetCard(m_selectedSlot, std::move(card));
    MarkChanged(std::uint64_t{1} << m_selectedSlot);
    m_slotList->Refresh(m_rack);
    ShowSelectedSlot();
}

void CK52CONDlg::OnAllOnOff(bool on) {
    m_slotList->SetAllChecks(on);
}

void CK52CONDlg::OnSlotSelectionChanged() {
    int row = m_slotList->FirstSelectedRow();
    if (row < 0) {
        return;
    }
    m_selectedSlot = row;
    RunGuarded([this] { ShowSelectedSlot(); });
}

void CK52CONDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnEnterKey();
        return;
    case Qt::Key_Escape:
        OnEscapeKey();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CK52CONDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The list's columns follow its width, which is final only now.
    m_parameterList->SetColumnWidths();
}

void CK52CONDlg::setVisible(bool visible) {
    if (!visible && m_hiddenForMonitor) {
        // A dialog that is hidden ends its own modal loop, which here is the
        // program's: the window would be gone for good, and the rack with it,
        // once the monitor closed. It is only put out of sight.
        QWidget::setVisible(false); // NOLINT(bugprone-parent-virtual-call): QDialog's is the one avoided
        return;
    }
    QDialog::setVisible(visible);
}

void CK52CONDlg::OnEnterKey() {
    // Enter edits; it never closes the window, whatever has the focus.
    QWidget* focus = focusWidget();
    if (focus != nullptr && (focus == m_parameterList || focus == m_parameterList->viewport())) {
        RunGuarded([this] { m_parameterList->BeginEdit(-1, 0); });
    }
}

void CK52CONDlg::OnEscapeKey() {
    // Escape only takes back the in-place editors; the window is closed by
    // its close request alone.
    m_parameterList->HideEditors();
}
