// What every runtime test shares: a fixture that starts each test from fresh runtime state,
// and the exit-code predicate that hides how the platforms report a negative code.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/hooks.h"
#include "runtime/core/state.h"

namespace corvala::testing {

// Windows reports the negative exit code itself; POSIX reports its low 8 bits (-5 is 251).
// Death-test patterns use GoogleTest's simple regular expressions on every build (Windows has
// no others): no alternation, groups or brackets; '.' matches anything but a line feed and
// "\\s" matches one, so "Caption\\s+Text" spans the two lines a scripted box writes.
inline ::testing::ExitedWithCode ExitsWith(int code) {
#ifdef _WIN32
  return ::testing::ExitedWithCode(code);
#else
  return ::testing::ExitedWithCode(code & 0xFF);
#endif
}

// A death-test pattern that matches a message box exactly as the box hook writes it to
// standard error ("caption\ntext\n"); regex characters in either are matched literally, in
// the regex syntaxes of both platforms.
std::string ShownBoxPattern(const std::string& caption, const std::string& text);

// The platform's text for a last-error code, as the runtime's boxes show it.
std::string SystemErrorText(unsigned long code);

// True when the Windows build runs under Wine. A few of Wine's checks differ from Windows'
// (SetFileTime succeeds on a read-only handle, SystemTimeToFileTime takes 29 February 2001);
// a test that pins such a Windows detail skips there:
//   if (RunningUnderWine()) GTEST_SKIP() << "Wine does not check the handle's access";
bool RunningUnderWine();

// True unless the system is known not to catch an access violation for the program
// (IsBadStringPtrA on an unmapped address answering instead of ending it). Windows catches
// them; 32-bit Wine under qemu-i386 cannot. cmake/wine-run32 asks the probe program beside the
// test programs once and sets CORVALA_UNCAUGHT_ACCESS_VIOLATIONS where it failed. A test
// that needs a caught access violation:
//   if (!AccessViolationsAreCaught()) GTEST_SKIP() << kNoCaughtAccessViolations;
bool AccessViolationsAreCaught();
inline constexpr const char* kNoCaughtAccessViolations =
    "this system cannot catch an access violation (32-bit Wine under qemu-i386)";

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    internal::ResetRuntimeState();
    platform::hooks::ResetAll();
    platform::hooks::ScriptMessageBoxes(true);
  }
  void TearDown() override {
    platform::hooks::ResetAll();
    platform::hooks::ScriptMessageBoxes(true);
  }
};

}  // namespace corvala::testing
