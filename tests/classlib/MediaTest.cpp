// Pictures and sounds opened by name from the bundle's Resources folder, here
// a folder of the test's own.
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

class Media : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_);
    SetApplicationBundleResourcesForTesting(dir_.string());
  }
  void TearDown() override {
    SetApplicationBundleResourcesForTesting(bundle_);
    fs::remove_all(dir_);
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  const fs::path dir_ = fs::temp_directory_path() / ("classlib-media-" + std::to_string(::getpid()));
  const char* const resources_ = std::getenv("TOVARINE_TEST_RESOURCES");
  const std::string bundle_ = resources_ ? resources_ : "";
};

}  // namespace

TEST_F(Media, PicturesAreFoundByNameAndContent) {
  QImage image(20, 10, QImage::Format_ARGB32);
  image.fill(QColor(255, 0, 0));
  ASSERT_TRUE(image.save(QString::fromStdString((dir_ / "Black.png").string()), "PNG"));
  Write("SliderHead", Read(dir_ / "Black.png"));  // no extension
  Write("Cut.png", Read(dir_ / "Black.png").substr(0, 60));
  Write("Junk.png", "not a picture at all");
  for (const char* name : {"Black.png", "SliderHead"}) {
    const Ref<Picture> p = Picture::OpenFromApp(name);
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->Width() * 100 + p->Height(), 2010);
    EXPECT_EQ(internal::ImageOf(*p).pixel(5, 5), qRgb(255, 0, 0));
  }
  for (const char* name : {"Missing.png", "Cut.png", "Junk.png", "", "../Black.png", "."}) {
    EXPECT_FALSE(Picture::OpenFromApp(name)) << name;
  }
  SetApplicationBundleResourcesForTesting((dir_ / "absent").string());
  EXPECT_FALSE(GetApplicationBundleResources() || Picture::OpenFromApp("Black.png"));
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
  ASSERT_FALSE(bundle_.empty()) << "TOVARINE_TEST_RESOURCES must name the bundle's Resources (for its Crick.aiff)";
  Write("Crick.aiff", Read(bundle_ + "/Crick.aiff"));
  Write("Cut.aiff", Read(bundle_ + "/Crick.aiff").substr(0, 40));
  Write("Junk.aiff", std::string("FORM\0\0\0\x10" "AIFFCOMM", 16));
  const Ref<FolderItem> resources = GetApplicationBundleResources();
  const Ref<Sound> crick = resources->Child("Crick.aiff")->OpenAsSound();
  ASSERT_TRUE(crick);
  EXPECT_FALSE(crick->IsSilent());  // the dummy driver is a real device
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
