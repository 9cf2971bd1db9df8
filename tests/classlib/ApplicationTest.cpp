// Start-up and the event loop, and the unhandled-error routine. Start-up
// without a display is proven by the end-to-end tests.
#include <memory>
#include <stdexcept>
#include <string>

#include <QTimer>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;

namespace {

struct CountingApp : Application {
  std::string log;
  void Event_Open() override { log += "open;"; }
  void Event_Close() override { log += "close;"; }
};

char name[5] = "test";
char* argv[2] = {name, nullptr};

}  // namespace

TEST(Application, StartUpRunsLateStepThenOpenAndLoopsUntilQuit) {
  auto app = std::make_shared<CountingApp>();
  RuntimeRegisterAppObject(Ref<Application>(app));
  const int code = RuntimeMain(1, argv, [&] {
    RunFrameworkInitialization([&] { app->log += "late;"; });
    QTimer::singleShot(0, [] { Quit(5); });
    EXPECT_EQ(RuntimeRun(), 5);
  });
  EXPECT_EQ(code, 5);
  EXPECT_EQ(app->log, "late;open;close;");
  internal::ResetQuitForTesting();
  Quit(3);  // asked for before the loop: the loop does not start
  EXPECT_EQ(RuntimeRun(), 3);
  internal::ResetQuitForTesting();
  RuntimeRegisterAppObject(nullptr);
}

TEST(Application, EscapingErrorsAreReportedWithTheirClass) {
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
