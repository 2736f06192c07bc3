#pragma once
#include "base/CObserver.h"

#include <QDialog>

#include <functional>

// A dialog that observes subjects living on other threads. Update may be
// called on any thread and only posts the notification to the dialog; the
// dialog's own thread then calls OnUpdate, in the order of posting. Post
// hands any work over the same way, with what it is about.
class CObserverDialog : public QDialog, public CObserver {
    Q_OBJECT

public:
    explicit CObserverDialog(QWidget* parent = nullptr);
    ~CObserverDialog() override;

    void Update(CObservable* subject) override;

protected:
    // Runs on the dialog's thread for every notification. The subject must
    // outlive the notifications it posted.
    virtual void OnUpdate(CObservable* subject);
    // May be called on any thread; the work runs on the dialog's, in order.
    void Post(std::function<void()> work);

    bool event(QEvent* event) override;
};
