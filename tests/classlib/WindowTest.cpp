// Windows: the registry of open windows and each window's control registry,
// painting, the window's own mouse events, its native window and its design
// properties.
#include <QImage>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include "classlib/src/Internal.h"
#include "tests/classlib/WindowSupport.h"

using namespace windowtest;
namespace input = classlib::testing;

namespace {

// A container whose one part is made while the container is constructed.
class Holder : public ContainerControl {
 public:
  void CreateControls() override { Place<Canvas>(*this, "Part", kNoIndex, 0, 0, 10, 10); }
};

Ref<Picture> Filled(Integer width, Integer height, Color color) {
  auto picture = std::make_shared<Picture>(width, height);
  Ref<Graphics> g = picture->Graph();
  g->SetForeColor(color);
  g->FillRect(0, 0, width, height);
  return picture;
}

using WindowRegistry = WindowTest;
using WindowPaint = WindowTest;
using WindowEvents = WindowTest;

}  // namespace

TEST_F(WindowRegistry, WindowIsFoundWhileItsControlsOpenAndLookupsAreStable) {
  Ref<Window> seenByProbe;
  auto w = OpenWindow(
      [&seenByProbe](TestWindow& win) {
        auto record = [&win](const std::string& what) { return [&win, what](Ref<Control>) { win.log.push_back(what); }; };
        for (Integer i : {2, 0, 1}) Place<Label>(win, "S", i, 10 * i, 0, 10, 10)->Open.AddHandler(record("S" + Str(i)));
        auto holder = win.New<Holder>();
        holder->Constructor();
        win.AddControl("Holder", holder);
        holder->Open.AddHandler(record("Holder"));
        holder->ControlByName("Part")->Open.AddHandler(record("Part"));
        // What the game's window accessor does from a square's Open.
        Place<Canvas>(win, "Probe", kNoIndex, 0, 20, 10, 10)->Open.AddHandler([&seenByProbe](Ref<Control>) {
          seenByProbe = GetImplicitWindow("Test.Registry");
        });
      },
      "Test.Registry");

  EXPECT_TRUE(seenByProbe == w);
  EXPECT_EQ(w->log, (std::vector<std::string>{"S2", "S0", "S1", "Part", "Holder", "open"}));

  for (Integer i = 0; i < 3; ++i) {
    Ref<Control> member = w->ControlByNameIndex("S", i);
    ASSERT_FALSE(member.IsNil());
    EXPECT_EQ(i, member->Index());
    EXPECT_TRUE(member == w->ControlByNameIndex("S", i));
  }
  EXPECT_TRUE(w->ControlByName("Probe") == w->ControlByName("Probe"));
  EXPECT_TRUE(w->ControlByNameIndex("S", 3).IsNil());
  EXPECT_TRUE(w->ControlByNameIndex("s", 0).IsNil());
  EXPECT_TRUE(w->ControlByName("Nothing").IsNil());

  // A later control under a taken name and index does not displace the first;
  // the index a control is given after registration does not move it.
  Ref<Control> first = w->ControlByNameIndex("S", 1);
  auto late = w->New<Label>();
  late->SetIndex(1);
  w->AddControl("S", late);
  late->SetIndex(7);
  EXPECT_TRUE(w->ControlByNameIndex("S", 1) == first);
  EXPECT_TRUE(w->ControlByNameIndex("S", 7).IsNil());
  EXPECT_THROW(w->AddControl("S", Ref<Control>()), NilObjectException);

  // The verifying cast; a part knows its window through its container.
  EXPECT_THROW(Cast<Label>(w->ControlByName("Probe")), IllegalCastException);
  EXPECT_NO_THROW(Cast<Canvas>(w->ControlByName("Probe")));
  EXPECT_TRUE(Cast<Label>(w->ControlByName("Nothing")).IsNil());
  auto holder = Cast<Holder>(w->ControlByName("Holder"));
  EXPECT_TRUE(holder->ControlByName("Part")->Window() == w);

  w->Close();
  w->Close();
  EXPECT_TRUE(GetImplicitWindow("Test.Registry").IsNil());
  EXPECT_EQ(1, std::count(w->log.begin(), w->log.end(), "close"));
}

