#pragma once
#include <QWidget>

class QToolButton;

// The small horizontal up/down control that adjust mode lays over the right
// end of the selected row: its left button steps the value down by one, its
// right button up by one. It never takes the focus, so the list keeps it.
class CListStepper : public QWidget {
    Q_OBJECT

public:
    static constexpr int kControlId = 100;
    static constexpr int kWidth = 40;

    explicit CListStepper(QWidget* parent);
    ~CListStepper() override;

    // Press and release a button, as the arrow keys of the list do; nothing
    // happens while the stepper is disabled.
    void PressLeft();
    void PressRight();

    QToolButton* LeftButton() const { return m_left; }
    QToolButton* RightButton() const { return m_right; }

signals:
    void Stepped(int delta);

private:
    QToolButton* m_left = nullptr;
    QToolButton* m_right = nullptr;
};
