// The game with its Resources folder emptied: a whole game is still played to a correct verdict, silent, with empty
// areas where pictures are. (Files cut short or turned to noise are refused in the accessors' suite and played on with
// end to end, as is a missing audio device.) The window reads its files once per process, so CTest runs the case alone.
#include <unistd.h>

#include <filesystem>

#include "tests/support/Game.h"

namespace {

namespace fs = std::filesystem;

TEST(DamagedEnvironment, EmptyResourcesLeaveAPlayableSilentBoardWithoutPictures) {
  if (!classlib::GetImplicitWindow("MW.MW").IsNil()) GTEST_SKIP() << "needs a process of its own (run it alone)";
  const fs::path folder = fs::temp_directory_path() / ("tovarine-damaged-" + std::to_string(getpid()));
  fs::create_directories(folder);
  classlib::SetApplicationBundleResourcesForTesting(folder.string());
  classlib::Sound::ClearPlayLog();
  ::testing::internal::CaptureStderr();
  game::GameDriver driver;  // builds the window
  driver.NewGame();
  driver.ExpectUnchanged([] { game::GameDriver::ClickSquare(0); });  // the refusal sound
  std::mt19937 random(5);
  driver.PlayWholeGame(random, 4);
  const std::string warnings = ::testing::internal::GetCapturedStderr();
  fs::remove_all(folder);
  EXPECT_TRUE(rules::GameOver(driver.Now()));
  auto w = MW();
  EXPECT_TRUE(w->Backdrop().IsNil());
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(w->BCV(i)->Backdrop().IsNil()) << "button " << i;
  driver.ExpectPictures();  // every square empty
  // Every sound asked for played nothing, and each missing file was named once, not once per use.
  ASSERT_FALSE(classlib::Sound::PlayLog().empty());
  for (const std::string& played : classlib::Sound::PlayLog()) EXPECT_EQ(played, "");
  const bool lost = rules::Verdict(driver.Now()) == "Macの勝ちです！";
  for (const char* name : {"Crick.aiff", "Boo.aiff", lost ? "Bad.aiff" : "Finish.aiff"}) {
    EXPECT_NE(warnings.find(name), std::string::npos) << name << " not named in:\n" << warnings;
  }
  EXPECT_LE(std::ranges::count(warnings, '\n'), 40) << warnings;
}

}  // namespace
