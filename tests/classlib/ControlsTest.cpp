// Controls on a real window: which control the toolkit's routing gives a
// press, hovering, and radio button groups. What the design streams set is
// read back from the main window's own controls (window suite).
#include <tuple>
#include <vector>

#include "tests/support/Game.h"

using namespace game;

namespace {

// Logs a canvas's presses under `name`, and its hovering when asked.
void Record(const Ref<Canvas>& canvas, const std::string& name, bool takes, std::string& log, bool hover = false) {
  canvas->MouseDown.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) {
    log += name + " down" + At(x, y);
    return takes;
  });
  canvas->MouseDrag.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) { log += name + " drag" + At(x, y); });
  canvas->MouseUp.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) { log += name + " up" + At(x, y); });
  if (!hover) return;
  canvas->MouseEnter.AddHandler([=, &log](Ref<Canvas>) { log += name + " enter; "; });
  canvas->MouseExit.AddHandler([=, &log](Ref<Canvas>) { log += name + " exit; "; });
}

}  // namespace

// A taken press brings its drag and release to the same control, even far
// outside it; a refused one goes to the window beneath, and so do presses on
// a group box; a press on a caption label reaches the button beneath it.
TEST_F(WindowTest, PressesGoToTheControlThatTakesThem) {
  auto w = OpenWindow([](TestWindow& win) {
    Record(Place<Canvas>(win, "Taker", kNoIndex, 10, 10, 60, 40), "taker", true, win.controlLog);
    Record(Place<Canvas>(win, "Refuser", kNoIndex, 100, 10, 40, 40), "refuser", false, win.controlLog);
    Record(Place<Canvas>(win, "Button", 3, 10, 80, 80, 40), "button", true, win.controlLog);
    Place<Label>(win, "Caption", kNoIndex, 20, 90, 40, 20, "Button$3")->SetText("後手");  // inside, as the game's
    Place<Label>(win, "OnTop", kNoIndex, 65, 90, 20, 20)->SetText("上");  // merely lying on it
    Place<GroupBox>(win, "Group", kNoIndex, 100, 80, 80, 60);
  });
  const std::tuple<Integer, Integer, bool, const char*> presses[] = {
      {20, 25, true, "taker down 10,15; taker drag 110,85; taker up 110,85; |"},
      {110, 20, true, "refuser down 10,10; | down 110,20; drag 210,90; up 210,90; "},
      {30, 95, true, "button down 20,15; button drag 120,85; button up 120,85; |"},
      {70, 95, true, "button down 60,15; button drag 160,85; button up 160,85; |"},
      {150, 120, true, "| down 150,120; drag 250,190; up 250,190; "},
      {190, 5, false, "| down 190,5; "},  // refused by the window too
  };
  for (const auto& [x, y, windowTakes, expected] : presses) {
    w->controlLog = w->log = "";
    w->takePress = windowTakes;
    ui::PressAt(w, x, y);
    ui::DragTo(w, x + 100, y + 70);
    ui::ReleaseAt(w, x + 100, y + 70);
    EXPECT_EQ(w->controlLog + "|" + (w->log.empty() ? "" : " " + w->log), expected);
  }
}

TEST_F(WindowTest, HoverReachesTheCanvasAndHandlerErrorsReachTheHook) {
  auto w = OpenWindow([](TestWindow& win) {
    Record(Place<Canvas>(win, "Over", kNoIndex, 50, 50, 40, 40), "over", true, win.controlLog, true);
  });
  for (auto [x, y] : {std::pair{10, 10}, {60, 70}, {150, 120}, {55, 55}}) ui::MoveTo(w, x, y);
  EXPECT_EQ(w->controlLog, "over enter; over exit; over enter; ");

  std::string reported;
  SetUnhandledExceptionHookForTesting([&reported](const std::exception& e) { reported = e.what(); });
  Cast<Canvas>(w->ControlByName("Over"))->MouseDown.AddHandler([](Ref<Canvas>, Integer, Integer) -> bool {
    throw NilObjectException("no square");
  });
  ui::ClickAt(w, 60, 60);
  EXPECT_EQ(reported, "no square");
}
