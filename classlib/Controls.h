// Controls: the base classes and the stock controls the program places on its
// window (canvas, label, radio button, group box).
//
// Construction is two-phase: a host (window or container control) makes the
// object with New<T>() (the C++ constructor is the field initialiser), then the
// caller runs the library's Constructor() on it, which creates the control on
// screen. Left and Top are always in the host's coordinates, also for a
// control that sits inside another control (InitialParent).
#pragma once

#include <memory>
#include <string>

#include "classlib/Events.h"
#include "classlib/Graphics.h"
#include "classlib/Properties.h"
#include "classlib/Types.h"

namespace classlib {

class Window;
class ControlHost;

// The index a control outside any control set carries.
constexpr Integer kNoIndex = -2147483648LL;

class Control : public Object {
 public:
  Control();
  ~Control() override;

  // The library's base constructor: creates the control on screen inside its
  // host. Runs once; the host must have made the object (New<T>()).
  virtual void Constructor();
  bool IsConstructed() const;

  Integer Index() const { return index_; }
  void SetIndex(Integer index) { index_ = index; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  // The window the control lives in (through its container, if any); nothing
  // for a control no host has made.
  Ref<class Window> Window() const;
  ControlHost* Host() const { return host_; }

  // Open: raised once when the window opens its controls.
  Event<void(Ref<Control>)> Open;
  virtual void Event_Open() { Open.Raise(RefTo(this)); }

  std::string ClassName() const override { return "Control"; }
  void DeclareProperties(PropertyTable& table) override;

  struct Impl;
  Impl& Internal() const { return *impl_; }

 private:
  friend class ControlHost;
  Integer index_ = kNoIndex;
  std::string name_;
  ControlHost* host_ = nullptr;
  std::unique_ptr<Impl> impl_;
};

// A control with a place and a size. The design streams also carry
// properties that this window never acts on (LockLeft, TabIndex, TabStop,
// AutoDeactivate, UseFocusRing, AcceptFocus, ...): they are kept and can be
// read back with GetProperty, but change nothing on screen.
class RectControl : public Control {
 public:
  Integer Left() const;
  Integer Top() const;
  Integer Width() const;
  Integer Height() const;
  void SetLeft(Integer v);
  void SetTop(Integer v);
  void SetWidth(Integer v);
  void SetHeight(Integer v);

  bool Visible() const;
  void SetVisible(bool v);
  bool Enabled() const;
  void SetEnabled(bool v);
  // Shown as a tooltip.
  const std::string& HelpTag() const;
  void SetHelpTag(const std::string& text);
  // The control this one sits in: "" for the host itself, a set member as
  // "GB$0", any other control by its name ("SliderLineCV").
  const std::string& InitialParent() const;
  void SetInitialParent(const std::string& parent);
  // The control named by InitialParent, or nothing for the host itself.
  Ref<RectControl> ParentControl() const;

  // Repaints the control: at once, before this returns, when `immediately`
  // is true; otherwise at the next paint.
  void Refresh(bool immediately = false);
  // Times the control has been painted, for tests.
  Integer PaintCount() const;

  std::string ClassName() const override { return "RectControl"; }
  void DeclareProperties(PropertyTable& table) override;
};

// A surface that shows its Backdrop picture and reports the mouse.
class Canvas : public RectControl {
 public:
  Ref<Picture> Backdrop() const { return backdrop_; }
  // Setting the picture it already holds requests no repaint.
  void SetBackdrop(Ref<Picture> picture);

  // MouseDown returns true to take the press: the MouseDrag events and the
  // MouseUp of that press then come to this canvas. False (or no handler)
  // refuses it, and the press goes to what lies beneath.
  Event<bool(Ref<Canvas>, Integer, Integer)> MouseDown;
  Event<void(Ref<Canvas>, Integer, Integer)> MouseDrag;
  Event<void(Ref<Canvas>, Integer, Integer)> MouseUp;
  Event<void(Ref<Canvas>)> MouseEnter;
  Event<void(Ref<Canvas>)> MouseExit;
  Event<void(Ref<Canvas>, Integer, Integer)> MouseMove;
  // x, y, horizontal and vertical wheel steps; true takes the wheel event.
  Event<bool(Ref<Canvas>, Integer, Integer, Integer, Integer)> MouseWheel;
  // Raised after the backdrop has been drawn; the canvas's Graphics is not
  // drawable here, so handlers receive nothing.
  Event<void(Ref<Canvas>, Ref<Graphics>)> Paint;

  virtual bool Event_MouseDown(Integer x, Integer y) { return MouseDown.Raise(Self(), x, y); }
  virtual void Event_MouseDrag(Integer x, Integer y) { MouseDrag.Raise(Self(), x, y); }
  virtual void Event_MouseUp(Integer x, Integer y) { MouseUp.Raise(Self(), x, y); }
  virtual void Event_MouseEnter() { MouseEnter.Raise(Self()); }
  virtual void Event_MouseExit() { MouseExit.Raise(Self()); }
  virtual void Event_MouseMove(Integer x, Integer y) { MouseMove.Raise(Self(), x, y); }
  virtual bool Event_MouseWheel(Integer x, Integer y, Integer dx, Integer dy) {
    return MouseWheel.Raise(Self(), x, y, dx, dy);
  }
  virtual void Event_Paint(Ref<Graphics> g) { Paint.Raise(Self(), g); }

  std::string ClassName() const override { return "Canvas"; }

 private:
  Ref<Canvas> Self() { return RefTo(this); }
  Ref<Picture> backdrop_;
};

// Text alignment codes: 0 default (left), 1 left, 2 centre, 3 right.
class Label : public RectControl {
 public:
  const std::string& Text() const;
  void SetText(const std::string& text);
  Integer TextAlign() const;
  void SetTextAlign(Integer code);
  Color TextColor() const;
  void SetTextColor(Color c);
  const std::string& TextFont() const;
  void SetTextFont(const std::string& font);  // "System": the desktop's sans-serif
  float TextSize() const;                       // in pixels at scale 1
  void SetTextSize(float size);
  bool Bold() const;
  void SetBold(bool v);
  bool Italic() const;
  void SetItalic(bool v);
  bool Underline() const;
  void SetUnderline(bool v);

  std::string ClassName() const override { return "Label"; }
  void DeclareProperties(PropertyTable& table) override;
};

// Radio buttons that share a parent control are exclusive.
class RadioButton : public RectControl {
 public:
  const std::string& Caption() const;
  void SetCaption(const std::string& caption);
  bool Value() const;
  // Turning a button on turns the others of its parent off. Action is raised
  // only by a click.
  void SetValue(bool on);

  Event<void(Ref<RadioButton>)> Action;
  virtual void Event_Action() { Action.Raise(RefTo(this)); }

  std::string ClassName() const override { return "RadioButton"; }
  void DeclareProperties(PropertyTable& table) override;
};

class GroupBox : public RectControl {
 public:
  const std::string& Caption() const;
  void SetCaption(const std::string& caption);

  std::string ClassName() const override { return "GroupBox"; }
  void DeclareProperties(PropertyTable& table) override;
};

}  // namespace classlib
