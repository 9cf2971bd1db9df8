// The game in a damaged environment: its Resources folder emptied, its
// pictures and sounds truncated or replaced by garbage, no audio device. A
// whole game must still be played to a correct verdict, silently where
// sounds are missing, with empty areas where pictures are missing.
//
// The main window is built once per process and reads its pictures and
// sounds when it is built, so each scenario needs a process of its own:
// CTest runs each one alone with a filter, and a scenario that finds the
// window already built skips itself.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/Resources.h"
#include "tests/robustness/GameDriver.h"

namespace {

namespace fs = std::filesystem;
using robustness::GameDriver;

enum class Damage { Emptied, Mangled };

bool WindowAlreadyBuilt() { return !classlib::GetImplicitWindow("MW.MW").IsNil(); }

std::vector<char> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A copy of the bundle's Resources folder, damaged. Mangled: the sounds
// "Crick.aiff" and "Bad.aiff" become noise and the other two lose their
// last two thirds; of the pictures, one in two is cut short and the others
// become noise.
fs::path MakeDamagedCopy(Damage damage) {
  const char* source = std::getenv("TOVARINE_TEST_RESOURCES");
  fs::path copy = fs::temp_directory_path() / ("tovarine-damaged-" + std::to_string(getpid()));
  fs::remove_all(copy);
  fs::create_directories(copy);
  if (damage == Damage::Emptied || !source) return copy;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(source)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::mt19937 noise(99);
  int pictureCount = 0;
  for (const fs::path& file : files) {
    std::vector<char> bytes = ReadAll(file);
    std::string name = file.filename().string();
    bool isSound = file.extension() == ".aiff";
    bool garbage = isSound ? (name == "Crick.aiff" || name == "Bad.aiff") : (pictureCount++ % 2 == 1);
    if (garbage) {
      for (char& c : bytes) c = static_cast<char>(noise());
    } else {
      bytes.resize(bytes.size() / 3);
    }
    std::ofstream(copy / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return copy;
}

// One whole game, deterministic, with an illegal click before it (so that
// the refusal sound is asked for) and illegal clicks along the way.
void PlayCheckedGame(GameDriver& driver) {
  ASSERT_EQ(driver.NewGame(), "");
  ASSERT_EQ(driver.ClickChangingNothing(0), "");
  std::mt19937 random(5);
  ASSERT_EQ(driver.PlayWholeGame(random, 4), "");
  ASSERT_TRUE(rules::GameOver(driver.Board()));
}

class DamagedResources : public ::testing::Test {
 protected:
  void SetUp() override {
    if (WindowAlreadyBuilt()) GTEST_SKIP() << "needs a process of its own (run it alone)";
  }
  void TearDown() override {
    if (!folder_.empty()) fs::remove_all(folder_);
    classlib::SetApplicationBundleResourcesForTesting("");
  }
  void UseDamaged(Damage damage) {
    folder_ = MakeDamagedCopy(damage);
    classlib::SetApplicationBundleResourcesForTesting(folder_.string());
  }
  fs::path folder_;
};

TEST_F(DamagedResources, EmptyFolderLeavesAPlayableSilentBoardWithoutPictures) {
  UseDamaged(Damage::Emptied);
  classlib::Sound::ClearPlayLog();
  ::testing::internal::CaptureStderr();
  GameDriver driver;
  PlayCheckedGame(driver);
  std::string warnings = ::testing::internal::GetCapturedStderr();

  auto w = driver.Window();
  EXPECT_TRUE(w->Backdrop().IsNil());
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(w->BCV(i)->Backdrop().IsNil()) << "button " << i;
  for (int i = 0; i < 64; ++i) EXPECT_TRUE(w->Box(i)->Backdrop().IsNil()) << "square " << i;
  // Every sound that was asked for played nothing, and each missing file
  // was named once.
  ASSERT_FALSE(classlib::Sound::PlayLog().empty());
  for (const std::string& played : classlib::Sound::PlayLog()) EXPECT_EQ(played, "");
  for (const char* name : {"Crick.aiff", "Boo.aiff"}) {
    EXPECT_NE(warnings.find(name), std::string::npos) << name << " not named in:\n" << warnings;
  }
  EXPECT_NE(warnings.find(rules::Verdict(driver.Board()) == "Macの勝ちです！" ? "Bad.aiff" : "Finish.aiff"),
            std::string::npos)
      << warnings;
  EXPECT_LE(std::count(warnings.begin(), warnings.end(), '\n'), 40)
      << "a warning per use instead of per file:\n" << warnings;
}

TEST_F(DamagedResources, TruncatedAndGarbageFilesLeaveAPlayableGame) {
  UseDamaged(Damage::Mangled);
  classlib::Sound::ClearPlayLog();
  ::testing::internal::CaptureStderr();
  GameDriver driver;
  PlayCheckedGame(driver);
  std::string warnings = ::testing::internal::GetCapturedStderr();

  // The placing sound is noise: silent, and named in a warning.
  EXPECT_NE(warnings.find("Crick.aiff"), std::string::npos) << warnings;
  EXPECT_EQ(std::count(classlib::Sound::PlayLog().begin(), classlib::Sound::PlayLog().end(),
                       std::string("Crick.aiff")),
            0);
  // Whatever decoded is shown; whatever did not leaves its area empty.
  EXPECT_EQ(driver.PicturesMatchBoard(), "");
  EXPECT_TRUE(driver.Window()->BCV(3)->Backdrop() == Button());
}

TEST(NoAudioDevice, TheGamePlaysSilently) {
  const char* driverName = std::getenv("SDL_AUDIODRIVER");
  if (!driverName || std::string(driverName) != "nonexistent") {
    GTEST_SKIP() << "runs with SDL_AUDIODRIVER=nonexistent";
  }
  if (WindowAlreadyBuilt()) GTEST_SKIP() << "needs a process of its own (run it alone)";
  ::testing::internal::CaptureStderr();
  GameDriver driver;
  PlayCheckedGame(driver);
  std::string warnings = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(warnings.empty()) << "no warning that the game is silent";
  EXPECT_LE(std::count(warnings.begin(), warnings.end(), '\n'), 5) << warnings;
  EXPECT_EQ(driver.PicturesMatchBoard(), "");
}

}  // namespace
