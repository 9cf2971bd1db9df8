// The bundle's pictures, sounds and About information, and the accessors that
// load them.
//
// The accessors keep their state for the whole process, so every check of an
// accessor runs in a fresh process of its own: a death-test block in the
// "threadsafe" style re-runs this test binary for that one test, where no
// accessor has been called yet, and the block ends the child with exit code 0
// when all its checks held (failures are printed on the child's stderr, which
// gtest shows). The parent process never calls an accessor.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "classlib/ClassLib.h"
#include "shell/Resources.h"

namespace fs = std::filesystem;
using classlib::FolderItem;
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
    {"TessarBoard.png", TessarBoard, 640, 670}, {"Black.png", Black, 64, 64},
    {"White.png", White, 64, 64},               {"Black1.png", Black1, 64, 64},
    {"White1.png", White1, 64, 64},             {"Black2.png", Black2, 64, 64},
    {"White2.png", White2, 64, 64},             {"Button.png", Button, 82, 42},
    {"ButtonB.png", ButtonB, 82, 42},           {"rButton.png", rButton, 20, 20},
    {"rButtonX.png", rButtonX, 20, 20},         {"yButton.png", yButton, 20, 20},
    {"yButtonD.png", yButtonD, 20, 20},         {"gButton.png", gButton, 25, 20},
    {"SliderHead", SliderHead, 20, 20},         {"SliderLine", SliderLine, 100, 20},
};

struct SoundFile {
  const char* name;
  Ref<Sound> (*accessor)();
  double minSeconds, maxSeconds;
};
const SoundFile kSounds[] = {
    {"Crick.aiff", Crick, 0.02, 0.3},
    {"Boo.aiff", Boo, 0.1, 0.6},
    {"Finish.aiff", Finish, 0.7, 1.5},
    {"Bad.aiff", Bad, 0.7, 1.5},
};

fs::path BundleResources() {
  const char* path = std::getenv("TOVARINE_TEST_RESOURCES");
  return path ? fs::path(path) : fs::path();
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Big-endian fields of an AIFF file; 0 past the end.
std::uint64_t BigEndian(const std::string& bytes, size_t at, size_t count) {
  std::uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) {
    value = value << 8 | (at + i < bytes.size() ? static_cast<unsigned char>(bytes[at + i]) : 0);
  }
  return value;
}

struct AiffInfo {
  bool valid = false;
  int channels = 0, bits = 0;
  double rate = 0, seconds = 0;
  int firstSample = 0, lastSample = 0;  // of the first channel
};

AiffInfo ReadAiff(const std::string& bytes) {
  AiffInfo info;
  if (bytes.compare(0, 4, "FORM") != 0 || bytes.compare(8, 4, "AIFF") != 0) return info;
  std::uint64_t frames = 0;
  size_t data = 0;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const size_t size = BigEndian(bytes, at + 4, 4);
    if (id == "COMM" && size >= 18) {
      info.channels = static_cast<int>(BigEndian(bytes, at + 8, 2));
      frames = BigEndian(bytes, at + 10, 4);
      info.bits = static_cast<int>(BigEndian(bytes, at + 14, 2));
      const int exponent = static_cast<int>(BigEndian(bytes, at + 16, 2) & 0x7FFF);
      info.rate = std::ldexp(static_cast<double>(BigEndian(bytes, at + 18, 8)), exponent - 16383 - 63);
    } else if (id == "SSND" && size >= 8) {
      data = at + 16 + BigEndian(bytes, at + 8, 4);
    }
    at += 8 + size + (size & 1);
  }
  const size_t frameBytes = static_cast<size_t>(info.channels) * 2;
  if (info.bits != 16 || info.rate <= 0 || frames == 0 || data == 0 ||
      data + frames * frameBytes > bytes.size()) {
    return info;
  }
  info.valid = true;
  info.seconds = static_cast<double>(frames) / info.rate;
  info.firstSample = static_cast<std::int16_t>(BigEndian(bytes, data, 2));
  info.lastSample = static_cast<std::int16_t>(BigEndian(bytes, data + (frames - 1) * frameBytes, 2));
  return info;
}

// Checks inside a fresh child process: failures are printed, and the child's
// exit code says whether all held.
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
    bundle_ = BundleResources();
    ASSERT_TRUE(!bundle_.empty() && fs::is_directory(bundle_))
        << "TOVARINE_TEST_RESOURCES must name the built bundle's Resources folder";
  }
  fs::path bundle_;
};

TEST_F(ResourcesTest, EveryPictureIsInTheBundleUnderItsExactNameAndSize) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(bundle_)) names.push_back(entry.path().filename().string());
  for (const PictureFile& file : kPictures) {
    SCOPED_TRACE(file.name);
    EXPECT_NE(std::find(names.begin(), names.end(), file.name), names.end());
    const Ref<Picture> picture = Picture::Open((bundle_ / file.name).string());
    ASSERT_FALSE(picture.IsNil());
    EXPECT_EQ(picture->Width(), file.width);
    EXPECT_EQ(picture->Height(), file.height);
  }
}

