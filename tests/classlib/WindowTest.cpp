// Windows: the registry of open windows and each window's control registry, painting, and a see-through background.
#include <chrono>
#include <thread>

#include <QImage>
#include <QWindow>

#include "tests/support/Game.h"

using namespace game;

static Ref<Picture> Filled(Integer width, Integer height, Color color) {
  auto picture = std::make_shared<Picture>(width, height);
  picture->Graph()->SetForeColor(color);
  picture->Graph()->FillRect(0, 0, width, height);
  return picture;
}

// A control of another class is refused, a missing one is nothing; closed by the user, then by the program: one Close,
// and the window is no longer found. (The game's squares find their window while it opens, and its sets are looked up
// by index though not made in that order: the game's suites prove it.)
TEST_F(WindowTest, LookupsAndOneClose) {
  auto w = OpenWindow([](TestWindow& win) { Place<Canvas>(win, "Probe", kNoIndex, 0, 20, 10, 10); });
  EXPECT_THROW(Cast<Label>(w->ControlByName("Probe")), IllegalCastException);
  EXPECT_TRUE(Cast<Label>(w->ControlByName("Nothing")).IsNil());
  internal::TopLevelWidget(*w)->close();
  w->Close();
  EXPECT_TRUE(GetImplicitWindow("Test.Window").IsNil());
  EXPECT_EQ(w->log, "open; close; ");
}

// That painting settles (a Paint handler giving the squares the pictures they hold paints no more): the game's window.
TEST_F(WindowTest, PaintingIsImmediateOnRequest) {
  const Ref<Picture> black = Filled(20, 20, RGB(0, 0, 0)), white = Filled(20, 20, RGB(255, 255, 255));
  auto w = OpenWindow([](TestWindow& win) {
    for (Integer i = 0; i < 4; ++i) Place<Canvas>(win, "Box", i, 10 + 25 * i, 100, 20, 20);
  });
  // Like the board drawing: every paint gives every square its picture and yields; none may paint again meanwhile.
  w->onPaint = [black, white](TestWindow& win) {
    for (Integer i = 0; i < 4; ++i) Cast<Canvas>(win.ControlByNameIndex("Box", i))->SetBackdrop(i % 2 ? black : white);
    Cast<Canvas>(win.ControlByNameIndex("Box", 0))->Refresh(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the yield point's frame has passed
    RuntimeBackgroundTask();
  };
  static std::string warnings;
  const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& m) { warnings += m.toStdString(); });
  w->SetHasBackColor(true);
  w->SetBackColor(RGB(0, 0, 255));
  w->SetBackdrop(Filled(10, 10, RGB(255, 0, 0)));
  const Integer before = w->PaintCount();
  w->Refresh(true);
  EXPECT_GT(w->PaintCount(), before);  // painted before Refresh returned
  const QImage shot = internal::ContentWidget(*w)->grab().toImage();
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(255, 0, 0));      // the backdrop
  EXPECT_EQ(shot.pixelColor(50, 50), QColor(0, 0, 255));    // the background colour
  EXPECT_EQ(shot.pixelColor(40, 110), QColor(0, 0, 0));     // a square's backdrop
  EXPECT_EQ(shot.pixelColor(70, 110), QColor(255, 255, 255));
  qInstallMessageHandler(previous);
  EXPECT_EQ(warnings, "");
}

TEST_F(WindowTest, TransparentBackgroundMakesATranslucentNativeWindow) {
  class Clear : public TestWindow {
   public:
    void Event_Open() override { SetBackColor(RGB(0, 0, 0, 255)); }  // as the game's window does
  };
  auto w = std::make_shared<Clear>();
  w->SetBackdrop(Ref<Picture>(std::make_shared<Picture>(10, 10)));  // clear: only a backdrop's pixels show
  w->SetHasBackColor(true);
  w->Constructor();
  ui::ProcessEvents();
  ASSERT_TRUE(internal::TopLevelWidget(*w)->windowHandle());
  EXPECT_TRUE(internal::TopLevelWidget(*w)->windowHandle()->requestedFormat().hasAlpha());
  EXPECT_EQ(internal::ContentWidget(*w)->grab().toImage().pixelColor(5, 5).alpha(), 0);
}

// A press whose release the window never sees, because the window was minimised under the held button or another
// program took the pointer, ends: hovering reaches the controls again and the next press is a fresh one.
TEST_F(WindowTest, APressWhoseReleaseNeverComesEnds) {
  class Minimising : public TestWindow {  // as the game's window: a press on the background may minimise it
   public:
    bool Event_MouseDown(Integer x, Integer y) override { return Minimize(), TestWindow::Event_MouseDown(x, y); }
  };
  auto w = std::make_shared<Minimising>();
  bool minimiseOnC = true;  // as the game's yellow button
  w->build = [&minimiseOnC](TestWindow& win) {
    Ref<Canvas> c = Place<Canvas>(win, "C", kNoIndex, 100, 50, 40, 40);
    c->MouseEnter.AddHandler([&win](Ref<Canvas>) { win.log += "enter; "; });
    c->MouseExit.AddHandler([&win](Ref<Canvas>) { win.log += "exit; "; });
    c->MouseDown.AddHandler([&](Ref<Canvas>, Integer, Integer) {
      if (minimiseOnC) win.Minimize();
      return win.log += "press C; ", true;
    });
    c->MouseUp.AddHandler([&win](Ref<Canvas>, Integer, Integer) { win.log += "up C; "; });
  };
  w->SetWidth(200), w->SetHeight(150);
  w->Constructor();
  ui::ProcessEvents();
  auto comeBack = [&w] {
    ui::ReleaseElsewhere();
    internal::TopLevelWidget(*w)->showNormal();
    ui::ProcessEvents();
  };

  ui::MoveTo(w, 120, 70);
  ui::PressAt(w, 120, 70);
  ui::ProcessEvents();
  EXPECT_TRUE(w->IsMinimized());
  EXPECT_EQ(w->log, "open; enter; press C; exit; ");  // the hover ends with the press
  comeBack();
  minimiseOnC = false;

  w->log = "";
  ui::PressAt(w, 20, 20);  // the background
  ui::ProcessEvents();
  EXPECT_TRUE(w->IsMinimized());
  comeBack();
  ui::MoveTo(w, 120, 70);
  ui::ClickAt(w, 120, 70);
  EXPECT_EQ(w->log, "down 20,20; enter; press C; up C; ");

  w->log = "";
  ui::PressAt(w, 120, 70);
  ui::ReleaseElsewhere();  // the pointer taken while the canvas holds the press
  ui::MoveTo(w, 20, 20);
  ui::MoveTo(w, 120, 70);
  EXPECT_EQ(w->log, "press C; exit; enter; ");
}
