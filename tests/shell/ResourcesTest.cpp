// The bundle's pictures and sounds, and the accessors that load them. The accessors keep their state for the whole
// process, so their check runs in a child process ("threadsafe" death-test style) where none has been called yet; it
// prints each failure and exits with 0 only when every check held.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "classlib/ClassLib.h"
#include "shell/Resources.h"

namespace fs = std::filesystem;
using classlib::Integer;
using classlib::Picture;
using classlib::Ref;
using classlib::Sound;

namespace {

struct PictureFile { const char* name; Ref<Picture> (*accessor)(); Integer width, height; };
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

// Checks inside a child process: failures are printed, and the exit code says whether all held.
int failures = 0;
void Check(bool held, const std::string& what) {
  if (!held) std::fprintf(stderr, "FAILED: %s\n", what.c_str()), ++failures;
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
  // An empty folder of the child's own, made the Resources folder.
  fs::path EmptyResources(const std::string& what) {
    const fs::path folder = fs::temp_directory_path() / ("tovarine-" + what + "-" + std::to_string(getpid()));
    fs::create_directories(folder);
    classlib::SetApplicationBundleResourcesForTesting(folder.string());
    return folder;
  }
  fs::path bundle_;
};

// A picture missing at a call is asked for again at the next, each by its own name; once loaded it is held, even after
// its file went. Sounds present at their first call load from their own files and are held too.
TEST_F(ResourcesTest, AccessorsLoadTheirOwnFilesAndHoldThem) {
  EXPECT_EXIT(
      {
        for (const auto& [name, accessor] : kSounds) {
          const Ref<Sound> first = accessor();
          Check(!first.IsNil() && first->Name() == name && accessor().Get() == first.Get(), name);
        }
        const fs::path folder = EmptyResources("pictures");
        for (const PictureFile& file : kPictures) Check(file.accessor().IsNil(), std::string(file.name) + " absent");
        for (const PictureFile& file : kPictures) {
          fs::copy_file(bundle_ / file.name, folder / file.name);
          const Ref<Picture> loaded = file.accessor();
          Check(!loaded.IsNil() && loaded->Width() == file.width && loaded->Height() == file.height,
                std::string(file.name) + " loads once present");
          fs::remove(folder / file.name);
          Check(file.accessor().Get() == loaded.Get(), std::string(file.name) + " held");
          // The others share neither its cache nor its file: a missing Black2 leaves White2 alone, and vice versa.
          for (const PictureFile& other : kPictures) {
            if (&other > &file) Check(other.accessor().IsNil(), std::string(other.name) + " still absent");
          }
        }
        fs::remove_all(folder);
        EndChild();
      },
      ::testing::ExitedWithCode(0), "");
}

// Files that cannot be had: each is named on stderr once with its reason, also when its accessor asks again, and its
// accessor gives nothing. A picture's size is read from its header: a huge one is refused before any decoding. (Tests
// run as root, which reads any file: a folder and a pipe stand in for unreadable files, a pipe also proving that
// nothing waits on it.)
TEST_F(ResourcesTest, WhatCannotBeHadIsNamedOnceWithItsReason) {
  const auto child = [this] {
    const fs::path folder = EmptyResources("damaged");
    auto put = [&](const char* name, const std::string& bytes) {
      std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    // A PNG header of 30000 x 30000 pixels with its right checksum, then the start of its data.
    put("TessarBoard.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0", 29) +
                               std::string("\x66\x27\xf8\xba\0\0\0\x08IDAT", 12) + std::string(12, '\x55'));
    put("Black.png", "");
    put("White.png", std::string(300, '\x5a'));
    fs::create_directory(folder / "Button.png");
    fs::create_directory(folder / "Crick.aiff");
    ::mkfifo((folder / "gButton.png").c_str(), 0600);
    ::mkfifo((folder / "Boo.aiff").c_str(), 0600);
    ::testing::internal::CaptureStderr();
    for (int twice = 0; twice < 2; ++twice) {
      for (auto accessor : {TessarBoard, Black, White, Button, gButton, Black1}) {
        Check(accessor().IsNil(), "a picture that cannot be had gives nothing");
      }
      Check(Crick().IsNil() && Boo().IsNil(), "sounds nil");
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::pair<const char*, const char*> expected[] = {
        {"TessarBoard.png", "too large (30000 x 30000"}, {"Black.png", "empty"},
        {"White.png", "not a picture"},  {"Button.png", "not readable"},
        {"gButton.png", "not readable"}, {"Black1.png", "missing"},
        {"Crick.aiff", "not readable"},  {"Boo.aiff", "not readable"}};
    for (const auto& [name, why] : expected) {
      const std::size_t at = err.find(std::string("/") + name + " is " + why);
      Check(at != std::string::npos && err.find(std::string("/") + name + " ", at + 1) == std::string::npos,
            std::string(name) + " named once as " + why + " in:\n" + err);
    }
    Check(std::count(err.begin(), err.end(), '\n') == 8, "one line each:\n" + err);
    fs::remove_all(folder);
    // No Resources folder at all: said for the folder and for each picture.
    classlib::SetApplicationBundleResourcesForTesting((folder / "gone").string());
    ::testing::internal::CaptureStderr();
    Check(Black2().IsNil() && Finish().IsNil(), "nothing without a folder");
    const std::string gone = ::testing::internal::GetCapturedStderr();
    Check(gone.find("gone is missing") != std::string::npos && gone.find("Black2.png") != std::string::npos,
          "the missing folder is named:\n" + gone);
    EndChild();
  };
  EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
