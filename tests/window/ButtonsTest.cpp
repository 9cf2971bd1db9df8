// The picture buttons, the opacity slider's link and the window's menu
// handlers, driven through real mouse input on the one main window.
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QEvent>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"
#include "classlib/src/Internal.h"
#include "shell/Resources.h"
#include "window/MW.h"

using namespace classlib;
namespace ui = classlib::testing;

namespace {

// Runs `seen` whenever the widget receives an event of the given type.
class EventProbe : public QObject {
 public:
  EventProbe(QWidget* widget, QEvent::Type type, std::function<void()> seen)
      : widget_(widget), type_(type), seen_(std::move(seen)) {
    widget->installEventFilter(this);
  }
  ~EventProbe() override {
    if (widget_) widget_->removeEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) seen_();
    return false;
  }

 private:
  QPointer<QWidget> widget_;
  QEvent::Type type_;
  std::function<void()> seen_;
};

void Mouse(void (*action)(Ref<Window>, Integer, Integer), const Ref<RectControl>& c) {
  action(MW(), c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
}

std::string Position() {  // the board, the status line and the counts
  std::string s;
  for (Integer i = 0; i < 64; ++i) s += static_cast<char>('0' + MW()->Box(i)->value);
  return s + MW()->St(0)->Text() + "/" + MW()->St(2)->Text() + "/" + MW()->St(4)->Text();
}

const std::string kStart =
    std::string(27, '0') + "12" + std::string(6, '0') + "21" + std::string(27, '0') + "黒が先手です。/2/2";

void NewGame() {
  Mouse(ui::ClickAt, MW()->BCV(4));
  ui::MoveTo(MW(), 320, 5);
}

}  // namespace

TEST(PictureButtons, HoverFacesOfRedAndYellowOnly) {
  Ref<class MW> w = MW();
  ui::MoveTo(w, 30, 25);
  EXPECT_TRUE(w->BCV(0)->Backdrop() == rButtonX());
  ui::MoveTo(w, 50, 25);
  EXPECT_TRUE(w->BCV(0)->Backdrop() == rButton() && w->BCV(1)->Backdrop() == yButtonD());
  ui::MoveTo(w, 72, 25);
  EXPECT_TRUE(w->BCV(1)->Backdrop() == yButton() && w->BCV(2)->Backdrop() == gButton());
  Mouse(ui::MoveTo, w->BCV(3));
  EXPECT_TRUE(w->BCV(3)->Backdrop() == Button());
  ui::MoveTo(w, 320, 5);
}

TEST(PictureButtons, GreenDoesNothingAndYellowMinimises) {
  Ref<class MW> w = MW();
  Mouse(ui::ClickAt, w->BCV(2));
  EXPECT_FALSE(QuitRequested() || w->IsMinimized());
  Mouse(ui::ClickAt, w->BCV(1));
  EXPECT_TRUE(w->IsMinimized());
  EXPECT_FALSE(QuitRequested());
  internal::TopLevelWidget(*w)->showNormal();
}

TEST(PictureButtons, RedQuitsWithZeroOnlyAfterTheClosingAnimation) {
  Ref<class MW> w = MW();
  Integer left = w->Left(), top = w->Top();
  std::vector<bool> quitWhileAnimating;
  {
    EventProbe probe(internal::TopLevelWidget(*w), QEvent::Resize,
                     [&] { quitWhileAnimating.push_back(QuitRequested()); });
    Mouse(ui::ClickAt, w->BCV(0));
  }
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(internal::QuitExitCode(), 0);
  ASSERT_FALSE(quitWhileAnimating.empty());
  EXPECT_FALSE(quitWhileAnimating.front());
  EXPECT_EQ(internal::ContentWidget(*w)->size(), QSize(320, 335));  // half size
  w->SetWidth(640);
  w->SetHeight(670);
  w->SetLeft(left);
  w->SetTop(top);
  internal::ResetQuitForTesting();
}

