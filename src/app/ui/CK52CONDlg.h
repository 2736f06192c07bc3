#pragma once
#include "app/CAppSettings.h"
#include "base/CObserver.h"
#include "base/CResourceManager.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "link/CComPortList.h"
#include "rack/CCardSlot.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CFileChooser;
class CJX5COMInterface;
class CParameterListCtrl;
class CRackComparison;
class CSlotList;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;

// The main window (layout 102): the rack being edited in the slot list, the
// parameters of the chosen slot, the model chooser, the port choice and the
// commands. It is the whole program; when it closes, the program ends.
class CK52CONDlg : public QDialog, private CResourceManager, public CObserver {
    Q_OBJECT

public:
    enum ControlId {
        IdCaption = 0,
        IdParameterList = 1000,
        IdUpload = 1001,
        IdDownload = 1002,
        IdOpenFile = 1003,
        IdSaveFile = 1004,
        IdMonitor = 1005,
        IdPreferences = 1006,
        IdModelButton = 1007,
        IdSlotList = 1008,
        IdPortLabel = 1009,
        IdPortCombo = 1010,
        // The group boxes had the shared identifier -1, which a language file
        // can give only one text; each has its own now, and -1 stands in
        // where an older file lacks it.
        IdCommunicationGroup = 1011,
        IdFileMenuGroup = 1012,
        IdFileName = 1025,
        IdAllOnOff = 1026,
        IdCompare = 1040,
        IdReport = 1041,
    };
    static constexpr int kWindowNumber = 102;
    // Menu item of model code c: kCardMenuBase + c.
    static constexpr int kCardMenuBase = 0x9000;
    static inline const int kComModelCount = MenuModelCount(CardRegistry::Com);
    static inline const int kIoModelCount = MenuModelCount(CardRegistry::Io);

    // portSources: where the port list comes from; the computer's own ports
    // unless a test supplies others.
    explicit CK52CONDlg(QWidget* parent = nullptr,
                        const ComPortSources& portSources = ComPortSources::System());
    ~CK52CONDlg() override;

    // Replaces the file dialogs (tests answer in place of the user).
    void SetFileChooser(std::unique_ptr<CFileChooser> chooser);

    // From the parameter list: a value was committed.
    void Update(CObservable* subject) override;

    const CCardSlot& GetRack() const { return m_rack; }
    int GetSelectedSlot() const { return m_selectedSlot; }
    CSlotList* SlotList() const { return m_slotList; }
    CParameterListCtrl* ParameterList() const { return m_parameterList; }
    // The popup menu of the model button while it is open, else null.
    QMenu* CardMenu() const { return m_cardMenu; }

    void setVisible(bool visible) override;

    // Unsaved work: the slots whose cards changed since the rack was last
    // opened, saved, uploaded or downloaded (those slots), and the status line.
    std::uint64_t GetChangedSlots() const { return m_changedSlots; }
    QStatusBar* StatusLine() const { return m_statusLine; }
    // The port drop-down's last entry, which asks for a device path.
    int OtherPortEntry() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    using Command = void (CK52CONDlg::*)();

    void CreateControls();
    void ConnectCommands();
    void InitDialog();
    void FillPortCombo();
    // The port names in the language in use, where they are the program's own.
    void ShowPortNames();
    void ApplyLanguage();
    void ShowSelectedSlot();
    void SelectSlotRow(int row);

    // Runs a command; what it raises is shown in an error box and the window
    // goes on, as after any failed command.
    void RunCommand(Command command);
    void RunGuarded(const std::function<void()>& action);

    void OnUpload();
    void OnDownload();
    void OnMonitor();
    // Compare: with the station (read as Upload reads it) or with a file,
    // for the checked slots; the window's rack stays as it is.
    void OnCompare();
    void OnCompareWithStation();
    void OnCompareWithFile();
    void OnReport();
    void ShowCompared(const CRackComparison& comparison);
    void OnOpenFile();
    void OnSaveFile();
    void OnPreferences();
    void OnModelButton();
    void OnCardMenuCommand(int id);
    void OnAllOnOff(bool on);
    void OnSlotSelectionChanged();
    void OnEnterKey();
    void OnEscapeKey();

    // The port chosen in the combo, saved in the profile and copied into the
    // command's link.
    void TakePortChoice(CJX5COMInterface& link);
    // Reads the slots of mask from the station with the progress window;
    // nothing when the reading failed or was cancelled (its failure shown).
    std::optional<CCardSlot> ReadStation(std::uint64_t mask);
    void SetFileNameText(const std::wstring& path);
    // The name of the open file in the label, in the language in use.
    void ShowFileName();
    std::wstring FileFilterText() const;

    // Unsaved work. Asks Save / Discard / Cancel when a slot of slotMask has changed;
    // true when the caller may go on and replace them.
    bool AskBeforeReplacing(std::uint64_t slotMask);
    void MarkChanged(std::uint64_t slotMask);
    void MarkKept(std::uint64_t slotMask);
    // The caption, with an asterisk while changes are unsaved.
    void ShowTitle();
    // A short confirmation in the status line, for a while.
    void ShowStatus(const std::wstring& text);
    void PlaceStatusLine();
    std::wstring PortChosenText() const;
    // What the selected card holds, to tell which rows a committed value
    // reset beside itself.
    void RememberShownValues();
    void SayWhatWasReset();
    void UpdateAllOnOff();

    // Ports outside the list: "Other port..." and a stored path missing
    // today. Combo entries after the port list's own, before "Other port...".
    std::wstring PortPathAt(int index) const;
    std::wstring PortNameAt(int index) const;
    int AddOtherPort(const std::wstring& path, const std::wstring& name);
    void OnPortActivated(int index);

    CComPortList m_portList;
    CIOCardType m_ioCardType;
    CCOMCardType m_comCardType;
    CCardSlot m_rack;
    CAppSettings m_settings;
    QMenu* m_cardMenu = nullptr;
    int m_selectedSlot = 0;
    // Set while the monitor runs and this window is out of sight.
    bool m_hiddenForMonitor = false;
    std::unique_ptr<CFileChooser> m_fileChooser;
    // The name (no folder) of the file last opened or saved; empty before.
    std::wstring m_fileNameShown;

    CParameterListCtrl* m_parameterList = nullptr;
    CSlotList* m_slotList = nullptr;
    QComboBox* m_portCombo = nullptr;
    QLabel* m_fileName = nullptr;
    QCheckBox* m_allOnOff = nullptr;
    QPushButton* m_modelButton = nullptr;

    std::uint64_t m_changedSlots = 0;
    QString m_caption;
    QStatusBar* m_statusLine = nullptr;
    // (device path, name shown) of the ports added outside the list.
    std::vector<std::pair<std::wstring, std::wstring>> m_otherPorts;
    int m_portIndexBefore = 0;
    // Port and time of the upload the rack came from while it is not saved.
    std::optional<std::pair<std::wstring, std::wstring>> m_fromStation;
    std::vector<std::wstring> m_shownValues;
    // What the report window was last left with.
    std::wstring m_reportTitle;
    std::wstring m_reportAsFound;
    bool m_reportPdf = false;
};
