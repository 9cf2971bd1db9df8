// The main window as start-up builds it: one window, its look, its 85
// controls with their designs, and the design streams behind them.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "shell/MainMenuBar.h"
#include "shell/Resources.h"
#include "window/Design.h"
#include "window/MW.h"

using namespace classlib;
namespace ui = classlib::testing;

namespace {

// Little-endian values written apart from the class library's encoder.
std::string Bytes(std::uint64_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}
std::string Int(std::int64_t v) { return Bytes(static_cast<std::uint64_t>(v), 8); }
std::string Bool(bool b) { return Bytes(b, 1); }
std::string Text(const std::string& t) { return Bytes(t.size(), 4) + t; }
std::string E(const char* name, const std::string& value) { return std::string(name) + ' ' + value; }

}  // namespace

TEST(MainWindow, AccessorBuildsOneWindowWithTheBoardLookAndFindsItAgain) {
  Ref<class MW> w = MW();
  EXPECT_EQ(w->ClassName(), "MW.MW");
  EXPECT_EQ(w->Width(), 640);
  EXPECT_EQ(w->Height(), 670);
  EXPECT_TRUE(w->Backdrop() == TessarBoard() && !w->Backdrop().IsNil());
  EXPECT_TRUE(w->MenuBar() == MainMenuBar());
  Window* first = w.Get();
  w = nullptr;  // as start-up does: the window stays open
  EXPECT_EQ(MW().Get(), first);
  // The 64 squares asked for the window while it opened: they found this one.
  Integer mainWindows = 0;
  for (const Ref<Window>& open : OpenWindows()) mainWindows += open->ClassName() == "MW.MW";
  EXPECT_EQ(mainWindows, 1);
}

TEST(MainWindow, Holds85ControlsBySetNameAndIndexOnTheirPlaces) {
  Ref<class MW> w = MW();
  EXPECT_EQ(w->ControlCount(), 85);
  for (auto [set, size] : {std::pair{"GB", 2}, {"RB", 6}, {"St", 7}, {"Box", 64}, {"BCV", 5}}) {
    for (Integer i = 0; i < size; ++i) {
      Ref<Control> c = w->ControlByNameIndex(set, i);
      ASSERT_FALSE(c.IsNil()) << set << i;
      EXPECT_EQ(c->Index(), i);
      EXPECT_EQ(c->ClassName(), std::string("MW.") + set);
    }
  }
  EXPECT_EQ(w->CustomSulider1()->ClassName(), "MW._wrapper_CustomSulider1");
  for (auto [index, left, top] : {std::tuple{0, 59, 62}, {7, 514, 62}, {39, 514, 322}, {40, 59, 388}, {63, 514, 518}}) {
    Ref<TessarBox> box = w->Box(index);
    EXPECT_EQ(box->Left(), left) << index;
    EXPECT_EQ(box->Top(), top) << index;
    EXPECT_EQ(box->Width() * 100 + box->Height(), 6464);
    EXPECT_EQ(std::get<Integer>(GetProperty(*box, "TabIndex")), 8 + index);
  }
}

// Built without opening, to see what the layout alone gives the controls.
TEST(MainWindow, LayoutGivesDesignBackdropsAndStartValues) {
  auto w = std::make_shared<class MW>();
  w->Layout();
  w->CreateControls();
  for (Integer i = 0; i < 64; ++i) {
    EXPECT_TRUE(w->Box(i)->Backdrop() == (i == 27 ? Black1() : i == 36 ? White1() : nullptr)) << i;
  }
  EXPECT_TRUE(w->BCV(0)->Backdrop() == rButton() && w->BCV(2)->Backdrop() == gButton());
  EXPECT_TRUE(w->BCV(3)->Backdrop() == Button() && w->BCV(4)->Backdrop() == Button());
  EXPECT_EQ(w->St(0)->Text() + w->St(2)->Text() + w->St(4)->Text(), "22");
  EXPECT_EQ(w->CustomSulider1()->Value, 0);
  for (Integer i = 0; i < 6; ++i) EXPECT_EQ(w->RB(i)->Value(), i == 2 || i == 3) << i;
}

TEST(MainWindow, ChoosingWeakTurnsOffOnlyStrong) {
  Ref<class MW> w = MW();
  std::string status = w->St(0)->Text();
  ui::ClickAt(w, 64, 631);  // "弱"
  for (Integer i = 0; i < 6; ++i) EXPECT_EQ(w->RB(i)->Value(), i == 0 || i == 3) << i;
  EXPECT_EQ(w->St(0)->Text(), status);
  ui::ClickAt(w, 163, 631);  // back to "強"
  EXPECT_TRUE(w->RB(2)->Value());
}

TEST(MainWindow, CaptionLabelsLieOnTheirButtonsAndPassClicksToThem) {
  Ref<class MW> w = MW();
  for (Integer i : {3, 4}) {
    Ref<Label> caption = w->St(i + 2);
    Ref<ButtonCanvas> button = w->BCV(i);
    EXPECT_TRUE(caption->ParentControl() == button);
    EXPECT_TRUE(caption->Left() >= button->Left() && caption->Top() >= button->Top());
    EXPECT_LE(caption->Left() + caption->Width(), button->Left() + button->Width());
    EXPECT_LE(caption->Top() + caption->Height(), button->Top() + button->Height());
  }
  bool playing = w->playing;
  w->playing = true;  // with a game under way "後手" only changes its face
  ui::PressAt(w, 427, 612);  // on St(5)
  EXPECT_TRUE(w->BCV(3)->Backdrop() == ButtonB());
  ui::ReleaseAt(w, 427, 612);
  EXPECT_TRUE(w->BCV(3)->Backdrop() == Button());
  w->playing = playing;
}

TEST(DesignStreams, LengthsAndTheWindowsBytes) {
  EXPECT_EQ(Design::GBStream(0).size(), 331u);
  EXPECT_EQ(Design::RBStream(0).size(), 339u);
  EXPECT_EQ(Design::StStream(1).size(), 413u);
  EXPECT_EQ(Design::BoxStream(0).size(), 351u);
  EXPECT_THROW(Design::BoxStream(64), std::out_of_range);
  EXPECT_EQ(Design::WindowStream(),
            E("Width", Int(640)) + E("Height", Int(670)) + E("MinWidth", Int(64)) + E("MinHeight", Int(64)) +
                E("MaxWidth", Int(32000)) + E("MaxHeight", Int(32000)) + E("Frame", Int(4)) +
                E("Title", Text("弱")) + E("CloseButton", Bool(1)) + E("Resizeable", Bool(1)) +
                E("MaximizeButton", Bool(1)) + E("MinimizeButton", Bool(1)) + E("FullScreenButton", Bool(0)) +
                E("Composite", Bool(0)) + E("MacProcID", Int(0)) + E("FullScreen", Bool(0)) +
                E("LiveResize", Bool(1)) + E("Placement", Int(0)) + E("Visible", Bool(1)) +
                E("HasBackColor", Bool(1)) + E("BackColor", Bytes(0x00FFFFFF, 4)) + E("MenuBarVisible", Bool(1)));
  EXPECT_EQ(Design::WindowStream().size(), 325u);
  // Counts in bytes, not characters; the index of a control outside any set.
  EXPECT_NE(Design::BCVStream(3).find(E("HelpTag", Bytes(24, 4))), std::string::npos);
  EXPECT_NE(Design::SliderHeadStream().find(E("Index", Bytes(0xFFFFFFFF80000000, 8))), std::string::npos);
}
