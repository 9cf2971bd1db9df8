// Design streams: the byte format, the declared type deciding each value's
// width, and refusal of malformed streams.
#include <memory>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

using namespace classlib;

namespace {

// Publishes one property of each type; Value is a Boolean as on a radio
// button, or an Integer.
template <class ValueType>
struct Probe : Object {
  Integer Width = 0, Height = 0, Index = 0;
  bool Visible = false;
  ValueType Value{};
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

std::string operator""_b(const char* bytes, std::size_t size) { return {bytes, size}; }

}  // namespace

TEST(DesignStream, BytesAreExactAndTheDeclaredTypeDecidesTheWidth) {
  const std::string window = "Width \x80\x02\0\0\0\0\0\0Height \x9E\x02\0\0\0\0\0\0Title \3\0\0\0\xE5\xBC\xB1"_b;
  EXPECT_EQ(EncodeStream({{"Width", Integer{640}}, {"Height", Integer{670}}, {"Title", std::string("弱")}}), window);
  EXPECT_EQ(EncodeStream({{"TextSize", 14.0f}, {"BackColor", Color{0x00FFFFFF}}}),
            "TextSize \0\0\x60\x41" "BackColor \xFF\xFF\xFF\0"_b);
  EXPECT_EQ(EncodeStream({{"Title", std::string("強さ")}}).substr(6, 4), "\6\0\0\0"_b);  // bytes, not characters
  Probe<bool> p;
  SetProperties(p, window + "Index \0\0\0\x80\xFF\xFF\xFF\xFF"_b);
  EXPECT_EQ(p.Height * 10000 + p.Width, 6700640);
  EXPECT_EQ(p.Title, "弱");
  EXPECT_EQ(p.Index, -2147483648LL);
  SetProperties(p, EncodeStream({{"Title", std::string("a")}, {"Title", std::string()}}));
  EXPECT_EQ(p.Title, "");  // applied in order: the later entry wins
  EXPECT_THROW(SetProperty(p, "Width", true), DesignStreamException);

  const std::string asBoolean = EncodeStream({{"Value", true}, {"Title", std::string("x")}});
  const std::string asInteger = EncodeStream({{"Value", Integer{300}}});
  EXPECT_EQ(asBoolean.substr(0, 7) + asInteger, "Value \1Value \x2C\1\0\0\0\0\0\0"_b);
  Probe<bool> b;
  Probe<Integer> i;
  SetProperties(b, asBoolean);
  SetProperties(i, asInteger);
  EXPECT_TRUE(b.Value && b.Title == "x");
  EXPECT_EQ(i.Value, 300);
  EXPECT_THROW(SetProperties(b, asInteger), DesignStreamException);  // 300's low byte is no Boolean
  EXPECT_THROW(SetProperties(i, asBoolean), DesignStreamException);  // too short for an Integer
}

TEST(DesignStream, MalformedStreamsAreRefusedClearly) {
  const std::string width = EncodeStream({{"Width", Integer{640}}});  // 14 bytes
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
    Probe<bool> p;
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
