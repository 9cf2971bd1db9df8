// The picture buttons, the window's menu handlers and the opacity slider, by real mouse input on the main window.
#include <map>
#include <vector>

#include <QTimer>

#include "tests/support/Game.h"

using namespace game;

TEST(PictureButtons, HoverAndPressFaces) {
  Ref<class MW> w = MW();
  NewGame();
  Click(w->Box(19));  // a game under way
  const std::string game = Game();
  // What the pointer does on which button (-1: on none), and the faces then.
  const std::tuple<void (*)(Ref<Window>, Integer, Integer), Integer, const char*> steps[] = {
      {ui::MoveTo, -1, "rButton yButton gButton Button Button"},
      {ui::MoveTo, 0, "rButtonX yButton gButton Button Button"},
      {ui::MoveTo, 2, "rButton yButton gButton Button Button"},  // green: nothing on hover,
      {ui::ClickAt, 2, "rButton yButton gButton Button Button"},  // nor on a press
      {ui::MoveTo, 3, "rButton yButton gButton Button Button"},
      {ui::MoveTo, 1, "rButton yButtonD gButton Button Button"},
      {ui::ClickAt, 1, "rButton yButtonD gButton Button Button minimised"},  // the hovered face stays
      {ui::MoveTo, -1, "rButton yButton gButton Button Button minimised"},   // until the pointer leaves
  };
  for (const auto& [action, button, faces] : steps) {
    button < 0 ? action(w, 320, 5) : Mouse(action, w->BCV(button));
    std::string shown = Name(w->BCV(0)->Backdrop());
    for (Integer i = 1; i < 5; ++i) shown += " " + Name(w->BCV(i)->Backdrop());
    EXPECT_EQ(shown + (w->IsMinimized() ? " minimised" : "") + (QuitRequested() ? " quit" : ""), faces) << button;
  }
  EXPECT_EQ(Game(), game);
  internal::TopLevelWidget(*w)->showNormal();
}

// Red: the closing animation, then Quit(0); the window's own Quit menu handler: Quit(0) at once, without the animation.
TEST(PictureButtons, RedQuitsAfterTheClosingAnimationTheMenuAtOnce) {
  Ref<class MW> w = MW();
  std::vector<bool> quitWhileAnimating;
  {
    EventProbe probe(internal::TopLevelWidget(*w), QEvent::Resize,
                     [&] { quitWhileAnimating.push_back(QuitRequested()); });
    Click(w->BCV(0));
  }
  EXPECT_TRUE(QuitRequested() && internal::QuitExitCode() == 0);
  EXPECT_TRUE(!quitWhileAnimating.empty() && !quitWhileAnimating.front());
  EXPECT_EQ(internal::ContentWidget(*w)->size(), QSize(320, 335));  // half size
  w->SetWidth(640), w->SetHeight(670);
  internal::ResetQuitForTesting();
  EXPECT_TRUE(w->HandleMenuCommand("FileQuit"));
  EXPECT_TRUE(QuitRequested() && internal::QuitExitCode() == 0);
  EXPECT_EQ(internal::ContentWidget(*w)->width(), 640);
  internal::ResetQuitForTesting();
}

TEST(PictureButtons, GoteRightAfterTheStartLetsMacOpenASecondLater) {
  Ref<class MW> w = MW();
  NewGame();
  // The status line at each of its repaints with the time, and whether the button showed its pressed face by then.
  std::vector<std::tuple<std::string, Integer, bool>> shown;
  const Integer buttonPaints = w->BCV(3)->PaintCount();
  EventProbe status(internal::WidgetOf(*w->St(0)), QEvent::Paint, [&] {
    shown.emplace_back(MW()->St(0)->Text(), Ticks(),
                       MW()->BCV(3)->PaintCount() > buttonPaints && MW()->BCV(3)->Backdrop() == ButtonB());
  });
  // On a stopped clock only the wait's sleeps move time on, a tick each; a wait that spins instead of sleeping ends
  // only by the rescue's jump.
  ui::FreezeTicks(true);
  QTimer rescue;
  QObject::connect(&rescue, &QTimer::timeout, [] { ui::AdvanceTicks(1000); });
  rescue.start(2000);
  Mouse(ui::PressAt, w->BCV(3));
  ui::FreezeTicks(false);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(std::get<0>(shown[0]) + (std::get<2>(shown[0]) ? " pressed" : ""), "マックが先手です pressed");
  auto thinking = std::ranges::find(shown, "マックが考えています...", [](auto& s) { return std::get<0>(s); });
  ASSERT_NE(thinking, shown.end());
  EXPECT_EQ(std::get<1>(*thinking) - std::get<1>(shown[0]), 60);  // the one-second wait, ended at its last tick
  EXPECT_EQ(Game().substr(64) + " " + Name(w->BCV(3)->Backdrop()), " 貴方の番です。 1/4 p2 playing ButtonB");
  Mouse(ui::ReleaseAt, w->BCV(3));
  EXPECT_EQ(Name(w->BCV(3)->Backdrop()), "Button");
}

