// The toolkit widgets behind controls and windows, and the state a control
// keeps whether or not its widget exists yet (a design stream may be applied
// to a control before its Constructor has put it on screen).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <type_traits>

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QWidget>

#include "classlib/Controls.h"
#include "classlib/Properties.h"
#include "classlib/Window.h"
#include "classlib/src/Internal.h"

namespace classlib {

struct Control::Impl {
  QPointer<QWidget> widget;
  bool constructed = false;

  // Place and size in the host's coordinates; the widget, once it exists,
  // is the authority for the place.
  Integer left = 0;
  Integer top = 0;
  Integer width = 100;
  Integer height = 100;
  bool visible = true;
  bool enabled = true;
  std::string helpTag;
  std::string initialParent;

  // Text of a label, caption of a radio button or group box.
  std::string text;
  Integer textAlign = 0;
  Color textColor{0};
  std::string textFont = "System";
  float textSize = 0.0f;  // 0: the desktop's default size
  Unit textUnit{};
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool multiline = false;

  bool value = false;  // radio button, until its widget exists

  Color backColor{0x00FFFFFF};
  bool hasBackColor = false;

  Integer paintCount = 0;

  // Properties that change nothing on screen: stored and read back.
  std::map<std::string, PropertyValue, std::less<>> stored;
};

namespace internal {

// Marks program code running inside an event the toolkit delivered. While
// any runs, widgets are released with deleteLater, never deleted under the
// toolkit's feet.
class DispatchScope {
 public:
  DispatchScope();
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
};
bool InDispatch();
// Deletes a widget now, or later when an event is being delivered.
void DisposeWidget(QWidget* widget);

// Runs an event handler that answers true or false under Guarded; an error
// counts as false.
template <class F>
bool GuardedAnswer(F&& f) {
  bool answer = false;
  Guarded([&] { answer = f(); });
  return answer;
}

// Keeps the object an event is delivered to alive until its handler has
// returned, whatever the handler does to the window.
std::shared_ptr<Object> KeepAlive(Object* object);

// Delivers one toolkit event to program code on `target`: the target stays
// alive while the handler runs, widgets are not deleted under it, and an
// escaping error reaches UnhandledException. A handler that answers gives its
// answer back (false after an error).
template <class F>
auto Deliver(Object* target, F&& handler) {
  DispatchScope scope;
  auto keep = KeepAlive(target);
  if constexpr (std::is_void_v<decltype(handler())>) {
    Guarded(handler);
  } else {
    return GuardedAnswer(handler);
  }
}

// 0xAARRGGBB with alpha 0 opaque, as a toolkit colour.
QColor ToQColor(Color c);
// The font a control's text properties describe.
QFont FontFor(const Control::Impl& impl);

// The widget in which a host puts its controls: a window's content, a
// container control's own widget.
QWidget* HostWidget(ControlHost& host);

// What every control widget knows: the control it shows (nothing once the
// control is gone).
class ControlView {
 public:
  virtual ~ControlView() = default;
  Control* owner = nullptr;
};

class CanvasView : public QWidget, public ControlView {
 public:
  CanvasView(Canvas* canvas, QWidget* parent);
  // The press ends without a release: the window will never see it.
  void EndPress() { pressTaken_ = false; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  Canvas* Target() const;
  bool pressTaken_ = false;
};

class LabelView : public QLabel, public ControlView {
 public:
  LabelView(Label* label, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class RadioView : public QRadioButton, public ControlView {
 public:
  RadioView(RadioButton* button, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A group box only frames its buttons: presses on it go to what is beneath.
class GroupView : public QGroupBox, public ControlView {
 public:
  GroupView(GroupBox* box, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class ContainerView : public QWidget, public ControlView {
 public:
  ContainerView(ContainerControl* container, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A control of no stock kind: an empty surface.
class PlainView : public QWidget, public ControlView {
 public:
  PlainView(Control* control, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace internal
}  // namespace classlib
