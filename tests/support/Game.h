// What the suites share: small windows of a test's own, and the one main window played as a person plays it, with real
// mouse input, boards as text (row by row: '.' empty, 'W' the computer's disc, 'B' the player's; blanks ignored,
// missing squares empty) and a driver that checks every click against the rules model.
#pragma once

#include <algorithm>
#include <memory>
#include <random>
#include <utility>

#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "classlib/src/Internal.h"
#include "shell/Resources.h"
#include "tests/support/RulesModel.h"
#include "window/MW.h"

namespace game {

using namespace classlib;
namespace ui = classlib::testing;

inline std::string At(Integer x, Integer y) { return " " + Str(x) + "," + Str(y) + "; "; }

// A window of a test's own: builds what the test asks for while it is created, and logs its own events.
class TestWindow : public Window {
 public:
  std::function<void(TestWindow&)> build, onPaint;
  bool takePress = true;
  std::string log;

  void CreateControls() override { build ? build(*this) : void(); }
  void Event_Open() override { log += "open; "; }
  void Event_Close() override { log += "close; "; }
  void Event_Paint(Ref<Graphics>) override { onPaint ? onPaint(*this) : void(); }
  bool Event_MouseDown(Integer x, Integer y) override { return log += "down" + At(x, y), takePress; }
  std::string ClassName() const override { return "Test.Window"; }
};

// A 200 x 150 window, open, exposed and ready for input.
inline Ref<TestWindow> OpenWindow(std::function<void(TestWindow&)> build = nullptr) {
  auto window = std::make_shared<TestWindow>();
  window->build = std::move(build);
  window->SetWidth(200), window->SetHeight(150);
  window->Constructor();
  ui::ProcessEvents();
  return Ref<TestWindow>(window);
}

// A control made the way a window's layout makes one: constructed, registered, then placed (window coordinates) and put
// into its parent.
template <class T>
Ref<T> Place(ControlHost& host, const std::string& name, Integer index, Integer left, Integer top, Integer width,
             Integer height, const std::string& parent = "") {
  Ref<T> control = host.New<T>();
  control->SetIndex(index);
  control->Constructor();
  host.AddControl(name, control);
  control->SetLeft(left), control->SetTop(top), control->SetWidth(width), control->SetHeight(height);
  control->SetInitialParent(parent);
  return control;
}

// Closes every window a test left open.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const Ref<Window>& window : OpenWindows()) window->Close();
    ui::ProcessEvents();
    SetUnhandledExceptionHookForTesting(nullptr);
  }
};

// Mouse input at a control's middle, or on a radio button's mark at its left end, where a person aims.
inline void Mouse(void (*action)(Ref<Window>, Integer, Integer), const Ref<RectControl>& c, bool onMark = false) {
  action(MW(), c->Left() + (onMark ? 7 : c->Width() / 2), c->Top() + c->Height() / 2);
}
inline void Click(const Ref<RectControl>& c, bool onMark = false) { Mouse(ui::ClickAt, c, onMark); }

inline std::string Rows(std::string rows) {
  std::erase(rows, ' ');
  rows.resize(64, '.');
  return rows;
}

inline std::string Board() {
  std::string board;
  for (Integer i = 0; i < 64; ++i) board += ".WB?"[MW()->Box(i)->value & 3];
  return board;
}

// A game under way in a hand-made position, the player to move, neither side having passed.
inline void SetBoard(const std::string& rows) {
  const std::string board = Rows(rows);
  for (Integer i = 0; i < 64; ++i) MW()->Box(i)->value = board[i] == 'W' ? 1 : board[i] == 'B' ? 2 : 0;
  MW()->player = 2, MW()->playing = true, MW()->pass = {false, false};
}

