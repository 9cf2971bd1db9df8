// Windows, container controls and their registries: the open windows, found
// by the name text of their class, and each host's controls, found by name
// and index.
#include "classlib/Window.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include "classlib/Application.h"
#include "classlib/Menu.h"
#include "classlib/src/Internal.h"
#include "classlib/src/Widgets.h"

namespace classlib {

namespace {

// The open windows, front-most first. Never destroyed: windows may still be
// open when the program ends, after the toolkit has gone.
std::vector<std::shared_ptr<Window>>& OpenList() {
  static auto* list = new std::vector<std::shared_ptr<Window>>();
  return *list;
}

void Unregister(const Window* window) {
  auto& list = OpenList();
  list.erase(std::remove_if(list.begin(), list.end(), [window](const auto& w) { return w.get() == window; }),
             list.end());
}

void BringToFront(const Window* window) {
  auto& list = OpenList();
  auto it = std::find_if(list.begin(), list.end(), [window](const auto& w) { return w.get() == window; });
  if (it != list.end()) std::rotate(list.begin(), it, it + 1);
}

// The desktop's window: frameless, holding the menu bar above the content.
class FrameView : public QWidget {
 public:
  explicit FrameView(Window* window) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), owner(window) {}
  Window* owner;

  // A new native window, so that a change of translucency takes effect.
  void Recreate() {
    const bool wasVisible = isVisible();
    hide();
    destroy();
    if (wasVisible) show();
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The user closed the window: the same as the program's Close.
    if (owner) {
      Window* window = owner;
      internal::Deliver(window, [window] { window->Close(); });
    }
    event->accept();
  }

  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ActivationChange && owner && isActiveWindow()) BringToFront(owner);
    QWidget::changeEvent(event);
  }
};

// The window's own surface: background colour, backdrop, then the program's
// Paint; presses no control took.
//
// The controls are child widgets of this surface, so the toolkit paints the
// surface under a control whenever that control repaints itself. Those paints
// must not raise the window's Paint event (it would redraw every disc when a
// radio button or a label repaints). So the surface keeps a flag of its own:
// it is set only by what invalidates the window itself (shown or restored,
// exposed, resized, its own Refresh, backdrop or colour) and the next paint
// takes it and raises Paint; any other paint only draws.
//
// A press lasts until the window sees its release. When the window is
// minimised or hidden under a held button, or another program takes the
// pointer, the release goes elsewhere: the surface then ends the press itself,
// in its own and every control's state and in the toolkit's, so that hovering
// and the next press behave as on a fresh window.
class ContentView : public QWidget {
 public:
  ContentView(Window* window, QWidget* parent) : QWidget(parent), owner(window) {
    parent->installEventFilter(this);  // the frame's state changes and hiding
  }
  Window* owner;
  bool surfaceInvalid = true;

