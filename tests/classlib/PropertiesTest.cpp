// Design streams: a damaged stream is refused with a message that says where
// and why, and nothing is read past its end. That the program's own streams
// arrive on the widgets is read back from the main window (window suite).
#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

using namespace classlib;

namespace {

struct Probe : Object {
  Integer Width = 0, Height = 0;
  bool Visible = false;
  std::string Title;
  void DeclareProperties(PropertyTable& t) override {
    t.Add("Width", &Probe::Width);
    t.Add("Height", &Probe::Height);
    t.Add("Visible", &Probe::Visible);
    t.Add("Title", &Probe::Title);
  }
  std::string ClassName() const override { return "Probe"; }
};

std::string operator""_b(const char* bytes, std::size_t size) { return {bytes, size}; }

}  // namespace

TEST(DesignStream, MalformedStreamsAreRefusedClearly) {
  const std::string width = EncodeStream({{"Width", Integer{640}}});  // 14 bytes
  ASSERT_EQ(width, "Width \x80\x02\0\0\0\0\0\0"_b);
  const std::pair<std::string, std::string> cases[] = {
      {"Visi", "ends inside the name"},
      {"Title \3\0"_b, "ends inside a String's byte count"},
      {"Height \x9E\2"_b, "ends inside an Integer value (8 bytes needed, 2 left)"},
      {"Nope \0"_b, "(\"Nope\"): Probe has no property"},
      {"Visible \2"_b, "a Boolean value is 0 or 1, not 2"},
      {"Title \xFF\xFF\xFF\xFF" "ab", "byte count 4294967295 runs past the end"},
      {" \1", "has no name"},
  };
  for (const auto& [tail, says] : cases) {
    Probe p;
    try {
      SetProperties(p, width + tail);
      ADD_FAILURE() << "accepted: " << says;
    } catch (const DesignStreamException& e) {
      EXPECT_NE(std::string(e.what()).find("entry 2 at byte 14"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
    }
    EXPECT_EQ(p.Width, 640);  // the entry before the fault stays applied
  }
  Probe p;
  EXPECT_THROW(SetProperty(p, "Width", true), DesignStreamException);  // a value of another type
}
