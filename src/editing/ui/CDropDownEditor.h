#pragma once
#include "base/CObservable.h"

#include <QComboBox>

// What the two drop-down editors share: they are opened with their list
// dropped down, and report once when it closes. A selection confirmed by a
// click or Enter is a commit; a list closed by Escape, by a click elsewhere,
// or a focus loss is a cancel. Either way the editor hides itself.
class CDropDownEditor : public QComboBox, public CObservable {
    Q_OBJECT

public:
    explicit CDropDownEditor(QWidget* parent);
    ~CDropDownEditor() override;

    // Shows the editor with its list dropped down; one report follows.
    void Open();
    // Hides the editor without a report.
    void Dismiss();

    bool IsCommitted() const { return m_committed; }
    bool IsOpen() const { return m_open; }

    void showPopup() override;
    void hidePopup() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void FinishPopup();
    void Report(bool committed);

    bool m_open = false;      // shown by Open and not reported since
    bool m_confirmed = false; // the user chose an entry since the list dropped down
    bool m_finishPending = false;
    bool m_committed = false;
};
