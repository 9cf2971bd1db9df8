// Plays the real main window through real mouse input, as a person would,
// and checks what every click did against the rules model. Checks report
// through GoogleTest; callers stop at the first failure.
#pragma once

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/Testing.h"
#include "shell/Resources.h"
#include "tests/support/RulesModel.h"
#include "window/MW.h"

namespace robustness {

using rules::Position;
using rules::Strength;

inline std::string Describe(const Position& p) {
  std::string text;
  for (int i = 0; i < 64; ++i) {
    text += (i % 8 ? "" : "\n  ");
    text += (p.black & rules::Bit(i)) ? 'X' : (p.white & rules::Bit(i)) ? 'O' : '.';
  }
  return text;
}

// What the window shows of a game.
struct Shown {
  Position board;
  std::string status, blacks, whites;
  bool playing = false;
  friend bool operator==(const Shown&, const Shown&) = default;
};

inline void PrintTo(const Shown& s, std::ostream* out) {
  *out << Describe(s.board) << "\n  \"" << s.status << "\" " << s.blacks << ":" << s.whites
       << (s.playing ? ", under way" : "");
}

class GameDriver {
 public:
  // Builds the main window if it is not open yet, and reads its choices.
  GameDriver() {
    strength_ = W()->RB(0)->Value() ? Strength::Weak : W()->RB(1)->Value() ? Strength::Medium : Strength::Strong;
    discSet_ = W()->RB(3)->Value() ? 0 : W()->RB(4)->Value() ? 1 : 2;
  }

  static classlib::Ref<class MW> W() { return MW(); }

  Shown Read() const {
    const auto w = W();
    Shown s{{}, w->St(0)->Text(), w->St(2)->Text(), w->St(4)->Text(), w->playing};
    for (int i = 0; i < 64; ++i) {
      const classlib::Integer v = w->Box(i)->value;
      if (v < 0 || v > 2) ADD_FAILURE() << "square " << i << " holds " << v;
      if (v == 2) s.board.black |= rules::Bit(i);
      if (v == 1) s.board.white |= rules::Bit(i);
    }
    return s;
  }

  // At a control's centre; on a radio button's mark, at its left end, where
  // a person aims.
  static void Click(const auto& control, bool onMark = false) {
    classlib::testing::ClickAt(W(), control->Left() + (onMark ? 7 : control->Width() / 2),
                               control->Top() + control->Height() / 2);
  }
  static void ClickSquare(int square) { Click(W()->Box(square)); }
  static void ClickComputerFirst() { Click(W()->BCV(3)); }  // "後手"

  // A click that must change nothing.
  void ExpectUnchanged(const auto& click) {
    const Shown before = Read();
    click();
    EXPECT_EQ(Read(), before);
  }

  // "再ゲーム": the start position, its status line and counts, no game under way.
  void NewGame() {
    Click(W()->BCV(4));
    EXPECT_EQ(Read(), (Shown{Position::Start(), "黒が先手です。", "2", "2", false}));
    ExpectPictures();
  }

  // "弱" "中" "強" are buttons 0 to 2, "石1" "石2" "石3" 3 to 5: a click turns
  // its button on, the others of its group off, and changes nothing else.
  void Choose(int button) {
    const Shown before = Read();
    Click(W()->RB(button), true);
    if (button < 3) {
      strength_ = Strength(button);
    } else {
      discSet_ = button - 3;
    }
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(W()->RB(i)->Value(), i == int(strength_) || i == 3 + discSet_) << "button " << i << " after " << button;
    }
    EXPECT_EQ(Read(), before);
  }

  // The player's legal move on the board `before`: the disc, the turned
  // discs and the computer's whole answer at the chosen strength.
  void PlayLegal(const Position& before, int square) {
    std::vector<Position> possible;
    rules::ComputerTurns(rules::Play(before, square, true), possible, rules::ChoiceAt(strength_));
    ClickSquare(square);
    ExpectOneOf(possible, "the move on " + std::to_string(square), before);
  }

  // "後手" on a fresh game: after its wait, one opening move of the computer.
  void ComputerOpens() {
    std::vector<Position> possible;
    rules::ComputerTurns(Position::Start(), possible, rules::ChoiceAt(strength_));
    ClickComputerFirst();
    ExpectOneOf(possible, "後手", Position::Start());
  }

  // One game to its end, the player's moves drawn from `random`, with an
  // illegal click about once in `illegalEvery` moves.
  void PlayWholeGame(std::mt19937& random, int illegalEvery) {
    for (int moves = 0; moves < 70; ++moves) {
      const Position p = Read().board;
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
    const classlib::Ref<classlib::Picture> black[] = {Black1(), Black2(), Black()};
    const classlib::Ref<classlib::Picture> white[] = {White1(), White2(), White()};
    const auto w = W();
    for (int i = 0; i < 64; ++i) {
      const auto box = w->Box(i);
      const auto expected = box->value == 2 ? black[discSet_] : box->value == 1 ? white[discSet_] : nullptr;
      ASSERT_TRUE(box->Backdrop() == expected) << "square " << i << " (value " << box->value
                                               << ") does not show disc set " << discSet_ + 1;
    }
  }

 private:
  // The board is one of `possible`, and the window shows it settled: the
  // counts, the verdict once nobody can move or else the player's turn.
  void ExpectOneOf(const std::vector<Position>& possible, const std::string& what, const Position& from) {
    const Shown shown = Read();
    if (std::ranges::find(possible, shown.board) == possible.end()) {
      std::string options;
      for (const Position& p : possible) options += Describe(p) + "\n";
      FAIL() << "after " << what << " at strength " << kStrengths[int(strength_)] << " from" << Describe(from)
             << "\nthe board is" << Describe(shown.board) << "\nexpected one of:" << options;
    }
    const Position& b = shown.board;
    EXPECT_EQ(shown, (Shown{b, rules::GameOver(b) ? rules::Verdict(b) : "貴方の番です。", std::to_string(b.Blacks()),
                            std::to_string(b.Whites()), true}));
    ExpectPictures();
  }

  static constexpr const char* kStrengths[] = {"弱", "中", "強"};
  Strength strength_ = Strength::Strong;
  int discSet_ = 0;
};

}  // namespace robustness
