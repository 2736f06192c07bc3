#include "monitor/ui/CObserverDialog.h"

#include "base/ui/RegisteredEvents.h"

#include <QCoreApplication>

#include <utility>

namespace {

// The posted notification: what the window's thread is to do with it.
class CUpdateObserverEvent : public QEvent {
public:
    explicit CUpdateObserverEvent(std::function<void()> work)
        : QEvent(UpdateObserverEventType()), m_work(std::move(work)) {}

    void Run() const { m_work(); }

private:
    std::function<void()> m_work;
};

} // namespace

CObserverDialog::CObserverDialog(QWidget* parent) : QDialog(parent) {}

// Notifications still queued for this dialog are dropped by QObject's
// destructor, so none reaches a destroyed window.
CObserverDialog::~CObserverDialog() = default;

void CObserverDialog::Update(CObservable* subject) {
    Post([this, subject] { OnUpdate(subject); });
}

void CObserverDialog::Post(std::function<void()> work) {
    // postEvent is safe from any thread; the event loop takes ownership.
    QCoreApplication::postEvent(this, new CUpdateObserverEvent(std::move(work)));
}

void CObserverDialog::OnUpdate(CObservable*) {}

bool CObserverDialog::event(QEvent* event) {
    if (event->type() == UpdateObserverEventType()) {
        static_cast<CUpdateObserverEvent*>(event)->Run();
        return true;
    }
    return QDialog::event(event);
}
