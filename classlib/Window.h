// Windows, container controls and the registries behind them: the registry of
// open windows (found by class name text) and each host's control registry
// (found by name and index).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/Properties.h"
#include "classlib/Types.h"

namespace classlib {

class MenuBar;

// What a window and a container control share: they make controls for
// themselves and keep them by name and index.
class ControlHost {
 public:
  virtual ~ControlHost();

  // A new control of class T for this host, not yet constructed: the caller
  // runs its Constructor next.
  template <class T>
  Ref<T> New() {
    auto control = std::make_shared<T>();
    Adopt(*control);
    return Ref<T>(control);
  }

  // Registers the control under `name` with the Index it holds now.
  void AddControl(const std::string& name, Ref<Control> control);
  // The registered control, or nothing.
  Ref<Control> ControlByName(std::string_view name) const;
  Ref<Control> ControlByNameIndex(std::string_view name, Integer index) const;
  // Registered controls in the order of registration.
  Integer ControlCount() const;
  Ref<Control> ControlAt(Integer position) const;

  // The window this host belongs to (itself for a window).
  virtual class Window* HostWindow() = 0;

  struct Registry;

 protected:
  ControlHost();
  void Adopt(Control& control);
  // Raises Open on every registered control, in order of registration (a
  // container's parts before the container).
  void OpenControls();

 private:
  std::unique_ptr<Registry> registry_;
};

// A top-level window. Construction is two-phase: std::make_shared runs the
// field initialiser, then Constructor() registers the window as open (so that
// GetImplicitWindow finds it from then on), runs the hooks Layout,
// CreateControls and AddMenuHandlers, raises each control's Open in creation
// order, then the window's Open, and shows the window.
class Window : public Object, public ControlHost {
 public:
  Window();
  ~Window() override;

  virtual void Constructor();

  // Construction hooks.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers(Ref<Window> /*w*/) {}

  // Events.
  virtual void Event_Open() {}
  virtual void Event_Close() {}
  // The window's content is being drawn (its backdrop already is). The
  // program draws nothing itself; g is nothing.
  virtual void Event_Paint(Ref<Graphics> /*g*/) {}
  // A press on the window's own surface (not taken by a control). True takes
  // the press: its MouseDrag events follow.
  virtual bool Event_MouseDown(Integer /*x*/, Integer /*y*/) { return false; }
  virtual void Event_MouseDrag(Integer /*x*/, Integer /*y*/) {}
  virtual void Event_MouseUp(Integer /*x*/, Integer /*y*/) {}
  virtual void Event_EnableMenuItems() {}

  // Position of the content on the screen and its size, in points.
  Integer Left() const;
  Integer Top() const;
  Integer Width() const;
  Integer Height() const;
  void SetLeft(Integer v);
  void SetTop(Integer v);
  void SetWidth(Integer v);
  void SetHeight(Integer v);

  const std::string& Title() const;
  void SetTitle(const std::string& title);
  // Frame 4 (and every frame here): no title bar and no border.
  Integer Frame() const;
  void SetFrame(Integer frame);
  bool Visible() const;
  void SetVisible(bool v);
  Ref<Picture> Backdrop() const;
  void SetBackdrop(Ref<Picture> picture);  // the same picture again: no repaint
  Color BackColor() const;
  void SetBackColor(Color c);
  bool HasBackColor() const;
  void SetHasBackColor(bool v);

  void Minimize();
  bool IsMinimized() const;
  // Closes the window: raises Close and removes it from the open windows.
  void Close();
  // Repaints the window's content and raises its Paint event, at once when
  // `immediately` is true (asked for inside a paint: right after it).
  void Refresh(bool immediately = false);
  // Times the window's Paint event has run, for tests.
  Integer PaintCount() const;

  // The native window: the receiver of the native layer's messages.
  Integer Handle() const;

  Ref<class MenuBar> MenuBar() const;
  void SetMenuBar(Ref<class MenuBar> bar);

  // Binds a handler to the menu item of that Name. A command goes to the
  // front window's handlers first, then to the application's; the first that
  // returns true ends it. A name no item carries is accepted and never runs.
  void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
  // Runs this window's handler for the name; false when it has none or it
  // declined.
  bool HandleMenuCommand(const std::string& itemName);

  class Window* HostWindow() override { return this; }
  std::string ClassName() const override { return "Window"; }
  void DeclareProperties(PropertyTable& table) override;

  struct Impl;
  Impl& Internal() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// The open window whose class has this name text, or nothing.
Ref<Window> GetImplicitWindow(std::string_view className);
// The open windows, front-most first.
std::vector<Ref<Window>> OpenWindows();

// A control made of controls of its own. Its Constructor() creates it on
// screen, then runs its hooks Layout and CreateControls. Its parts' Left and
// Top are in the container's coordinates.
class ContainerControl : public RectControl, public ControlHost {
 public:
  void Constructor() override;

  virtual void Layout() {}
  virtual void CreateControls() {}

  Color BackColor() const;
  void SetBackColor(Color c);
  bool HasBackColor() const;
  void SetHasBackColor(bool v);

  class Window* HostWindow() override;
  std::string ClassName() const override { return "ContainerControl"; }
  void DeclareProperties(PropertyTable& table) override;
};

}  // namespace classlib