// With a game under way, or over, "後手" only shows its pressed face. A new game mid-game, by "再ゲーム" or by the menu
// command's name, keeps the choices; "後手" then lets Mac open again, at random when weak.
TEST(PictureButtons, GoteAndNewGameDuringAndAfterAGame) {
  Ref<class MW> w = MW();
  auto gote = [&w](const std::string& game) {
    Mouse(ui::PressAt, w->BCV(3));
    EXPECT_EQ(Name(w->BCV(3)->Backdrop()) + " " + Game(), "ButtonB " + game);
    Mouse(ui::ReleaseAt, w->BCV(3));
    EXPECT_EQ(Name(w->BCV(3)->Backdrop()), "Button");
  };
  Click(w->RB(0));  // 弱
  Click(w->RB(4));  // 石2
  std::map<int, Integer> openings;
  for (int seed : {1, 2, 1}) {
    Click(w->Box(19));  // Black opens, Mac answers
    gote(Game());
    Mouse(ui::PressAt, w->BCV(4));
    EXPECT_EQ(Name(w->BCV(4)->Backdrop()) + " " + Game() + " " + Choices(),
              "ButtonB " + kStart + " 黒が先手です。 2/2 p2 100010");
    Mouse(ui::ReleaseAt, w->BCV(4));
    SeedRnd(seed);
    QTimer::singleShot(0, [] { ui::AdvanceTicks(60); });  // the second's wait passes at once
    Click(w->BCV(3));
    EXPECT_EQ(Game().substr(64), " 貴方の番です。 1/4 p2 playing");
    Integer square = -1;  // Mac's opening: one of the four legal squares
    for (Integer legal : {20, 29, 34, 43}) square = w->Box(legal)->value == 1 ? legal : square;
    EXPECT_EQ(openings.emplace(seed, square).first->second, square) << "seed " << seed;
  }
  EXPECT_TRUE(openings[1] != openings[2] && openings[1] != -1 && openings[2] != -1);
  EXPECT_TRUE(w->HandleMenuCommand("FileNew"));
  EXPECT_EQ(Game() + " " + Choices(), kStart + " 黒が先手です。 2/2 p2 100010");

  SetBoard(std::string(62, 'B') + "W.");
  Click(w->Box(63));  // the player fills the board
  gote(Rows(std::string(64, 'B')) + " 貴方の勝ちです！ 64/0 p1 playing");
  Click(w->RB(2)), Click(w->RB(3));  // back to "強" and "石1"
}

// Drags of the knob, grabbed 10 points in at the right end, that end before the left end, inside, exactly at and past
// the right end: the knob's left edge stays on the track (0 to 80 of its 100 points, the knob being 20 wide), Value
// from 0 to 80, the window's opacity from 0.20 to 1.00.
TEST(OpacitySlider, KnobStaysOnTheTrackAndSetsOpacityFrom20To100Percent) {
  MW()->Close();  // a fresh window, as start-up makes it
  internal::ResetQuitForTesting();
  Ref<class MW> w = MW();
  Ref<CustomSulider> slider = w->CustomSulider1();
  QWidget* native = internal::TopLevelWidget(*w);
  QWidget* knob = internal::WidgetOf(*slider->SliderHeadCV());
  auto state = [&] {
    return Str(knob->mapTo(internal::WidgetOf(*slider->SliderLineCV()), QPoint()).x()) + " " + Str(slider->Value) +
           " " + QString::number(native->windowOpacity(), 'f', 2).toStdString();
  };
  EXPECT_EQ(state(), "80 100 1.00");
  const Integer x = slider->Left() + 90, y = slider->Top() + 10;
  ui::PressAt(w, x, y);
  for (auto [dx, expected] : {std::pair{-81, "0 0 0.20"}, {-80, "0 0 0.20"}, {-400, "0 0 0.20"}, {-50, "30 30 0.50"},
                              {-1, "79 79 0.99"}, {0, "80 80 1.00"}, {1, "80 80 1.00"}, {19, "80 80 1.00"},
                              {21, "80 80 1.00"}, {400, "80 80 1.00"}, {-80, "0 0 0.20"}}) {
    native->setWindowOpacity(0.5);  // every drag event sets it again, past the ends too
    ui::DragTo(w, x + dx, y);
    EXPECT_EQ(state(), expected) << dx;
  }
  ui::ReleaseAt(w, x - 80, y);
  NewGame();
  EXPECT_EQ(state(), "0 0 0.20");  // a new game keeps them
}
