// The moves: the player's click on a square, the computer's turn that answers
// it inside the same click, the pass check for the player, and the wait
// before the computer opens a game.
#include <string>

#include "engine/SquareList.h"
#include "shell/Resources.h"
#include "window/ControlSets.h"
#include "window/MW.h"

using classlib::Integer;
using classlib::Ref;
using classlib::RuntimeBackgroundTask;

namespace {

// The legal moves of the side to move, in ascending square order. Counts the
// empty squares into *emptySquares when asked to.
std::string LegalMoves(class MW& window, Integer* emptySquares = nullptr) {
  std::string list;
  for (Integer i = 0; i <= 63; ++i) {
    if (window.Box(i)->value == 0) {
      if (emptySquares) ++*emptySquares;
      if (!window.ReturnableBox(i % 8, i / 8).empty()) engine::AppendSquare(list, i);
    }
    RuntimeBackgroundTask();
  }
  return list;
}

// Calls Score when the walk over the squares finds all 64 occupied.
void ScoreIfFull(class MW& window) {
  Integer occupied = 0;
  for (Integer i = 0; i <= 63; ++i) {
    if (window.Box(i)->value != 0) {
      ++occupied;
      if (occupied == 64) window.Score();
    }
    RuntimeBackgroundTask();
  }
}

// Puts the mover's disc on `square` and turns the discs listed in `flips`.
void PlaceDisc(class MW& window, Integer square, const std::string& flips) {
  window.Box(square)->value = window.player;
  const Integer entries = engine::EntryCount(flips);
  for (Integer k = 1; k <= entries; ++k) {
    window.Box(engine::EntrySquare(flips, k))->value = window.player;
    RuntimeBackgroundTask();
  }
}

}  // namespace

bool MW::Box_MouseDown(Ref<TessarBox> box, Integer /*x*/, Integer /*y*/) {
  Ref<BoxSet> square = classlib::Cast<BoxSet>(box);
  if (square->value != 0) return true;

  const std::string flips = ReturnableBox(square->m, square->n);
  if (flips.empty()) {
    Boo()->Play();
    return true;
  }

  PlaceDisc(*this, square->Index(), flips);
  Crick()->Play();
  RefreshBox();
  ScoreIfFull(*this);
  playing = true;
  Change();
  ThinkMac();
  return true;
}

void MW::ThinkMac() {
  Integer emptySquares = 0;
  const std::string moves = LegalMoves(*this, &emptySquares);

  if (emptySquares == 0) {
    Score();
  } else if (moves.empty()) {
    pass[1] = true;
    Change();
    // The game is over when the player cannot answer either: after a pass of
    // the player's just before, or when the player has no move now.
    if (pass[0] || LegalMoves(*this).empty()) Score();
  } else {
    // The strength is read anew at every turn.
    std::string choice;
    if (RB(0)->Value()) {
      choice = Mac0(moves);
    } else if (RB(1)->Value()) {
      choice = Mac1(moves);
    } else {
      choice = Mac2(moves);
    }

    const Integer c = static_cast<Integer>(classlib::Val(choice));
    PlaceDisc(*this, c, ReturnableBox(c % 8, c / 8));
    Crick()->Play();
    pass[1] = false;
    RefreshBox();
    Change();
    ZeroCheck();
    ScoreIfFull(*this);
  }
  Count();
}

void MW::ZeroCheck() {
  if (LegalMoves(*this).empty()) {
    // The player must pass: the computer moves again at once.
    pass[0] = true;
    Change();
    ThinkMac();
  } else {
    pass[0] = false;
  }
}

void MW::Stop(Integer ticks) {
  const Integer start = classlib::Ticks();
  for (;;) {
    const Integer now = classlib::Ticks();
    if (now - start >= ticks) return;
    RuntimeBackgroundTask();
    // Nothing to do until the clock moves on: sleep rather than spin.
    classlib::RuntimeSleepUntilNextTick();
  }
}
