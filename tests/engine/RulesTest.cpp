// The flip search and the computer's strategies, on hand-made boards.
#include <map>
#include <tuple>

#include "tests/support/Game.h"

namespace game {
namespace {

TEST_F(GameTest, FlipSearch) {
  for (Integer i = 0; i < 64; ++i) {
    const char* opening = (i == 19 || i == 26) ? "27," : (i == 37 || i == 44) ? "36," : "";
    EXPECT_EQ(w->ReturnableBox(i % 8, i / 8), opening) << "square " << i;
  }
  const std::tuple<const char*, Integer, const char*> cases[] = {
      {"BWB", 0, ""},                                   // the start square is taken
      {".WB..... WB...... B", 0, "1,8,"},               // East is listed before South
      {".WWWWWWW", 0, ""},                              // a run cut by the edge
      {".WW.B", 0, ""},                                 // a run ended by an empty square
      {"......WB", 5, "6,"},                            // an own disc on the edge closes it
      {"..W..... .W", 16, ""},                          // a diagonal cut by the top row
      {"..B..... .W", 16, "9,"},                        //   ... and closed there
      {"........ ......W. .......W", 5, ""},            // a diagonal cut by the right column
      {"........ ........ WB", 15, ""},                 // no wrap onto the next row
      {"........ ......BW", 16, ""},                    //   ... nor onto the previous one
      {"........ .B.B.B.. ..WWW... .BW.WWB. ..WWW... .B.B.B..", 27, "28,29,20,19,18,26,34,35,36,"},
  };
  for (const auto& [rows, square, flips] : cases) {
    SetBoard(rows);
    EXPECT_EQ(w->ReturnableBox(square % 8, square / 8), flips) << rows;
    EXPECT_EQ(Board(), Rows(rows));  // the search writes nothing
  }
}

// A board on which the computer may move on both squares, each turning one disc of a run laid out towards the middle.
std::string TwoMoves(int a, int b) {
  std::string board(64, '.');
  for (int s : {a, b}) {
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}}) {
      const int x = s % 8 + 2 * dx, y = s / 8 + 2 * dy, near = s + dx + 8 * dy, far = x + 8 * y;
      if (x >= 0 && x < 8 && y >= 0 && y < 8 && board[near] == '.' && board[far] == '.' && near != a && near != b &&
          far != a && far != b) {
        board[near] = 'B', board[far] = 'W';
        break;
      }
    }
  }
  return board;
}

// Strong: every square of a tier against every square of the next tier, the worse one listed first and turning as many
// discs, so that only the tiers decide.
TEST_F(GameTest, StrongPlaysTheBetterOfNeighbouringTiers) {
  for (std::size_t t = 0; t + 1 < rules::kStrongTiers.size(); ++t) {
    for (int better : rules::kStrongTiers[t]) {
      for (int worse : rules::kStrongTiers[t + 1]) {
        const std::string board = TwoMoves(better, worse);
        const rules::Position p = rules::Position::FromText(board);
        ASSERT_GE(std::popcount(rules::Flips(p.white, p.black, worse)),
                  std::popcount(rules::Flips(p.white, p.black, better))) << better << " " << worse;
        ASSERT_NE(rules::Flips(p.white, p.black, better), 0u);
        SetBoard(board);
        w->player = 1;
        EXPECT_EQ(w->Mac2(Str(worse) + "," + Str(better) + ","), Str(better)) << "tier " << t << " against " << t + 1;
      }
    }
  }
}

TEST_F(GameTest, Strategies) {
  // White to move; flips: 1:1, 7:1, 9:3, 18:1, 20:1, 56:1, 63:3.
  const std::string board = Rows("..BW.WB. ..BBBW.. ........ ..B.B... ..W.W... ........ ........ .BWWBBB.");
  SetBoard(board);
  w->player = 1;
  auto choices = [this](std::string (MW::*strategy)(const std::string&), std::vector<const char*> lists) {
    std::string chosen;
    for (const char* list : lists) chosen += ((*w).*strategy)(list) + " ";
    return chosen;
  };
  // Medium: most flips, the first of a tie.
  EXPECT_EQ(choices(&MW::Mac1, {"1,9,63,", "63,9,", "1,7,", "7,1,"}), "9 63 1 7 ");
  // Strong: a better tier beats more flips; within a tier most flips, then the first.
  EXPECT_EQ(choices(&MW::Mac2, {"9,18,", "7,56,", "56,7,", "9,56,63,"}), "18 7 56 63 ");
  EXPECT_EQ(Board(), board);

  // Weak: any entry of its whole list, evenly.
  SeedRnd(7);
  std::map<std::string, int> weak;
  for (int i = 0; i < 3000; ++i) ++weak[w->Mac0("5,12,40,")];
  EXPECT_EQ(weak.size(), 3u);
  for (const char* entry : {"5", "12", "40"}) EXPECT_NEAR(weak[entry], 1000, 150) << entry;
  EXPECT_EQ(w->Mac0("33,"), "33");
}

}  // namespace
}  // namespace game
