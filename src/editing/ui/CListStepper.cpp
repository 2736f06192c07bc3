#include "editing/ui/CListStepper.h"

#include "base/ui/ControlId.h"

#include <QHBoxLayout>
#include <QToolButton>

CListStepper::CListStepper(QWidget* parent) : QWidget(parent) {
    SetControlId(this, kControlId);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_left = new QToolButton(this);
    m_left->setArrowType(Qt::LeftArrow);
    m_right = new QToolButton(this);
    m_right->setArrowType(Qt::RightArrow);
    for (QToolButton* button : {m_left, m_right}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
    }
    connect(m_left, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
    connect(m_right, &QToolButton::clicked, this, [this] { emit Stepped(1); });
    setGeometry(100, 100, kWidth, 20);
    hide();
}

CListStepper::~CListStepper() = default;

void CListStepper::PressLeft() {
    m_left->click();
}

void CListStepper::PressRight() {
    m_right->click();
}
