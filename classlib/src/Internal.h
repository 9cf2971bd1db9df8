// What the class library's own sources share with each other. Qt is allowed
// here; nothing outside classlib/ and native/ includes this file.
#pragma once

#include <exception>
#include <string>

#include <QImage>
#include <QMenuBar>
#include <QWidget>

#include "classlib/ClassLib.h"

namespace classlib::internal {

// Pictures (Graphics.cpp): the image behind a picture.
QImage& ImageOf(Picture& picture);
const QImage& ImageOf(const Picture& picture);

// Files of the bundle (Sound.cpp).
// Where the bundle's Resources folder is, whether or not it exists ("" when
// the program cannot find its own file).
std::string BundleResourcesPath();
// Why a file cannot be read, in a few words ("missing", "not readable:
// permission denied", ...), or "" when it can be opened for reading. Only
// regular files count as readable: a pipe would block its reader.
std::string WhyUnreadable(const std::string& path);
// Writes the line to stderr the first time this key comes, never again.
void WarnOnce(const std::string& key, const std::string& line);

// Clock and quitting (Runtime.cpp).
void AdvanceTicks(Integer ticks);      // moves the clock behind Ticks forward (tests)
void FreezeTicks(bool frozen);         // stops the clock, or lets it run on (tests)
Integer QuitExitCode();                // the code given to the last Quit
void ResetQuitForTesting();            // forgets an earlier Quit

// Windows (Window.cpp).
QWidget* TopLevelWidget(const Window& window);  // the native window (what Handle gives out)
QWidget* ContentWidget(const Window& window);   // the Width x Height content under the menu bar
// The open window whose Handle this is, or nullptr: handles are checked
// against the open windows before anything is done with them.
Window* WindowFromHandle(Integer handle);
QWidget* WidgetOf(const Control& control);      // the control's widget once constructed

// Menus (MenuView.cpp): a menu bar widget for a menu tree. Its actions send
// SendMenuCommand(item Name); a menu about to show raises the front window's
// EnableMenuItems.
QMenuBar* BuildMenuBar(const Ref<MenuBar>& bar, QWidget* parent);

// Work without user input (Runtime.cpp). The yield point and the closing
// animation let paints and posted work run while a handler is still running;
// input that arrives meanwhile waits for the handler to return.
void ProcessEventsWithoutInput();
// Called when the outermost handler has returned. The X11 queue sets aside
// input it met while events were processed without input, and looks at it
// again only when further X events arrive; waking the event dispatcher makes
// the loop deliver it now instead of at the next mouse move.
void OutermostHandlerReturned();
// How many handlers are running now, nested (one counter for the program).
int& HandlerDepth();
// How many widgets of the library are inside their paint now. While any is,
// nothing is painted synchronously and the yield point does nothing.
int& PaintDepth();
struct PaintScope {
  PaintScope() { ++PaintDepth(); }
  ~PaintScope() { --PaintDepth(); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
};

// Errors (Application.cpp): every event the toolkit delivers to program code
// runs inside this, so that an escaping error reaches UnhandledException.
template <class F>
void Guarded(F&& f) {
  struct Depth {
    Depth() { ++HandlerDepth(); }
    ~Depth() {
      if (--HandlerDepth() == 0) OutermostHandlerReturned();
    }
  } running;
  try {
    f();
  } catch (const std::exception& e) {
    UnhandledException(e);
  }
}

// True when the toolkit shows windows on a real display (not offscreen).
bool HasRealDisplay();

// Start-up (Application.cpp): the one line RuntimeMain prints instead of
// starting when the toolkit would need a display and none can be reached;
// empty when one can be, or none is needed (QT_QPA_PLATFORM=offscreen).
std::string MissingDisplayMessage();
// The platform start-up asks the toolkit for: the one the player chose
// (QT_QPA_PLATFORM), else X11 wherever an X server is offered (XWayland too),
// else Wayland where only that is offered; "" leaves it to the toolkit.
std::string ChoosePlatform(const char* chosen, const char* x11Display, const char* waylandDisplay);

}  // namespace classlib::internal
