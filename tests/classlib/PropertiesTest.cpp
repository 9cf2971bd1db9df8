// Design streams: the byte format, the declared type deciding each value's
// width, and refusal of malformed streams.
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

using namespace classlib;

namespace {

// Publishes one property of each type, and Value as a Boolean.
struct Probe : Object {
  Integer Width = 0, Height = 0, Index = 0;
  bool Visible = false, Value = false;
  std::string Title;
  float TextSize = 0;
  Unit TextUnit;
  Color BackColor;
  void DeclareProperties(PropertyTable& t) override {
    t.Add("Width", &Probe::Width);
    t.Add("Height", &Probe::Height);
    t.Add("Index", &Probe::Index);
    t.Add("Visible", &Probe::Visible);
    t.Add("Value", &Probe::Value);
    t.Add("Title", &Probe::Title);
    t.Add("TextSize", &Probe::TextSize);
    t.Add("TextUnit", &Probe::TextUnit);
    t.Add("BackColor", &Probe::BackColor);
  }
  std::string ClassName() const override { return "Probe"; }
};

// Gives the base class's Value another type.
struct IntegerValueProbe : Probe {
  Integer IntValue = 0;
  void DeclareProperties(PropertyTable& t) override {
    Probe::DeclareProperties(t);
    t.Add("Value", &IntegerValueProbe::IntValue);
  }
};

std::string Bytes(std::initializer_list<unsigned> bytes) {
  std::string s;
  for (unsigned b : bytes) s += static_cast<char>(b);
  return s;
}

}  // namespace

TEST(DesignStream, EveryTypeRoundTrips) {
  const std::vector<DesignEntry> entries = {
      {"Width", Integer{std::numeric_limits<Integer>::min()}}, {"Visible", true},
      {"Title", std::string("後手になります。")},              {"TextSize", 14.0f},
      {"TextUnit", Unit{255}},                                 {"BackColor", Color{0x00FFFFFF}},
      {"Index", Integer{-1}},                                  {"Title", std::string()}};
  Probe p;
  SetProperties(p, EncodeStream(entries));
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
    if (entries[i].name != "Title") {
      EXPECT_EQ(GetProperty(p, entries[i].name), entries[i].value) << i;
    }
  }
  EXPECT_EQ(p.Title, "");  // the later entry wins: the stream is applied in order
  EXPECT_THROW(SetProperty(p, "Width", true), DesignStreamException);
  EXPECT_THROW(EncodeStream({{"Two words", true}}), DesignStreamException);
}

TEST(DesignStream, BytesAreExact) {
  const std::string window = "Width " + Bytes({0x80, 0x02, 0, 0, 0, 0, 0, 0}) + "Height " +
                             Bytes({0x9E, 0x02, 0, 0, 0, 0, 0, 0}) + "Title " + Bytes({3, 0, 0, 0, 0xE5, 0xBC, 0xB1});
  EXPECT_EQ(EncodeStream({{"Width", Integer{640}}, {"Height", Integer{670}}, {"Title", std::string("弱")}}), window);
  EXPECT_EQ(EncodeStream({{"TextSize", 14.0f}, {"BackColor", Color{0x00FFFFFF}}}),
            "TextSize " + Bytes({0, 0, 0x60, 0x41}) + "BackColor " + Bytes({0xFF, 0xFF, 0xFF, 0}));
  EXPECT_EQ(EncodeStream({{"Title", std::string("強さ")}}).substr(6, 4), Bytes({6, 0, 0, 0}));
  EXPECT_EQ(EncodeStream({{"Title", std::string("後手になります。")}}).substr(6, 4), Bytes({24, 0, 0, 0}));
  Probe p;
  SetProperties(p, window + "Index " + Bytes({0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(p.Height, 670);
  EXPECT_EQ(p.Title, "弱");
  EXPECT_EQ(p.Index, -2147483648LL);
}

TEST(DesignStream, DeclaredTypeDecidesTheWidth) {
  const std::string asBoolean = EncodeStream({{"Value", true}, {"Title", std::string("x")}});
  const std::string asInteger = EncodeStream({{"Value", Integer{300}}});
  Probe b;
  IntegerValueProbe i;
  SetProperties(b, asBoolean);
  SetProperties(i, asInteger);
  EXPECT_TRUE(b.Value);
  EXPECT_EQ(b.Title, "x");
  EXPECT_EQ(i.IntValue, 300);
  EXPECT_THROW(SetProperties(b, asInteger), DesignStreamException);  // 300's low byte is no Boolean
  EXPECT_THROW(SetProperties(i, asBoolean), DesignStreamException);  // too short for an Integer
}

TEST(DesignStream, MalformedStreamsAreRefusedClearly) {
  const std::string width = EncodeStream({{"Width", Integer{640}}});  // 14 bytes
  const struct {
    std::string tail, says;
  } cases[] = {
      {"Visi", "ends inside the name"},
      {"Title " + Bytes({3, 0}), "ends inside a String's byte count"},
      {"Height " + Bytes({0x9E, 2}), "ends inside an Integer value (8 bytes needed, 2 left)"},
      {"Nope " + Bytes({0}), "(\"Nope\"): Probe has no property"},
      {"Visible " + Bytes({2}), "a Boolean value is 0 or 1, not 2"},
      {"Title " + Bytes({0xFF, 0xFF, 0xFF, 0xFF}) + "ab", "byte count 4294967295 runs past the end"},
      {" " + Bytes({1}), "has no name"},
  };
  for (const auto& c : cases) {
    Probe p;
    try {
      SetProperties(p, width + c.tail);
      ADD_FAILURE() << "accepted: " << c.says;
    } catch (const DesignStreamException& e) {
      EXPECT_NE(std::string(e.what()).find("entry 2 at byte 14"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
    EXPECT_EQ(p.Width, 640);  // the entry before the fault stays applied
  }
}

TEST(DesignStream, RandomAndMutatedStreamsNeverCrash) {
  const std::string valid = EncodeStream({{"Width", Integer{640}}, {"Visible", true},
                                          {"Title", std::string("弱")}, {"TextSize", 18.0f},
                                          {"TextUnit", Unit{0}}, {"BackColor", Color{0x00FF00FF}}});
  std::mt19937 rng(20240601);
  auto byte = [&] { return static_cast<char>(rng() & 0xFF); };
  int accepted = 0;
  for (int round = 0; round < 30000; ++round) {
    std::string s = valid;
    switch (round % 4) {
      case 0: for (int k = 0; k <= static_cast<int>(rng() % 4); ++k) s[rng() % s.size()] = byte(); break;
      case 1: s.resize(rng() % s.size()); break;
      case 2: s.insert(rng() % (s.size() + 1), std::string(1 + rng() % 6, byte())); break;
      default: s.resize(rng() % 64); for (char& c : s) c = byte(); break;
    }
    // An exactly sized copy, so that a read past the end is caught by tools.
    std::unique_ptr<char[]> exact(new char[s.size()]);
    std::memcpy(exact.get(), s.data(), s.size());
    Probe p;
    try {
      SetProperties(p, std::string_view(exact.get(), s.size()));
      ++accepted;
    } catch (const DesignStreamException&) {
    }
  }
  EXPECT_GT(accepted, 0);
}
