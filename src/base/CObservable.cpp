#include "base/CObservable.h"

#include "base/CObserver.h"

CObservable::CObservable() = default;

CObservable::~CObservable() = default;

void CObservable::Attach(CObserver* observer) {
    if (observer != nullptr) {
        m_observers.push_back(observer);
    }
}

void CObservable::NotifyObservers() {
    // By index: an observer may attach another one while it is being told,
    // which would invalidate an iterator.
    for (std::size_t i = 0; i < m_observers.size(); ++i) { // NOLINT(modernize-loop-convert)
        m_observers[i]->Update(this);
    }
}
