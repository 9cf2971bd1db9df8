// The widgets behind the stock controls: they paint what the control holds
// and turn the toolkit's input into the control's events.
#include "classlib/src/Widgets.h"

#include <cmath>
#include <memory>

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QWheelEvent>

#include "classlib/src/Internal.h"

namespace classlib::internal {

namespace {
int dispatchDepth = 0;

int ToInt(double v) { return static_cast<int>(std::floor(v)); }
}  // namespace

std::shared_ptr<Object> KeepAlive(Object* object) {
  return object ? object->weak_from_this().lock() : nullptr;
}

DispatchScope::DispatchScope() { ++dispatchDepth; }
DispatchScope::~DispatchScope() { --dispatchDepth; }
bool InDispatch() { return dispatchDepth > 0; }

void DisposeWidget(QWidget* widget) {
  if (!widget || !QCoreApplication::instance()) return;
  // Inside the event loop any caller may be running under a widget's event
  // handler (a menu action, a close): the loop deletes the widget later.
  if (InDispatch() || QThread::currentThread()->loopLevel() > 0) {
    widget->hide();
    widget->deleteLater();
  } else {
    delete widget;
  }
}

QColor ToQColor(Color c) {
  return QColor(static_cast<int>(c.Red()), static_cast<int>(c.Green()), static_cast<int>(c.Blue()),
                255 - static_cast<int>(c.Alpha()));
}

QFont FontFor(const Control::Impl& impl) {
  QFont font = QApplication::font();
  if (!impl.textFont.empty() && impl.textFont != "System") font.setFamilies({QString::fromStdString(impl.textFont)});
  if (impl.textSize > 0.0f) font.setPixelSize(std::max(1, static_cast<int>(std::lround(impl.textSize))));
  font.setBold(impl.bold);
  font.setItalic(impl.italic);
  font.setUnderline(impl.underline);
  return font;
}

// --- Canvas -----------------------------------------------------------------

CanvasView::CanvasView(Canvas* canvas, QWidget* parent) : QWidget(parent) {
  owner = canvas;
  setMouseTracking(true);  // MouseMove without a button held
}

Canvas* CanvasView::Target() const { return static_cast<Canvas*>(owner); }

void CanvasView::paintEvent(QPaintEvent*) {
  Canvas* canvas = Target();
  if (!canvas) return;
  PaintScope painting;
  ++canvas->Internal().paintCount;
  if (Ref<Picture> backdrop = canvas->Backdrop()) {
    QPainter painter(this);
    painter.drawImage(0, 0, ImageOf(*backdrop));
  }
  Deliver(canvas, [&] { canvas->Event_Paint(Ref<Graphics>()); });
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
  Canvas* canvas = Target();
  if (!canvas) return event->ignore();
  if (event->buttons() != event->button()) {
    // Another button during a press: it belongs to whoever took the press.
    return pressTaken_ ? event->accept() : event->ignore();
  }
  const QPoint at = event->position().toPoint();
  pressTaken_ = Deliver(canvas, [&] { return canvas->Event_MouseDown(at.x(), at.y()); });
  // Refused: the toolkit hands the press on to the widget beneath.
  pressTaken_ ? event->accept() : event->ignore();
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
  Canvas* canvas = Target();
  if (!canvas) return event->ignore();
  const int x = ToInt(event->position().x());
  const int y = ToInt(event->position().y());
  if (event->buttons() != Qt::NoButton) {
    if (!pressTaken_) return event->ignore();  // a press another widget took
    Deliver(canvas, [&] { canvas->Event_MouseDrag(x, y); });
  } else {
    Deliver(canvas, [&] { canvas->Event_MouseMove(x, y); });
  }
  event->accept();
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
  Canvas* canvas = Target();
  if (!canvas || !pressTaken_) return event->ignore();
  event->accept();
  if (event->buttons() != Qt::NoButton) return;  // the press lasts until the last button is up
  pressTaken_ = false;
  const QPoint at = event->position().toPoint();
  Deliver(canvas, [&] { canvas->Event_MouseUp(at.x(), at.y()); });
}

void CanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The toolkit reports the second press of a double click as a double click
  // alone: it is a press like any other.
  mousePressEvent(event);
}

void CanvasView::enterEvent(QEnterEvent*) {
  Canvas* canvas = Target();
  if (!canvas) return;
  Deliver(canvas, [&] { canvas->Event_MouseEnter(); });
}

void CanvasView::leaveEvent(QEvent*) {
  Canvas* canvas = Target();
  if (!canvas) return;
  Deliver(canvas, [&] { canvas->Event_MouseExit(); });
}

void CanvasView::wheelEvent(QWheelEvent* event) {
  Canvas* canvas = Target();
  if (!canvas) return event->ignore();
  const QPoint at = event->position().toPoint();
  const QPoint steps = event->angleDelta() / 120;
  const bool taken =
      Deliver(canvas, [&] { return canvas->Event_MouseWheel(at.x(), at.y(), steps.x(), steps.y()); });
  taken ? event->accept() : event->ignore();
}

// --- Label ------------------------------------------------------------------

LabelView::LabelView(Label* label, QWidget* parent) : QLabel(parent) {
  owner = label;
  setTextFormat(Qt::PlainText);
  // A caption lying on a picture button must not keep the press from it.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LabelView::paintEvent(QPaintEvent* event) {
  if (owner) ++owner->Internal().paintCount;
  QLabel::paintEvent(event);
}

// --- Radio button -------------------------------------------------------------

RadioView::RadioView(RadioButton* button, QWidget* parent) : QRadioButton(parent) {
  owner = button;
  // clicked comes only from the user, never from setChecked.
  QObject::connect(this, &QAbstractButton::clicked, this, [this] {
    auto* radio = static_cast<RadioButton*>(owner);
    if (!radio) return;
    Deliver(radio, [&] { radio->Event_Action(); });
  });
}

void RadioView::paintEvent(QPaintEvent* event) {
  if (owner) ++owner->Internal().paintCount;
  QRadioButton::paintEvent(event);
}

// --- Group box ----------------------------------------------------------------

GroupView::GroupView(GroupBox* box, QWidget* parent) : QGroupBox(parent) { owner = box; }

void GroupView::paintEvent(QPaintEvent* event) {
  if (owner) ++owner->Internal().paintCount;
  QGroupBox::paintEvent(event);
}

void GroupView::mousePressEvent(QMouseEvent* event) { event->ignore(); }
void GroupView::mouseMoveEvent(QMouseEvent* event) { event->ignore(); }
void GroupView::mouseReleaseEvent(QMouseEvent* event) { event->ignore(); }
void GroupView::mouseDoubleClickEvent(QMouseEvent* event) { event->ignore(); }

// --- Container control and plain controls --------------------------------------

ContainerView::ContainerView(ContainerControl* container, QWidget* parent) : QWidget(parent) {
  owner = container;
}

void ContainerView::paintEvent(QPaintEvent*) {
  if (!owner) return;
  Control::Impl& impl = owner->Internal();
  ++impl.paintCount;
  if (impl.hasBackColor) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), ToQColor(impl.backColor));
  }
}

PlainView::PlainView(Control* control, QWidget* parent) : QWidget(parent) { owner = control; }

void PlainView::paintEvent(QPaintEvent*) {
  if (owner) ++owner->Internal().paintCount;
}

}  // namespace classlib::internal