TEST(PictureButtons, GoteLetsTheComputerOpenAfterASecond) {
  Ref<class MW> w = MW();
  NewGame();
  std::vector<std::pair<std::string, Integer>> shown;  // the status line at each repaint
  bool pressedFaceFirst = false;
  EventProbe status(internal::WidgetOf(*w->St(0)), QEvent::Paint,
                    [&] { shown.emplace_back(MW()->St(0)->Text(), Ticks()); });
  EventProbe button(internal::WidgetOf(*w->BCV(3)), QEvent::Paint, [&] {
    if (shown.empty()) pressedFaceFirst = MW()->BCV(3)->Backdrop() == ButtonB();
  });
  Mouse(ui::PressAt, w->BCV(3));
  EXPECT_TRUE(pressedFaceFirst);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0].first, "マックが先手です");
  auto thinking = std::find_if(shown.begin(), shown.end(), [](auto& s) { return s.first == "マックが考えています..."; });
  ASSERT_NE(thinking, shown.end());
  EXPECT_GE(thinking->second - shown[0].second, 60);
  EXPECT_EQ(Position().substr(64), "貴方の番です。/1/4");
  EXPECT_TRUE(w->BCV(3)->Backdrop() == ButtonB());
  Mouse(ui::ReleaseAt, w->BCV(3));
  EXPECT_TRUE(w->BCV(3)->Backdrop() == Button());
}

TEST(PictureButtons, GoteMidGameOnlyChangesFacesAndNewGameRestoresTheStart) {
  Ref<class MW> w = MW();
  NewGame();
  EXPECT_EQ(Position(), kStart);
  Mouse(ui::ClickAt, w->Box(19));  // Black opens
  std::string position = Position();
  Mouse(ui::PressAt, w->BCV(3));
  EXPECT_TRUE(w->BCV(3)->Backdrop() == ButtonB());
  EXPECT_EQ(Position(), position);
  Mouse(ui::ReleaseAt, w->BCV(3));
  EXPECT_TRUE(w->BCV(3)->Backdrop() == Button());

  Mouse(ui::PressAt, w->BCV(4));
  EXPECT_TRUE(w->BCV(4)->Backdrop() == ButtonB());
  EXPECT_EQ(Position(), kStart);
  EXPECT_TRUE(w->player == 2 && !w->playing);
  Mouse(ui::ReleaseAt, w->BCV(4));
  EXPECT_TRUE(w->BCV(4)->Backdrop() == Button());

  // The window's own menu handlers: a new game, and Quit without animation.
  Mouse(ui::ClickAt, w->Box(19));
  EXPECT_TRUE(w->HandleMenuCommand("FileNew"));
  EXPECT_EQ(Position(), kStart);
  EXPECT_TRUE(w->HandleMenuCommand("FileQuit"));
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(internal::ContentWidget(*w)->width(), 640);
  internal::ResetQuitForTesting();
}

TEST(OpacitySlider, StartsOpaqueAndFollowsTheKnobFrom20To100Percent) {
  Ref<class MW> w = MW();
  Ref<CustomSulider> slider = w->CustomSulider1();
  QWidget* native = internal::TopLevelWidget(*w);
  EXPECT_EQ(slider->Value, 100);
  EXPECT_EQ(slider->SliderHeadCV()->Left(), 80);
  EXPECT_DOUBLE_EQ(native->windowOpacity(), 1.0);
  Integer x = slider->Left() + 90, y = slider->Top() + 10;  // the knob's middle
  ui::PressAt(w, x, y);
  ui::DragTo(w, x - 400, y);
  EXPECT_EQ(slider->SliderHeadCV()->Left(), 0);
  EXPECT_NEAR(native->windowOpacity(), 0.2, 0.005);
  ui::DragTo(w, x + 400, y);
  EXPECT_EQ(slider->Value, 80);
  EXPECT_NEAR(native->windowOpacity(), 1.0, 0.005);
  ui::ReleaseAt(w, x + 400, y);
}
