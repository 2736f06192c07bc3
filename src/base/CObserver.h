#pragma once

class CObservable;

// Something that wants to hear when a subject changes. Update runs on the
// subject's thread; an observer that lives on another thread must hand the
// work over to its own thread itself.
class CObserver {
public:
    virtual ~CObserver();

    virtual void Update(CObservable* subject) = 0;
};