// The name of a picture the window shows.
inline std::string Name(const Ref<Picture>& picture) {
  const std::pair<const char*, Ref<Picture> (*)()> pictures[] = {
      {"rButton", rButton}, {"rButtonX", rButtonX}, {"yButton", yButton}, {"yButtonD", yButtonD}, {"gButton", gButton},
      {"Button", Button}, {"ButtonB", ButtonB}, {"White", White}, {"Black", Black}, {"White1", White1},
      {"Black1", Black1}, {"White2", White2}, {"Black2", Black2}};
  for (const auto& [name, accessor] : pictures) {
    if (picture && picture == accessor()) return name;
  }
  return picture ? "?" : "none";
}

// Which selectors are on, RB(0) to RB(5).
inline std::string Choices() {
  std::string on;
  for (Integer i = 0; i < 6; ++i) on += "01"[MW()->RB(i)->Value()];
  return on;
}

// The board, the status line, the counts, the side to move and whether a game is under way.
inline std::string Game() {
  Ref<class MW> w = MW();
  return Board() + " " + w->St(0)->Text() + " " + w->St(2)->Text() + "/" + w->St(4)->Text() + " p" +
         Str(w->player) + (w->playing ? " playing" : "");
}

inline const std::string kStart = Rows("........ ........ ........ ...WB... ...BW...");

// "再ゲーム", then the pointer off every control.
inline void NewGame() {
  Click(MW()->BCV(4));
  ui::MoveTo(MW(), 320, 5);
}

// Runs `seen` whenever the widget receives an event of the given type.
struct EventProbe : QObject {
  EventProbe(QWidget* widget, QEvent::Type t, std::function<void()> f) : type(t), seen(std::move(f)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == type ? seen() : void(), false; }
  QEvent::Type type;
  std::function<void()> seen;
};

// The main window reset for every test: a new game, strong, the first disc set, no pass, no sound played yet.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w->RB(2)->SetValue(true), w->RB(3)->SetValue(true);
    w->Initialize();
    w->pass = {false, false};
    Sound::ClearPlayLog();
  }
  void Click(Integer square) { game::Click(w->Box(square)); }
  // The status, counts, side to move, the two pass flags, whether a game is under way, and the sounds played since the
  // last look, by file name without extension.
  std::string State() {
    std::string sounds;
    for (const std::string& name : Sound::PlayLog()) sounds += (sounds.empty() ? "" : " ") + name.substr(0, name.find('.'));
    Sound::ClearPlayLog();
    return w->St(0)->Text() + " " + w->St(2)->Text() + "/" + w->St(4)->Text() + " p" + Str(w->player) + " pass" +
           "01"[w->pass[0]] + "01"[w->pass[1]] + (w->playing ? " playing" : "") + " [" + sounds + "]";
  }
  Ref<class MW> w = MW();
};

using rules::Position;
using rules::Strength;

// A position as Board() shows one, and row by row for messages.
inline std::string Text(const Position& p) {
  std::string board;
  for (int i = 0; i < 64; ++i) board += (p.black & rules::Bit(i)) ? 'B' : (p.white & rules::Bit(i)) ? 'W' : '.';
  return board;
}
inline std::string Describe(const Position& p) {
  std::string rows;
  for (int r = 0; r < 8; ++r) rows += "\n  " + Text(p).substr(8 * r, 8);
  return rows;
}

// Plays the main window through real clicks and checks what every click did against the rules model. Checks report
// through GoogleTest; callers stop at the first failure.
class GameDriver {
 public:
  static Position Now() { return Position::FromText(Board()); }
  static void ClickSquare(int square) { Click(MW()->Box(square)); }

  // A click that must change nothing.
  static void ExpectUnchanged(const auto& click) {
    const std::string before = Game();
    click();
    EXPECT_EQ(Game(), before);
  }

  // "再ゲーム": the start position, its status line and counts, no game under way.
  void NewGame() {
    Click(MW()->BCV(4));
    EXPECT_EQ(Game(), kStart + " 黒が先手です。 2/2 p2");
    ExpectPictures();
  }

