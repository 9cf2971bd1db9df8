// The clock behind Ticks: sixtieths of a second, counted from the start of the system as the desktop's clock counts,
// so that even a program's first reading is far from 0 (a first press is never taken for the second of a quick pair).
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

using namespace classlib;
using namespace std::chrono;

TEST(Clock, TicksAreSixtiethsOfASecondSinceTheSystemStarted) {
  // Over half a second of the steady clock: 30 ticks, give or take the part of a tick each reading cuts off. Each
  // reading is taken between two readings of the steady clock close together, so a busy machine changes nothing.
  const auto read = [] {
    for (;;) {
      const auto before = steady_clock::now();
      const Integer ticks = Ticks();
      const auto after = steady_clock::now();
      if (after - before < 1ms) return std::pair{ticks, before + (after - before) / 2};
    }
  };
  const auto [first, from] = read();
  std::this_thread::sleep_for(500ms);
  const auto [last, to] = read();
  EXPECT_NEAR(static_cast<double>(last - first), 60 * duration<double>(to - from).count(), 1.2);
#ifdef __linux__
  // Already past this process's age.
  std::ifstream statFile("/proc/self/stat"), uptimeFile("/proc/uptime");
  std::string stat, field;
  double uptime = 0, started = 0;
  ASSERT_TRUE(std::getline(statFile, stat) && uptimeFile >> uptime);
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  for (int i = 3; i < 22; ++i) fields >> field;  // up to the start time, field 22
  ASSERT_TRUE(fields >> started);
  EXPECT_GT(static_cast<double>(Ticks()), 60.0 * (uptime - started / static_cast<double>(sysconf(_SC_CLK_TCK))));
#endif
}
