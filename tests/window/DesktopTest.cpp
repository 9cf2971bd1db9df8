// The main window as a desktop shows it: it redraws its discs only when it is itself drawn, and takes the second press
// of a double click like the first.
#include <QCoreApplication>
#include <QExposeEvent>
#include <QWindow>

#include "tests/support/Game.h"

using namespace game;

// A new disc set shows at the window's own next redraw (exposed; restored after a double click on the background
// minimised it), not when a control repaints.
TEST(Desktop, DiscSetWaitsForTheWindowsRedrawAndDoubleClicksAreTwoPresses) {
  Ref<class MW> w = MW();
  NewGame();
  Mouse(ui::ClickAt, w->Box(19));  // a game under way, in disc set 1
  ui::ProcessEvents();
  const Integer paints = w->PaintCount();
  Mouse(ui::ClickAt, w->RB(4));   // 石2
  Mouse(ui::MoveTo, w->BCV(0));   // the red button's hover face
  w->St(0)->Refresh(true);
  ui::ProcessEvents();
  EXPECT_EQ(Name(w->Box(19)->Backdrop()) + " " + Str(w->PaintCount() - paints), "Black1 0");

  Sound::ClearPlayLog();
  Mouse(ui::QuickClickAt, w->Box(0));  // no legal move there: each press sounds Boo
  Mouse(ui::ClickAt, w->Box(0));
  EXPECT_EQ(Sound::PlayLog(), (std::vector<std::string>{"Boo.aiff", "Boo.aiff"}));

  QExposeEvent uncovered(QRegion(0, 0, 640, 700));  // as when a window above it goes away
  QCoreApplication::sendEvent(internal::TopLevelWidget(*w)->windowHandle(), &uncovered);
  ui::ProcessEvents();
  EXPECT_EQ(Name(w->Box(19)->Backdrop()), "Black2");

  w->RB(3)->SetValue(true);      // 石1 again, shown when the window is restored
  ui::AdvanceTicks(100);
  ui::QuickClickAt(w, 10, 660);  // the background, where no control lies
  EXPECT_FALSE(w->IsMinimized());
  ui::ClickAt(w, 10, 660);
  EXPECT_TRUE(w->IsMinimized());
  EXPECT_EQ(Name(w->Box(19)->Backdrop()), "Black2");
  internal::TopLevelWidget(*w)->showNormal();
  ui::ProcessEvents();
  EXPECT_EQ(Name(w->Box(19)->Backdrop()), "Black1");
}
