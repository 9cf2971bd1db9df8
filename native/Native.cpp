// The message layer. Selectors are interned names; receivers are the
// application class object, the shared application object and the native
// windows behind Window::Handle. A receiver is only ever used after it has
// been recognised: a pointer that is none of these is never dereferenced.
#include "native/Native.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"
#include "native/Panels.h"

namespace native {

struct Selector {
  std::string name;
};

namespace {

struct SelectorTable {
  std::mutex lock;
  std::unordered_map<std::string, std::unique_ptr<Selector>> byName;
  std::unordered_set<const Selector*> known;
};

SelectorTable& Selectors() {
  // Never destroyed: selectors handed out stay valid until the process ends.
  static auto* table = new SelectorTable;
  return *table;
}

bool IsSelector(SEL selector) {
  SelectorTable& table = Selectors();
  std::lock_guard<std::mutex> guard(table.lock);
  return table.known.count(selector) != 0;
}

// Stand-ins for the two application objects: only their addresses matter.
struct NativeObject {
  const char* what;
};
NativeObject applicationClass{"NSApplication class"};
NativeObject sharedApplication{"NSApplication"};

// AppKit's window style bits.
constexpr std::int64_t kTitled = 1 << 0;
constexpr std::int64_t kClosable = 1 << 1;
constexpr std::int64_t kMiniaturizable = 1 << 2;
constexpr std::int64_t kResizable = 1 << 3;

// Frames beyond this are refused rather than converted to pixel numbers.
constexpr double kMaxCoordinate = 1.0e6;
constexpr qint64 kAnimationMs = 200;

template <class T>
bool Is(const std::vector<Argument>& arguments, std::size_t i) {
  return i < arguments.size() && std::holds_alternative<T>(arguments[i]);
}

// The one argument of an action message: a sender, nil or an object.
bool IsSender(const std::vector<Argument>& arguments) {
  return arguments.size() == 1 && (Is<std::nullptr_t>(arguments, 0) || Is<id>(arguments, 0));
}

void SetStyleMask(QWidget* top, std::int64_t mask) {
  const Qt::WindowFlags controlled = Qt::FramelessWindowHint | Qt::WindowTitleHint |
                                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                     Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                     Qt::CustomizeWindowHint;
  Qt::WindowFlags flags = (top->windowFlags() & ~controlled) | Qt::Window;
  if (mask & kTitled) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  } else {
    // No title bar, no border: nothing to resize by. (Qt would add a title
    // bar for the button hints if CustomizeWindowHint were set.)
    flags |= Qt::FramelessWindowHint;
  }
  if (mask & kClosable) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (mask & kMiniaturizable) flags |= Qt::WindowMinimizeButtonHint;
  if (mask & kResizable) flags |= Qt::WindowMaximizeButtonHint;
  if (flags == top->windowFlags()) return;
  // Changing the flags hides a shown window; it comes back where it was.
  const bool shown = top->isVisible();
  const QPoint position = top->pos();
  top->setWindowFlags(flags);
  if (shown) {
    top->move(position);
    top->show();
  }
}

void SetAlphaValue(QWidget* top, double alpha) {
  if (!std::isfinite(alpha)) return;
  top->setWindowOpacity(alpha);
}

QRect Interpolate(const QRect& from, const QRect& to, double t) {
  const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
  return QRect(mix(from.x(), to.x()), mix(from.y(), to.y()), mix(from.width(), to.width()),
               mix(from.height(), to.height()));
}

// Moves and sizes the window so that its content fills `frame` (AppKit
// screen coordinates: origin at the bottom left of the primary screen, y up).
void SetFrame(classlib::Window& window, const NSRect& frame, bool display, bool animate) {
  for (const double v : {frame.x, frame.y, frame.width, frame.height}) {
    if (!std::isfinite(v) || std::fabs(v) > kMaxCoordinate) return;
  }
  if (frame.width < 0 || frame.height < 0) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  QPointer<QWidget> top = classlib::internal::TopLevelWidget(window);
  if (!screen || !top) return;
  QPointer<QWidget> content = classlib::internal::ContentWidget(window);
  if (!content) content = top;

  const QRect primary = screen->geometry();
  const auto round = [](double v) { return static_cast<int>(std::lround(v)); };
  const QRect target(primary.x() + round(frame.x),
                     primary.y() + primary.height() - round(frame.y + frame.height),
                     round(frame.width), round(frame.height));

  // The content may sit below a menu bar inside the native window.
  const QPoint offset = content == top ? QPoint() : content->mapTo(top, QPoint(0, 0));
  const QSize extra = top->size() - content->size();
  const QRect start(top->geometry().topLeft() + offset, content->size());

  // Size limits set for the user must not stop the window from shrinking or
  // growing here.
  for (QWidget* w : {top.data(), content.data()}) {
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }

  const auto place = [&](const QRect& contentRect) {
    top->setGeometry(QRect(contentRect.topLeft() - offset, contentRect.size() + extra));
    if (content != top) content->resize(contentRect.size());
  };

  if (animate) {
    // Steps the frame over a fifth of a second. Only non-input events run in
    // between, so no click reaches the program halfway.
    QElapsedTimer clock;
    clock.start();
    for (;;) {
      const double t = static_cast<double>(clock.elapsed()) / kAnimationMs;
      if (t >= 1.0) break;
      place(Interpolate(start, target, t));
      classlib::internal::ProcessEventsWithoutInput();
      if (!top || !content) return;  // the window went away meanwhile
      QThread::msleep(10);
    }
  }
  place(target);
  if (display) top->update();
  classlib::internal::ProcessEventsWithoutInput();
}

id SendToWindow(classlib::Window& window, std::string_view message, const std::vector<Argument>& arguments) {
  QWidget* top = classlib::internal::TopLevelWidget(window);
  if (!top) return nullptr;
  if (message == "setStyleMask:") {
    if (arguments.size() == 1 && Is<std::int64_t>(arguments, 0)) {
      SetStyleMask(top, std::get<std::int64_t>(arguments[0]));
    }
  } else if (message == "setAlphaValue:") {
    if (arguments.size() == 1 && Is<double>(arguments, 0)) {
      SetAlphaValue(top, std::get<double>(arguments[0]));
    }
  } else if (message == "miniaturize:") {
    if (IsSender(arguments)) window.Minimize();
  } else if (message == "setFrame:display:animate:") {
    if (arguments.size() == 3 && Is<NSRect>(arguments, 0) && Is<BOOL>(arguments, 1) &&
        Is<BOOL>(arguments, 2)) {
      // Keep the window alive through the animation's event processing.
      const std::shared_ptr<classlib::Object> keep = window.weak_from_this().lock();
      SetFrame(window, std::get<NSRect>(arguments[0]), std::get<BOOL>(arguments[1]),
               std::get<BOOL>(arguments[2]));
    }
  }
  return nullptr;
}

}  // namespace

