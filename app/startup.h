// The process's way in and out.
#pragma once

namespace ambrelux {

// The whole run: framework start-up, Main, release of the globals,
// framework shut-down. Returns the exit status. SIGTERM, SIGINT and SIGHUP
// end it as File > Quit does.
int runAmbrelux();

// Start-up and the event loop in one protected block: an error escaping
// any step is reported once and Main returns normally, so shut-down runs.
void Main();

// Creates the App with the shared menu bar and registers it.
void NewAppInstance();

// The application installs no menu handlers of its own.
void ApplicationAddMenuHandlers();

// Opens the status window.
void MakeDefaultView();

// Releases the globals after the event loop: the bar pictures, the
// framework's lists (every window), the document type, the menu bar.
void releaseGlobals();

}  // namespace ambrelux
