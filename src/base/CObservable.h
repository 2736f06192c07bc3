#pragma once
#include <vector>

class CObserver;

// A subject that tells its observers that it changed, without knowing who
// they are. The list is not locked: observers are attached before the subject
// starts notifying, and they are never detached one by one.
class CObservable {
public:
    CObservable();
    CObservable(const CObservable&) = delete;
    CObservable& operator=(const CObservable&) = delete;
    virtual ~CObservable();

    // Appends the observer; attaching the same observer twice makes it hear
    // every notification twice.
    void Attach(CObserver* observer);

    // Calls Update(this) on every observer in the order of attachment, on the
    // calling thread.
    void NotifyObservers();

private:
    std::vector<CObserver*> m_observers;
};
