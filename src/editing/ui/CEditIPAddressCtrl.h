#pragma once
#include "base/CObservable.h"

#include <QLineEdit>

#include <cstdint>

// An IPv4 address field of four numbers 0 to 255. Enter commits (the field
// stays visible); losing the focus hides it and cancels. No parameter kind
// opens it: address rows are typed into the text editor and checked by the
// card.
class CEditIPAddressCtrl : public QLineEdit, public CObservable {
    Q_OBJECT

public:
    static constexpr int kControlId = 10003;

    explicit CEditIPAddressCtrl(QWidget* parent);
    ~CEditIPAddressCtrl() override;

    // First number in the most significant byte; an empty number counts as 0.
    std::uint32_t GetAddress() const;
    void SetAddress(std::uint32_t address);

    bool IsCommitted() const { return m_committed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Report(bool committed);

    bool m_committed = false;
};