TEST_F(WindowRegistry, UserClosingTheWindowClosesItAndTheHandleIsChecked) {
  auto w = OpenWindow(nullptr, "Test.Closing");
  QWidget* frame = internal::TopLevelWidget(*w);
  EXPECT_EQ(w->Handle(), reinterpret_cast<std::intptr_t>(frame));
  EXPECT_EQ(internal::WindowFromHandle(w->Handle()), w.Get());
  EXPECT_EQ(internal::WindowFromHandle(w->Handle() + 8), nullptr);
  EXPECT_TRUE(frame->windowFlags() & Qt::FramelessWindowHint);

  w->Minimize();
  EXPECT_TRUE(w->IsMinimized());

  frame->close();
  EXPECT_EQ(1, std::count(w->log.begin(), w->log.end(), "close"));
  EXPECT_TRUE(GetImplicitWindow("Test.Closing").IsNil());
  EXPECT_EQ(internal::WindowFromHandle(w->Handle()), nullptr);
  EXPECT_FALSE(frame->isVisible());
}

TEST_F(WindowPaint, BackColourBackdropAndImmediateRefresh) {
  auto w = OpenWindow([](TestWindow& win) { Place<Canvas>(win, "C", kNoIndex, 100, 100, 20, 20); });
  auto canvas = Cast<Canvas>(w->ControlByName("C"));
  w->SetHasBackColor(true);
  w->SetBackColor(RGB(0, 0, 255));
  w->SetBackdrop(Filled(10, 10, RGB(255, 0, 0)));
  canvas->SetBackdrop(Filled(20, 20, RGB(0, 255, 0)));

  Integer before = w->PaintCount();
  w->Refresh(true);
  EXPECT_GT(w->PaintCount(), before);  // painted before Refresh returned
  before = canvas->PaintCount();
  canvas->Refresh(true);
  EXPECT_GT(canvas->PaintCount(), before);

  const QImage shot = internal::ContentWidget(*w)->grab().toImage();
  EXPECT_EQ(QColor(255, 0, 0), shot.pixelColor(5, 5));      // backdrop
  EXPECT_EQ(QColor(0, 0, 255), shot.pixelColor(50, 50));    // background colour
  EXPECT_EQ(QColor(0, 255, 0), shot.pixelColor(110, 110));  // the canvas's backdrop

  // The same picture again requests no paint.
  input::ProcessEvents();
  before = w->PaintCount();
  w->SetBackdrop(w->Backdrop());
  input::ProcessEvents();
  EXPECT_EQ(before, w->PaintCount());
}

TEST_F(WindowPaint, PaintHandlerThatSetsBackdropsSettles) {
  Ref<Picture> black = Filled(20, 20, RGB(0, 0, 0));
  Ref<Picture> white = Filled(20, 20, RGB(255, 255, 255));
  auto w = OpenWindow([](TestWindow& win) {
    for (Integer i = 0; i < 4; ++i) Place<Canvas>(win, "Box", i, 10 + 25 * i, 10, 20, 20);
  });
  // Like the game's board drawing: every paint gives every square its picture.
  w->onPaint = [black, white](TestWindow& win) {
    for (Integer i = 0; i < 4; ++i) Cast<Canvas>(win.ControlByNameIndex("Box", i))->SetBackdrop(i % 2 ? black : white);
  };
  w->Refresh(true);
  for (int round = 0; round < 10; ++round) input::ProcessEvents();
  const Integer settled = w->PaintCount();
  for (int round = 0; round < 20; ++round) input::ProcessEvents();
  EXPECT_EQ(settled, w->PaintCount());
  EXPECT_TRUE(Cast<Canvas>(w->ControlByNameIndex("Box", 1))->Backdrop() == black);
}

