// The clock and the wait before the computer opens a game: the clock counts
// from the start of the system, and a wait ends at the first tick at which it
// is complete, sleeping between ticks instead of spinning.
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <QTimer>

#include "tests/support/Game.h"

namespace game {
namespace {

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

TEST(Wait, EndsAtTheFirstTickAtWhichItIsComplete) {
  // On a stopped clock only the wait's sleeps move time on, a tick each.
  ui::FreezeTicks(true);
  QTimer rescue;  // a wait that spins instead would never end
  QObject::connect(&rescue, &QTimer::timeout, [] { ui::AdvanceTicks(1000); });
  rescue.start(2000);
  std::string waited;
  for (const Integer ticks : {0, 1, 60}) {
    const Integer start = Ticks();
    MW()->Stop(ticks);
    waited += Str(Ticks() - start) + " ";
  }
  ui::FreezeTicks(false);
  EXPECT_EQ(waited, "0 1 60 ");
}

}  // namespace
}  // namespace game
