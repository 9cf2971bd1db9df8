// Clicks on the real squares: the player's move, the computer's answer in the
// same click, passes and the ends of a game; the turn switch, counts,
// verdicts and disc pictures.
#include "tests/engine/GameFixture.h"

namespace enginetest {
namespace {

const std::string kYourTurn = "貴方の番です。";

std::vector<std::string> Sounds(std::initializer_list<std::pair<int, Ref<classlib::Sound>>> runs) {
  std::vector<std::string> names;
  for (const auto& [times, sound] : runs) names.insert(names.end(), times, SoundName(sound));
  return names;
}

TEST_F(GameTest, ClicksOnSquares) {
  Click(27);  // occupied: nothing at all
  EXPECT_TRUE(Played().empty());
  Click(0);   // turns nothing: refused
  EXPECT_EQ(Played(), Sounds({{1, Boo()}}));
  EXPECT_EQ(Board() + Status() + Counts(), kStart + "黒が先手です。2/2");
  EXPECT_FALSE(w->playing);

  classlib::Sound::ClearPlayLog();
  Click(19);  // turns 27; the computer answers on 18 at once, turning it back
  EXPECT_EQ(Board(), Compact("........ ........ ..WB.... ...WB... ...BW... ........ ........ ........"));
  EXPECT_EQ(Played(), Sounds({{2, Crick()}}));
  EXPECT_TRUE(w->playing);
  EXPECT_EQ(w->player, 2);
  EXPECT_EQ(Status() + Counts(), kYourTurn + "3/3");

  w->pass = {true, false};
  w->Initialize();  // a new game in the middle of one keeps the pass flags
  EXPECT_EQ(Board() + Status() + Counts(), kStart + "黒が先手です。2/2");
  EXPECT_TRUE(w->player == 2 && !w->playing && w->pass[0] && !w->pass[1]);
}

TEST_F(GameTest, StrengthIsReadAtEveryComputerTurn) {
  const char* board = ".BW..... ........ ........ ...BW... ........ .WBB.... ........ ........";
  SetBoard(board);
  w->RB(1)->SetValue(true);  // most flips: 44 turns two
  Click(29);
  EXPECT_EQ(std::string({Board()[0], Board()[44]}), ".W");
  SetBoard(board);
  w->RB(2)->SetValue(true);  // corners first
  Click(29);
  EXPECT_EQ(std::string({Board()[0], Board()[44]}), "W.");
}

TEST_F(GameTest, ComputerPassesThenNeitherSideCanMove) {
  SetBoard("BW...... W....... ........ ........ ........ ........ ........ ........");
  Click(2);  // the computer has no move, the player has one
  EXPECT_TRUE(w->pass[1]);
  EXPECT_EQ(Status() + Counts(), kYourTurn + "3/1");
  Click(16);  // the last White disc turns: nobody can move any more
  EXPECT_EQ(Status() + Counts(), "貴方の勝ちです！5/0");
  EXPECT_EQ(Played(), Sounds({{2, Crick()}, {1, Finish()}}));
  Click(40);
  EXPECT_EQ(Played().back(), SoundName(Boo()));
}

TEST_F(GameTest, PlayerPassesWhileTheComputerMovesAgainUntilBothPass) {
  SetBoard(".BBWWWWW ........ ........ ...BW... ........ ........ ........ .BWWWWWW");
  Click(29);  // the computer takes 0, then 56, then nobody can move
  EXPECT_EQ(Board(), Compact("WWWWWWWW ........ ........ ...BBB.. ........ ........ ........ WWWWWWWW"));
  EXPECT_TRUE(w->pass[0] && w->pass[1]);
  EXPECT_EQ(w->player, 2);
  EXPECT_EQ(Status() + Counts(), "Macの勝ちです！3/16");
  EXPECT_EQ(Played(), Sounds({{3, Crick()}, {1, Bad()}}));
}

TEST_F(GameTest, FullBoardEndsTheGameFromEitherSide) {
  SetBoard("BBBBBBBB BBBBBBBB BBBBBBBB BBBBBBBB BBBBBBBB BBBBBBBB BBBBBBBB BBBBBBW.");
  Click(63);  // the player fills it: judged by the click and by the computer's turn
  EXPECT_EQ(Played(), Sounds({{1, Crick()}, {2, Finish()}}));
  EXPECT_EQ(Status() + Counts(), "貴方の勝ちです！64/0");
  EXPECT_EQ(w->player, 1);

  // The computer fills it after the player passed twice: judged by the
  // innermost turn and once more by each of the three enclosing ones.
  SetBoard(".BWWWWB. WW.WBWWW WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWWW .BWWWWWW");
  classlib::Sound::ClearPlayLog();
  Click(10);
  EXPECT_EQ(Status() + Counts(), "Macの勝ちです！3/61");
  EXPECT_EQ(w->player, 1);
  EXPECT_EQ(Played(), Sounds({{4, Crick()}, {4, Bad()}}));
  Click(10);
  EXPECT_EQ(Played().size(), 8u);
}

TEST_F(GameTest, TurnSwitchCountsAndVerdicts) {
  w->Change();
  EXPECT_EQ(w->player, 1);
  EXPECT_EQ(Status(), "マックが考えています...");
  w->player = 0;
  const Integer paints = w->St(0)->PaintCount();
  w->Change();  // no side to move: nothing changes, yet the line is repainted
  EXPECT_EQ(w->player, 0);
  EXPECT_EQ(Status(), "マックが考えています...");
  EXPECT_GT(w->St(0)->PaintCount(), paints);

  SetBoard(std::string(20, 'B') + std::string(20, 'W') + std::string(23, '.') + "?");
  w->Score();  // empty squares and other values count for neither side
  EXPECT_TRUE(w->pass[1]);
  EXPECT_EQ(Status() + Counts(), "引き分け20/20");
  w->Box(0)->value = 1;
  w->Count();
  EXPECT_EQ(Counts(), "19/21");
  EXPECT_EQ(Played(), Sounds({{1, Finish()}}));
}

TEST_F(GameTest, DiscSetIsReadAtEveryRedraw) {
  w->RB(4)->SetValue(true);
  EXPECT_TRUE(w->Box(27)->Backdrop() == White1());  // nothing changes before the redraw
  w->RefreshBox();
  EXPECT_TRUE(w->Box(27)->Backdrop() == White2() && w->Box(28)->Backdrop() == Black2());
  EXPECT_TRUE(w->Box(0)->Backdrop().IsNil());
}

}  // namespace
}  // namespace enginetest
