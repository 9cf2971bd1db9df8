// The slider on a small window of the test's own, with real mouse input.
#include <tuple>

#include "controls/CustomSulider.h"
#include "tests/support/Game.h"

using namespace game;

TEST_F(WindowTest, SliderKnobFollowsDragsHeldOnItReportingEveryStepAndNothingElse) {
  Integer changes = 0;
  auto host = OpenWindow([&changes](TestWindow& win) {
    Place<CustomSulider>(win, "Slider", kNoIndex, 0, 0, 100, 27)->ValueChange.AddHandler(
        [&changes](Ref<CustomSulider>) { ++changes; });
  });
  host->takePress = false;
  Ref<CustomSulider> slider = Cast<CustomSulider>(host->ControlByName("Slider"));
  Ref<Canvas> knob = slider->SliderHeadCV();
  EXPECT_TRUE(knob->Backdrop() == SliderHead() && slider->SliderLineCV()->Backdrop() == SliderLine());
  // The knob's place, Value and the ValueChange events so far.
  auto state = [&] {
    return Str(knob->Left()) + "," + Str(knob->Top()) + " " + Str(slider->Value) + " " + Str(changes);
  };
  // A press on the bare track right of the knob goes to the window; neither its drag, a wheel nor a set Value moves it.
  ui::PressAt(host, 60, 10);
  ui::DragTo(host, 80, 10);
  ui::ReleaseAt(host, 80, 10);
  ui::WheelAt(host, 10, 10, 3);
  slider->Value = 55;
  EXPECT_EQ(state() + " | " + host->log, "0,0 55 0 | open; down 60,10; ");
  // Grabbed 12 points into the knob: every drag event moves it by the pointer's sideways motion and is reported, also
  // one that moves nothing. Its ends are proven on the main window, with the window's opacity.
  ui::PressAt(host, 12, 10);
  for (auto [x, y, expected] : {std::tuple{42, 10, "30,0 30 1"}, {42, 16, "30,0 30 2"}, {-100, 10, "0,0 0 3"}}) {
    ui::DragTo(host, x, y);
    EXPECT_EQ(state(), expected) << x << "," << y;
  }
  ui::ReleaseAt(host, -100, 10);
}
