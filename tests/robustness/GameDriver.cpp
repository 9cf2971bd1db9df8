#include "tests/robustness/GameDriver.h"

#include <sstream>

#include "classlib/Testing.h"
#include "shell/Resources.h"

namespace robustness {

using classlib::Integer;
using classlib::Ref;
using rules::Position;
using rules::Strength;

namespace {

const char* const kYourTurn = "貴方の番です。";
const char* const kNewGameStatus = "黒が先手です。";

const char* StrengthName(Strength s) {
  switch (s) {
    case Strength::Weak: return "弱";
    case Strength::Medium: return "中";
    case Strength::Strong: return "強";
  }
  return "?";
}

}  // namespace

std::string Describe(const Position& p) {
  std::ostringstream out;
  for (int row = 0; row < 8; ++row) {
    out << "\n  ";
    for (int col = 0; col < 8; ++col) {
      rules::Bits b = rules::Bit(row * 8 + col);
      out << ((p.black & b) ? 'X' : (p.white & b) ? 'O' : '.');
    }
  }
  out << "\n  (X " << p.Blacks() << ", O " << p.Whites() << ")";
  return out.str();
}

GameDriver::GameDriver() {
  auto w = MW();
  if (w->RB(0)->Value()) {
    strength_ = Strength::Weak;
  } else if (w->RB(1)->Value()) {
    strength_ = Strength::Medium;
  }
  discSet_ = w->RB(3)->Value() ? 0 : w->RB(4)->Value() ? 1 : 2;
}

Ref<class MW> GameDriver::Window() const { return MW(); }

Position GameDriver::Board(std::string* fault) const {
  Position p;
  auto w = Window();
  for (int i = 0; i < 64; ++i) {
    Integer v = w->Box(i)->value;
    if (v == 2) {
      p.black |= rules::Bit(i);
    } else if (v == 1) {
      p.white |= rules::Bit(i);
    } else if (v != 0 && fault) {
      *fault = "square " + std::to_string(i) + " holds " + std::to_string(v);
    }
  }
  return p;
}

std::string GameDriver::Status() const { return Window()->St(0)->Text(); }
std::string GameDriver::BlackCountText() const { return Window()->St(2)->Text(); }
std::string GameDriver::WhiteCountText() const { return Window()->St(4)->Text(); }

void GameDriver::ClickControlCentre(const Ref<classlib::RectControl>& control) {
  classlib::testing::ClickAt(Window(), control->Left() + control->Width() / 2,
                             control->Top() + control->Height() / 2);
}

void GameDriver::ClickSquare(int square) { ClickControlCentre(Window()->Box(square)); }
void GameDriver::ClickNewGame() { ClickControlCentre(Window()->BCV(4)); }
void GameDriver::ClickComputerFirst() { ClickControlCentre(Window()->BCV(3)); }

void GameDriver::ClickStrength(Strength strength) {
  // On the button's mark, at its left end, where a person aims.
  auto button = Window()->RB(static_cast<int>(strength));
  classlib::testing::ClickAt(Window(), button->Left() + 7, button->Top() + button->Height() / 2);
}

void GameDriver::ClickDiscSet(int set) {
  auto button = Window()->RB(3 + set);
  classlib::testing::ClickAt(Window(), button->Left() + 7, button->Top() + button->Height() / 2);
}

std::string GameDriver::PicturesMatchBoard() const {
  auto w = Window();
  Ref<classlib::Picture> black[] = {Black1(), Black2(), Black()};
  Ref<classlib::Picture> white[] = {White1(), White2(), White()};
  for (int i = 0; i < 64; ++i) {
    auto box = w->Box(i);
    Ref<classlib::Picture> expected = box->value == 2   ? black[discSet_]
                                      : box->value == 1 ? white[discSet_]
                                                        : Ref<classlib::Picture>();
    if (!(box->Backdrop() == expected)) {
      return "square " + std::to_string(i) + " (value " + std::to_string(box->value) +
             ") does not show the picture of disc set " + std::to_string(discSet_ + 1);
    }
  }
  return "";
}

// The board is settled after a click: counts as the model counts them, and
// the status line with the verdict once nobody can move, else the player's
// turn.
std::string GameDriver::CheckSettled(const Position& board) const {
  if (BlackCountText() != std::to_string(board.Blacks()) ||
      WhiteCountText() != std::to_string(board.Whites())) {
    return "the counts read " + BlackCountText() + " and " + WhiteCountText() + " on" +
           Describe(board);
  }
  std::string expected = rules::GameOver(board) ? rules::Verdict(board) : kYourTurn;
  if (Status() != expected) {
    return "the status line reads \"" + Status() + "\", expected \"" + expected + "\" on" +
           Describe(board);
  }
  return "";
}

std::string GameDriver::NewGame() {
  ClickNewGame();
  std::string fault;
  Position p = Board(&fault);
  if (!fault.empty()) return fault;
  if (!(p == Position::Start())) return "再ゲーム left" + Describe(p);
  if (Status() != kNewGameStatus) return "再ゲーム shows \"" + Status() + "\"";
  if (BlackCountText() != "2" || WhiteCountText() != "2") return "再ゲーム leaves counts unreset";
  if (Window()->playing) return "再ゲーム leaves a game under way";
  return PicturesMatchBoard();
}

std::string GameDriver::PlayLegal(int square) {
  std::string fault;
  Position before = Board(&fault);
  if (!fault.empty()) return fault;
  if (!(rules::Flips(before.black, before.white, square))) {
    return "the driver chose the illegal square " + std::to_string(square);
  }
  Position afterPlayer = rules::Play(before, square, true);
  std::vector<Position> possible;
  if (afterPlayer.Full()) {
    possible.push_back(afterPlayer);
  } else {
    rules::ComputerTurns(afterPlayer, strength_, possible);
  }
  ClickSquare(square);
  Position after = Board(&fault);
  if (!fault.empty()) return fault;
  bool reachable = false;
  for (const Position& p : possible) reachable = reachable || p == after;
  if (!reachable) {
    std::string text = "after the player's move on " + std::to_string(square) + " at strength " +
                       StrengthName(strength_) + " from" + Describe(before) + "\nthe board is" +
                       Describe(after) + "\nexpected one of:";
    for (const Position& p : possible) text += Describe(p);
    return text;
  }
  if (!Window()->playing) return "a legal move left no game under way";
  if (std::string s = CheckSettled(after); !s.empty()) return s;
  return PicturesMatchBoard();
}

std::string GameDriver::ClickChangingNothing(int square) {
  std::string fault;
  Position before = Board(&fault);
  std::string status = Status(), blacks = BlackCountText(), whites = WhiteCountText();
  bool playing = Window()->playing;
  ClickSquare(square);
  Position after = Board(&fault);
  if (!fault.empty()) return fault;
  if (!(after == before) || Status() != status || BlackCountText() != blacks ||
      WhiteCountText() != whites || Window()->playing != playing) {
    return "a click on square " + std::to_string(square) + " changed the game:" + Describe(before) +
           "\nbecame" + Describe(after) + "\nstatus \"" + Status() + "\"";
  }
  return "";
}

std::string GameDriver::ComputerFirstChangingNothing() {
  Position before = Board();
  std::string status = Status();
  ClickComputerFirst();
  if (!(Board() == before) || Status() != status) return "後手 acted while a game was under way";
  return "";
}

std::string GameDriver::ComputerOpens() {
  std::string fault;
  Position before = Board(&fault);
  if (!(before == Position::Start()) || Window()->playing) return "後手 tried outside a fresh game";
  std::vector<Position> possible;
  rules::ComputerTurns(before, strength_, possible);
  ClickComputerFirst();
  Position after = Board(&fault);
  if (!fault.empty()) return fault;
  bool reachable = false;
  for (const Position& p : possible) reachable = reachable || p == after;
  if (!reachable || after.Blacks() != 1 || after.Whites() != 4) {
    return "後手 at strength " + std::string(StrengthName(strength_)) + " gave" + Describe(after);
  }
  if (!Window()->playing) return "後手 left no game under way";
  if (std::string s = CheckSettled(after); !s.empty()) return s;
  return PicturesMatchBoard();
}

std::string GameDriver::ChooseStrength(Strength strength) {
  Position before = Board();
  std::string status = Status();
  ClickStrength(strength);
  auto w = Window();
  int chosen = static_cast<int>(strength);
  for (int i = 0; i < 3; ++i) {
    if (w->RB(i)->Value() != (i == chosen)) {
      return "after a click on strength " + std::string(StrengthName(strength)) + " button " +
             std::to_string(i) + " is " + (w->RB(i)->Value() ? "on" : "off");
    }
  }
  if (!w->RB(3 + discSet_)->Value()) return "choosing a strength changed the disc set";
  if (!(Board() == before) || Status() != status) return "choosing a strength changed the game";
  strength_ = strength;
  return "";
}

std::string GameDriver::ChooseDiscSet(int set) {
  Position before = Board();
  std::string status = Status();
  ClickDiscSet(set);
  auto w = Window();
  for (int i = 0; i < 3; ++i) {
    if (w->RB(3 + i)->Value() != (i == set)) {
      return "after a click on disc set " + std::to_string(set + 1) + " button " +
             std::to_string(3 + i) + " is " + (w->RB(3 + i)->Value() ? "on" : "off");
    }
  }
  if (!w->RB(static_cast<int>(strength_))->Value()) return "choosing a disc set changed the strength";
  if (!(Board() == before) || Status() != status) return "choosing a disc set changed the game";
  discSet_ = set;
  return "";
}

std::string GameDriver::PlayWholeGame(std::mt19937& random, int illegalEvery) {
  for (int moves = 0; moves < 70; ++moves) {
    Position p = Board();
    if (rules::GameOver(p)) return "";
    rules::Bits legal = rules::LegalMoves(p.black, p.white);
    if (legal != rules::LegalMovesBySearch(p.black, p.white)) {
      return "the rules model disagrees with itself on" + Describe(p);
    }
    if (!legal) return "the player has no move in a game that is not over:" + Describe(p);
    if (illegalEvery > 0 && static_cast<int>(random() % illegalEvery) == 0) {
      std::vector<int> other = rules::Squares(~legal);
      int square = other[random() % other.size()];
      if (std::string s = ClickChangingNothing(square); !s.empty()) return s;
    }
    std::vector<int> squares = rules::Squares(legal);
    if (std::string s = PlayLegal(squares[random() % squares.size()]); !s.empty()) return s;
  }
  return "the game did not end within 70 moves";
}

}  // namespace robustness
