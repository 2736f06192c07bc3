#include "editing/ui/CParEdit.h"

#include "editing/ui/CEditBitmapComboBox.h"
#include "editing/ui/CEditComboBox.h"
#include "editing/ui/CEditIPAddressCtrl.h"
#include "editing/ui/CEditText.h"

#include <QAbstractItemView>

CParEdit::CParEdit() = default;

CParEdit::~CParEdit() {
    // The parent deletes the editors later; from here on they must not tell
    // this object anything.
    delete m_editText;
    delete m_editCombo;
    delete m_editBitmapCombo;
    delete m_editIPAddress;
}

void CParEdit::Create(QWidget* parent) {
    if (m_editText != nullptr) {
        return;
    }
    m_editText = new CEditText(parent);
    m_editCombo = new CEditComboBox(parent);
    m_editBitmapCombo = new CEditBitmapComboBox(parent);
    m_editIPAddress = new CEditIPAddressCtrl(parent);
    m_editText->Attach(this);
    m_editCombo->Attach(this);
    m_editBitmapCombo->Attach(this);
    m_editIPAddress->Attach(this);
}

void CParEdit::Update(CObservable* subject) {
    if (subject == nullptr) {
        return;
    }
    if (subject == m_editCombo) {
        m_chosenValue = m_editCombo->currentData().toInt();
        m_result = m_editCombo->IsCommitted() ? ResultChoice : ResultNone;
        m_move = CEditText::MoveNone;
    } else if (subject == m_editBitmapCombo) {
        m_chosenValue = m_editBitmapCombo->currentIndex();
        m_result = m_editBitmapCombo->IsCommitted() ? ResultChoice : ResultNone;
        m_move = CEditText::MoveNone;
    } else if (subject == m_editText) {
        m_enteredText = m_editText->text().toStdWString();
        m_result = m_editText->IsCommitted() ? ResultText : ResultNone;
        m_move = m_editText->GetMove();
    } else if (subject == m_editIPAddress) {
        m_chosenValue = static_cast<std::int32_t>(m_editIPAddress->GetAddress());
        m_result = m_editIPAddress->IsCommitted() ? ResultChoice : ResultNone;
        m_move = CEditText::MoveNone;
    } else {
        return;
    }
    NotifyObservers();
}

void CParEdit::HideAll() {
    if (m_editText == nullptr) {
        return;
    }
    m_editText->hide();
    m_editCombo->Dismiss();
    m_editBitmapCombo->Dismiss();
    m_editIPAddress->hide();
}

bool CParEdit::IsAnyActive() const {
    if (m_editText == nullptr) {
        return false;
    }
    return m_editText->hasFocus() || m_editCombo->hasFocus() || m_editCombo->view()->isVisible() ||
           m_editBitmapCombo->hasFocus() || m_editBitmapCombo->view()->isVisible() ||
           m_editIPAddress->hasFocus();
}
