// The design streams, written from short tables. Each class has one encoder
// that knows the class's entries in their stream order and takes only what
// varies from one member to the next; the tables hold those values.
#include "window/Design.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using classlib::Color;
using classlib::DesignEntry;
using classlib::Integer;
using classlib::Unit;
using Entries = std::vector<DesignEntry>;

// Typed entries: the value's C++ type decides its encoding.
DesignEntry I(const char* name, Integer value) { return {name, value}; }
DesignEntry B(const char* name, bool value) { return {name, value}; }
DesignEntry S(const char* name, std::string value) { return {name, std::move(value)}; }
DesignEntry F(const char* name, float value) { return {name, value}; }
DesignEntry U(const char* name, std::uint8_t value) { return {name, Unit{value}}; }
DesignEntry C(const char* name, std::uint32_t value) { return {name, Color{value}}; }

void Append(Entries& entries, std::initializer_list<DesignEntry> more) {
  entries.insert(entries.end(), more);
}

struct Place {
  Integer left, top, width, height;
};

// How the design of every control on a host begins: its name, its index in
// its set, its place, and the four locks (left and top on).
Entries ControlHead(const std::string& name, Integer index, Place p) {
  return {S("Name", name),        I("Index", index),       I("Left", p.left),
          I("Top", p.top),        I("Width", p.width),     I("Height", p.height),
          B("LockLeft", true),    B("LockTop", true),      B("LockRight", false),
          B("LockBottom", false)};
}

// --- Encoders, one per class ----------------------------------------------

std::string WindowEncoder(Integer width, Integer height, const std::string& title, std::uint32_t backColor) {
  return classlib::EncodeStream({
      I("Width", width), I("Height", height), I("MinWidth", 64), I("MinHeight", 64),
      I("MaxWidth", 32000), I("MaxHeight", 32000), I("Frame", 4), S("Title", title),
      B("CloseButton", true), B("Resizeable", true), B("MaximizeButton", true),
      B("MinimizeButton", true), B("FullScreenButton", false), B("Composite", false),
      I("MacProcID", 0), B("FullScreen", false), B("LiveResize", true), I("Placement", 0),
      B("Visible", true), B("HasBackColor", true), C("BackColor", backColor),
      B("MenuBarVisible", true),
  });
}

// GroupBox and RadioButton share their entries up to Visible.
Entries CaptionedHead(const std::string& name, Integer index, Place p, Integer tabIndex,
                      const std::string& caption) {
  Entries e = ControlHead(name, index, p);
  Append(e, {I("TabIndex", tabIndex), I("TabPanelIndex", 0), B("TabStop", true),
             B("AutoDeactivate", true), S("Caption", caption), B("Enabled", true), S("HelpTag", ""),
             B("Transparent", true), B("Visible", true)});
  return e;
}

std::string GroupBoxEncoder(Integer index, Place p, Integer tabIndex, const std::string& caption) {
  Entries e = CaptionedHead("GB", index, p, tabIndex, caption);
  Append(e, {B("Bold", false), B("Italic", false), S("TextFont", "System"), F("TextSize", 14.0f),
             U("TextUnit", 0), B("Underline", false), S("InitialParent", "")});
  return classlib::EncodeStream(e);
}

std::string RadioButtonEncoder(Integer index, Place p, Integer tabIndex, const std::string& caption,
                               bool on, const std::string& parent) {
  Entries e = CaptionedHead("RB", index, p, tabIndex, caption);
  Append(e, {S("TextFont", "System"), F("TextSize", 14.0f), U("TextUnit", 0), B("Bold", false),
             B("Italic", false), B("Underline", false), B("Value", on), S("InitialParent", parent)});
  return classlib::EncodeStream(e);
}

struct LabelDesign {
  std::string name;
  Integer index;
  Place place;
  Integer tabIndex;
  std::string text;
  float textSize;
  std::uint32_t textColor;
  Integer textAlign = 0;
  std::string parent = "";
  bool transparent = true;
};

std::string LabelEncoder(const LabelDesign& d) {
  Entries e = ControlHead(d.name, d.index, d.place);
  Append(e, {I("TabIndex", d.tabIndex), I("TabPanelIndex", 0), B("TabStop", true),
             B("AutoDeactivate", true), B("Enabled", true), S("HelpTag", ""), B("Multiline", false),
             B("Selectable", false), S("Text", d.text), I("TextAlign", d.textAlign),
             C("TextColor", d.textColor), B("Transparent", d.transparent), B("Visible", true),
             B("Bold", false), B("Italic", false), S("TextFont", "System"), F("TextSize", d.textSize),
             U("TextUnit", 0), B("Underline", false), S("DataSource", ""), S("DataField", ""),
             S("InitialParent", d.parent)});
  return classlib::EncodeStream(e);
}

