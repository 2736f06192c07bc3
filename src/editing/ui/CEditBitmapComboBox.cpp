#include "editing/ui/CEditBitmapComboBox.h"

#include "base/ui/ControlId.h"

CEditBitmapComboBox::CEditBitmapComboBox(QWidget* parent) : CDropDownEditor(parent) {
    SetControlId(this, kControlId);
    setGeometry(0, 0, 100, 170);
}

CEditBitmapComboBox::~CEditBitmapComboBox() = default;
