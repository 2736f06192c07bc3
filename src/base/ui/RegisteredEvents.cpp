#include "base/ui/RegisteredEvents.h"

QEvent::Type UpdateObserverEventType() {
    // A function-local static is initialised exactly once, even when the
    // first callers race from different threads.
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void RegisterEventTypes() {
    UpdateObserverEventType();
}
