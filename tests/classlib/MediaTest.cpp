// Pictures and sounds opened by name from the bundle's Resources folder.
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

using namespace classlib;
namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An AIFF file: 16-bit stereo PCM at 44.1 kHz, a short silence.
std::string Aiff(std::uint32_t frames) {
  auto be = [](std::uint64_t v, int n) {
    std::string s;
    for (int i = n - 1; i >= 0; --i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  const std::string data(frames * 4, '\0');
  const std::string comm = "COMM" + be(18, 4) + be(2, 2) + be(frames, 4) + be(16, 2) +
                           std::string("\x40\x0E\xAC\x44\0\0\0\0\0\0", 10);
  const std::string ssnd = "SSND" + be(8 + data.size(), 4) + be(0, 8) + data;
  return "FORM" + be(4 + comm.size() + ssnd.size(), 4) + "AIFF" + comm + ssnd;
}

class Media : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("classlib-media-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    SetApplicationBundleResourcesForTesting(dir_.string());
  }
  void TearDown() override {
    const char* resources = std::getenv("TOVARINE_TEST_RESOURCES");
    SetApplicationBundleResourcesForTesting(resources ? resources : "");
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

}  // namespace

TEST_F(Media, PicturesAreFoundByNameAndContent) {
  QImage image(20, 10, QImage::Format_ARGB32);
  image.fill(QColor(255, 0, 0));
  ASSERT_TRUE(image.save(QString::fromStdString((dir_ / "Black.png").string()), "PNG"));
  fs::copy_file(dir_ / "Black.png", dir_ / "SliderHead");
  const std::string png = ReadFile(dir_ / "Black.png");
  WriteFile(dir_ / "Cut.png", png.substr(0, png.size() / 2));
  WriteFile(dir_ / "Junk.png", "not a picture at all");

  for (const char* name : {"Black.png", "SliderHead"}) {
    const Ref<Picture> p = Picture::OpenFromApp(name);
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->Width(), 20);
    EXPECT_EQ(p->Height(), 10);
    EXPECT_EQ(internal::ImageOf(*p).pixel(5, 5), qRgb(255, 0, 0));
  }
  for (const char* name : {"Missing.png", "Cut.png", "Junk.png", "", "../Black.png", "."}) {
    EXPECT_FALSE(Picture::OpenFromApp(name)) << name;
  }
  SetApplicationBundleResourcesForTesting((dir_ / "absent").string());
  EXPECT_FALSE(GetApplicationBundleResources());
  EXPECT_FALSE(Picture::OpenFromApp("Black.png"));
}

TEST_F(Media, BlankPicturesAndDrawing) {
  auto p = std::make_shared<Picture>(4, 3);
  EXPECT_EQ(qAlpha(internal::ImageOf(*p).pixel(0, 0)), 0);
  Ref<Graphics> g = p->Graph();
  g->SetForeColor(RGB(0, 0, 255));
  g->FillRect(2, 1, std::numeric_limits<Integer>::max(), std::numeric_limits<Integer>::max());
  g->FillRect(std::numeric_limits<Integer>::min(), -5, 1, 1);
  EXPECT_EQ(internal::ImageOf(*p).pixel(3, 2), qRgb(0, 0, 255));
  EXPECT_EQ(qAlpha(internal::ImageOf(*p).pixel(1, 1)), 0);
  EXPECT_THROW(Picture(-1, 5), RuntimeException);
  EXPECT_THROW(Picture(1 << 20, 1 << 20), RuntimeException);
  EXPECT_EQ(Picture(0, 0).Width(), 0);
  p.reset();
  EXPECT_THROW(g->FillRect(0, 0, 1, 1), NilObjectException);
}

TEST_F(Media, SoundsLoadPlayOrStaySilent) {
  WriteFile(dir_ / "Crick.aiff", Aiff(4410));
  WriteFile(dir_ / "Junk.aiff", "FORM\0\0\0\x10" "AIFFCOMM");
  const std::string aiff = Aiff(4410);
  WriteFile(dir_ / "Cut.aiff", aiff.substr(0, 40));

  const Ref<FolderItem> resources = GetApplicationBundleResources();
  ASSERT_TRUE(resources);
  const Ref<Sound> crick = resources->Child("Crick.aiff")->OpenAsSound();
  ASSERT_TRUE(crick);
  EXPECT_FALSE(crick->IsSilent());  // the dummy driver is a real device
  EXPECT_EQ(crick->Name(), "Crick.aiff");

  for (const char* name : {"Missing.aiff", "Junk.aiff", "Cut.aiff"}) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(resources->Child(name)->OpenAsSound()) << name;
    const std::string warning = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(warning.find(name), std::string::npos) << warning;
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
  }

  Sound::ClearPlayLog();
  crick->Play();
  crick->Play();
  const Ref<Sound> none;
  EXPECT_NO_THROW(none->Play());
  EXPECT_EQ(Sound::PlayLog(), (std::vector<std::string>{"Crick.aiff", "Crick.aiff", ""}));
}
