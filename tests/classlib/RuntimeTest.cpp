// Text fields, numbers as text, random numbers, the yield point and quitting.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;

// Square lists are written "a,b,": callers visit entries 1 .. count - 1.
TEST(Fields, SquareListsReadBackAsTheirEntries) {
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

TEST(Numbers, StrAndVal) {
  EXPECT_EQ(Str(0) + " " + Str(63) + " " + Str(-5), "0 63 -5");
  const std::pair<std::string, Double> values[] = {
      {"27", 27}, {"", 0}, {"  -3.5,7", -3.5}, {"+.25", 0.25}, {"-x12", 0}, {"0." + std::string(400, '0') + "1", 0}};
  for (const auto& [text, value] : values) EXPECT_EQ(Val(text), value) << text;
  EXPECT_EQ(Val(std::string_view("12345", 2)), 12);  // stops at the view's end
  EXPECT_TRUE(std::isinf(Val(std::string(400, '9'))));
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

#ifdef __linux__
// Like the desktop's clock, Ticks count from the start of the system, so even
// the program's first reading is far from 0 (a first press is never taken
// for the second of a quick pair): already past this process's own age.
TEST(Clock, TicksCountFromTheStartOfTheSystem) {
  std::ifstream statFile("/proc/self/stat"), uptimeFile("/proc/uptime");
  std::string stat, field;
  double uptime = 0, started = 0;
  ASSERT_TRUE(std::getline(statFile, stat) && uptimeFile >> uptime);
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  for (int i = 3; i < 22; ++i) fields >> field;  // up to the start time, field 22
  ASSERT_TRUE(fields >> started);
  const double age = uptime - started / static_cast<double>(sysconf(_SC_CLK_TCK));
  EXPECT_GT(static_cast<double>(Ticks()), 60.0 * age);
}
#endif

TEST(Runtime, YieldPointRunsPostedWorkAndQuitEndsTheLoopUntilReset) {
  bool posted = false;
  QTimer::singleShot(0, [&] { posted = true; });
  for (long i = 0; i < 1000000000L && !posted; ++i) RuntimeBackgroundTask();
  EXPECT_TRUE(posted);

  QTimer::singleShot(0, [] { Quit(4); });
  EXPECT_EQ(QCoreApplication::exec(), 4);
  EXPECT_TRUE(QuitRequested() && internal::QuitExitCode() == 4);
  // A Quit asked for outside any loop, once reset, ends no later loop.
  Quit(2);
  internal::ResetQuitForTesting();
  EXPECT_FALSE(QuitRequested());
  QEventLoop loop;
  QTimer::singleShot(0, &loop, [&] { loop.exit(7); });
  EXPECT_EQ(loop.exec(), 7);
}
