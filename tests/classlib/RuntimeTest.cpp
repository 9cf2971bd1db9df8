// Text fields, numbers as text, random numbers and the yield point.
#include <QCoreApplication>
#include <QTimer>

#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

using namespace classlib;

// Square lists are written "a,b,": callers visit entries 1 .. count - 1 and
// read each as a number; counts are shown as Str of an Integer.
TEST(Fields, SquareListsReadBackAsTheirEntries) {
  EXPECT_EQ(Str(0) + " " + Str(64), "0 64");
  EXPECT_EQ(CountFields("35,43,", ","), 3);
  EXPECT_EQ(CountFields("", ","), 1);  // callers visit 1 .. 0: nothing
  std::vector<Double> entries;
  for (Integer i = 1; i < CountFields("1,8,", ","); ++i) entries.push_back(Val(NthField("1,8,", ",", i)));
  EXPECT_EQ(entries, (std::vector<Double>{1, 8}));
  for (Integer n : {Integer{0}, Integer{3}, Integer{4}, std::numeric_limits<Integer>::max()}) {
    EXPECT_EQ(NthField("35,43,", ",", n), "") << n;
  }
  EXPECT_EQ(NthField("", ",", 1), "");
}

TEST(Random, SeededRndRepeatsAndStaysInRange) {
  auto draw = [] {
    std::vector<Double> values;
    for (int i = 0; i < 1000; ++i) values.push_back(Rnd());
    return values;
  };
  SeedRnd(42);
  const auto first = draw();
  SeedRnd(42);
  EXPECT_EQ(draw(), first);
  for (Double v : first) EXPECT_TRUE(v >= 0.0 && v < 1.0) << v;
}

// The game's loops and its one-second wait call the yield point: pending
// work, such as painting, runs there.
TEST(Runtime, YieldPointRunsPostedWork) {
  bool posted = false;
  QTimer::singleShot(0, [&] { posted = true; });
  for (long i = 0; i < 1000000000L && !posted; ++i) RuntimeBackgroundTask();
  EXPECT_TRUE(posted);
}
