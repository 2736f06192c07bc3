#pragma once
#include <QEvent>

// The program-wide number of the notification that travels through the Qt
// event loop ("xcfg_wm_update_observer": a subject told a window, an observer
// on the window's thread, that it changed). Senders and receivers must agree
// on it, so it is registered in this one place, once per process. (Commands
// reach the monitoring thread through its own queue, not as events.)

// Type of the event that carries an observer notification to a window.
QEvent::Type UpdateObserverEventType();

// Registers the type; the programs call it at start-up, before any window
// exists, so that the number does not depend on which window asks first.
void RegisterEventTypes();
