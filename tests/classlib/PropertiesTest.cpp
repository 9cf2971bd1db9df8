// Design streams are input the window is built from: a malformed one is
// refused with a message naming the entry, its offset and the reason, and
// nothing past the end of a stream is ever read.
#include <cstring>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

using namespace classlib;

namespace {

struct Probe : Object {
  Integer Width = 0;
  bool Visible = false;
  std::string Title;
  float TextSize = 0;
  Color BackColor;
  void DeclareProperties(PropertyTable& t) override {
    t.Add("Width", &Probe::Width), t.Add("Visible", &Probe::Visible), t.Add("Title", &Probe::Title);
    t.Add("TextSize", &Probe::TextSize), t.Add("BackColor", &Probe::BackColor);
  }
  std::string ClassName() const override { return "Probe"; }
};

std::string operator""_b(const char* bytes, std::size_t size) { return {bytes, size}; }

TEST(DesignStream, MalformedStreamsAreRefusedClearly) {
  const std::string width = EncodeStream({{"Width", Integer{640}}});  // 14 bytes
  const std::pair<std::string, std::string> cases[] = {
      {"Visi", "ends inside the name"},
      {"Title \3\0"_b, "ends inside a String's byte count"},
      {"Width \x9E\2"_b, "ends inside an Integer value (8 bytes needed, 2 left)"},
      {"Nope \0"_b, "(\"Nope\"): Probe has no property"},
      {"Visible \2"_b, "a Boolean value is 0 or 1, not 2"},
      {"Title \xFF\xFF\xFF\xFF" "ab", "byte count 4294967295 runs past the end"},
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
}

// Damaged, cut, padded and random streams, each in a buffer of exactly its
// size so that a read past the end is caught by the sanitizers.
TEST(DesignStream, DamagedStreamsNeverReadPastTheirEnd) {
  const std::string valid = EncodeStream({{"Width", Integer{640}}, {"Visible", true}, {"Title", std::string("弱")},
                                          {"TextSize", 18.0f}, {"BackColor", Color{0x00FF00FF}}});
  std::mt19937 rng(20240601);
  auto byte = [&] { return static_cast<char>(rng() & 0xFF); };
  for (int round = 0; round < 20000; ++round) {
    std::string s = valid;
    switch (round % 4) {
      case 0: for (int k = 0; k <= static_cast<int>(rng() % 4); ++k) s[rng() % s.size()] = byte(); break;
      case 1: s.resize(rng() % s.size()); break;
      case 2: s.insert(rng() % (s.size() + 1), std::string(1 + rng() % 6, byte())); break;
      default: s.resize(rng() % 64); for (char& c : s) c = byte(); break;
    }
    std::unique_ptr<char[]> exact(new char[s.size()]);
    std::memcpy(exact.get(), s.data(), s.size());
    Probe p;
    try {
      SetProperties(p, std::string_view(exact.get(), s.size()));
    } catch (const DesignStreamException&) {
    }
  }
}

}  // namespace
