#pragma once
#include "editing/ui/CDropDownEditor.h"

// A drop-down editor whose entries may carry pictures; the chosen entry's
// index is the value. No parameter kind opens it yet, so its entries are
// plain texts.
class CEditBitmapComboBox : public CDropDownEditor {
    Q_OBJECT

public:
    static constexpr int kControlId = 10002;

    explicit CEditBitmapComboBox(QWidget* parent);
    ~CEditBitmapComboBox() override;
};
