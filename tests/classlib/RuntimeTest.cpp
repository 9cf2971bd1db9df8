// Text fields, numbers as text, the clock, random numbers, the yield point and
// quitting.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;

TEST(Fields, SquareListsReadBackAsTheirEntries) {
  EXPECT_EQ(CountFields("35,43,", ","), 3);
  EXPECT_EQ(CountFields("", ","), 1);  // callers visit 1 .. 0: nothing
  EXPECT_EQ(NthField("", ",", 1), "");
  std::vector<Integer> entries;
  const std::string list = "1,8,";
  for (Integer i = 1; i <= CountFields(list, ",") - 1; ++i) {
    entries.push_back(static_cast<Integer>(Val(NthField(list, ",", i))));
  }
  EXPECT_EQ(entries, (std::vector<Integer>{1, 8}));
  for (Integer n : {Integer{0}, Integer{3}, Integer{4}, std::numeric_limits<Integer>::max()}) {
    EXPECT_EQ(NthField("35,43,", ",", n), "") << n;
  }
}

TEST(Numbers, StrAndVal) {
  EXPECT_EQ(Str(0), "0");
  EXPECT_EQ(Str(63), "63");
  EXPECT_EQ(Str(-5), "-5");
  EXPECT_EQ(Val("27"), 27);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val(Str(-5)), -5);
  EXPECT_EQ(Val("  -3.5,7"), -3.5);
  EXPECT_EQ(Val("+.25"), 0.25);
  EXPECT_EQ(Val("-x12"), 0);
  EXPECT_EQ(Val(std::string_view("12345", 2)), 12);  // stops at the view's end
  EXPECT_TRUE(std::isinf(Val(std::string(400, '9'))));
  EXPECT_EQ(Val("0." + std::string(400, '0') + "1"), 0);
}

TEST(Random, SeededGeneratorsRepeatAndStayInRange) {
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

  Random a, b;
  a.Seed(7);
  b.Seed(7);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.InRange(3, 5), b.InRange(3, 5));
}

TEST(Clock, TicksAdvanceWithTheTestOffset) {
  const Integer before = Ticks();
  internal::AdvanceTicks(600);
  EXPECT_GE(Ticks(), before + 600);
}

TEST(YieldPoint, LetsPostedWorkRun) {
  bool posted = false;
  QTimer::singleShot(0, [&] { posted = true; });
  for (long i = 0; i < 1000000000L && !posted; ++i) RuntimeBackgroundTask();
  EXPECT_TRUE(posted);
}

TEST(Quitting, QuitEndsTheRunningLoopAndResets) {
  QTimer::singleShot(0, [] { Quit(4); });
  EXPECT_EQ(QCoreApplication::exec(), 4);
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(internal::QuitExitCode(), 4);
  internal::ResetQuitForTesting();
  EXPECT_FALSE(QuitRequested());

  // A Quit asked for outside any loop, once reset, ends no later loop.
  Quit(2);
  internal::ResetQuitForTesting();
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&] { loop.exit(7); });
  EXPECT_EQ(loop.exec(), 7);
}
