// Clicks on the real squares: the player's move, the computer's answer in the same click, passes and the ends of a
// game; the turn switch and the counts; whole games checked against the tests' own rules model.
#include <tuple>

#include "tests/support/Game.h"

namespace game {
namespace {

TEST_F(GameTest, ClicksPassesAndEnds) {
  // The board set before the click (nullptr goes on), the click, the board after it (nullptr: unchecked), the state.
  const std::tuple<const char*, Integer, const char*, const char*> steps[] = {
      // The opening: a taken square does nothing, one that turns nothing is refused.
      {nullptr, 27, kStart.c_str(), "黒が先手です。 2/2 p2 pass00 []"},
      {nullptr, 0, kStart.c_str(), "黒が先手です。 2/2 p2 pass00 [Boo]"},
      // 19 turns 27; the computer answers on 18 at once, turning it back.
      {nullptr, 19, "........ ........ ..WB.... ...WB... ...BW...", "貴方の番です。 3/3 p2 pass00 playing [Crick Crick]"},
      // The computer passes while the player can move; then the last White disc turns: nobody can move, the game ends.
      {"BW...... W.......", 2, nullptr, "貴方の番です。 3/1 p2 pass01 playing [Crick]"},
      {nullptr, 16, nullptr, "貴方の勝ちです！ 5/0 p2 pass01 playing [Crick Finish]"},
      {nullptr, 40, nullptr, "貴方の勝ちです！ 5/0 p2 pass01 playing [Boo]"},
      // The player has no move twice, the computer moves again each time, then cannot either: two passes end the game.
      {".BBWWWWW ........ ........ ...BW... ........ ........ ........ .BWWWWWW", 29,
       "WWWWWWWW ........ ........ ...BBB.. ........ ........ ........ WWWWWWWW",
       "Macの勝ちです！ 3/16 p2 pass11 playing [Crick Crick Crick Bad]"},
      // The player fills the board to a draw: judged by the click and by the computer's turn.
      {"BBBBBBBB BBBBBBBB BBBBBBWW WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWW.", 63, nullptr,
       "引き分け 32/32 p1 pass01 playing [Crick Finish Finish]"},
      // The computer fills it after two passes: judged by the innermost turn and again by each of the 3 enclosing ones.
      {".BWWWWB. WW.WBWWW WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWWW .BWWWWWW", 10, nullptr,
       "Macの勝ちです！ 3/61 p1 pass11 playing [Crick Crick Crick Crick Bad Bad Bad Bad]"},
      {nullptr, 10, nullptr, "Macの勝ちです！ 3/61 p1 pass11 playing []"},
  };
  for (const auto& [board, click, after, state] : steps) {
    if (board) SetBoard(board);
    Click(click);
    EXPECT_EQ(Board(), after ? Rows(after) : Board()) << click;
    EXPECT_EQ(State(), state) << click;
  }
  w->pass = {true, false};
  w->Initialize();  // a new game in the middle of one keeps the pass flags
  EXPECT_EQ(Board() + State(), kStart + "黒が先手です。 2/2 p2 pass10 []");
}

// Strength and disc set chosen by clicks on the selectors, each only in its group; the computer's every answer is the
// one its strength chooses, every disc shows the chosen set; counts, turn and verdict follow the rules model.
TEST_F(GameTest, WholeGamesAtEveryStrengthFollowTheRules) {
  std::mt19937 random(20240611);
  SeedRnd(11);
  GameDriver driver;
  for (int strength : {0, 1, 2}) {
    for (int game = 0; game < 60 && !HasFailure(); ++game) {
      SCOPED_TRACE("strength " + std::to_string(strength) + ", game " + std::to_string(game));
      driver.Choose(strength);
      driver.Choose(3 + game % 3);
      driver.NewGame();
      driver.PlayWholeGame(random, 8);
    }
  }
}

}  // namespace
}  // namespace game
