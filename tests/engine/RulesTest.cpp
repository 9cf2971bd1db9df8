// The flip search and the computer's strategies, on hand-made boards.
#include <map>

#include "tests/engine/GameFixture.h"

namespace enginetest {
namespace {

TEST_F(GameTest, FlipSearchInTheOpening) {
  for (Integer i = 0; i < 64; ++i) {
    const std::string expected = (i == 19 || i == 26) ? "27," : (i == 37 || i == 44) ? "36," : "";
    EXPECT_EQ(w->ReturnableBox(i % 8, i / 8), expected) << "square " << i;
  }
}

TEST_F(GameTest, FlipSearchEdgesAndOrder) {
  const std::pair<const char*, Integer> boards[] = {
      {"BWB..... ", 0},                 // occupied start square: ""
      {".WB..... WB...... B....... ", 0},  // East before South: "1,8,"
      {".WWWWWWW ", 0},                 // run cut at the edge: ""
      {".WW.B... ", 0},                 // run ended by an empty square: ""
      {"......WB ", 5},                 // own disc on the edge closes: "6,"
      {"..W..... .W...... ", 16},       // diagonal reaching the top row: ""
      {"..B..... .W...... ", 16},       //   ... closed there instead: "9,"
      {"........ ......W. .......W ", 5},  // diagonal reaching the right column: ""
      {"........ ........ WB...... ", 15},  // no wrap onto the next row: ""
      {"........ ......BW ", 16},       // nor onto the previous one: ""
      {"........ .B.B.B.. ..WWW... .BW.WWB. ..WWW... .B.B.B.. ", 27},  // all eight directions
  };
  const char* expected[] = {"", "1,8,", "", "", "6,", "", "9,", "", "", "", "28,29,20,19,18,26,34,35,36,"};
  for (std::size_t c = 0; c < std::size(boards); ++c) {
    std::string board = Compact(boards[c].first);
    board.resize(64, '.');
    SetBoard(board);
    EXPECT_EQ(w->ReturnableBox(boards[c].second % 8, boards[c].second / 8), expected[c]) << boards[c].first;
    EXPECT_EQ(Board(), board);  // the search writes nothing
  }
}

TEST_F(GameTest, WeakStrategyDrawsEachEntryEvenly) {
  classlib::SeedRnd(7);
  std::map<std::string, int> drawn;
  for (int i = 0; i < 3000; ++i) ++drawn[w->Mac0("5,12,40,")];
  EXPECT_EQ(drawn.size(), 3u);
  for (const char* entry : {"5", "12", "40"}) EXPECT_NEAR(drawn[entry], 1000, 150) << entry;
  EXPECT_EQ(w->Mac0("33,"), "33");
}

TEST_F(GameTest, MiddleAndStrongStrategiesRankMoves) {
  // White to move; flips: 1:1, 7:1, 9:3, 18:1, 20:1, 56:1, 63:3.
  const std::string board = Compact("..BW.WB. ..BBBW.. ........ ..B.B... ..W.W... ........ ........ .BWWBBB.");
  SetBoard(board, 1);
  EXPECT_EQ(w->Mac1("1,9,63,"), "9");  // most flips, the first of a tie
  EXPECT_EQ(w->Mac1("63,9,"), "63");
  EXPECT_EQ(w->Mac2("9,18,"), "18");   // a better tier beats more flips
  EXPECT_EQ(w->Mac2("1,20,"), "20");
  EXPECT_EQ(w->Mac2("7,56,"), "7");    // equal corners: the earlier
  EXPECT_EQ(w->Mac2("56,7,"), "56");
  EXPECT_EQ(w->Mac2("9,56,63,"), "63");  // corners first, most flips among them
  EXPECT_EQ(Board(), board);
}

TEST_F(GameTest, UnusedStrategyPrefersCornersAndTheCentreRing) {
  EXPECT_EQ(w->Mac5("2,17,"), "2");   // reversed to 17, 2: the later match wins
  EXPECT_EQ(w->Mac5("1,20,"), "20");  // corner neighbour dropped
  EXPECT_EQ(w->Mac5("0,20,"), "20");  // reversed: the ring square comes first
  EXPECT_EQ(w->Mac5("20,0,"), "0");
  EXPECT_EQ(w->Mac5("41,32,"), "32");  // lower-left L group
  EXPECT_EQ(w->Mac5("1,"), "1");
  classlib::SeedRnd(3);
  std::map<std::string, int> drawn;
  for (int i = 0; i < 200; ++i) ++drawn[w->Mac5("1,9,")];  // nothing left after the filter
  EXPECT_EQ(drawn.size(), 2u);
  EXPECT_GT(drawn["1"], 50);
  EXPECT_GT(drawn["9"], 50);
}

}  // namespace
}  // namespace enginetest
