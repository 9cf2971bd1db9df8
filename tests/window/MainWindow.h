// The one main window seen as a player sees it: mouse input at the middle of
// its controls, the pictures it shows by name, and the game as one line.
#pragma once

#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "classlib/src/Internal.h"
#include "shell/Resources.h"
#include "window/MW.h"

namespace windowtest {

using namespace classlib;
namespace ui = classlib::testing;

inline void Mouse(void (*action)(Ref<Window>, Integer, Integer), const Ref<RectControl>& c) {
  action(MW(), c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
}

inline std::string Name(const Ref<Picture>& picture) {
  const std::pair<const char*, Ref<Picture> (*)()> pictures[] = {
      {"rButton", rButton}, {"rButtonX", rButtonX}, {"yButton", yButton}, {"yButtonD", yButtonD},
      {"gButton", gButton}, {"Button", Button},     {"ButtonB", ButtonB}, {"White", White},
      {"Black", Black},     {"White1", White1},     {"Black1", Black1},   {"White2", White2},
      {"Black2", Black2}};
  for (const auto& [name, accessor] : pictures) {
    if (!picture.IsNil() && picture == accessor()) return name;
  }
  return picture.IsNil() ? "none" : "?";
}

// Which selectors are on, RB(0) to RB(5).
inline std::string Choices() {
  std::string on;
  for (Integer i = 0; i < 6; ++i) on += MW()->RB(i)->Value() ? "1" : "0";
  return on;
}

// Board rows: '.' empty, 'W' Mac's disc, 'B' the player's; blanks ignored.
inline std::string Rows(std::string rows) {
  std::erase(rows, ' ');
  rows.resize(64, '.');
  return rows;
}

// The board, the status line, the counts, the side to move and whether a
// game is under way.
inline std::string Game() {
  Ref<class MW> w = MW();
  std::string board;
  for (Integer i = 0; i < 64; ++i) board += ".WB?"[w->Box(i)->value & 3];
  return board + " " + w->St(0)->Text() + " " + w->St(2)->Text() + "/" + w->St(4)->Text() + " p" +
         Str(w->player) + (w->playing ? " playing" : "");
}

inline const std::string kStart = Rows("........ ........ ........ ...WB... ...BW...") + " 黒が先手です。 2/2 p2";

// "再ゲーム", then the pointer off every control.
inline void NewGame() {
  Mouse(ui::ClickAt, MW()->BCV(4));
  ui::MoveTo(MW(), 320, 5);
}

// A game under way in a hand-made position, the player to move.
inline void SetBoard(const std::string& rows) {
  const std::string board = Rows(rows);
  for (Integer i = 0; i < 64; ++i) MW()->Box(i)->value = board[i] == 'W' ? 1 : board[i] == 'B' ? 2 : 0;
  MW()->player = 2;
  MW()->playing = true;
}

// Runs `seen` whenever the widget receives an event of the given type.
struct EventProbe : QObject {
  EventProbe(QWidget* widget, QEvent::Type t, std::function<void()> f) : type(t), seen(std::move(f)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type) seen();
    return false;
  }
  QEvent::Type type;
  std::function<void()> seen;
};

}  // namespace windowtest