  // "弱" "中" "強" are buttons 0 to 2, "石1" "石2" "石3" 3 to 5: a click turns its button on, the others of its group off,
  // and changes nothing else.
  void Choose(int button) {
    const std::string before = Game();
    Click(MW()->RB(button), true);
    button < 3 ? void(strength_ = Strength(button)) : void(discSet_ = button - 3);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(MW()->RB(i)->Value(), i == int(strength_) || i == 3 + discSet_) << "button " << i << " after " << button;
    }
    EXPECT_EQ(Game(), before);
  }

  // The player's legal move on the board `before`: the disc, the turned discs and the computer's whole answer at the
  // chosen strength.
  void PlayLegal(const Position& before, int square) {
    ClickSquare(square);
    ExpectAnswer(rules::Play(before, square, true), "the move on " + std::to_string(square), before);
  }

  // "後手" on a fresh game: after its wait, one opening move of the computer.
  void ComputerOpens() {
    Click(MW()->BCV(3));  // "後手"
    ExpectAnswer(Position::Start(), "後手", Position::Start());
  }

  // One game to its end, the player's moves drawn from `random`, with an illegal click about once in `illegalEvery`
  // moves.
  void PlayWholeGame(std::mt19937& random, int illegalEvery) {
    for (int moves = 0; moves < 70; ++moves) {
      const Position p = Now();
      const rules::Bits legal = rules::LegalMoves(p.black, p.white);
      if (rules::GameOver(p) || ::testing::Test::HasFailure()) return;
      ASSERT_NE(legal, 0u) << "the player cannot move in a game that is not over:" << Describe(p);
      if (random() % illegalEvery == 0) ExpectUnchanged([&] { ClickSquare(Any(random, ~legal)); });
      PlayLegal(p, Any(random, legal));
    }
    ADD_FAILURE() << "the game did not end within 70 moves";
  }

  static int Any(std::mt19937& random, rules::Bits squares) {
    const std::vector<int> s = rules::Squares(squares);
    return s[random() % s.size()];
  }

  // Every square shows the picture of its value in the chosen disc set.
  void ExpectPictures() const {
    const Ref<Picture> black[] = {Black1(), Black2(), Black()}, white[] = {White1(), White2(), White()};
    for (int i = 0; i < 64; ++i) {
      const auto box = MW()->Box(i);
      const auto expected = box->value == 2 ? black[discSet_] : box->value == 1 ? white[discSet_] : nullptr;
      ASSERT_TRUE(box->Backdrop() == expected) << "square " << i << " (value " << box->value
                                               << ") does not show disc set " << discSet_ + 1;
    }
  }

 private:
  // The board is one that the computer's turn from `turn` may leave at the chosen strength, and the window shows it
  // settled: the counts, the verdict once nobody can move or else the player's turn.
  void ExpectAnswer(const Position& turn, const std::string& what, const Position& from) {
    std::vector<Position> possible;
    rules::ComputerTurns(turn, possible, rules::ChoiceAt(strength_));
    const Position b = Now();
    if (std::ranges::find(possible, b) == possible.end()) {
      std::string options;
      for (const Position& p : possible) options += Describe(p) + "\n";
      FAIL() << "after " << what << " at strength " << int(strength_) << " from" << Describe(from)
             << "\nthe board is" << Describe(b) << "\nexpected one of:" << options;
    }
    EXPECT_EQ(Game(), Text(b) + " " + (rules::GameOver(b) ? rules::Verdict(b) : "貴方の番です。") + " " +
                          std::to_string(b.Blacks()) + "/" + std::to_string(b.Whites()) + (b.Full() ? " p1" : " p2") +
                          " playing");
    ExpectPictures();
  }

  // The main window's choices, read once when the driver is made (which builds the window if it is not open yet).
  Strength strength_ = Strength(MW()->RB(0)->Value() ? 0 : MW()->RB(1)->Value() ? 1 : 2);
  int discSet_ = MW()->RB(3)->Value() ? 0 : MW()->RB(4)->Value() ? 1 : 2;
};

}  // namespace game
