#pragma once
#include <QEvent>

// The program-wide numbers of the notifications that travel through the Qt
// event loop. Senders and receivers must agree on them, so they are
// registered in this one place, each once per process.
//
//   "xcfg_wm_update_observer"  a subject told a window (an observer on the
//                              window's thread) that it changed.
//   "wm_back_thread_command"   a window hands the monitoring thread its next
//                              command.

// Type of the event that carries an observer notification to a window.
QEvent::Type UpdateObserverEventType();

// Type of the event that carries a command to the monitoring thread.
QEvent::Type BackThreadCommandEventType();

// Registers both types; the programs call it at start-up, before any window
// exists, so that the numbers do not depend on which window asks first.
void RegisterEventTypes();
