// The tests' own model of the game's rules, sharing no code with the game: the board is two 64-bit masks, bit i being
// square i (row * 8 + column, row 0 at the top); flips are found by walking the eight rays by coordinates.
#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rules {

using Bits = std::uint64_t;
constexpr Bits Bit(int square) { return Bits{1} << square; }

struct Position {
  Bits black = 0;  // the player's discs (square value 2)
  Bits white = 0;  // the computer's discs (square value 1)

  static Position Start() { return {Bit(28) | Bit(35), Bit(27) | Bit(36)}; }
  // From 64 characters row by row: 'B' a black disc, 'W' a white one.
  static Position FromText(std::string_view board) {
    Position p;
    for (int s = 0; s < 64 && s < static_cast<int>(board.size()); ++s) {
      if (board[s] == 'B') p.black |= Bit(s);
      if (board[s] == 'W') p.white |= Bit(s);
    }
    return p;
  }
  int Blacks() const { return std::popcount(black); }
  int Whites() const { return std::popcount(white); }
  bool Full() const { return (black | white) == ~Bits{0}; }
  friend bool operator==(const Position&, const Position&) = default;
};

// The discs of `opp` that a disc of `own` on the square would turn.
inline Bits Flips(Bits own, Bits opp, int square) {
  if ((own | opp) & Bit(square)) return 0;
  auto at = [](int x, int y, Bits discs) { return x >= 0 && x < 8 && y >= 0 && y < 8 && (discs & Bit(x + 8 * y)); };
  Bits flips = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      Bits run = 0;
      int x = square % 8 + dx, y = square / 8 + dy;
      for (; at(x, y, opp); x += dx, y += dy) run |= Bit(x + 8 * y);
      if (at(x, y, own)) flips |= run;
    }
  }
  return flips;
}

inline Bits LegalMoves(Bits own, Bits opp) {
  Bits moves = 0;
  for (int s = 0; s < 64; ++s) moves |= Flips(own, opp, s) ? Bit(s) : 0;
  return moves;
}

inline Position Play(Position p, int square, bool black) {
  Bits& own = black ? p.black : p.white;
  Bits& opp = black ? p.white : p.black;
  const Bits flips = Flips(own, opp, square);
  own |= flips | Bit(square);
  opp &= ~flips;
  return p;
}

inline std::vector<int> Squares(Bits b) {
  std::vector<int> squares;
  for (; b; b &= b - 1) squares.push_back(std::countr_zero(b));
  return squares;
}

// Narrows the computer's legal moves in a position to those it may choose.
using Choice = std::function<Bits(const Position&, Bits legal)>;

// Every position the computer's (White's) turn can end in: it moves when it can, and moves again for as long as the
// player then has no move; without a move it passes. Any legal move may be chosen unless `choose` narrows them.
inline void ComputerTurns(const Position& p, std::vector<Position>& out, const Choice& choose = nullptr) {
  const Bits legal = LegalMoves(p.white, p.black);
  if (!legal) return out.push_back(p);
  for (int s : Squares(choose ? choose(p, legal) : legal)) {
    const Position next = Play(p, s, false);
    LegalMoves(next.black, next.white) ? out.push_back(next) : ComputerTurns(next, out, choose);
  }
}

inline bool GameOver(const Position& p) { return !LegalMoves(p.black, p.white) && !LegalMoves(p.white, p.black); }

// The verdict shown at the end of a game.
inline std::string Verdict(const Position& p) {
  return p.Blacks() == p.Whites() ? "引き分け" : p.Blacks() < p.Whites() ? "Macの勝ちです！" : "貴方の勝ちです！";
}

// The computer's strengths: "弱" may play any legal move; "中" plays the move that turns the most discs; "強" does the
// same within the best tier of squares that holds a move. The lowest square wins a tie.
enum class Strength { Weak, Medium, Strong };

// The strong strategy's tiers, best first: the corners, the edge squares two from a corner, the diagonal squares two
// from a corner, the middle of the edges with the squares next to them one row in, the inner squares, the edge squares
// next to a corner, and last the squares diagonally next to one.
inline const std::vector<std::vector<int>> kStrongTiers = {
    {0, 7, 56, 63}, {2, 5, 16, 23, 40, 47, 58, 61}, {18, 21, 42, 45},
    {3, 4, 24, 31, 32, 39, 59, 60, 10, 13, 17, 22, 41, 46, 50, 53},
    {11, 12, 19, 20, 25, 26, 29, 30, 33, 34, 37, 38, 43, 44, 51, 52},
    {1, 6, 8, 15, 48, 55, 57, 62}, {9, 14, 49, 54}};

inline int ComputerChoice(const Position& p, Strength strength) {
  Bits moves = LegalMoves(p.white, p.black);
  for (const auto& tier : kStrongTiers) {
    Bits inTier = 0;
    for (int s : tier) inTier |= moves & Bit(s);
    if (strength == Strength::Strong && inTier) {
      moves = inTier;
      break;
    }
  }
  int best = -1, most = 0;
  for (int s : Squares(moves)) {
    if (const int n = std::popcount(Flips(p.white, p.black, s)); n > most) best = s, most = n;
  }
  return best;
}

// The moves the computer may choose at a strength, for ComputerTurns.
inline Choice ChoiceAt(Strength strength) {
  if (strength == Strength::Weak) return nullptr;
  return [strength](const Position& p, Bits) { return Bit(ComputerChoice(p, strength)); };
}

}  // namespace rules
