#include "editing/ui/CEditComboBox.h"

#include "base/ui/ControlId.h"

CEditComboBox::CEditComboBox(QWidget* parent) : CDropDownEditor(parent) {
    SetControlId(this, kControlId);
    setGeometry(0, 0, 100, 200);
}

CEditComboBox::~CEditComboBox() = default;
