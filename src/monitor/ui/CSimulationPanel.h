#pragma once
#include <QWidget>

class QPushButton;

// A small panel of the monitor window in which the user types what a module
// is to simulate. It only collects and checks the input; "SET" tells the
// monitor window (SetConfirmed), which turns the input into a simulation
// request. From "SET" until the window sees the request consumed the panel is
// busy, so that one request cannot be sent twice. Its texts come from a
// window section of its own (its layout's number), not from the monitor's.
class CSimulationPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSetButtonId = 1;

    CSimulationPanel(QWidget* parent, int windowNumber, int widthDlu, int heightDlu);
    ~CSimulationPanel() override;

    // Enables the inputs when enable is true; "SET" also needs the panel to be idle.
    void EnableInputs(bool enable);
    bool AreInputsEnabled() const { return m_enabled; }

    bool IsBusy() const { return m_busy; }
    void ClearBusy();

    // Puts the stored input into the controls and takes the focus, as the
    // window does when it shows the panel.
    void ShowInput();

    QPushButton* SetButton() const { return m_setButton; }
    int GetWindowNumber() const { return m_windowNumber; }

    // The slot index of the module the panel was opened for; -1 before it was.
    void SetSlot(int slotIndex) { m_slot = slotIndex; }
    int GetSlot() const { return m_slot; }

signals:
    // "SET" has checked the input, sent at once: the receiver takes the
    // request before anything else can change the selection.
    void SetConfirmed();
    // The panel's own cancel closed it; nothing is handed over.
    void Cancelled();

protected:
    // Writes the stored input into the controls and focuses the first input.
    virtual void LoadControls() = 0;
    // Reads and checks the controls; false leaves the panel as it is and
    // nothing is handed over.
    virtual bool TakeInput() = 0;
    virtual void ApplyInputEnabling() = 0;

    void PlaceSetButton(int x, int y);
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnSet();
    // The panel's own cancel: closes it without handing anything over.
    void Cancel();
    void UpdateSetButton();

    QPushButton* m_setButton = nullptr;
    bool m_busy = false;
    bool m_enabled = true;
    int m_slot = -1;
    int m_windowNumber;
};
