// The flip search and the computer's strategies, on hand-made boards.
#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "tests/engine/GameFixture.h"

namespace enginetest {
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
    EXPECT_EQ(Board(), Compact(rows));  // the search writes nothing
  }
}

TEST_F(GameTest, Strategies) {
  // White to move; flips: 1:1, 7:1, 9:3, 18:1, 20:1, 56:1, 63:3.
  const std::string board = Compact("..BW.WB. ..BBBW.. ........ ..B.B... ..W.W... ........ ........ .BWWBBB.");
  SetBoard(board);
  w->player = 1;
  auto choices = [this](std::string (MW::*strategy)(const std::string&), std::vector<const char*> lists) {
    std::string chosen;
    for (const char* list : lists) chosen += ((*w).*strategy)(list) + " ";
    return chosen;
  };
  for (int seed : {1, 2}) {  // the same choices whatever the random numbers
    classlib::SeedRnd(seed);
    // Most flips, the first of a tie.
    EXPECT_EQ(choices(&MW::Mac1, {"1,9,63,", "63,9,"}), "9 63 ");
    // A better tier beats more flips; of equal corners the earlier; corners
    // first, and the most flips among them.
    EXPECT_EQ(choices(&MW::Mac2, {"9,18,", "1,20,", "7,56,", "56,7,", "9,56,63,"}), "18 20 7 56 63 ");
    // Read backwards, the later match wins; a corner's neighbour is dropped;
    // backwards the centre ring comes before a corner; the lower-left group.
    EXPECT_EQ(choices(&MW::Mac5, {"2,17,", "1,20,", "0,20,", "20,0,", "41,32,", "1,"}), "2 20 20 0 32 1 ");
  }
  EXPECT_EQ(Board(), board);

  // Random draws: the weak strategy's over its whole list; the unused one's
  // when its filter leaves nothing it prefers.
  classlib::SeedRnd(7);
  std::map<std::string, int> weak, unused;
  for (int i = 0; i < 3000; ++i) ++weak[w->Mac0("5,12,40,")];
  for (int i = 0; i < 200; ++i) ++unused[w->Mac5("1,9,")];
  EXPECT_EQ(weak.size(), 3u);
  for (const char* entry : {"5", "12", "40"}) EXPECT_NEAR(weak[entry], 1000, 150) << entry;
  EXPECT_EQ(w->Mac0("33,"), "33");
  EXPECT_EQ(unused.size(), 2u);
  EXPECT_GT(std::min(unused["1"], unused["9"]), 50);
}

}  // namespace
}  // namespace enginetest
