// Plays the real main window through real mouse input, as a person would,
// and checks what every click did against the rules model. Each check
// returns an empty text when it holds, else what went wrong, so a long run
// can stop at the first fault with the whole story.
#pragma once

#include <random>
#include <string>

#include "tests/robustness/RulesModel.h"
#include "window/MW.h"

namespace robustness {

class GameDriver {
 public:
  // Builds the main window if it is not open yet.
  GameDriver();

  classlib::Ref<class MW> Window() const;
  rules::Position Board(std::string* fault = nullptr) const;
  std::string Status() const;
  std::string BlackCountText() const;
  std::string WhiteCountText() const;
  rules::Strength ChosenStrength() const { return strength_; }
  int ChosenDiscSet() const { return discSet_; }

  // Input, through the toolkit's own mouse path, at the controls' centres.
  void ClickSquare(int square);
  void ClickNewGame();        // "再ゲーム"
  void ClickComputerFirst();  // "後手"
  void ClickStrength(rules::Strength strength);
  void ClickDiscSet(int set);  // 0 "石1", 1 "石2", 2 "石3"

  // Checks. Each clicks, then compares the window with the model.
  std::string NewGame();
  // The player's legal move: the disc, the turned discs, the computer's whole
  // answer, the status line, the counts and the pictures.
  std::string PlayLegal(int square);
  // A click that must change nothing: an occupied square, an illegal one, or
  // any square once the game is over; or "後手" while a game is under way.
  std::string ClickChangingNothing(int square);
  std::string ComputerFirstChangingNothing();
  // "後手" on a fresh game: the computer's opening.
  std::string ComputerOpens();
  std::string ChooseStrength(rules::Strength strength);
  std::string ChooseDiscSet(int set);

  // Plays one game to its end with the player's moves drawn from `random`;
  // `illegalEvery` > 0 adds an illegal click about once per that many moves.
  std::string PlayWholeGame(std::mt19937& random, int illegalEvery);

  // Every square shows the picture of its value in the chosen disc set.
  std::string PicturesMatchBoard() const;

 private:
  std::string CheckSettled(const rules::Position& board) const;
  void ClickControlCentre(const classlib::Ref<classlib::RectControl>& control);

  rules::Strength strength_ = rules::Strength::Strong;
  int discSet_ = 0;
};

std::string Describe(const rules::Position& p);

}  // namespace robustness
