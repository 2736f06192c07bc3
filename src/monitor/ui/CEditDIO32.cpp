#include "monitor/ui/CEditDIO32.h"

#include "base/ui/CDialogUnits.h"

#include <QCheckBox>
#include <QLabel>

CEditDIO32::CEditDIO32(QWidget* parent) : CSimulationPanel(parent, kTemplateId, 175, 95) {
    const CDialogUnits units(font());
    // Two lines of sixteen, each line in two groups of eight, with the
    // numbers of the first and last box of each group above it. A box is
    // narrower than the step between boxes, so that neighbours never touch.
    const auto boxX = [](int column) { return 7 + 9 * column + (column >= 8 ? 6 : 0); };
    for (int line = 0; line < 2; ++line) {
        const int captionY = 8 + 30 * line;
        const int first = 16 * line;
        const int captionColumns[] = {0, 7, 8, 15};
        for (int column : captionColumns) {
            auto* caption =
                new QLabel(QStringLiteral("%1").arg(first + column + 1, 2, 10, QLatin1Char('0')), this);
            units.Place(caption, -1, boxX(column) - 1, captionY, 12, 8);
        }
        for (int column = 0; column < 16; ++column) {
            const int bit = first + column;
            m_boxes[static_cast<std::size_t>(bit)] = new QCheckBox(this);
            units.Place(m_boxes[static_cast<std::size_t>(bit)], BoxId(bit), boxX(column), captionY + 10, 8,
                        10);
        }
    }
    PlaceSetButton(7, 74);
}

CEditDIO32::~CEditDIO32() = default;

void CEditDIO32::LoadControls() {
    QCheckBox* first = nullptr;
    for (int bit = 0; bit < kPointCount; ++bit) {
        QCheckBox* box = Box(bit);
        box->setChecked(((m_value >> bit) & 1U) != 0);
        if (first == nullptr && ((m_mask >> bit) & 1U) != 0) {
            first = box;
        }
    }
    ApplyInputEnabling();
    if (first != nullptr && first->isEnabled()) {
        first->setFocus();
    }
}

bool CEditDIO32::TakeInput() {
    std::uint32_t value = 0;
    for (int bit = kPointCount - 1; bit >= 0; --bit) {
        value = (value << 1) | (Box(bit)->isChecked() ? 1U : 0U);
    }
    m_value = value;
    return true;
}

void CEditDIO32::ApplyInputEnabling() {
    for (int bit = 0; bit < kPointCount; ++bit) {
        Box(bit)->setEnabled(AreInputsEnabled() && ((m_mask >> bit) & 1U) != 0);
    }
}
