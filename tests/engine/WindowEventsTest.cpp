// The window's own events: opening, painting, and moving and minimising the
// window by presses on its background, through real mouse events.
#include "tests/engine/GameFixture.h"

namespace enginetest {
namespace {

using namespace classlib::testing;

// A spot of the background below the selectors, where no control lies.
constexpr Integer kX = 10;
constexpr Integer kY = 660;

TEST_F(GameTest, OpenStartsTheGameAndPaintRedrawsTheDiscs) {
  Click(19);
  w->SetBackColor(classlib::RGB(255, 255, 255));
  w->Event_Open();
  EXPECT_TRUE(w->BackColor() == classlib::RGB(0, 0, 0, 255));
  EXPECT_EQ(Board() + Status() + Counts(), kStart + "黒が先手です。2/2");
  EXPECT_FALSE(w->playing);
  EXPECT_TRUE(w->Box(27)->Backdrop() == White1());

  ProcessEvents();  // the window is on the screen
  w->Box(27)->SetBackdrop(nullptr);
  w->RB(5)->SetValue(true);
  w->Refresh(true);
  EXPECT_TRUE(w->Box(27)->Backdrop() == White() && w->Box(28)->Backdrop() == Black());
  ProcessEvents();
  const Integer paints = w->PaintCount();
  ProcessEvents();
  EXPECT_EQ(w->PaintCount(), paints);  // setting the pictures does not paint again
}

TEST_F(GameTest, BackgroundPressesMoveAndMinimiseTheWindow) {
  AdvanceTicks(100);
  const Integer left = w->Left();
  const Integer top = w->Top();
  PressAt(w, kX, kY);
  DragTo(w, kX + 10, kY + 5);
  ReleaseAt(w, kX, kY);  // the pressed point stayed under the pointer
  EXPECT_EQ(w->Left() - left, 10);
  EXPECT_EQ(w->Top() - top, 5);

  // Presses on a square and on a picture button belong to those controls.
  const double lastPress = w->doubleClick;
  const Integer squareX = w->Box(27)->Left() + 32;
  const Integer squareY = w->Box(27)->Top() + 32;
  for (auto [x, y] : {std::pair{squareX, squareY}, std::pair{Integer{70}, Integer{25}}}) {
    PressAt(w, x, y);
    DragTo(w, x + 10, y + 5);
    ReleaseAt(w, x + 10, y + 5);
  }
  EXPECT_EQ(w->Left() - left, 10);
  EXPECT_EQ(w->Top() - top, 5);
  EXPECT_EQ(w->doubleClick, lastPress);
  EXPECT_FALSE(w->IsMinimized());

  // A second press 30 ticks after the first does not minimise; 29 does. The
  // presses start right after a tick of the clock so that no real tick passes.
  for (const Integer apart : {30, 29}) {
    AdvanceTicks(100);
    for (const Integer now = classlib::Ticks(); classlib::Ticks() == now;) {
    }
    ClickAt(w, kX, kY);
    AdvanceTicks(apart);
    ClickAt(w, kX, kY);
    EXPECT_EQ(w->IsMinimized(), apart == 29);
  }
}

}  // namespace
}  // namespace enginetest