// ButtonCanvas; TessarBox adds its column, row and value.
Entries PictureCanvasEntries(const std::string& name, Integer index, Place p, Integer tabIndex,
                             const std::string& helpTag) {
  Entries e = ControlHead(name, index, p);
  Append(e, {I("TabPanelIndex", 0), I("TabIndex", tabIndex), B("TabStop", true), B("Visible", true),
             S("HelpTag", helpTag), B("AutoDeactivate", true), B("Enabled", true),
             B("UseFocusRing", true), B("AcceptFocus", false), B("AcceptTabs", false),
             B("DoubleBuffer", false), B("EraseBackground", true), B("Transparent", true),
             S("InitialParent", "")});
  return e;
}

std::string ButtonCanvasEncoder(Integer index, Place p, Integer tabIndex, const std::string& helpTag) {
  return classlib::EncodeStream(PictureCanvasEntries("BCV", index, p, tabIndex, helpTag));
}

std::string TessarBoxEncoder(Integer index, Place p, Integer tabIndex) {
  Entries e = PictureCanvasEntries("Box", index, p, tabIndex, "");
  Append(e, {I("m", 0), I("n", 0), I("value", 0)});
  return classlib::EncodeStream(e);
}

// The plain canvases inside the slider.
std::string CanvasEncoder(const std::string& name, Place p, Integer tabIndex, bool doubleBuffer,
                          const std::string& parent) {
  Entries e = ControlHead(name, classlib::kNoIndex, p);
  Append(e, {I("TabIndex", tabIndex), I("TabPanelIndex", 0), B("TabStop", true),
             B("AutoDeactivate", true), B("Enabled", true), S("HelpTag", ""), B("UseFocusRing", true),
             B("Visible", true), B("AcceptFocus", false), B("AcceptTabs", false),
             B("DoubleBuffer", doubleBuffer), B("EraseBackground", true), B("Transparent", true),
             S("InitialParent", parent)});
  return classlib::EncodeStream(e);
}

// The slider as a window places it.
std::string PlacedSliderEncoder(Place p, Integer tabIndex) {
  return classlib::EncodeStream({
      I("Width", p.width), I("Height", p.height), S("InitialParent", ""), I("Left", p.left),
      I("Top", p.top), B("LockLeft", true), B("LockTop", true), B("LockRight", false),
      B("LockBottom", false), I("TabPanelIndex", 0), I("TabIndex", tabIndex), B("Visible", true),
      B("Enabled", true), B("AutoDeactivate", true), S("HelpTag", ""), B("UseFocusRing", false),
      B("HasBackColor", false), C("BackColor", 0x000000FE), B("AcceptFocus", false),
      B("AcceptTabs", true), B("EraseBackground", true), B("Transparent", false),
      B("DoubleBuffer", false), I("SliderX", 0), I("SliderY", 0), I("Value", 0),
  });
}

// The slider class's own container design.
std::string SliderContainerEncoder(Place p) {
  return classlib::EncodeStream({
      I("Width", p.width), I("Height", p.height), S("InitialParent", ""), I("Left", p.left),
      I("Top", p.top), B("LockLeft", false), B("LockTop", false), B("LockRight", false),
      B("LockBottom", false), I("TabIndex", 0), I("TabPanelIndex", 0), B("AutoDeactivate", true),
      B("Enabled", true), S("HelpTag", ""), B("UseFocusRing", false), B("Visible", true),
      C("BackColor", 0x000000FE), B("HasBackColor", true), B("AcceptFocus", false),
      B("AcceptTabs", true), B("EraseBackground", true), B("Transparent", false),
      B("DoubleBuffer", false),
  });
}

// --- The main window's tables ---------------------------------------------

struct GroupBoxRow {
  Place place;
  Integer tabIndex;
  const char* caption;
};
const GroupBoxRow kGroupBoxes[] = {
    {{35, 598, 160, 50}, 2, "強さ"},
    {{213, 598, 150, 50}, 80, "石の変更"},
};

struct RadioButtonRow {
  Place place;
  Integer tabIndex;
  const char* caption;
  bool on;
  const char* parent;
};
const RadioButtonRow kRadioButtons[] = {
    {{44, 622, 40, 19}, 0, "弱", false, "GB$0"},  {{95, 622, 38, 19}, 3, "中", false, "GB$0"},
    {{142, 624, 43, 15}, 2, "強", true, "GB$0"},  {{220, 621, 40, 19}, 0, "石1", true, "GB$1"},
    {{266, 621, 45, 20}, 1, "石2", false, "GB$1"}, {{312, 621, 45, 20}, 2, "石3", false, "GB$1"},
};

