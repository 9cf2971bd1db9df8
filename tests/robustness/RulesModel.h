// An independent model of the game's rules on bitboards, for checking the
// real window's board after every click: bit i is square i (row * 8 +
// column, row 0 at the top). It shares no code with the game: flips walk
// rays square by square, legal moves come from whole-board shifts, and the
// two are checked against each other.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace rules {

using Bits = std::uint64_t;

constexpr Bits kNotColumn0 = 0xfefefefefefefefeULL;  // every square but the left column
constexpr Bits kNotColumn7 = 0x7f7f7f7f7f7f7f7fULL;  // every square but the right column
constexpr int kDirections[8] = {1, -7, -8, -9, -1, 7, 8, 9};

constexpr Bits Bit(int square) { return Bits{1} << square; }

// Moves every disc of `b` one step in direction `d`; discs that would leave
// the board (or wrap to the other side) vanish.
constexpr Bits Shift(Bits b, int d) {
  switch (d) {
    case 1: return (b << 1) & kNotColumn0;
    case -1: return (b >> 1) & kNotColumn7;
    case 8: return b << 8;
    case -8: return b >> 8;
    case 9: return (b << 9) & kNotColumn0;
    case -9: return (b >> 9) & kNotColumn7;
    case 7: return (b << 7) & kNotColumn7;
    case -7: return (b >> 7) & kNotColumn0;
  }
  return 0;
}

struct Position {
  Bits black = 0;  // the player's discs (square value 2)
  Bits white = 0;  // the computer's discs (square value 1)

  static Position Start() { return {Bit(28) | Bit(35), Bit(27) | Bit(36)}; }
  Bits Empty() const { return ~(black | white); }
  Bits Own(bool blackToMove) const { return blackToMove ? black : white; }
  Bits Opp(bool blackToMove) const { return blackToMove ? white : black; }
  int Blacks() const { return std::popcount(black); }
  int Whites() const { return std::popcount(white); }
  bool Full() const { return (black | white) == ~Bits{0}; }
  friend bool operator==(const Position&, const Position&) = default;
};

// The discs a disc on `square` would turn, walking each ray.
inline Bits Flips(Bits own, Bits opp, int square) {
  if ((own | opp) & Bit(square)) return 0;
  Bits flips = 0;
  for (int d : kDirections) {
    Bits run = 0;
    Bits x = Shift(Bit(square), d);
    while (x & opp) {
      run |= x;
      x = Shift(x, d);
    }
    if (x & own) flips |= run;
  }
  return flips;
}

// Every square where a disc would turn something, from whole-board shifts.
inline Bits LegalMoves(Bits own, Bits opp) {
  Bits empty = ~(own | opp);
  Bits moves = 0;
  for (int d : kDirections) {
    Bits x = Shift(own, d) & opp;
    for (int k = 0; k < 5; ++k) x |= Shift(x, d) & opp;
    moves |= Shift(x, d) & empty;
  }
  return moves;
}

// The same set found square by square, to check the two against each other.
inline Bits LegalMovesBySearch(Bits own, Bits opp) {
  Bits moves = 0;
  for (int s = 0; s < 64; ++s) {
    if (Flips(own, opp, s)) moves |= Bit(s);
  }
  return moves;
}

inline Position Play(Position p, int square, bool black) {
  Bits flips = Flips(p.Own(black), p.Opp(black), square);
  if (black) {
    p.black |= flips | Bit(square);
    p.white &= ~flips;
  } else {
    p.white |= flips | Bit(square);
    p.black &= ~flips;
  }
  return p;
}

inline std::vector<int> Squares(Bits b) {
  std::vector<int> out;
  while (b) {
    out.push_back(std::countr_zero(b));
    b &= b - 1;
  }
  return out;
}

enum class Strength { Weak, Medium, Strong };

// Tiers of the strong strategy, best first: corners, then squares two from a
// corner on the edge, two from a corner on the diagonal, edge middles and
// their inner neighbours, the inner ring, the edge squares next to a corner,
// and last the squares diagonally next to a corner.
inline const std::vector<Bits>& StrongTiers() {
  static const std::vector<Bits> tiers = [] {
    auto of = [](std::initializer_list<int> squares) {
      Bits b = 0;
      for (int s : squares) b |= Bit(s);
      return b;
    };
    return std::vector<Bits>{
        of({0, 7, 56, 63}),
        of({2, 5, 16, 23, 40, 47, 58, 61}),
        of({18, 21, 42, 45}),
        of({3, 4, 24, 31, 32, 39, 59, 60, 10, 13, 17, 22, 41, 46, 50, 53}),
        of({11, 12, 19, 20, 25, 26, 29, 30, 33, 34, 37, 38, 43, 44, 51, 52}),
        of({1, 6, 8, 15, 48, 55, 57, 62}),
        of({9, 14, 49, 54}),
    };
  }();
  return tiers;
}

// The move that turns the most discs among `candidates`; the lowest square
// on a tie.
inline int MostFlips(const Position& p, Bits candidates) {
  int best = -1, bestCount = 0;
  for (int s : Squares(candidates)) {
    int c = std::popcount(Flips(p.white, p.black, s));
    if (c > bestCount) best = s, bestCount = c;
  }
  return best;
}

// The computer's (White's) choice for the medium and strong strengths.
inline int ComputerChoice(const Position& p, Strength strength) {
  Bits moves = LegalMoves(p.white, p.black);
  if (strength == Strength::Medium) return MostFlips(p, moves);
  for (Bits tier : StrongTiers()) {
    if (moves & tier) return MostFlips(p, moves & tier);
  }
  return -1;
}

// Where the computer's turn can lead: it moves, and moves again for as long
// as the player then has no move and it has one. The weak strength may pick
// any legal move, so every branch is followed; the others follow their rule.
inline void ComputerTurns(const Position& p, Strength strength, std::vector<Position>& out) {
  Bits moves = LegalMoves(p.white, p.black);
  if (!moves) {
    out.push_back(p);
    return;
  }
  std::vector<int> choices;
  if (strength == Strength::Weak) {
    choices = Squares(moves);
  } else {
    choices.push_back(ComputerChoice(p, strength));
  }
  for (int s : choices) {
    Position next = Play(p, s, false);
    if (LegalMoves(next.black, next.white)) {
      out.push_back(next);
    } else {
      ComputerTurns(next, strength, out);
    }
  }
}

inline bool GameOver(const Position& p) {
  return p.Full() || (!LegalMoves(p.black, p.white) && !LegalMoves(p.white, p.black));
}

// The verdict shown at the end of a game.
inline std::string Verdict(const Position& p) {
  if (p.Blacks() == p.Whites()) return "引き分け";
  if (p.Blacks() < p.Whites()) return "Macの勝ちです！";
  return "貴方の勝ちです！";
}

}  // namespace rules
