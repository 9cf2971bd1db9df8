// The main window's own events: opening starts the first game, painting
// redraws the discs, and the window's background moves the window when
// dragged and minimises it on a quick second press, since the window has no
// title bar of its own.
#include <cstdint>

#include "native/Native.h"
#include "shell/Resources.h"
#include "window/MW.h"

using classlib::Integer;

void MW::Event_Open() {
  // A borderless native window that can still be minimised.
  const native::SEL setStyleMask = native::sel_registerName("setStyleMask:");
  const auto nativeWindow = reinterpret_cast<native::id>(static_cast<std::intptr_t>(Handle()));
  native::objc_msgSend(nativeWindow, setStyleMask, Integer{4});

  // Fully transparent, so only the board picture shows.
  SetBackColor(classlib::RGB(0, 0, 0, 255));

  Box(27)->SetBackdrop(White());
  Box(28)->SetBackdrop(Black());
  Box(35)->SetBackdrop(Black());
  Box(36)->SetBackdrop(White());
  Initialize();
}

void MW::Event_Close() { classlib::Quit(0); }

void MW::Event_Paint(classlib::Ref<classlib::Graphics> /*g*/) { RefreshBox(); }

bool MW::Event_MouseDown(Integer x, Integer y) {
  downX = x;
  downY = y;
  if (30.0 > static_cast<double>(classlib::Ticks()) - doubleClick) Minimize();
  doubleClick = static_cast<double>(classlib::Ticks());
  return true;  // take the press so that its drags follow
}

void MW::Event_MouseDrag(Integer x, Integer y) {
  SetTop(Top() + (y - downY));
  SetLeft(Left() + (x - downX));
}

void MW::Event_EnableMenuItems() {}
