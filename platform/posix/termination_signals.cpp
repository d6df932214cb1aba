#include "platform/posix/termination_signals.h"

#include <csignal>
#include <cstdlib>

namespace platform::windowing {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t g_caught = 0;
bool g_watching = false;
struct sigaction g_previous[3];

// A second signal before the first was taken means the program is not listening: the
// signal takes its usual course then (it is blocked in here, so it lands on return).
void OnSignal(int signal) {
  if (g_caught != 0) {
    (void)std::signal(signal, SIG_DFL);
    (void)std::raise(signal);
    return;
  }
  g_caught = signal;
}

sigset_t WatchedSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : kSignals) sigaddset(&set, s);
  return set;
}

}  // namespace

void WatchTerminationSignals() {
  if (g_watching) return;
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &g_previous[i]);
  g_watching = true;
}

void UnwatchTerminationSignals() {
  if (!g_watching) return;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
  g_watching = false;
  int pending = g_caught;
  g_caught = 0;
  if (pending != 0) DieOfSignal(pending);
}

bool TakeTerminationSignal(int* signal) {
  if (g_caught == 0) return false;
  *signal = g_caught;
  g_caught = 0;
  return true;
}

void WaitForTerminationSignal() {
  // Blocked while we look at the flag, so a signal cannot slip in between look and sleep.
  sigset_t watched = WatchedSet();
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &watched, &previous);
  sigset_t waiting = previous;
  for (int s : kSignals) sigdelset(&waiting, s);
  while (g_caught == 0) sigsuspend(&waiting);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void DieOfSignal(int signal) {
  g_caught = 0;
  UnwatchTerminationSignals();
  (void)std::signal(signal, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  (void)std::raise(signal);
  std::_Exit(128 + signal);
}

}  // namespace platform::windowing