SEL sel_registerName(const char* name) {
  if (!name) return nullptr;
  SelectorTable& table = Selectors();
  std::lock_guard<std::mutex> guard(table.lock);
  std::unique_ptr<Selector>& slot = table.byName[name];
  if (!slot) {
    slot = std::make_unique<Selector>(Selector{name});
    table.known.insert(slot.get());
  }
  return slot.get();
}

const char* sel_getName(SEL selector) {
  if (!selector || !IsSelector(selector)) return "<null selector>";
  return selector->name.c_str();
}

id NSClassFromString(const std::string& name) {
  return name == "NSApplication" ? &applicationClass : nullptr;
}

id objc_msgSendv(id receiver, SEL selector, const std::vector<Argument>& arguments) {
  if (!receiver || !selector || !IsSelector(selector)) return nullptr;
  const std::string_view message = selector->name;

  if (receiver == &applicationClass) {
    if (message == "sharedApplication" && arguments.empty()) return &sharedApplication;
    return nullptr;
  }
  // The panels are windows: they need the toolkit's application.
  const bool haveWidgets = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  if (receiver == &sharedApplication) {
    if (!haveWidgets || !IsSender(arguments)) return nullptr;
    if (message == "orderFrontStandardAboutPanel:") {
      detail::ShowAboutPanel();
    } else if (message == "showHelp:") {
      detail::ShowHelpViewer();
    }
    return nullptr;
  }
  if (!haveWidgets) return nullptr;
  const auto handle = static_cast<classlib::Integer>(reinterpret_cast<std::intptr_t>(receiver));
  if (classlib::Window* window = classlib::internal::WindowFromHandle(handle)) {
    return SendToWindow(*window, message, arguments);
  }
  return nullptr;
}

}  // namespace native
