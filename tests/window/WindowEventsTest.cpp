// The window's own events: opening, painting, and moving and minimising it by real presses on its background.
#include "tests/support/Game.h"

namespace game {
namespace {

using namespace ui;

TEST_F(GameTest, OpenStartsTheGameAndPaintRedrawsTheDiscs) {
  Click(19);
  w->SetBackColor(classlib::RGB(255, 255, 255));
  w->Event_Open();
  EXPECT_TRUE(w->BackColor() == classlib::RGB(0, 0, 0, 255));  // only the board picture shows
  EXPECT_EQ(Board() + State(), kStart + "黒が先手です。 2/2 p2 pass00 [Crick Crick]");  // the click's sounds

  // Each paint gives the squares their pictures (the disc sets are checked with the selectors); setting the pictures
  // they hold does not paint again.
  ProcessEvents();
  w->Refresh(true);
  EXPECT_TRUE(w->Box(27)->Backdrop() == White1() && w->Box(0)->Backdrop().IsNil());
  ProcessEvents();
  const Integer paints = w->PaintCount();
  ProcessEvents();
  EXPECT_EQ(w->PaintCount(), paints);
}

TEST_F(GameTest, BackgroundPressesMoveAndMinimiseTheWindow) {
  const Integer x = 10, y = 660;  // below the selectors, where no control lies
  AdvanceTicks(100);
  const Integer left = w->Left(), top = w->Top();
  PressAt(w, x, y);
  DragTo(w, x + 10, y + 5);
  ReleaseAt(w, x, y);  // the pressed point stayed under the pointer
  // Presses on a square and on a picture button belong to those controls.
  for (auto [px, py] : {std::pair{w->Box(27)->Left() + 32, w->Box(27)->Top() + 32}, {Integer{70}, Integer{25}}}) {
    PressAt(w, px, py);
    DragTo(w, px + 10, py + 5);
    ReleaseAt(w, px + 10, py + 5);
  }
  EXPECT_EQ(w->Left() - left, 10);
  EXPECT_EQ(w->Top() - top, 5);
  EXPECT_FALSE(w->IsMinimized());

  // A second press 30 ticks after the first does not minimise; 29 does. The presses start right after a tick of the
  // clock so that no real tick passes.
  for (const Integer apart : {30, 29}) {
    AdvanceTicks(100);
    for (const Integer now = classlib::Ticks(); classlib::Ticks() == now;) {}
    ClickAt(w, x, y);
    AdvanceTicks(apart);
    ClickAt(w, x, y);
    EXPECT_EQ(w->IsMinimized(), apart == 29);
  }
}

}  // namespace
}  // namespace game
