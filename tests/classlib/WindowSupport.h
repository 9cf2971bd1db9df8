// A window for tests of windows and controls: it builds whatever the test
// asks for while it is created and logs its own events and, as a test
// attaches them, its controls' events, each entry followed by "; ".
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/Testing.h"

namespace windowtest {

using namespace classlib;

inline std::string At(Integer x, Integer y) { return " " + Str(x) + "," + Str(y) + "; "; }

class TestWindow : public Window {
 public:
  std::function<void(TestWindow&)> build;    // runs in CreateControls
  std::function<void(TestWindow&)> onPaint;  // runs in Paint
  bool takePress = true;
  std::string log;         // the window's own events
  std::string controlLog;  // its controls' events

  void CreateControls() override {
    if (build) build(*this);
  }
  void Event_Open() override { log += "open; "; }
  void Event_Close() override { log += "close; "; }
  void Event_Paint(Ref<Graphics>) override {
    if (onPaint) onPaint(*this);
  }
  bool Event_MouseDown(Integer x, Integer y) override {
    log += "down" + At(x, y);
    return takePress;
  }
  void Event_MouseDrag(Integer x, Integer y) override { log += "drag" + At(x, y); }
  void Event_MouseUp(Integer x, Integer y) override { log += "up" + At(x, y); }
  std::string ClassName() const override { return "Test.Window"; }
};

// Builds and opens a 200 x 150 window, exposed and ready for input.
inline Ref<TestWindow> OpenWindow(std::function<void(TestWindow&)> build = nullptr) {
  auto window = std::make_shared<TestWindow>();
  window->build = std::move(build);
  window->SetWidth(200);
  window->SetHeight(150);
  window->Constructor();
  classlib::testing::ProcessEvents();
  return Ref<TestWindow>(window);
}

// Makes a control the way a window's layout does: constructed, registered,
// then placed (window coordinates) and put into its parent.
template <class T>
Ref<T> Place(ControlHost& host, const std::string& name, Integer index, Integer left, Integer top,
             Integer width, Integer height, const std::string& parent = "") {
  Ref<T> control = host.New<T>();
  control->SetIndex(index);
  control->Constructor();
  host.AddControl(name, control);
  control->SetLeft(left);
  control->SetTop(top);
  control->SetWidth(width);
  control->SetHeight(height);
  control->SetInitialParent(parent);
  return control;
}

// Closes every window a test left open.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const Ref<Window>& window : OpenWindows()) window->Close();
    classlib::testing::ProcessEvents();
    SetUnhandledExceptionHookForTesting(nullptr);
  }
};

}  // namespace windowtest
