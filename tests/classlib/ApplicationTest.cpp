// Start-up and the event loop, the display check and the unhandled-error
// routine.
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>

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

// The case of no display at all is proven by the end-to-end tests.
TEST(DisplayCheck, NeedsAReachableDisplayUnlessThePlatformNeedsNone) {
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  std::map<std::string, std::string> saved;
  for (const char* n : names) {
    if (const char* v = std::getenv(n)) saved[n] = v;
  }
  // Platform, X display (no server answers at :47113), Wayland display, needs one.
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      {nullptr, ":47113", nullptr, true},
      {"xcb;offscreen", ":47113", nullptr, false},  // a fallback that needs none
      {"xcb", ":47113", "wayland-0", true},         // X11 was asked for
  };
  for (const auto& [platform, display, wayland, needed] : cases) {
    for (auto [n, v] : {std::pair{names[0], platform}, {names[1], display}, {names[2], wayland}}) {
      v ? ::setenv(n, v, 1) : ::unsetenv(n);
    }
    const std::string message = internal::MissingDisplayMessage();
    EXPECT_EQ(message.find("needs a graphical display") != std::string::npos, needed) << message;
  }
  for (const char* n : names) saved.count(n) ? ::setenv(n, saved[n].c_str(), 1) : ::unsetenv(n);
}
