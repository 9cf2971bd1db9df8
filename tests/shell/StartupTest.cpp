// Start-up from the library's entry to the event loop and back, the
// application object's handlers, and the native-window calls.
#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "classlib/src/Internal.h"
#include "shell/App.h"
#include "shell/GrovalModule.h"
#include "shell/MainMenuBar.h"
#include "window/MW.h"

using namespace classlib;
namespace ui = classlib::testing;

namespace {

// The main window's content as a native frame: origin at the bottom left of
// the primary screen, y upwards.
native::NSRect NativeFrame() {
  QWidget* content = internal::ContentWidget(*MW());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect r(content->mapToGlobal(QPoint(0, 0)), content->size());
  return {double(r.x() - screen.x()), double(screen.y() + screen.height() - r.y() - r.height()),
          double(r.width()), double(r.height())};
}

void RestoreMainWindow() {
  MW()->SetWidth(640);
  MW()->SetHeight(670);
  MW()->SetLeft(100);
  MW()->SetTop(100);
  internal::ResetQuitForTesting();
}

bool PanelShown(const char* objectName) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == objectName && w->isVisible()) return true;
  }
  return false;
}

}  // namespace

TEST(Startup, RunsToTheEventLoopUntilTheRedButtonQuitsWithZero) {
  int code = RuntimeMain(0, nullptr, [] {
    EarlyStartup();
    RunFrameworkInitialization(LateStartup);
    QTimer::singleShot(0, [] { ui::ClickAt(MW(), 30, 25); });
    RuntimeRun();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(App()->VersionText(), "1.0.0");
  EXPECT_TRUE(App()->MenuBar() == MainMenuBar() && MW()->MenuBar() == App()->MenuBar());
  EXPECT_FALSE(GrovalModule::Randomizer.IsNil());  // the application's Open ran
  RestoreMainWindow();
}

TEST(Startup, AboutAndHelpOpenTheSharedApplicationsPanels) {
  EarlyStartup();
  EXPECT_TRUE(App()->HandleMenuCommand("About"));
  EXPECT_TRUE(PanelShown("AboutPanel"));
  EXPECT_TRUE(App()->HandleMenuCommand("VistrelHelp"));
  EXPECT_TRUE(PanelShown("HelpViewer"));
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "AboutPanel" || w->objectName() == "HelpViewer") w->close();
  }
}

TEST(Startup, QuitFromTheApplicationSendsTheWindowBelowTheScreenFirst) {
  EarlyStartup();
  RestoreMainWindow();
  ASSERT_EQ(MW()->Left(), 100);  // a frameless window is where it was put
  EXPECT_TRUE(App()->HandleMenuCommand("FileQuit"));
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(internal::QuitExitCode(), 0);
  native::NSRect frame = NativeFrame();
  EXPECT_EQ(frame.x, 260);
  EXPECT_EQ(frame.y, -335);
  EXPECT_EQ(frame.width, 320);
  EXPECT_EQ(frame.height, 335);
  RestoreMainWindow();
}