TEST_F(WindowPaint, TransparentBackgroundMakesATranslucentNativeWindow) {
  class Clear : public TestWindow {
   public:
    void Event_Open() override { SetBackColor(RGB(0, 0, 0, 255)); }
  };
  auto w = std::make_shared<Clear>();
  w->SetHasBackColor(true);
  w->Constructor();
  input::ProcessEvents();
  QWidget* frame = internal::TopLevelWidget(*w);
  ASSERT_TRUE(frame->windowHandle());
  EXPECT_TRUE(frame->windowHandle()->requestedFormat().hasAlpha());
  EXPECT_EQ(0, internal::ContentWidget(*w)->grab().toImage().pixelColor(5, 5).alpha());

  // Made transparent after it is shown: the native window is made anew.
  auto late = OpenWindow();
  late->SetHasBackColor(true);
  late->SetBackColor(RGB(0, 0, 0, 255));
  input::ProcessEvents();
  QWidget* lateFrame = internal::TopLevelWidget(*late);
  EXPECT_TRUE(lateFrame->isVisible());
  EXPECT_TRUE(lateFrame->windowHandle()->requestedFormat().hasAlpha());
}

TEST_F(WindowEvents, PressOnTheSurfaceIsTakenOrRefused) {
  auto w = OpenWindow();
  input::PressAt(w, 20, 30);
  input::DragTo(w, 25, 28);
  input::DragTo(w, -5, 200);  // outside: the press still holds the pointer
  input::ReleaseAt(w, -5, 200);
  EXPECT_EQ(w->log, (std::vector<std::string>{"open", "down 20,30", "drag 25,28", "drag -5,200", "up -5,200"}));

  w->log.clear();
  w->takePress = false;
  input::PressAt(w, 1, 2);
  input::DragTo(w, 3, 4);
  input::ReleaseAt(w, 3, 4);
  EXPECT_EQ(w->log, (std::vector<std::string>{"down 1,2"}));
}

TEST_F(WindowEvents, MenuBarSitsAboveTheContentWhosePlaceIsLeftAndTop) {
  auto w = OpenWindow();
  auto bar = std::make_shared<MenuBar>();
  auto menu = std::make_shared<MenuItem>();
  menu->SetText("File");
  bar->Append(menu);
  w->SetMenuBar(bar);
  QWidget* content = internal::ContentWidget(*w);
  EXPECT_GT(content->y(), 0);
  EXPECT_EQ(QSize(200, 150), content->size());

  w->SetLeft(40);
  w->SetTop(120);
  EXPECT_EQ(40, w->Left());
  EXPECT_EQ(120, w->Top());
  EXPECT_EQ(QPoint(40, 120), content->mapToGlobal(QPoint(0, 0)));

  input::ClickAt(w, 0, 0);  // content coordinates, below the menu bar
  EXPECT_EQ("down 0,0", w->log.at(1));
}

TEST_F(WindowEvents, DesignStreamSetsEveryWindowProperty) {
  auto w = std::make_shared<TestWindow>();
  const std::vector<DesignEntry> design = {
      {"Width", Integer{640}},        {"Height", Integer{670}},          {"MinWidth", Integer{65}},
      {"MinHeight", Integer{66}},     {"MaxWidth", Integer{31000}},      {"MaxHeight", Integer{31001}},
      {"Frame", Integer{4}},          {"Title", std::string("弱")},      {"CloseButton", false},
      {"Resizeable", false},          {"MaximizeButton", false},         {"MinimizeButton", false},
      {"FullScreenButton", true},     {"Composite", true},               {"MacProcID", Integer{7}},
      {"FullScreen", true},           {"LiveResize", false},             {"Placement", Integer{2}},
      {"Visible", false},             {"HasBackColor", true},            {"BackColor", Color{0x00FFFFFF}},
      {"MenuBarVisible", false}};
  SetProperties(*w, EncodeStream(design));
  for (const DesignEntry& entry : design) EXPECT_EQ(entry.value, GetProperty(*w, entry.name)) << entry.name;
  EXPECT_EQ(640, w->Width());
  EXPECT_EQ("弱", w->Title());
  EXPECT_EQ(QSize(640, 670), internal::ContentWidget(*w)->size());

  w->Constructor();  // not Visible: stays hidden
  input::ProcessEvents();
  EXPECT_FALSE(internal::TopLevelWidget(*w)->isVisible());
}
