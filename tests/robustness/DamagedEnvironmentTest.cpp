// The game in a damaged environment: its Resources folder emptied, its files truncated or replaced by noise, no audio
// device. A whole game is still played to a correct verdict, silent where sounds are missing, with empty areas where
// pictures are. The window reads its files once per process, so CTest runs each case alone; one that finds the window
// built skips itself.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "tests/support/Game.h"

namespace {

namespace fs = std::filesystem;

class DamagedEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!classlib::GetImplicitWindow("MW.MW").IsNil()) GTEST_SKIP() << "needs a process of its own (run it alone)";
  }
  void TearDown() override { if (!folder_.empty()) fs::remove_all(folder_); }

  // Points the program at a copy of the build's Resources folder: empty, or mangled: the sounds "Crick.aiff" and
  // "Bad.aiff" and every second picture become noise, the other files lose their last two thirds.
  void UseDamagedCopy(bool mangled) {
    folder_ = fs::temp_directory_path() / ("tovarine-damaged-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    classlib::SetApplicationBundleResourcesForTesting(folder_.string());
    std::set<fs::path> files;  // in order of name
    for (const auto& entry : fs::directory_iterator(std::getenv("TOVARINE_TEST_RESOURCES"))) {
      if (mangled && entry.is_regular_file()) files.insert(entry.path());
    }
    std::mt19937 noise(99);
    int pictures = 0;
    for (const fs::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      const std::string name = file.filename().string();
      if (file.extension() == ".aiff" ? name == "Crick.aiff" || name == "Bad.aiff" : pictures++ % 2 == 1) {
        for (char& c : bytes) c = static_cast<char>(noise());
      } else {
        bytes.resize(bytes.size() / 3);
      }
      std::ofstream(folder_ / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
  }

  // Builds the window, plays a whole game after an illegal click (the refusal sound); returns the warnings written.
  std::string PlayWholeGame() {
    classlib::Sound::ClearPlayLog();
    ::testing::internal::CaptureStderr();
    driver_.emplace();
    driver_->NewGame();
    driver_->ExpectUnchanged([] { game::GameDriver::ClickSquare(0); });
    std::mt19937 random(5);
    driver_->PlayWholeGame(random, 4);
    EXPECT_TRUE(rules::GameOver(driver_->Now()));
    return ::testing::internal::GetCapturedStderr();
  }

  static int Lines(const std::string& text) { return int(std::ranges::count(text, '\n')); }

  fs::path folder_;
  std::optional<game::GameDriver> driver_;
};

TEST_F(DamagedEnvironment, EmptyResourcesLeaveAPlayableSilentBoardWithoutPictures) {
  UseDamagedCopy(false);
  const std::string warnings = PlayWholeGame();
  auto w = MW();
  EXPECT_TRUE(w->Backdrop().IsNil());
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(w->BCV(i)->Backdrop().IsNil()) << "button " << i;
  driver_->ExpectPictures();  // every square empty
  // Every sound asked for played nothing, and each missing file was named once, not once per use.
  ASSERT_FALSE(classlib::Sound::PlayLog().empty());
  for (const std::string& played : classlib::Sound::PlayLog()) EXPECT_EQ(played, "");
  const bool lost = rules::Verdict(driver_->Now()) == "Macの勝ちです！";
  for (const char* name : {"Crick.aiff", "Boo.aiff", lost ? "Bad.aiff" : "Finish.aiff"}) {
    EXPECT_NE(warnings.find(name), std::string::npos) << name << " not named in:\n" << warnings;
  }
  EXPECT_LE(Lines(warnings), 40) << warnings;
}

TEST_F(DamagedEnvironment, MangledResourcesLeaveAPlayableGame) {
  UseDamagedCopy(true);
  const std::string warnings = PlayWholeGame();
  // The placing sound is noise: silent, and named in a warning.
  EXPECT_NE(warnings.find("Crick.aiff"), std::string::npos) << warnings;
  const auto& log = classlib::Sound::PlayLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "Crick.aiff"), 0);
  // Whatever decoded is shown (the pictures were checked at every move); whatever did not leaves its area empty.
  EXPECT_TRUE(MW()->BCV(3)->Backdrop() == Button());
}

TEST_F(DamagedEnvironment, NoAudioDeviceLeavesTheGameSilent) {
  setenv("SDL_AUDIODRIVER", "nonexistent", 1);  // read when the first sound is opened
  const std::string warnings = PlayWholeGame();
  EXPECT_NE(warnings.find("no audio device"), std::string::npos) << warnings;
  EXPECT_LE(Lines(warnings), 5) << warnings;
}

}  // namespace
