// The board square and the slider on small windows of the test's own, with
// real mouse input.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "controls/CustomSulider.h"
#include "controls/TessarBox.h"
#include "shell/Resources.h"
#include "window/MW.h"

using namespace classlib;
namespace ui = classlib::testing;

namespace {

// Squares of the given indices, 30 x 20 each (so that width and height
// cannot be mixed up), or one slider counting its ValueChange events.
class Host : public Window {
 public:
  std::vector<Integer> squares;
  Integer valueChanges = 0;
  Integer windowPresses = 0;  // presses no control took

  void CreateControls() override {
    for (Integer index : squares) {
      Ref<TessarBox> box = New<TessarBox>();
      box->SetIndex(index);
      box->Constructor();
      box->SetWidth(30);
      box->SetHeight(20);
      AddControl("Square", box);
    }
    if (squares.empty()) {
      Ref<CustomSulider> slider = New<CustomSulider>();
      slider->Constructor();
      AddControl("Slider", slider);
      slider->ValueChange.AddHandler([this](Ref<CustomSulider>) { ++valueChanges; });
    }
  }
  bool Event_MouseDown(Integer, Integer) override { return ++windowPresses, false; }
  Ref<CustomSulider> Slider() { return Cast<CustomSulider>(ControlByName("Slider")); }
  std::string ClassName() const override { return "ControlsTest.Host"; }
};

class Controls : public ::testing::Test {
 protected:
  Ref<Host> Open(std::vector<Integer> squares = {}) {
    host_ = std::make_shared<Host>();
    host_->squares = std::move(squares);
    host_->SetWidth(300);
    host_->SetHeight(100);
    host_->Constructor();
    return host_;
  }
  void TearDown() override { host_->Close(); }
  Ref<Host> host_;
};

}  // namespace

TEST_F(Controls, SquareOpenTakesColumnRowAndABlankBackdropOfItsSize) {
  Ref<Host> host = Open({0, 7, 8, 27, 63});
  for (auto [index, m, n] : {std::tuple{0, 0, 0}, {7, 7, 0}, {8, 0, 1}, {27, 3, 3}, {63, 7, 7}}) {
    Ref<TessarBox> box = Cast<TessarBox>(host->ControlByNameIndex("Square", index));
    EXPECT_EQ(box->m * 10 + box->n, m * 10 + n) << index;
    EXPECT_EQ(box->value, 0);
    ASSERT_FALSE(box->Backdrop().IsNil());
    EXPECT_EQ(box->Backdrop()->Width() * 100 + box->Backdrop()->Height(), 3020);
    EXPECT_TRUE(box->Backdrop()->Graph()->ForeColor() == MW()->BackColor());
  }
  Integer mainWindows = 0;
  for (const Ref<Window>& w : OpenWindows()) mainWindows += w->ClassName() == "MW.MW";
  EXPECT_EQ(mainWindows, 1);
}

TEST_F(Controls, SliderPartsAndItsOwnIntegers) {
  Ref<CustomSulider> slider = Open()->Slider();
  EXPECT_TRUE(slider->SliderLineCV()->Backdrop() == SliderLine() && !SliderLine().IsNil());
  EXPECT_TRUE(slider->SliderHeadCV()->Backdrop() == SliderHead() && !SliderHead().IsNil());
  EXPECT_TRUE(slider->SliderHeadCV()->ParentControl() == slider->SliderLineCV());
  EXPECT_EQ(slider->Label1()->Text(), "   0    2    4    8    10");
  for (const char* name : {"SliderX", "SliderY", "Value"}) {
    EXPECT_EQ(PropertiesOf(*slider).Find(name)->type, PropertyType::Integer) << name;
  }
}

TEST_F(Controls, KnobFollowsTheDragHeldOnTheTrackReportingEveryStep) {
  Ref<Host> host = Open();
  Ref<CustomSulider> slider = host->Slider();
  Ref<Canvas> knob = slider->SliderHeadCV();
  ui::PressAt(host, 12, 10);  // grabbed 12 points into the knob
  ui::DragTo(host, 42, 10);
  EXPECT_EQ(knob->Left(), 30);
  EXPECT_EQ(slider->Value, 30);
  EXPECT_EQ(host->valueChanges, 1);
  ui::DragTo(host, 42, 16);  // straight down: no move, still reported
  EXPECT_EQ(knob->Left() * 100 + knob->Top(), 3000);
  EXPECT_EQ(host->valueChanges, 2);
  ui::DragTo(host, 250, 10);
  ui::DragTo(host, 260, 10);  // held at the right end
  EXPECT_EQ(knob->Left(), 80);
  EXPECT_EQ(slider->Value, 80);
  EXPECT_EQ(host->valueChanges, 4);
  ui::DragTo(host, -100, 10);
  EXPECT_EQ(knob->Left(), 0);
  EXPECT_EQ(slider->Value, 0);
  ui::ReleaseAt(host, -100, 10);
}

TEST_F(Controls, TrackPressWheelAndWritingValueMoveNothing) {
  Ref<Host> host = Open();
  Ref<CustomSulider> slider = host->Slider();
  ui::PressAt(host, 60, 10);  // the bare track, right of the knob: refused
  ui::DragTo(host, 80, 10);
  ui::ReleaseAt(host, 80, 10);
  EXPECT_EQ(host->windowPresses, 1);
  ui::WheelAt(host, 10, 10, 3);
  slider->Value = 55;
  EXPECT_EQ(slider->SliderHeadCV()->Left(), 0);
  EXPECT_EQ(slider->Value, 55);
  EXPECT_EQ(host->valueChanges, 0);
}
