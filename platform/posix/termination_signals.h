// SIGINT, SIGTERM and SIGHUP while there are top-level windows: the window system turns
// them into WM_CLOSE for the main windows, so a program run from a terminal still ends
// through its own WM_DESTROY. Without windows the signals do what they always do.
#pragma once

namespace platform::windowing {

// Catches the three signals from now on (again calls are harmless).
void WatchTerminationSignals();
// Gives the signals back their previous handling. A signal caught and not yet taken ends
// the process now: there is no window left to close for it.
void UnwatchTerminationSignals();
// True (and the signal in *signal) once per caught signal.
bool TakeTerminationSignal(int* signal);
// Sleeps until one of the three signals has been caught.
void WaitForTerminationSignal();
// Ends the process the way the signal would have without our handler.
[[noreturn]] void DieOfSignal(int signal);

}  // namespace platform::windowing
