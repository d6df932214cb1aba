// POSIX: runs a body with standard input coming from a pseudo-terminal, into which keys are
// typed shortly after it starts (after WaitKey has discarded pending input).
#pragma once

#ifndef _WIN32
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace corvala::testing {

template <typename Body>
void WithTypedKeys(const std::string& keys, Body body) {
  int master, slave;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  int saved = dup(0);
  dup2(slave, 0);
  std::thread typist([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  });
  body();
  typist.join();
  dup2(saved, 0);
  close(saved);
  close(slave);
  close(master);
}

}  // namespace corvala::testing
#endif
