// Whole games at every strength, played by clicks on the real squares. After
// every click the window is checked against a rules model of the test's own:
// two 64-bit boards and walks by coordinates.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>

#include "tests/engine/GameFixture.h"

namespace enginetest {
namespace {

using Bits = std::uint64_t;
constexpr Bits Bit(int square) { return Bits{1} << square; }

struct Position {
  Bits black = 0;
  Bits white = 0;
  bool operator==(const Position&) const = default;
};

// The discs of `opp` that a disc of `own` on the square would turn.
Bits Turned(Bits own, Bits opp, int square) {
  if ((own | opp) & Bit(square)) return 0;
  Bits turned = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      int x = square % 8 + dx;
      int y = square / 8 + dy;
      auto inside = [&] { return x >= 0 && x < 8 && y >= 0 && y < 8; };
      Bits run = 0;
      for (; inside() && (opp & Bit(x + 8 * y)); x += dx, y += dy) run |= Bit(x + 8 * y);
      if (inside() && (own & Bit(x + 8 * y))) turned |= run;
    }
  }
  return turned;
}

Bits Moves(Bits own, Bits opp) {
  Bits moves = 0;
  for (int s = 0; s < 64; ++s)
    if (Turned(own, opp, s)) moves |= Bit(s);
  return moves;
}

Position Play(Position p, int square, bool black) {
  Bits& own = black ? p.black : p.white;
  Bits& opp = black ? p.white : p.black;
  const Bits turned = Turned(own, opp, square);
  own |= turned | Bit(square);
  opp &= ~turned;
  return p;
}

// Whether the computer, to move in p, can reach `seen` by legal moves: it
// must move while it can, and moves again while the player has no move.
bool ComputerReaches(const Position& p, const Position& seen) {
  const Bits moves = Moves(p.white, p.black);
  if (!moves) return p == seen;
  for (int s = 0; s < 64; ++s) {
    if (!(moves & seen.white & Bit(s))) continue;
    const Position next = Play(p, s, false);
    if (Moves(next.black, next.white) ? next == seen : ComputerReaches(next, seen)) return true;
  }
  return false;
}

class WholeGames : public GameTest {
 protected:
  Position Seen() {
    Position p;
    for (int s = 0; s < 64; ++s) {
      const Integer value = w->Box(s)->value;
      if (value == 2) p.black |= Bit(s);
      if (value == 1) p.white |= Bit(s);
    }
    return p;
  }

  void PlayOut(std::mt19937& rng) {
    Position model{Bit(28) | Bit(35), Bit(27) | Bit(36)};
    while (Bits mine = Moves(model.black, model.white)) {
      for (auto skip = rng() % std::popcount(mine); skip > 0; --skip) mine &= mine - 1;
      const int square = std::countr_zero(mine);
      classlib::Sound::ClearPlayLog();
      Click(square);
      const Position seen = Seen();
      ASSERT_TRUE(ComputerReaches(Play(model, square, true), seen)) << "after a click on " << square;
      const int placed = std::popcount(seen.black | seen.white) - std::popcount(model.black | model.white);
      model = seen;

      const int black = std::popcount(model.black);
      const int white = std::popcount(model.white);
      const bool over = !Moves(model.black, model.white) && !Moves(model.white, model.black);
      ASSERT_EQ(Counts(), classlib::Str(black) + "/" + classlib::Str(white));
      ASSERT_EQ(w->player, black + white == 64 ? 1 : 2);
      const char* verdict = black == white ? "引き分け" : black < white ? "Macの勝ちです！" : "貴方の勝ちです！";
      ASSERT_EQ(Status(), over ? verdict : "貴方の番です。");
      const auto& log = Played();
      ASSERT_EQ(std::count(log.begin(), log.end(), SoundName(Crick())), placed);
      if (over) {
        ASSERT_EQ(log.back(), SoundName(black < white ? Bad() : Finish()));
      }
    }
  }
};

TEST_F(WholeGames, AtEveryStrengthAgreeWithTheRules) {
  std::mt19937 rng(20240611);
  classlib::SeedRnd(11);
  for (int strength : {0, 1, 2}) {
    w->RB(strength)->SetValue(true);
    for (int game = 0; game < 100; ++game) {
      w->Initialize();
      PlayOut(rng);
      ASSERT_FALSE(HasFatalFailure()) << "strength " << strength << ", game " << game;
    }
  }
}

}  // namespace
}  // namespace enginetest
