// Mouse input for tests, entered at the window's native window the way the desktop delivers it: the toolkit's own
// routing and its implicit grab decide which widget receives each event.
#include "classlib/Testing.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "classlib/src/Internal.h"

namespace classlib::testing {

namespace {

Qt::MouseButtons held = Qt::NoButton;

struct Target { QWindow* window; QPointF local, global; };  // a point in the native window, and on the screen

void WaitExposed(QWidget* top) {
  QWindow* handle = top->windowHandle();
  if (handle && !handle->isExposed()) (void)QTest::qWaitForWindowExposed(handle, 1000);
}

// The point (x, y) of the window's content as the native window sees it (below the menu bar).
Target Locate(const Ref<Window>& window, Integer x, Integer y) {
  QWidget* top = internal::TopLevelWidget(*window);
  QWidget* content = internal::ContentWidget(*window);
  if (!top || !content) throw RuntimeException("the window has no native window");
  if (!top->isVisible()) throw RuntimeException("input cannot reach a window that is not shown");
  WaitExposed(top);
  const QPoint local = content->mapTo(top, QPoint(static_cast<int>(x), static_cast<int>(y)));
  QWindow* handle = top->windowHandle();
  return {handle, QPointF(local), handle->mapToGlobal(QPointF(local))};
}

void Send(const Ref<Window>& window, Integer x, Integer y, QEvent::Type type, Qt::MouseButton button,
          bool clickApart = true) {
  const Target target = Locate(window, x, y);
  QTest::lastMouseTimestamp += 1;
  if (type == QEvent::MouseButtonPress) held |= button;
  if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(button);
  qt_handleMouseEvent(target.window, target.local, target.global, held, button, type, Qt::NoModifier,
                      QTest::lastMouseTimestamp);
  // Separate clicks are never taken for a double click.
  if (type == QEvent::MouseButtonRelease && clickApart) QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
}

}  // namespace

void MoveTo(Ref<Window> window, Integer x, Integer y) { Send(window, x, y, QEvent::MouseMove, Qt::NoButton); }
void PressAt(Ref<Window> window, Integer x, Integer y) { Send(window, x, y, QEvent::MouseButtonPress, Qt::LeftButton); }
// A move like any other: the button pressed before is still held.
void DragTo(Ref<Window> window, Integer x, Integer y) { MoveTo(window, x, y); }
void ReleaseAt(Ref<Window> window, Integer x, Integer y) {
  Send(window, x, y, QEvent::MouseButtonRelease, Qt::LeftButton);
}

void ReleaseElsewhere() { held = Qt::NoButton; }

void ClickAt(Ref<Window> window, Integer x, Integer y) {
  PressAt(window, x, y);
  ReleaseAt(window, x, y);
}

void QuickClickAt(Ref<Window> window, Integer x, Integer y) {
  PressAt(window, x, y);
  Send(window, x, y, QEvent::MouseButtonRelease, Qt::LeftButton, false);
}

void WheelAt(Ref<Window> window, Integer x, Integer y, Integer steps) {
  const Target target = Locate(window, x, y);
  QWheelEvent event(target.local, target.global, QPoint(), QPoint(0, static_cast<int>(steps) * 120), held,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(target.window, &event);
}

void ProcessEvents() {
  for (const Ref<Window>& window : OpenWindows()) {
    QWidget* top = internal::TopLevelWidget(*window);
    if (top && top->isVisible() && !top->isMinimized()) WaitExposed(top);
  }
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AdvanceTicks(Integer ticks) { internal::AdvanceTicks(ticks); }
void FreezeTicks(bool frozen) { internal::FreezeTicks(frozen); }

}  // namespace classlib::testing
