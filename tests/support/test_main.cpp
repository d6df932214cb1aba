// Test entry: message boxes are scripted for every test (they write caption and text to
// standard error instead of waiting on a screen), so death tests can match them.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/hooks.h"
#include "tests/support/runtime_test.h"

namespace {

// On Windows GoogleTest also hands each failure and skip message to OutputDebugStringA, which
// raises an exception for a debugger to see. Where the system cannot deliver an exception to
// the program (32-bit Wine under qemu-i386) that ends the program at its first failure or skip,
// so there this printer takes the place of GoogleTest's own and prints them to standard output
// only; everything else it leaves to GoogleTest's printer.
class PrinterWithoutDebugOutput : public testing::TestEventListener {
 public:
  explicit PrinterWithoutDebugOutput(testing::TestEventListener* printer) : printer_(printer) {}

  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (result.type() == testing::TestPartResult::kSuccess) return;
    std::printf(
        "%s %s%s\n",
        testing::internal::FormatFileLocation(result.file_name(), result.line_number()).c_str(),
        result.type() == testing::TestPartResult::kSkip ? "Skipped\n" : "Failure\n",
        result.message());
    std::fflush(stdout);
  }

  void OnTestProgramStart(const testing::UnitTest& test) override {
    printer_->OnTestProgramStart(test);
  }
  void OnTestIterationStart(const testing::UnitTest& test, int iteration) override {
    printer_->OnTestIterationStart(test, iteration);
  }
  void OnEnvironmentsSetUpStart(const testing::UnitTest& test) override {
    printer_->OnEnvironmentsSetUpStart(test);
  }
  void OnEnvironmentsSetUpEnd(const testing::UnitTest& test) override {
    printer_->OnEnvironmentsSetUpEnd(test);
  }
  void OnTestSuiteStart(const testing::TestSuite& suite) override {
    printer_->OnTestSuiteStart(suite);
  }
  void OnTestCaseStart(const testing::TestCase& suite) override {
    printer_->OnTestCaseStart(suite);
  }
  void OnTestStart(const testing::TestInfo& info) override { printer_->OnTestStart(info); }
  void OnTestDisabled(const testing::TestInfo& info) override { printer_->OnTestDisabled(info); }
  void OnTestEnd(const testing::TestInfo& info) override { printer_->OnTestEnd(info); }
  void OnTestSuiteEnd(const testing::TestSuite& suite) override { printer_->OnTestSuiteEnd(suite); }
  void OnTestCaseEnd(const testing::TestCase& suite) override { printer_->OnTestCaseEnd(suite); }
  void OnEnvironmentsTearDownStart(const testing::UnitTest& test) override {
    printer_->OnEnvironmentsTearDownStart(test);
  }
  void OnEnvironmentsTearDownEnd(const testing::UnitTest& test) override {
    printer_->OnEnvironmentsTearDownEnd(test);
  }
  void OnTestIterationEnd(const testing::UnitTest& test, int iteration) override {
    printer_->OnTestIterationEnd(test, iteration);
  }
  void OnTestProgramEnd(const testing::UnitTest& test) override {
    printer_->OnTestProgramEnd(test);
  }

 private:
  std::unique_ptr<testing::TestEventListener> printer_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platform::hooks::ScriptMessageBoxes(true);
#ifdef _WIN32
  if (!corvala::testing::AccessViolationsAreCaught()) {
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    testing::TestEventListener* printer = listeners.default_result_printer();
    if (printer != nullptr) {
      listeners.Release(printer);
      listeners.Append(new PrinterWithoutDebugOutput(printer));
    }
  }
#endif
  return RUN_ALL_TESTS();
}
