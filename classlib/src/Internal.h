// What the class library's own sources share with each other. Qt is allowed
// here; nothing outside classlib/ and native/ includes this file.
#pragma once

#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include <QImage>
#include <QMenuBar>
#include <QWidget>
#include <QtGlobal>

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

// Messages (MessagesTaken.cpp). While one of these lives, the toolkit's
// messages and whatever is written to stderr (some libraries write straight to
// the file descriptor, past the toolkit) are taken down instead of shown, one
// entry a line, in the order they came. A fatal message of the toolkit goes,
// with everything taken before it, to `onFatal`, which must end the program;
// stderr is given back first.
class MessagesTaken {
 public:
  using FatalHandler = void (*)(const std::vector<std::string>& messages);
  explicit MessagesTaken(FatalHandler onFatal = nullptr);
  ~MessagesTaken();
  MessagesTaken(const MessagesTaken&) = delete;
  MessagesTaken& operator=(const MessagesTaken&) = delete;
  // What was taken so far.
  std::vector<std::string> Texts();
  // Stops taking, and shows what was taken as it would have been shown.
  void PassOn();

 private:
  static void Take(QtMsgType type, const QMessageLogContext& context, const QString& message);
  void ReadStderr();
  void GiveBack();

  FatalHandler onFatal_;
  MessagesTaken* outer_;
  QtMessageHandler previous_ = nullptr;
  std::FILE* file_;
  int saved_ = -1;        // the real stderr while it is taken
  std::size_t read_ = 0;  // how much of the file has been read
  std::vector<std::pair<int, std::string>> taken_;  // the message's QtMsgType, -1 for a line of stderr
};

}  // namespace classlib::internal
