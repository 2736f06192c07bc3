#pragma once
#include "base/CObservable.h"
#include "base/CObserver.h"

#include <cstdint>
#include <string>

class CEditBitmapComboBox;
class CEditComboBox;
class CEditIPAddressCtrl;
class CEditText;
class QWidget;

// The set of in-place editors of a parameter list. It listens to the four
// editors and tells its own observer (the list) what happened in one form:
// the result, the chosen value or entered text, and where to move next.
class CParEdit : public CObserver, public CObservable {
public:
    enum Result {
        ResultNone = 0,   // nothing to commit
        ResultChoice = 1, // a drop-down choice or an address
        ResultText = 2    // a typed text
    };

    CParEdit();
    ~CParEdit() override;

    // Creates the four editors, hidden, as children of parent, which owns them.
    void Create(QWidget* parent);

    void Update(CObservable* subject) override;

    int GetResult() const { return m_result; }
    std::int32_t GetChosenValue() const { return m_chosenValue; }
    const std::wstring& GetEnteredText() const { return m_enteredText; }
    int GetMove() const { return m_move; }

    CEditText* TextEditor() const { return m_editText; }
    CEditComboBox* ComboEditor() const { return m_editCombo; }
    CEditBitmapComboBox* BitmapComboEditor() const { return m_editBitmapCombo; }
    CEditIPAddressCtrl* IPAddressEditor() const { return m_editIPAddress; }

    // Hides every editor without a report.
    void HideAll();
    // Whether the user is in one of the editors or in a dropped-down list.
    bool IsAnyActive() const;

private:
    int m_result = ResultNone;
    std::int32_t m_chosenValue = 0;
    std::wstring m_enteredText;
    int m_move = 0;

    CEditText* m_editText = nullptr;
    CEditComboBox* m_editCombo = nullptr;
    CEditBitmapComboBox* m_editBitmapCombo = nullptr;
    CEditIPAddressCtrl* m_editIPAddress = nullptr;
};
