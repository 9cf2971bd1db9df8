// The application object, menu command order, start-up and the event loop,
// the display check and the unhandled-error routine.
#include <cstdlib>
#include <map>
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

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    internal::ResetQuitForTesting();
    RuntimeRegisterAppObject(Ref<Application>(app_));
  }
  void TearDown() override {
    RuntimeRegisterAppObject(nullptr);
    SetUnhandledExceptionHookForTesting(nullptr);
    internal::ResetQuitForTesting();
  }
  std::shared_ptr<CountingApp> app_ = std::make_shared<CountingApp>();
  char name_[5] = "test";
  char* argv_[2] = {name_, nullptr};
};

}  // namespace

TEST_F(ApplicationTest, FrontWindowFirstThenApplication) {
  app_->SetVersionData(1, 0, 0, 0, 0, "", "", "");
  EXPECT_EQ(app_->VersionText(), "1.0.0");
  auto window = std::make_shared<Window>();
  window->Constructor();
  std::string order;
  bool windowTakes = true;
  window->AddMenuHandler("FileQuit", [&] { order += "window;"; return windowTakes; });
  app_->AddMenuHandler("FileQuit", [&] { order += "app;"; return true; });

  EXPECT_TRUE(SendMenuCommand("FileQuit"));
  windowTakes = false;  // declined: falls through to the application
  EXPECT_TRUE(SendMenuCommand("FileQuit"));
  EXPECT_FALSE(SendMenuCommand("EditCopy"));
  window->Close();
  EXPECT_TRUE(SendMenuCommand("FileQuit"));  // no window open
  EXPECT_EQ(order, "window;window;app;app;");
}

TEST_F(ApplicationTest, StartUpRunsLateStepThenOpenAndLoopUntilQuit) {
  const int code = RuntimeMain(1, argv_, [&] {
    RunFrameworkInitialization([&] { app_->log += "late;"; });
    QTimer::singleShot(0, [] { Quit(5); });
    EXPECT_EQ(RuntimeRun(), 5);
  });
  EXPECT_EQ(code, 5);
  EXPECT_EQ(app_->log, "late;open;close;");

  internal::ResetQuitForTesting();
  Quit(3);  // asked for before the loop: the loop does not start
  EXPECT_EQ(RuntimeRun(), 3);
}

TEST_F(ApplicationTest, EscapingErrorsAreReportedWithTheirClass) {
  SetUnhandledExceptionHookForTesting([](const std::exception&) {});
  ::testing::internal::CaptureStderr();
  const int code = RuntimeMain(1, argv_, [] { throw NilObjectException("nil square"); });
  UnhandledException(std::runtime_error("plain"));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_NE(err.find("Tovarine: unhandled NilObjectException: nil square\n"), std::string::npos);
  EXPECT_NE(err.find("Tovarine: unhandled std::exception: plain\n"), std::string::npos);
}

TEST(UnhandledExceptionDeathTest, EndsTheProcessWithCodeOne) {
  if (internal::HasRealDisplay()) GTEST_SKIP() << "the message box would wait for a click";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(UnhandledException(IllegalCastException("not a window")),
              ::testing::ExitedWithCode(1), "unhandled IllegalCastException: not a window");
}

TEST(DisplayCheck, NeedsAReachableDisplayUnlessThePlatformNeedsNone) {
  // The X server probe itself is proven by the end-to-end tests under Xvfb.
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  std::map<std::string, std::string> saved;
  for (const char* name : names) {
    if (const char* v = std::getenv(name)) saved[name] = v;
  }
  ::unsetenv("QT_QPA_PLATFORM");
  ::unsetenv("WAYLAND_DISPLAY");
  ::setenv("DISPLAY", ":47113", 1);  // no server answers there
  const std::string none = internal::MissingDisplayMessage();
  EXPECT_NE(none.find("needs a graphical display"), std::string::npos);
  ::setenv("QT_QPA_PLATFORM", "xcb;offscreen", 1);  // a fallback that needs none
  EXPECT_EQ(internal::MissingDisplayMessage(), "");
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_EQ(internal::MissingDisplayMessage(), none);  // X11 was asked for
  for (const char* name : names) {
    saved.count(name) ? ::setenv(name, saved[name].c_str(), 1) : ::unsetenv(name);
  }
}
