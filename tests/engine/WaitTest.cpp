// The wait before the computer opens a game: it ends at the first tick at
// which it is complete, and sleeps between ticks instead of spinning.
#include <QTimer>

#include "tests/engine/GameFixture.h"

namespace enginetest {
namespace {

TEST(Wait, EndsAtTheFirstTickAtWhichItIsComplete) {
  // On a stopped clock only the wait's sleeps move time on, a tick each.
  classlib::testing::FreezeTicks(true);
  QTimer rescue;  // a wait that spins instead would never end
  QObject::connect(&rescue, &QTimer::timeout, [] { classlib::testing::AdvanceTicks(1000); });
  rescue.start(2000);
  std::string waited;
  for (const Integer ticks : {0, 1, 60}) {
    const Integer start = classlib::Ticks();
    MW()->Stop(ticks);
    waited += classlib::Str(classlib::Ticks() - start) + " ";
  }
  classlib::testing::FreezeTicks(false);
  EXPECT_EQ(waited, "0 1 60 ");
}

}  // namespace
}  // namespace enginetest
