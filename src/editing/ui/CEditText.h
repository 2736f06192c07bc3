#pragma once
#include "base/CObservable.h"

#include <QLineEdit>

// The in-place text editor of the parameter list. It only reports: Enter,
// Down and Up commit (Down and Up also ask to move on to the next or previous
// row); losing the focus cancels and hides it. Checking the text is the
// card's business.
class CEditText : public QLineEdit, public CObservable {
    Q_OBJECT

public:
    static constexpr int kControlId = 10000;

    enum Move { MoveNone = 0, MoveNext = 1, MovePrevious = 2 };

    explicit CEditText(QWidget* parent);
    ~CEditText() override;

    // Whether the last report was a commit.
    bool IsCommitted() const { return m_committed; }
    int GetMove() const { return m_move; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Report(bool committed, int move);

    bool m_committed = false;
    int m_move = MoveNone;
};
