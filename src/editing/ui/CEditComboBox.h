#pragma once
#include "editing/ui/CDropDownEditor.h"

// The drop-down editor of List rows; the chosen entry's item data is the
// value.
class CEditComboBox : public CDropDownEditor {
    Q_OBJECT

public:
    static constexpr int kControlId = 10001;

    explicit CEditComboBox(QWidget* parent);
    ~CEditComboBox() override;
};
