// Start-up from the library's entry to the event loop and back, the application's menu handlers, the closing animation.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "classlib/src/Internal.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"
#include "window/MW.h"

using namespace classlib;

static void RestoreMainWindow() {
  MW()->SetWidth(640), MW()->SetHeight(670), MW()->SetLeft(100), MW()->SetTop(100);
  internal::ResetQuitForTesting();
}

TEST(Startup, RunsToTheEventLoopUntilTheRedButtonQuitsWithZero) {
  const int code = RuntimeMain(0, nullptr, [] {
    EarlyStartup();
    RunFrameworkInitialization(LateStartup);
    QTimer::singleShot(0, [] { classlib::testing::ClickAt(MW(), 30, 25); });
    RuntimeRun();
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(App()->MenuBar() == MainMenuBar() && MW()->MenuBar() == MainMenuBar());  // one bar for both
  RestoreMainWindow();
}

TEST(Startup, AboutAndHelpOpenTheSharedApplicationsPanels) {
  EarlyStartup();
  for (const char* command : {"About", "VistrelHelp"}) EXPECT_TRUE(App()->HandleMenuCommand(command)) << command;
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && (w->objectName() == "AboutPanel" || w->objectName() == "HelpViewer")) shown += w->close();
  }
  EXPECT_EQ(shown, 2);  // what they show is checked with the native messages
}

// Quitting first shrinks the window to half its size below the screen's bottom edge, centred where it was: a native
// frame, y upwards from the bottom of the primary screen.
TEST(Startup, QuitFromTheApplicationSendsTheWindowBelowTheScreenFirst) {
  EarlyStartup();
  RestoreMainWindow();
  EXPECT_TRUE(App()->HandleMenuCommand("FileQuit"));
  EXPECT_TRUE(QuitRequested() && internal::QuitExitCode() == 0);
  QWidget* content = internal::ContentWidget(*MW());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect r(content->mapToGlobal(QPoint(0, 0)), content->size());
  EXPECT_EQ(QRect(r.x() - screen.x(), screen.y() + screen.height() - r.y() - r.height(), r.width(), r.height()),
            QRect(260, -335, 320, 335));
  RestoreMainWindow();
}
