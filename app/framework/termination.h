// SIGTERM, SIGINT and SIGHUP as requests to end Ambrelux the way File > Quit
// does. The handler only records the request and wakes whoever waits: the
// event loop watches `terminationNotifier()`, and the command runner polls it
// beside a running tool, so a hung tool can't hold the request back.
#pragma once

namespace ambrelux {

// Installs the handlers once. SIGHUP stays ignored when the process was
// started so, as `nohup` does.
void catchTerminationSignals();

// True once one of the signals arrived.
bool terminationRequested();

// The signal that arrived, 0 before one did.
int terminationSignal();

// A descriptor that turns readable when a signal arrives; -1 before
// catchTerminationSignals. Whoever reacts may drain it.
int terminationNotifier();

}  // namespace ambrelux
