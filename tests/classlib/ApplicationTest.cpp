// The application object, menu command order, start-up and the event loop,
// the display check and the unhandled-error routine.
#include <cstddef>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTimer>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;

namespace {

class CountingApp : public Application {
 public:
  std::string log;
  void Event_Open() override { log += "open;"; }
  void Event_Close() override { log += "close;"; }
};

// Sets environment variables for one test and puts them back afterwards.
class ScopedEnv {
 public:
  void Set(const char* name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    internal::ResetQuitForTesting();
    app_ = std::make_shared<CountingApp>();
    RuntimeRegisterAppObject(Ref<Application>(app_));
  }
  void TearDown() override {
    RuntimeRegisterAppObject(nullptr);
    SetUnhandledExceptionHookForTesting(nullptr);
    internal::ResetQuitForTesting();
  }
  std::shared_ptr<CountingApp> app_;
};

}  // namespace

TEST_F(ApplicationTest, VersionMenuBarAndHandlers) {
  app_->SetVersionData(1, 0, 0, 0, 0, "", "", "");
  EXPECT_EQ(app_->VersionText(), "1.0.0");
  auto bar = Ref<MenuBar>(std::make_shared<MenuBar>());
  app_->SetMenuBar(bar);
  EXPECT_TRUE(app_->MenuBar() == bar);
  EXPECT_TRUE(GetAppObject() == Ref<Application>(app_));

  EXPECT_FALSE(app_->HandleMenuCommand("About"));
  app_->AddMenuHandler("About", [] { return true; });
  EXPECT_TRUE(app_->HandleMenuCommand("About"));
  app_->AddMenuHandler("About", [] { return false; });  // bound again: replaced
  EXPECT_FALSE(app_->HandleMenuCommand("About"));
}

TEST_F(ApplicationTest, FrontWindowFirstThenApplication) {
  auto window = std::make_shared<Window>();
  window->Constructor();
  std::string order;
  bool windowTakes = true;
  window->AddMenuHandler("FileQuit", [&] { order += "window;"; return windowTakes; });
  app_->AddMenuHandler("FileQuit", [&] { order += "app;"; return true; });
  app_->AddMenuHandler("About", [&] { order += "about;"; return true; });

  EXPECT_TRUE(SendMenuCommand("FileQuit"));
  EXPECT_EQ(order, "window;");
  windowTakes = false;  // declined: falls through to the application
  order.clear();
  EXPECT_TRUE(SendMenuCommand("FileQuit"));
  EXPECT_EQ(order, "window;app;");
  order.clear();
  EXPECT_TRUE(SendMenuCommand("About"));
  EXPECT_FALSE(SendMenuCommand("EditCopy"));
  EXPECT_EQ(order, "about;");
  window->Close();

  order.clear();
  EXPECT_TRUE(SendMenuCommand("FileQuit"));  // no window open
  EXPECT_EQ(order, "app;");
}

TEST_F(ApplicationTest, StartUpRunsLateStepThenOpenAndLoopUntilQuit) {
  char name[] = "test";
  char* argv[] = {name, nullptr};
  const int code = RuntimeMain(1, argv, [&] {
    RunFrameworkInitialization([&] { app_->log += "late;"; });
    QTimer::singleShot(0, [] { Quit(5); });
    EXPECT_EQ(RuntimeRun(), 5);
  });
  EXPECT_EQ(code, 5);
  EXPECT_EQ(app_->log, "late;open;close;");

  // Quit asked for before the loop: the loop does not start.
  internal::ResetQuitForTesting();
  app_->log.clear();
  Quit(3);
  EXPECT_EQ(RuntimeRun(), 3);
  EXPECT_EQ(app_->log, "close;");
}

TEST_F(ApplicationTest, ErrorEscapingStartUpIsReportedWithItsClass) {
  std::string hooked;
  SetUnhandledExceptionHookForTesting([&](const std::exception& e) { hooked = e.what(); });
  char name[] = "test";
  char* argv[] = {name, nullptr};
  ::testing::internal::CaptureStderr();
  const int code = RuntimeMain(1, argv, [] { throw NilObjectException("nil square"); });
  UnhandledException(std::runtime_error("plain"));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_EQ(hooked, "plain");
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
  ScopedEnv env;
  env.Set("WAYLAND_DISPLAY", nullptr);
  env.Set("DISPLAY", nullptr);
  env.Set("QT_QPA_PLATFORM", nullptr);
  const std::string none = internal::MissingDisplayMessage();
  EXPECT_NE(none.find("needs a graphical display"), std::string::npos);
  EXPECT_NE(none.find("xvfb-run"), std::string::npos);

  env.Set("QT_QPA_PLATFORM", "offscreen");
  EXPECT_EQ(internal::MissingDisplayMessage(), "");
  env.Set("QT_QPA_PLATFORM", "xcb;offscreen");  // a fallback that needs none
  EXPECT_EQ(internal::MissingDisplayMessage(), "");
  env.Set("QT_QPA_PLATFORM", "xcb");
  env.Set("DISPLAY", ":47113");  // no server answers there
  EXPECT_EQ(internal::MissingDisplayMessage(), none);
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_EQ(internal::MissingDisplayMessage(), none);  // xcb was asked for
  env.Set("QT_QPA_PLATFORM", "wayland:option");
  EXPECT_EQ(internal::MissingDisplayMessage(), "");

  // A local X server listening at :47113.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = "/tmp/.X11-unix/X47113";
  path.copy(address.sun_path + 1, path.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size())),
            0);
  ASSERT_EQ(::listen(fd, 1), 0);
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("WAYLAND_DISPLAY", nullptr);
  EXPECT_EQ(internal::MissingDisplayMessage(), "");
  ::close(fd);
}
