// The unhandled-error routine. Start-up and its event loop are proven with the game's own start-up (shell suite) and,
// without a display, end to end.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;

TEST(Application, EscapingErrorsAreReportedWithTheirClass) {
  char name[5] = "test";
  char* argv[2] = {name, nullptr};
  SetUnhandledExceptionHookForTesting([](const std::exception&) {});
  ::testing::internal::CaptureStderr();
  const int code = RuntimeMain(1, argv, [] { throw NilObjectException("nil square"); });
  UnhandledException(std::runtime_error("plain"));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_NE(err.find("Tovarine: unhandled NilObjectException: nil square\n"), std::string::npos);
  EXPECT_NE(err.find("Tovarine: unhandled std::exception: plain\n"), std::string::npos);
  SetUnhandledExceptionHookForTesting(nullptr);
}

TEST(UnhandledExceptionDeathTest, EndsTheProcessWithCodeOne) {
  if (internal::HasRealDisplay()) GTEST_SKIP() << "the message box would wait for a click";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(UnhandledException(IllegalCastException("not a window")),
              ::testing::ExitedWithCode(1), "unhandled IllegalCastException: not a window");
}