struct LabelRow {
  Place place;
  Integer tabIndex;
  const char* text;
  float textSize;
  std::uint32_t textColor;
  Integer textAlign;
  const char* parent;
};
const LabelRow kLabels[] = {
    {{314, 22, 200, 28}, 7, "", 18.0f, 0x00FF00FF, 1, ""},             // the status line
    {{122, 21, 76, 27}, 3, "Player:", 18.0f, 0x00000000, 0, ""},
    {{186, 19, 53, 31}, 4, "2", 18.0f, 0x0000FFFF, 0, ""},             // Black's count
    {{236, 20, 77, 31}, 5, "Mac:", 18.0f, 0x00000000, 0, ""},
    {{281, 21, 64, 31}, 6, "2", 18.0f, 0x0000FFFF, 0, ""},             // White's count
    {{422, 607, 44, 27}, 0, "後手", 14.0f, 0x00FFFF66, 0, "BCV$3"},     // caption of BCV(3)
    {{514, 608, 58, 27}, 0, "再ゲーム", 14.0f, 0x00FFFF66, 0, "BCV$4"},  // caption of BCV(4)
};

struct PictureButtonRow {
  Place place;
  Integer tabIndex;
  const char* helpTag;
};
const PictureButtonRow kPictureButtons[] = {
    {{20, 15, 20, 20}, 76, ""},                       // red
    {{40, 15, 20, 20}, 77, ""},                       // yellow
    {{60, 15, 25, 20}, 78, ""},                       // green
    {{393, 602, 82, 42}, 74, "後手になります。"},  // "後手"
    {{496, 602, 82, 42}, 75, ""},                     // "再ゲーム"
};

// The squares: column c at 59 + 65 c; the rows below the fifth sit one point
// lower than an even pitch would put them.
const Integer kSquareTops[8] = {62, 127, 192, 257, 322, 388, 453, 518};

// Builds the streams of a whole set from its table, member by member.
template <class Row, std::size_t N, class Encode>
std::vector<std::string> EncodeSet(const Row (&rows)[N], Encode encode) {
  std::vector<std::string> streams;
  for (std::size_t i = 0; i < N; ++i) streams.push_back(encode(static_cast<Integer>(i), rows[i]));
  return streams;
}

const std::string& Member(const std::vector<std::string>& streams, Integer index) {
  return streams.at(static_cast<std::size_t>(index));
}

}  // namespace

namespace Design {

const std::string& WindowStream() {
  static const std::string stream = WindowEncoder(640, 670, "弱", 0x00FFFFFF);
  return stream;
}

const std::string& GBStream(Integer index) {
  static const auto streams = EncodeSet(kGroupBoxes, [](Integer i, const GroupBoxRow& r) {
    return GroupBoxEncoder(i, r.place, r.tabIndex, r.caption);
  });
  return Member(streams, index);
}

const std::string& RBStream(Integer index) {
  static const auto streams = EncodeSet(kRadioButtons, [](Integer i, const RadioButtonRow& r) {
    return RadioButtonEncoder(i, r.place, r.tabIndex, r.caption, r.on, r.parent);
  });
  return Member(streams, index);
}

const std::string& StStream(Integer index) {
  static const auto streams = EncodeSet(kLabels, [](Integer i, const LabelRow& r) {
    return LabelEncoder({.name = "St", .index = i, .place = r.place, .tabIndex = r.tabIndex,
                         .text = r.text, .textSize = r.textSize, .textColor = r.textColor,
                         .textAlign = r.textAlign, .parent = r.parent});
  });
  return Member(streams, index);
}

const std::string& BoxStream(Integer index) {
  static const auto streams = [] {
    std::vector<std::string> s;
    for (Integer i = 0; i < 64; ++i) {
      s.push_back(TessarBoxEncoder(i, {59 + 65 * (i % 8), kSquareTops[i / 8], 64, 64}, 8 + i));
    }
    return s;
  }();
  return Member(streams, index);
}

const std::string& BCVStream(Integer index) {
  static const auto streams = EncodeSet(kPictureButtons, [](Integer i, const PictureButtonRow& r) {
    return ButtonCanvasEncoder(i, r.place, r.tabIndex, r.helpTag);
  });
  return Member(streams, index);
}

const std::string& CustomSulider1Stream() {
  static const std::string stream = PlacedSliderEncoder({506, 22, 100, 27}, 81);
  return stream;
}

const std::string& SliderContainerStream() {
  static const std::string stream = SliderContainerEncoder({0, 0, 100, 27});
  return stream;
}

const std::string& SliderLineStream() {
  static const std::string stream = CanvasEncoder("SliderLineCV", {0, 0, 100, 20}, 1, true, "");
  return stream;
}

const std::string& SliderHeadStream() {
  static const std::string stream = CanvasEncoder("SliderHeadCV", {0, 0, 20, 20}, 0, false, "SliderLineCV");
  return stream;
}

const std::string& SliderLabelStream() {
  static const std::string stream =
      LabelEncoder({.name = "Label1", .index = classlib::kNoIndex, .place = {0, 17, 100, 10},
                    .tabIndex = 2, .text = "   0    2    4    8    10", .textSize = 10.0f,
                    .textColor = 0x00999999, .textAlign = 0, .parent = "", .transparent = false});
  return stream;
}

}  // namespace Design