TEST_F(ResourcesTest, EverySoundIsShortFadedPcmThatDecodes) {
  for (const SoundFile& file : kSounds) {
    SCOPED_TRACE(file.name);
    const AiffInfo aiff = ReadAiff(ReadFile(bundle_ / file.name));
    ASSERT_TRUE(aiff.valid) << "not a 16-bit PCM AIFF file";
    EXPECT_DOUBLE_EQ(aiff.rate, 44100.0);
    EXPECT_GE(aiff.seconds, file.minSeconds);
    EXPECT_LE(aiff.seconds, file.maxSeconds);
    // Faded in and out: no click at either end.
    EXPECT_LE(std::abs(aiff.firstSample), 300);
    EXPECT_LE(std::abs(aiff.lastSample), 300);
    const Ref<Sound> sound = FolderItem((bundle_ / file.name).string()).OpenAsSound();
    ASSERT_FALSE(sound.IsNil());
    EXPECT_FALSE(sound->IsSilent());
  }
}

TEST_F(ResourcesTest, AboutInformationNamesAnIconThatLoads) {
  const std::string info = ReadFile(bundle_ / "Info.txt");
  EXPECT_NE(info.find("Name=Tovarine\n"), std::string::npos);
  EXPECT_NE(info.find("Version=1.0.0\n"), std::string::npos);
  EXPECT_NE(info.find("Copyright="), std::string::npos);
  ASSERT_NE(info.find("Icon=AppIcon.png\n"), std::string::npos);
  const Ref<Picture> icon = Picture::Open((bundle_ / "AppIcon.png").string());
  ASSERT_FALSE(icon.IsNil());
  EXPECT_EQ(icon->Width(), 128);
  EXPECT_EQ(icon->Height(), 128);
  const std::string help = ReadFile(bundle_ / "help" / "index.html");
  EXPECT_NE(help.find("charset=\"utf-8\""), std::string::npos);
  EXPECT_EQ(help.find("<script"), std::string::npos);
}

TEST_F(ResourcesTest, AccessorsHoldTheObjectTheyLoaded) {
  EXPECT_EXIT(
      {
        for (const PictureFile& file : kPictures) {
          const Ref<Picture> first = file.accessor();
          Check(!first.IsNil(), std::string(file.name) + " loads");
          if (first.IsNil()) continue;
          Check(file.accessor().Get() == first.Get(), std::string(file.name) + " is held");
          Check(first->Width() == file.width && first->Height() == file.height,
                std::string(file.name) + " has its size");
        }
        for (const SoundFile& file : kSounds) {
          const Ref<Sound> first = file.accessor();
          Check(!first.IsNil() && first->Name() == file.name, std::string(file.name) + " loads");
          Check(file.accessor().Get() == first.Get(), std::string(file.name) + " is held");
        }
        EndChild();
      },
      ::testing::ExitedWithCode(0), "");
}

// Pictures missing at first are asked for again at each call, each by its own
// exact name; once loaded they are held even if the file goes away.
TEST_F(ResourcesTest, MissingPicturesAreLoadedOnceTheyAppear) {
  EXPECT_EXIT(
      {
        const fs::path folder = fs::temp_directory_path() / ("tovarine-pictures-" + std::to_string(getpid()));
        fs::create_directories(folder);
        classlib::SetApplicationBundleResourcesForTesting(folder.string());
        for (const PictureFile& file : kPictures) Check(file.accessor().IsNil(), std::string(file.name) + " absent");

        const size_t count = std::size(kPictures);
        for (size_t i = 0; i < count; ++i) {
          const PictureFile& file = kPictures[i];
          fs::copy_file(bundle_ / file.name, folder / file.name);
          const Ref<Picture> loaded = file.accessor();
          Check(!loaded.IsNil() && loaded->Width() == file.width && loaded->Height() == file.height,
                std::string(file.name) + " loads once present");
          // The others do not share its cache or its file name (a missing
          // Black2 leaves White2 alone, and the other way round).
          for (size_t j = i + 1; j < count; ++j) {
            Check(kPictures[j].accessor().IsNil(), std::string(kPictures[j].name) + " still absent");
          }
          fs::remove(folder / file.name);
          Check(file.accessor().Get() == loaded.Get(), std::string(file.name) + " held after its file went");
        }
        fs::remove_all(folder);
        EndChild();
      },
      ::testing::ExitedWithCode(0), "");
}

// A sound is tried once per run, whatever it found.
TEST_F(ResourcesTest, SoundsAreTriedOncePerRun) {
  EXPECT_EXIT(
      {
        const fs::path folder = fs::temp_directory_path() / ("tovarine-sounds-" + std::to_string(getpid()));
        fs::create_directories(folder);
        fs::copy_file(bundle_ / "Boo.aiff", folder / "Boo.aiff");
        classlib::SetApplicationBundleResourcesForTesting(folder.string());

        Check(Crick().IsNil(), "Crick absent at its first call");
        const Ref<Sound> boo = Boo();
        Check(!boo.IsNil(), "Boo present at its first call");

        // Without a Resources folder a sound stays nothing, without an error.
        classlib::SetApplicationBundleResourcesForTesting((folder / "missing").string());
        Check(Finish().IsNil(), "Finish without a Resources folder");

        // Now every file is there, yet nothing is asked again: the earlier
        // results stand, and only Bad, never called before, loads.
        classlib::SetApplicationBundleResourcesForTesting(bundle_.string());
        fs::copy_file(bundle_ / "Crick.aiff", folder / "Crick.aiff");
        Check(Crick().IsNil(), "Crick stays nothing");
        Check(Finish().IsNil(), "Finish stays nothing");
        Check(Boo().Get() == boo.Get(), "Boo is held");
        Check(!Bad().IsNil(), "Bad loads at its first call");

        Crick()->Play();  // playing nothing is silent
        fs::remove_all(folder);
        EndChild();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
