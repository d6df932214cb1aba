// SIGINT, SIGTERM and SIGHUP while a message loop runs: the window system turns them into
// WM_CLOSE for the main windows, so a program run from a terminal still ends through its
// own WM_DESTROY.
#pragma once

namespace platform::windowing {

// Catches the three signals until UnwatchTerminationSignals; calls nest in neither direction.
void WatchTerminationSignals();
void UnwatchTerminationSignals();
// True (and the signal in *signal) once per caught signal.
bool TakeTerminationSignal(int* signal);
// Sleeps until one of the three signals has been caught.
void WaitForTerminationSignal();
// Ends the process the way the signal would have without our handler.
[[noreturn]] void DieOfSignal(int signal);

}  // namespace platform::windowing
