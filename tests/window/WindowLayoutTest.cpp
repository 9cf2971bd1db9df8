// The main window as start-up builds it: one window, its look, its 85
// controls with their designs, the selectors, and the design streams.
#include <cstdint>

#include "tests/window/MainWindow.h"
#include "window/Design.h"

using namespace windowtest;

namespace {

// Little-endian values written apart from the class library's encoder.
std::string Bytes(std::uint64_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}
std::string E(const char* name, const std::string& value) { return std::string(name) + ' ' + value; }
std::string Int(std::int64_t v) { return Bytes(static_cast<std::uint64_t>(v), 8); }
std::string Bool(bool b) { return Bytes(b, 1); }

}  // namespace

TEST(MainWindow, OneWindowWithTheBoardLookAndItsControlsOnTheirPlaces) {
  Ref<class MW> w = MW();
  EXPECT_EQ(w->ClassName() + " " + Str(w->Width()) + "x" + Str(w->Height()), "MW.MW 640x670");
  EXPECT_TRUE(w->Backdrop() == TessarBoard() && !w->Backdrop().IsNil());
  EXPECT_EQ(MW().Get(), w.Get());
  // The 64 squares asked for the window while it opened: they found this one.
  Integer mainWindows = 0;
  for (const Ref<Window>& open : OpenWindows()) mainWindows += open->ClassName() == "MW.MW";
  EXPECT_EQ(mainWindows, 1);

  EXPECT_EQ(w->ControlCount(), 85);
  for (auto [set, size] : {std::pair{"GB", 2}, {"RB", 6}, {"St", 7}, {"Box", 64}, {"BCV", 5}}) {
    for (Integer i = 0; i < size; ++i) {
      Ref<Control> c = w->ControlByNameIndex(set, i);
      ASSERT_FALSE(c.IsNil()) << set << i;
      EXPECT_EQ(c->ClassName() + Str(c->Index()), std::string("MW.") + set + Str(i));
    }
  }
  EXPECT_EQ(w->ControlByName("CustomSulider1")->ClassName(), "MW._wrapper_CustomSulider1");
  for (auto [index, left, top] : {std::tuple{0, 59, 62}, {7, 514, 62}, {39, 514, 322}, {40, 59, 388}, {63, 514, 518}}) {
    Ref<TessarBox> box = w->Box(index);
    EXPECT_EQ(std::tuple(box->Left(), box->Top(), box->Width(), box->Height()), std::tuple(left, top, 64, 64));
    EXPECT_EQ(std::get<Integer>(GetProperty(*box, "TabIndex")), 8 + index);
  }
  // The buttons' captions lie on them: every press at a button's middle in
  // these tests lands on its caption and must reach the button.
  EXPECT_TRUE(w->St(5)->ParentControl() == w->BCV(3) && w->St(6)->ParentControl() == w->BCV(4));
}

// Built without opening, to see what creation alone gives the controls.
TEST(MainWindow, CreationGivesDesignBackdropsAndChoices) {
  auto w = std::make_shared<class MW>();
  w->Layout();
  w->CreateControls();
  std::string backdrops;
  for (Integer i = 0; i < 64; ++i) {
    if (!w->Box(i)->Backdrop().IsNil()) backdrops += Str(i) + Name(w->Box(i)->Backdrop()) + " ";
  }
  for (Integer i = 0; i < 6; ++i) backdrops += w->RB(i)->Value() ? "1" : "0";
  EXPECT_EQ(backdrops, "27Black1 36White1 001100");
}

TEST(MainWindow, SelectorClicksChangeOnlyTheirGroupAndDiscSetsShowAtTheNextRedraw) {
  Ref<class MW> w = MW();
  NewGame();
  w->RB(2)->SetValue(true);
  w->RB(3)->SetValue(true);
  // The selector clicked, the choices then, the discs at the next redraw.
  const std::tuple<Integer, const char*, const char*> clicks[] = {
      {0, "100100", "White1 Black1"}, {1, "010100", "White1 Black1"}, {4, "010010", "White2 Black2"},
      {5, "010001", "White Black"},   {2, "001001", "White Black"},   {3, "001100", "White1 Black1"}};
  for (const auto& [index, after, redrawn] : clicks) {
    const std::string game = Game();
    Mouse(ui::ClickAt, w->RB(index));
    EXPECT_EQ(Choices() + " " + Game(), after + (" " + game)) << index;
    w->Refresh(true);
    EXPECT_EQ(Name(w->Box(27)->Backdrop()) + " " + Name(w->Box(28)->Backdrop()), redrawn) << index;
  }
}

TEST(DesignStreams, LengthsAndTheWindowsBytes) {
  EXPECT_EQ(std::tuple(Design::WindowStream().size(), Design::GBStream(0).size(), Design::RBStream(0).size(),
                       Design::StStream(1).size(), Design::BoxStream(0).size()),
            std::tuple(325u, 331u, 339u, 413u, 351u));
  EXPECT_THROW(Design::BoxStream(64), std::out_of_range);
  EXPECT_EQ(Design::WindowStream(),
            E("Width", Int(640)) + E("Height", Int(670)) + E("MinWidth", Int(64)) + E("MinHeight", Int(64)) +
                E("MaxWidth", Int(32000)) + E("MaxHeight", Int(32000)) + E("Frame", Int(4)) +
                E("Title", Bytes(3, 4) + "弱") + E("CloseButton", Bool(1)) + E("Resizeable", Bool(1)) +
                E("MaximizeButton", Bool(1)) + E("MinimizeButton", Bool(1)) + E("FullScreenButton", Bool(0)) +
                E("Composite", Bool(0)) + E("MacProcID", Int(0)) + E("FullScreen", Bool(0)) +
                E("LiveResize", Bool(1)) + E("Placement", Int(0)) + E("Visible", Bool(1)) +
                E("HasBackColor", Bool(1)) + E("BackColor", Bytes(0x00FFFFFF, 4)) + E("MenuBarVisible", Bool(1)));
  // Counts in bytes, not characters; the index of a control outside any set.
  EXPECT_NE(Design::BCVStream(3).find(E("HelpTag", Bytes(24, 4))), std::string::npos);
  EXPECT_NE(Design::SliderHeadStream().find(E("Index", Bytes(0xFFFFFFFF80000000, 8))), std::string::npos);
}
