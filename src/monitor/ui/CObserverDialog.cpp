#include "monitor/ui/CObserverDialog.h"

#include "app/ui/RegisteredEvents.h"

#include <QCoreApplication>

namespace {

// The posted notification: which subject changed.
class CUpdateObserverEvent : public QEvent {
public:
    explicit CUpdateObserverEvent(CObservable* subject)
        : QEvent(UpdateObserverEventType()), m_subject(subject) {}

    CObservable* Subject() const { return m_subject; }

private:
    CObservable* m_subject;
};

} // namespace

CObserverDialog::CObserverDialog(QWidget* parent) : QDialog(parent) {}

// Notifications still queued for this dialog are dropped by QObject's
// destructor, so none reaches a destroyed window.
CObserverDialog::~CObserverDialog() = default;

void CObserverDialog::Update(CObservable* subject) {
    // postEvent is safe from any thread; the event loop takes ownership.
    QCoreApplication::postEvent(this, new CUpdateObserverEvent(subject));
}

void CObserverDialog::OnUpdate(CObservable*) {}

bool CObserverDialog::event(QEvent* event) {
    if (event->type() == UpdateObserverEventType()) {
        OnUpdate(static_cast<CUpdateObserverEvent*>(event)->Subject());
        return true;
    }
    return QDialog::event(event);
}
