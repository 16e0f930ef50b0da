#pragma once
// The console's request to stop: Ctrl+C, Ctrl+Break, the console window closed, and on
// POSIX systems SIGINT, SIGTERM and SIGHUP (the terminal gone). The program keeps running
// after a request, so it can stop its work cleanly and report it.
//
// Threadsafety: Install and Finished on the main thread; Requested from any thread.

namespace platform {

// Installs the handlers, once per process.
void InstallConsoleStopHandler();

// True once a stop has been requested.
bool ConsoleStopRequested();

// The program has stopped cleanly and is about to end. Windows ends a process when the
// handler of a console close returns, so that handler waits for this before it returns.
void ConsoleStopFinished();

}  // namespace platform
