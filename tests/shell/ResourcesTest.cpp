// The bundle's pictures and sounds, and the accessors that load them. The
// accessors keep their state for the whole process, so their check runs in a
// child process ("threadsafe" death-test style) where none has been called
// yet; it prints each failure and exits with 0 only when every check held.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "classlib/ClassLib.h"
#include "shell/Resources.h"

namespace fs = std::filesystem;
using classlib::Integer;
using classlib::Picture;
using classlib::Ref;
using classlib::Sound;

namespace {

struct PictureFile {
  const char* name;
  Ref<Picture> (*accessor)();
  Integer width, height;
};
const PictureFile kPictures[] = {
    {"TessarBoard.png", TessarBoard, 640, 670}, {"Black.png", Black, 64, 64},   {"White.png", White, 64, 64},
    {"Black1.png", Black1, 64, 64},   {"White1.png", White1, 64, 64},   {"Black2.png", Black2, 64, 64},
    {"White2.png", White2, 64, 64},   {"Button.png", Button, 82, 42},   {"ButtonB.png", ButtonB, 82, 42},
    {"rButton.png", rButton, 20, 20}, {"rButtonX.png", rButtonX, 20, 20}, {"yButton.png", yButton, 20, 20},
    {"yButtonD.png", yButtonD, 20, 20}, {"gButton.png", gButton, 25, 20},
    {"SliderHead", SliderHead, 20, 20}, {"SliderLine", SliderLine, 100, 20},  // no extension
};
const std::pair<const char*, Ref<Sound> (*)()> kSounds[] = {
    {"Crick.aiff", Crick}, {"Boo.aiff", Boo}, {"Finish.aiff", Finish}, {"Bad.aiff", Bad}};

// Checks inside a child process: failures are printed, and the exit code
// says whether all held.
int failures = 0;
void Check(bool held, const std::string& what) {
  if (!held) {
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    ++failures;
  }
}
[[noreturn]] void EndChild() {
  std::fflush(stderr);
  std::_Exit(failures == 0 ? 0 : 1);
}

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* path = std::getenv("TOVARINE_TEST_RESOURCES");
    ASSERT_TRUE(path && fs::is_directory(path)) << "TOVARINE_TEST_RESOURCES must name the bundle's Resources";
    bundle_ = path;
  }
  fs::path bundle_;
};

// Every sound is in the bundle under its exact name and decodes; the
// pictures are loaded from their own files by their accessors below.
TEST_F(ResourcesTest, EverySoundIsInTheBundleAndDecodes) {
  for (const auto& [name, accessor] : kSounds) {
    const Ref<Sound> sound = classlib::FolderItem((bundle_ / name).string()).OpenAsSound();
    EXPECT_TRUE(!sound.IsNil() && !sound->IsSilent()) << name;
  }
}

// A picture missing at a call is asked for again at the next, each by its own
// name; once loaded it is held, even after its file went. Sounds present at
// their first call load from their own files and are held too.
TEST_F(ResourcesTest, AccessorsLoadTheirOwnFilesAndHoldThem) {
  EXPECT_EXIT(
      {
        for (const auto& [name, accessor] : kSounds) {
          const Ref<Sound> first = accessor();
          Check(!first.IsNil() && first->Name() == name && accessor().Get() == first.Get(), name);
        }
        const fs::path folder = fs::temp_directory_path() / ("tovarine-pictures-" + std::to_string(getpid()));
        fs::create_directories(folder);  // an empty Resources folder of the child's own
        classlib::SetApplicationBundleResourcesForTesting(folder.string());
        for (const PictureFile& file : kPictures) Check(file.accessor().IsNil(), std::string(file.name) + " absent");
        for (const PictureFile& file : kPictures) {
          fs::copy_file(bundle_ / file.name, folder / file.name);
          const Ref<Picture> loaded = file.accessor();
          Check(!loaded.IsNil() && loaded->Width() == file.width && loaded->Height() == file.height,
                std::string(file.name) + " loads once present");
          fs::remove(folder / file.name);
          Check(file.accessor().Get() == loaded.Get(), std::string(file.name) + " held");
          // The others share neither its cache nor its file: a missing Black2
          // leaves White2 alone, and the other way round.
          for (const PictureFile& other : kPictures) {
            if (&other > &file) Check(other.accessor().IsNil(), std::string(other.name) + " still absent");
          }
        }
        fs::remove_all(folder);
        EndChild();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