  // The window's own surface must be drawn: at once (`now`), or with the
  // toolkit's next round of paints.
  void Invalidate(bool now = false) {
    surfaceInvalid = true;
    now ? repaint() : update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The second press of a double click comes as a double click, without its
  // press: it is a press like any other.
  void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
  void showEvent(QShowEvent* event) override {
    // Exposes arrive at the native window, not at a widget.
    if (QWindow* native = window()->windowHandle()) native->installEventFilter(this);
    surfaceInvalid = true;  // also when the window is restored
    QWidget::showEvent(event);
  }
  void resizeEvent(QResizeEvent* event) override {
    surfaceInvalid = true;
    QWidget::resizeEvent(event);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Expose:
        if (static_cast<QWindow*>(watched)->isExposed()) surfaceInvalid = true;
        break;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
        if (watched->isWindowType()) buttonsHeld_ = static_cast<QMouseEvent*>(event)->buttons();
        break;
      case QEvent::MouseMove:
        // No button held any more while a press lasts: its release went elsewhere.
        if (watched->isWindowType() && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) EndPress();
        break;
      case QEvent::WindowStateChange:
      case QEvent::Hide:
        // Often inside the very press that minimised the window: the press ends once its handling is over.
        if (!watched->isWindowType() && (event->type() == QEvent::Hide || window()->isMinimized())) {
          QMetaObject::invokeMethod(this, [this] { EndPress(); }, Qt::QueuedConnection);
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void EndPress();

  bool pressTaken_ = false;
  Qt::MouseButtons buttonsHeld_ = Qt::NoButton;  // as the native window last reported them
};

}  // namespace

struct Window::Impl {
  QPointer<FrameView> frame;
  QPointer<ContentView> content;
  QPointer<QMenuBar> menuBarView;
  Ref<class MenuBar> menuBar;
  int menuBarHeight = 0;

  Integer width = 300;
  Integer height = 300;
  std::string title;
  Integer frameKind = 0;
  bool visible = true;
  bool menuBarVisible = true;
  Ref<Picture> backdrop;
  Color backColor{0x00FFFFFF};
  bool hasBackColor = false;

  bool constructed = false;  // Constructor has begun
  bool open = false;         // in the registry of open windows
  bool live = false;         // built and opened: Visible now shows and hides it
  Integer paintCount = 0;

  std::map<std::string, std::function<bool()>, std::less<>> menuHandlers;
  std::map<std::string, PropertyValue, std::less<>> stored;
};

namespace {

void ContentView::paintEvent(QPaintEvent*) {
  if (!owner) return;
  internal::PaintScope painting;
  Window::Impl& impl = owner->Internal();
  {
    QPainter painter(this);
    if (impl.hasBackColor) {
      QColor back = internal::ToQColor(impl.backColor);
      // A see-through window shows its backdrop picture alone. Without the
      // picture it would be a black hole on a desktop without a compositor,
      // or nothing at all with one, and its controls would float on it:
      // it gets a plain dark surface instead.
      if (!impl.backdrop && back.alpha() < 255) back = QColor(40, 52, 46);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.fillRect(rect(), back);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else if (window()->testAttribute(Qt::WA_TranslucentBackground)) {
      painter.fillRect(rect(), palette().window());
    }
    if (impl.backdrop) painter.drawImage(0, 0, internal::ImageOf(*impl.backdrop));
  }
  if (!surfaceInvalid) return;  // only the surface under a control that repaints itself
  surfaceInvalid = false;
  ++impl.paintCount;
  Window* window = owner;
  internal::Deliver(window, [window] { window->Event_Paint(Ref<Graphics>()); });
}

void ContentView::mousePressEvent(QMouseEvent* event) {
  if (!owner) return event->ignore();
  if (event->buttons() != event->button()) return pressTaken_ ? event->accept() : event->ignore();
  const QPoint at = event->position().toPoint();
  Window* window = owner;
  pressTaken_ = internal::Deliver(window, [&] { return window->Event_MouseDown(at.x(), at.y()); });
  pressTaken_ ? event->accept() : event->ignore();
}

void ContentView::mouseMoveEvent(QMouseEvent* event) {
  if (!owner || !pressTaken_ || event->buttons() == Qt::NoButton) return event->ignore();
  const QPoint at = event->position().toPoint();
  Window* window = owner;
  internal::Deliver(window, [&] { window->Event_MouseDrag(at.x(), at.y()); });
  event->accept();
}

void ContentView::mouseReleaseEvent(QMouseEvent* event) {
  if (!owner || !pressTaken_) return event->ignore();
  event->accept();
  if (event->buttons() != Qt::NoButton) return;
  pressTaken_ = false;
  const QPoint at = event->position().toPoint();
  Window* window = owner;
  internal::Deliver(window, [&] { window->Event_MouseUp(at.x(), at.y()); });
}

void ContentView::EndPress() {
  if (buttonsHeld_ == Qt::NoButton) return;
  const Qt::MouseButton button = Qt::MouseButton(int(buttonsHeld_) & -int(buttonsHeld_));  // the lowest held
  buttonsHeld_ = Qt::NoButton;
  pressTaken_ = false;
  for (QWidget* child : findChildren<QWidget*>()) {
    if (auto* canvas = dynamic_cast<internal::CanvasView*>(child)) canvas->EndPress();
  }
  // The toolkit's own: a release far outside the window ends its grab on the pressed widget (a stock button comes up
  // without being clicked) and ends the hover of the control the press began on.
  QWindow* native = window()->windowHandle();
  if (!native) return;
  const QPointF outside(-100000.0, -100000.0);
  QMouseEvent release(QEvent::MouseButtonRelease, outside, outside, native->mapToGlobal(outside), button,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(native, &release);
}

int ToInt(Integer v) {
  if (v < -1000000) return -1000000;
  if (v > 1000000) return 1000000;
  return static_cast<int>(v);
}

}  // namespace

// --- ControlHost ------------------------------------------------------------------

struct ControlHost::Registry {
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // The controls registered under one name: small non-negative indices in a
  // vector (the game asks for them tens of thousands of times a move), any
  // other index in a map.
  struct Entry {
    std::shared_ptr<Control> first;
    std::vector<std::shared_ptr<Control>> dense;
    std::unordered_map<Integer, std::shared_ptr<Control>> sparse;
  };
  static constexpr Integer kDenseLimit = 4096;

  std::vector<std::shared_ptr<Control>> order;
  std::unordered_map<std::string, Entry, NameHash, std::equal_to<>> byName;
  std::vector<std::weak_ptr<Control>> adopted;
};

ControlHost::ControlHost() : registry_(std::make_unique<Registry>()) {}

ControlHost::~ControlHost() {
  // Controls that outlive their host must not reach back into it.
  for (const auto& weak : registry_->adopted) {
    if (auto control = weak.lock()) control->host_ = nullptr;
  }
}

void ControlHost::Adopt(Control& control) {
  control.host_ = this;
  auto& adopted = registry_->adopted;
  if (adopted.size() >= 64 && adopted.size() % 64 == 0) {
    adopted.erase(std::remove_if(adopted.begin(), adopted.end(), [](const auto& w) { return w.expired(); }),
                  adopted.end());
  }
  adopted.push_back(std::dynamic_pointer_cast<Control>(control.weak_from_this().lock()));
}

void ControlHost::AddControl(const std::string& name, Ref<Control> control) {
  if (!control) throw NilObjectException("AddControl: no control to register under \"" + name + "\"");
  Registry& r = *registry_;
  const std::shared_ptr<Control>& shared = control.Shared();
  if (std::find(r.order.begin(), r.order.end(), shared) != r.order.end()) return;
  r.order.push_back(shared);
  Registry::Entry& entry = r.byName[name];
  if (!entry.first) entry.first = shared;
  // The first control registered under a name and index keeps the place.
  const Integer index = control->Index();
  if (index >= 0 && index < Registry::kDenseLimit) {
    if (entry.dense.size() <= static_cast<std::size_t>(index)) entry.dense.resize(index + 1);
    if (!entry.dense[index]) entry.dense[index] = shared;
  } else {
    entry.sparse.emplace(index, shared);
  }
}

Ref<Control> ControlHost::ControlByName(std::string_view name) const {
  const auto it = registry_->byName.find(name);
  if (it == registry_->byName.end()) return Ref<Control>();
  return Ref<Control>(it->second.first);
}

Ref<Control> ControlHost::ControlByNameIndex(std::string_view name, Integer index) const {
  const auto it = registry_->byName.find(name);
  if (it == registry_->byName.end()) return Ref<Control>();
  const Registry::Entry& entry = it->second;
  if (index >= 0 && static_cast<std::size_t>(index) < entry.dense.size()) return Ref<Control>(entry.dense[index]);
  const auto found = entry.sparse.find(index);
  return found == entry.sparse.end() ? Ref<Control>() : Ref<Control>(found->second);
}

Integer ControlHost::ControlCount() const { return static_cast<Integer>(registry_->order.size()); }

Ref<Control> ControlHost::ControlAt(Integer position) const {
  if (position < 0 || position >= ControlCount()) return Ref<Control>();
  return Ref<Control>(registry_->order[static_cast<std::size_t>(position)]);
}

void ControlHost::OpenControls() {
  // A copy: an Open handler may register further controls.
  const std::vector<std::shared_ptr<Control>> controls = registry_->order;
  for (const auto& control : controls) {
    if (auto* container = dynamic_cast<ContainerControl*>(control.get())) {
      static_cast<ControlHost&>(*container).OpenControls();
    }
    control->Event_Open();
  }
}

// --- Window -----------------------------------------------------------------------

namespace {

void Relayout(Window::Impl& impl) {
  if (!impl.frame || !impl.content) return;
  const int width = std::max(0, ToInt(impl.width));
  const int height = std::max(0, ToInt(impl.height));
  int barHeight = 0;
  if (QMenuBar* bar = impl.menuBarView) {
    if (!bar->isNativeMenuBar()) {
      if (impl.menuBarVisible) {
        barHeight = bar->heightForWidth(width);
        if (barHeight <= 0) barHeight = bar->sizeHint().height();
        bar->setGeometry(0, 0, width, barHeight);
      }
      bar->setVisible(impl.menuBarVisible);
    }
  }
  impl.menuBarHeight = barHeight;
  impl.content->setGeometry(0, barHeight, width, height);
  impl.frame->setFixedSize(width, height + barHeight);
}

// A fully or partly transparent background needs a translucent native window.
void UpdateTranslucency(Window::Impl& impl) {
  FrameView* frame = impl.frame;
  if (!frame || !impl.hasBackColor || impl.backColor.Alpha() == 0) return;
  if (frame->testAttribute(Qt::WA_TranslucentBackground)) return;
  frame->setAttribute(Qt::WA_TranslucentBackground);
  if (frame->testAttribute(Qt::WA_WState_Created)) frame->Recreate();
}

}  // namespace

Window::Window() : impl_(std::make_unique<Impl>()) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    throw RuntimeException("a window needs the toolkit: start the program through RuntimeMain");
  }
  impl_->frame = new FrameView(this);
  impl_->content = new ContentView(this, impl_->frame);
  Relayout(*impl_);
}

Window::~Window() {
  if (impl_->content) impl_->content->owner = nullptr;
  if (FrameView* frame = impl_->frame) {
    frame->owner = nullptr;
    internal::DisposeWidget(frame);
  }
}

void Window::Constructor() {
  if (impl_->constructed) return;
  auto self = std::dynamic_pointer_cast<Window>(weak_from_this().lock());
  if (!self) throw RuntimeException("a window must be made with std::make_shared before its Constructor runs");
  impl_->constructed = true;
  // Known as open from now on: controls opening below find this window.
  OpenList().insert(OpenList().begin(), self);
  impl_->open = true;
  Layout();
  CreateControls();
  AddMenuHandlers(Ref<Window>(self));
  OpenControls();
  Event_Open();
  if (!impl_->open) return;  // closed by its own Open
  impl_->live = true;
  if (impl_->visible) {
    impl_->frame->show();
    impl_->frame->activateWindow();
  }
}

Integer Window::Left() const { return impl_->frame ? impl_->frame->geometry().x() : 0; }
Integer Window::Top() const { return impl_->frame ? impl_->frame->geometry().y() + impl_->menuBarHeight : 0; }
// The content's own size: the native layer may size the content directly.
Integer Window::Width() const { return impl_->content ? impl_->content->width() : impl_->width; }
Integer Window::Height() const { return impl_->content ? impl_->content->height() : impl_->height; }

// Moves by the difference: move() places the outer frame, which is larger
// than the window wherever the desktop draws a border after all.
void Window::SetLeft(Integer v) {
  if (FrameView* frame = impl_->frame) frame->move(frame->pos() + QPoint(ToInt(v - Left()), 0));
}

void Window::SetTop(Integer v) {
  if (FrameView* frame = impl_->frame) frame->move(frame->pos() + QPoint(0, ToInt(v - Top())));
}

void Window::SetWidth(Integer v) {
  impl_->width = v;
  Relayout(*impl_);
}

void Window::SetHeight(Integer v) {
  impl_->height = v;
  Relayout(*impl_);
}

const std::string& Window::Title() const { return impl_->title; }

void Window::SetTitle(const std::string& title) {
  impl_->title = title;
  if (impl_->frame) impl_->frame->setWindowTitle(QString::fromStdString(title));
}

Integer Window::Frame() const { return impl_->frameKind; }
void Window::SetFrame(Integer frame) { impl_->frameKind = frame; }

bool Window::Visible() const { return impl_->visible; }

void Window::SetVisible(bool v) {
  impl_->visible = v;
  if (impl_->live && impl_->frame) impl_->frame->setVisible(v);
}

Ref<Picture> Window::Backdrop() const { return impl_->backdrop; }

void Window::SetBackdrop(Ref<Picture> picture) {
  if (picture.Get() == impl_->backdrop.Get()) return;
  impl_->backdrop = std::move(picture);
  if (impl_->content) impl_->content->Invalidate();
}

Color Window::BackColor() const { return impl_->backColor; }

void Window::SetBackColor(Color c) {
  if (c == impl_->backColor) return;
  impl_->backColor = c;
  UpdateTranslucency(*impl_);
  if (impl_->content) impl_->content->Invalidate();
}

bool Window::HasBackColor() const { return impl_->hasBackColor; }

void Window::SetHasBackColor(bool v) {
  if (v == impl_->hasBackColor) return;
  impl_->hasBackColor = v;
  UpdateTranslucency(*impl_);
  if (impl_->content) impl_->content->Invalidate();
}

void Window::Minimize() {
  if (impl_->frame) impl_->frame->showMinimized();
}

bool Window::IsMinimized() const { return impl_->frame && impl_->frame->isMinimized(); }

void Window::Close() {
  if (!impl_->open) return;
  auto keep = weak_from_this().lock();  // the registry may hold the last reference
  impl_->open = false;
  impl_->live = false;
  struct Finish {
    Window* window;
    ~Finish() {
      Unregister(window);
      if (window->impl_->frame) window->impl_->frame->hide();
    }
  } finish{this};
  Event_Close();
}

void Window::Refresh(bool immediately) {
  ContentView* content = impl_->content;
  if (!content) return;
  // Asked for inside a paint, the repaint follows that paint instead.
  content->Invalidate(immediately && internal::PaintDepth() == 0);
}

Integer Window::PaintCount() const { return impl_->paintCount; }

Integer Window::Handle() const {
  return static_cast<Integer>(reinterpret_cast<std::intptr_t>(static_cast<QWidget*>(impl_->frame.data())));
}

Ref<MenuBar> Window::MenuBar() const { return impl_->menuBar; }

void Window::SetMenuBar(Ref<class MenuBar> bar) {
  if (bar.Get() == impl_->menuBar.Get()) return;
  impl_->menuBar = bar;
  if (QMenuBar* old = impl_->menuBarView) {
    impl_->menuBarView = nullptr;
    internal::DisposeWidget(old);
  }
  if (bar && impl_->frame) {
    QMenuBar* view = internal::BuildMenuBar(bar, impl_->frame);
    if (view) {
      view->setAutoFillBackground(true);  // opaque over a translucent window
      impl_->menuBarView = view;
    }
  }
  Relayout(*impl_);
}

void Window::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
  impl_->menuHandlers[itemName] = std::move(handler);
}

bool Window::HandleMenuCommand(const std::string& itemName) {
  const auto it = impl_->menuHandlers.find(itemName);
  if (it == impl_->menuHandlers.end() || !it->second) return false;
  const std::function<bool()> handler = it->second;  // the handler may replace itself
  return handler();
}

void Window::DeclareProperties(PropertyTable& table) {
  Object::DeclareProperties(table);
  using W = Window;
  auto publish = [&table](const std::string& name, PropertyType type, auto set, auto get) {
    table.Put(name, type, std::move(set), std::move(get));
  };
  auto integer = [&](const std::string& name, Integer (W::*get)() const, void (W::*set)(Integer)) {
    publish(
        name, PropertyType::Integer,
        [set](Object& o, const PropertyValue& v) { (dynamic_cast<W&>(o).*set)(std::get<Integer>(v)); },
        [get](Object& o) { return PropertyValue((dynamic_cast<W&>(o).*get)()); });
  };
  auto boolean = [&](const std::string& name, bool (W::*get)() const, void (W::*set)(bool)) {
    publish(
        name, PropertyType::Boolean,
        [set](Object& o, const PropertyValue& v) { (dynamic_cast<W&>(o).*set)(std::get<bool>(v)); },
        [get](Object& o) { return PropertyValue((dynamic_cast<W&>(o).*get)()); });
  };
  // Properties the design stream sets that change nothing on screen: kept and read back.
  auto keep = [&](const std::string& name, PropertyValue initial) {
    publish(
        name, TypeOf(initial),
        [name](Object& o, const PropertyValue& v) { dynamic_cast<W&>(o).Internal().stored[name] = v; },
        [name, initial](Object& o) {
          const auto& stored = dynamic_cast<W&>(o).Internal().stored;
          const auto it = stored.find(name);
          return it == stored.end() ? initial : it->second;
        });
  };
  integer("Width", &W::Width, &W::SetWidth);
  integer("Height", &W::Height, &W::SetHeight);
  integer("Frame", &W::Frame, &W::SetFrame);
  boolean("Visible", &W::Visible, &W::SetVisible);
  boolean("HasBackColor", &W::HasBackColor, &W::SetHasBackColor);
  publish(
      "Title", PropertyType::String,
      [](Object& o, const PropertyValue& v) { dynamic_cast<W&>(o).SetTitle(std::get<std::string>(v)); },
      [](Object& o) { return PropertyValue(dynamic_cast<W&>(o).Title()); });
  publish(
      "BackColor", PropertyType::Color,
      [](Object& o, const PropertyValue& v) { dynamic_cast<W&>(o).SetBackColor(std::get<Color>(v)); },
      [](Object& o) { return PropertyValue(dynamic_cast<W&>(o).BackColor()); });
  publish(
      "MenuBarVisible", PropertyType::Boolean,
      [](Object& o, const PropertyValue& v) {
        auto& w = dynamic_cast<W&>(o);
        w.Internal().menuBarVisible = std::get<bool>(v);
        Relayout(w.Internal());
      },
      [](Object& o) { return PropertyValue(dynamic_cast<W&>(o).Internal().menuBarVisible); });
  keep("MinWidth", Integer{64});
  keep("MinHeight", Integer{64});
  keep("MaxWidth", Integer{32000});
  keep("MaxHeight", Integer{32000});
  keep("MacProcID", Integer{0});
  keep("Placement", Integer{0});
  for (const char* name : {"CloseButton", "Resizeable", "MaximizeButton", "MinimizeButton", "LiveResize"}) {
    keep(name, true);
  }
  for (const char* name : {"FullScreenButton", "Composite", "FullScreen"}) keep(name, false);
}

Ref<Window> GetImplicitWindow(std::string_view className) {
  for (const auto& window : OpenList()) {
    if (window->ClassName() == className) return Ref<Window>(window);
  }
  return Ref<Window>();
}

std::vector<Ref<Window>> OpenWindows() {
  std::vector<Ref<Window>> windows;
  windows.reserve(OpenList().size());
  for (const auto& window : OpenList()) windows.emplace_back(window);
  return windows;
}

// --- ContainerControl -----------------------------------------------------------

void ContainerControl::Constructor() {
  if (IsConstructed()) return;
  RectControl::Constructor();
  Layout();
  CreateControls();
}

Color ContainerControl::BackColor() const { return Internal().backColor; }

void ContainerControl::SetBackColor(Color c) {
  Internal().backColor = c;
  if (QWidget* w = Internal().widget) w->update();
}

bool ContainerControl::HasBackColor() const { return Internal().hasBackColor; }

void ContainerControl::SetHasBackColor(bool v) {
  Internal().hasBackColor = v;
  if (QWidget* w = Internal().widget) w->update();
}

Window* ContainerControl::HostWindow() { return Host() ? Host()->HostWindow() : nullptr; }

void ContainerControl::DeclareProperties(PropertyTable& table) {
  RectControl::DeclareProperties(table);
  using C = ContainerControl;
  table.Put(
      "BackColor", PropertyType::Color,
      [](Object& o, const PropertyValue& v) { dynamic_cast<C&>(o).SetBackColor(std::get<Color>(v)); },
      [](Object& o) { return PropertyValue(dynamic_cast<C&>(o).BackColor()); });
  table.Put(
      "HasBackColor", PropertyType::Boolean,
      [](Object& o, const PropertyValue& v) { dynamic_cast<C&>(o).SetHasBackColor(std::get<bool>(v)); },
      [](Object& o) { return PropertyValue(dynamic_cast<C&>(o).HasBackColor()); });
}

// --- Internal access ------------------------------------------------------------

namespace internal {

QWidget* HostWidget(ControlHost& host) {
  if (auto* window = dynamic_cast<Window*>(&host)) {
    if (QWidget* content = window->Internal().content) return content;
    throw RuntimeException("the window has no surface to hold controls");
  }
  if (auto* container = dynamic_cast<ContainerControl*>(&host)) {
    if (QWidget* widget = container->Internal().widget) return widget;
    throw RuntimeException("a container control must be constructed before its parts");
  }
  throw RuntimeException("unknown kind of control host");
}

QWidget* TopLevelWidget(const Window& window) { return window.Internal().frame; }
QWidget* ContentWidget(const Window& window) { return window.Internal().content; }

Window* WindowFromHandle(Integer handle) {
  if (handle == 0) return nullptr;
  for (const auto& window : OpenList()) {
    if (window->Handle() == handle) return window.get();
  }
  return nullptr;
}

QWidget* WidgetOf(const Control& control) { return control.Internal().widget; }

}  // namespace internal
}  // namespace classlib
