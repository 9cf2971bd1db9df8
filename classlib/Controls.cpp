// Controls: their place inside the host (window or container), the widget
// each puts on screen, and the properties design streams set on them.
#include "classlib/Controls.h"

#include <charconv>
#include <functional>
#include <utility>

#include <QWidget>

#include "classlib/Window.h"
#include "classlib/src/Internal.h"
#include "classlib/src/Widgets.h"

namespace classlib {

namespace {

// Publishes a property read and written through the class's own accessors.
template <class C, class V, class Get, class Set>
void Publish(PropertyTable& table, const std::string& name, Get get, Set set) {
  table.Put(
      name, detail::PropertyTypeFor<V>(),
      [set](Object& o, const PropertyValue& v) { set(dynamic_cast<C&>(o), std::get<V>(v)); },
      [get](Object& o) { return PropertyValue(V(get(dynamic_cast<C&>(o)))); });
}

// Publishes a property that changes nothing on screen: kept and read back.
void Keep(PropertyTable& table, const std::string& name, PropertyValue initial) {
  table.Put(
      name, TypeOf(initial),
      [name](Object& o, const PropertyValue& v) { dynamic_cast<Control&>(o).Internal().stored[name] = v; },
      [name, initial](Object& o) {
        const auto& stored = dynamic_cast<Control&>(o).Internal().stored;
        const auto it = stored.find(name);
        return it == stored.end() ? initial : it->second;
      });
}

// The text properties shared by labels, radio buttons and group boxes.
void PublishFont(PropertyTable& table) {
  using I = Control::Impl;
  auto field = [&table](const std::string& name, auto member, auto sync) {
    using V = std::decay_t<decltype(std::declval<I&>().*member)>;
    table.Put(
        name, detail::PropertyTypeFor<V>(),
        [member, sync](Object& o, const PropertyValue& v) {
          auto& control = dynamic_cast<Control&>(o);
          control.Internal().*member = std::get<V>(v);
          sync(control);
        },
        [member](Object& o) { return PropertyValue(dynamic_cast<Control&>(o).Internal().*member); });
  };
  auto syncFont = [](Control& c) {
    if (QWidget* w = c.Internal().widget) w->setFont(internal::FontFor(c.Internal()));
  };
  auto nothing = [](Control&) {};
  field("TextFont", &I::textFont, syncFont);
  field("TextSize", &I::textSize, syncFont);
  field("TextUnit", &I::textUnit, nothing);
  field("Bold", &I::bold, syncFont);
  field("Italic", &I::italic, syncFont);
  field("Underline", &I::underline, syncFont);
}

int Clamp(Integer v) {
  if (v < -1000000) return -1000000;
  if (v > 1000000) return 1000000;
  return static_cast<int>(v);
}

// Where a widget's top-left lies in its host's widget.
QPoint OffsetInHost(const QWidget* widget, const QWidget* hostWidget) {
  QPoint at;
  for (const QWidget* w = widget; w && w != hostWidget; w = w->parentWidget()) at += w->pos();
  return at;
}

QWidget* HostWidgetOf(const Control& control) {
  return control.Host() ? internal::HostWidget(*control.Host()) : nullptr;
}

// Moves a control's widget so that its top-left lies at (x, y) of the host.
void PlaceInHost(const Control& control, Integer x, Integer y) {
  QWidget* w = control.Internal().widget;
  if (!w) return;
  const QPoint parentAt = OffsetInHost(w->parentWidget(), HostWidgetOf(control));
  w->move(Clamp(x) - parentAt.x(), Clamp(y) - parentAt.y());
}

Qt::Alignment AlignmentFor(Integer code) {
  switch (code) {
    case 2: return Qt::AlignHCenter | Qt::AlignTop;
    case 3: return Qt::AlignRight | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;  // 0 default, 1 left
  }
}

void SyncLabel(Label& label) {
  auto* view = qobject_cast<QLabel*>(label.Internal().widget.data());
  if (!view) return;
  const Control::Impl& impl = label.Internal();
  view->setAlignment(AlignmentFor(impl.textAlign));
  view->setWordWrap(impl.multiline);
  QPalette palette = view->palette();
  palette.setColor(QPalette::WindowText, internal::ToQColor(impl.textColor));
  view->setPalette(palette);
}

void SetRadioChecked(QRadioButton* view, bool on) {
  if (view->isChecked() == on) return;
  if (!on) {
    // The toolkit refuses to turn off the checked member of an exclusive
    // group; a radio button here can be turned off like any other value.
    view->setAutoExclusive(false);
    view->setChecked(false);
    view->setAutoExclusive(true);
  } else {
    view->setChecked(true);  // turns off the other buttons of the same parent
  }
}

// The control an InitialParent text names in the host: "GB$0" is member 0
// of the set GB, any other text a control's name.
Ref<Control> ResolveParent(const ControlHost& host, const std::string& reference) {
  const auto dollar = reference.rfind('$');
  if (dollar != std::string::npos && dollar + 1 < reference.size()) {
    Integer index = 0;
    const char* first = reference.data() + dollar + 1;
    const char* last = reference.data() + reference.size();
    const auto [end, error] = std::from_chars(first, last, index);
    if (error == std::errc() && end == last) {
      return host.ControlByNameIndex(std::string_view(reference).substr(0, dollar), index);
    }
  }
  return host.ControlByName(reference);
}

// Puts the control's widget into the widget of the control InitialParent
// names (or back into the host), keeping its place in host coordinates.
void ApplyParent(Control& control) {
  Control::Impl& impl = control.Internal();
  QWidget* w = impl.widget;
  if (!w || !control.Host()) return;
  QWidget* hostWidget = HostWidgetOf(control);
  QWidget* target = hostWidget;
  if (!impl.initialParent.empty()) {
    Ref<Control> parent = ResolveParent(*control.Host(), impl.initialParent);
    if (!parent || parent.Get() == &control || !parent->Internal().widget) {
      throw RuntimeException("InitialParent \"" + impl.initialParent +
                             "\" names no control on screen in this window");
    }
    target = parent->Internal().widget;
  }
  if (w->parentWidget() == target) return;
  const QPoint at = OffsetInHost(w, hostWidget);
  w->setParent(target);  // hides the widget
  w->move(at - OffsetInHost(target, hostWidget));
  w->setVisible(impl.visible);
}

QWidget* MakeView(Control& control, QWidget* parent) {
  using namespace internal;
  if (auto* c = dynamic_cast<ContainerControl*>(&control)) return new ContainerView(c, parent);
  if (auto* c = dynamic_cast<Canvas*>(&control)) return new CanvasView(c, parent);
  if (auto* c = dynamic_cast<Label*>(&control)) return new LabelView(c, parent);
  if (auto* c = dynamic_cast<RadioButton*>(&control)) return new RadioView(c, parent);
  if (auto* c = dynamic_cast<GroupBox*>(&control)) return new GroupView(c, parent);
  return new PlainView(&control, parent);
}

}  // namespace

// --- Control ------------------------------------------------------------------

Control::Control() : impl_(std::make_unique<Impl>()) {}

Control::~Control() {
  if (QWidget* w = impl_->widget) {
    if (auto* view = dynamic_cast<internal::ControlView*>(w)) view->owner = nullptr;
    internal::DisposeWidget(w);
  }
}

void Control::Constructor() {
  if (impl_->constructed) return;
  if (!host_) throw RuntimeException("a control must be made by its window or container before it is constructed");
  QWidget* hostWidget = internal::HostWidget(*host_);
  QWidget* w = MakeView(*this, hostWidget);
  impl_->widget = w;
  impl_->constructed = true;
  w->setGeometry(Clamp(impl_->left), Clamp(impl_->top), std::max(0, Clamp(impl_->width)),
                 std::max(0, Clamp(impl_->height)));
  w->setEnabled(impl_->enabled);
  if (!impl_->helpTag.empty()) w->setToolTip(QString::fromStdString(impl_->helpTag));
  const QString text = QString::fromStdString(impl_->text);
  if (auto* label = dynamic_cast<Label*>(this)) {
    static_cast<QLabel*>(w)->setText(text);
    SyncLabel(*label);
  } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
    radio->setText(text);
    SetRadioChecked(radio, impl_->value);
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(text);
  }
  if (qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w)) {
    w->setFont(internal::FontFor(*impl_));
  }
  w->setVisible(impl_->visible);
  if (!impl_->initialParent.empty()) ApplyParent(*this);
}

bool Control::IsConstructed() const { return impl_->constructed; }

Ref<Window> Control::Window() const {
  classlib::Window* window = host_ ? host_->HostWindow() : nullptr;
  if (!window) return Ref<classlib::Window>();
  return Ref<classlib::Window>(std::dynamic_pointer_cast<classlib::Window>(window->weak_from_this().lock()));
}

void Control::DeclareProperties(PropertyTable& table) {
  Object::DeclareProperties(table);
  Publish<Control, std::string>(table, "Name", [](Control& c) { return c.Name(); },
                                [](Control& c, const std::string& v) { c.SetName(v); });
  Publish<Control, Integer>(table, "Index", [](Control& c) { return c.Index(); },
                            [](Control& c, Integer v) { c.SetIndex(v); });
}

// --- RectControl ----------------------------------------------------------------

Integer RectControl::Left() const {
  if (QWidget* w = Internal().widget) return OffsetInHost(w, HostWidgetOf(*this)).x();
  return Internal().left;
}

Integer RectControl::Top() const {
  if (QWidget* w = Internal().widget) return OffsetInHost(w, HostWidgetOf(*this)).y();
  return Internal().top;
}

Integer RectControl::Width() const { return Internal().width; }
Integer RectControl::Height() const { return Internal().height; }

void RectControl::SetLeft(Integer v) {
  Internal().left = v;
  PlaceInHost(*this, v, Top());
}

void RectControl::SetTop(Integer v) {
  Internal().top = v;
  PlaceInHost(*this, Left(), v);
}

void RectControl::SetWidth(Integer v) {
  Internal().width = v;
  if (QWidget* w = Internal().widget) w->resize(std::max(0, Clamp(v)), w->height());
}

void RectControl::SetHeight(Integer v) {
  Internal().height = v;
  if (QWidget* w = Internal().widget) w->resize(w->width(), std::max(0, Clamp(v)));
}

bool RectControl::Visible() const { return Internal().visible; }

void RectControl::SetVisible(bool v) {
  Internal().visible = v;
  if (QWidget* w = Internal().widget) w->setVisible(v);
}

bool RectControl::Enabled() const { return Internal().enabled; }

void RectControl::SetEnabled(bool v) {
  Internal().enabled = v;
  if (QWidget* w = Internal().widget) w->setEnabled(v);
}

const std::string& RectControl::HelpTag() const { return Internal().helpTag; }

void RectControl::SetHelpTag(const std::string& text) {
  Internal().helpTag = text;
  if (QWidget* w = Internal().widget) w->setToolTip(QString::fromStdString(text));
}

const std::string& RectControl::InitialParent() const { return Internal().initialParent; }

void RectControl::SetInitialParent(const std::string& parent) {
  Internal().initialParent = parent;
  ApplyParent(*this);
}

Ref<RectControl> RectControl::ParentControl() const {
  if (Internal().initialParent.empty() || !Host()) return Ref<RectControl>();
  return Cast<RectControl>(ResolveParent(*Host(), Internal().initialParent));
}

void RectControl::Refresh(bool immediately) {
  QWidget* w = Internal().widget;
  if (!w) return;
  // Asked for inside a paint, the repaint follows that paint instead.
  immediately && internal::PaintDepth() == 0 ? w->repaint() : w->update();
}

Integer RectControl::PaintCount() const { return Internal().paintCount; }

void RectControl::DeclareProperties(PropertyTable& table) {
  Control::DeclareProperties(table);
  using R = RectControl;
  Publish<R, Integer>(table, "Left", [](R& c) { return c.Left(); }, [](R& c, Integer v) { c.SetLeft(v); });
  Publish<R, Integer>(table, "Top", [](R& c) { return c.Top(); }, [](R& c, Integer v) { c.SetTop(v); });
  Publish<R, Integer>(table, "Width", [](R& c) { return c.Width(); }, [](R& c, Integer v) { c.SetWidth(v); });
  Publish<R, Integer>(table, "Height", [](R& c) { return c.Height(); },
                      [](R& c, Integer v) { c.SetHeight(v); });
  Publish<R, bool>(table, "Visible", [](R& c) { return c.Visible(); }, [](R& c, bool v) { c.SetVisible(v); });
  Publish<R, bool>(table, "Enabled", [](R& c) { return c.Enabled(); }, [](R& c, bool v) { c.SetEnabled(v); });
  Publish<R, std::string>(table, "HelpTag", [](R& c) { return c.HelpTag(); },
                          [](R& c, const std::string& v) { c.SetHelpTag(v); });
  Publish<R, std::string>(table, "InitialParent", [](R& c) { return c.InitialParent(); },
                          [](R& c, const std::string& v) { c.SetInitialParent(v); });
  for (const char* name : {"LockLeft", "LockTop", "LockRight", "LockBottom"}) Keep(table, name, false);
  Keep(table, "TabIndex", Integer{0});
  Keep(table, "TabPanelIndex", Integer{0});
  Keep(table, "TabStop", true);
  Keep(table, "AutoDeactivate", true);
  Keep(table, "UseFocusRing", true);
  Keep(table, "AcceptFocus", false);
  Keep(table, "AcceptTabs", false);
  Keep(table, "DoubleBuffer", false);
  Keep(table, "EraseBackground", true);
  Keep(table, "Transparent", false);
}

// --- Canvas ---------------------------------------------------------------------

void Canvas::SetBackdrop(Ref<Picture> picture) {
  // The same picture again changes nothing on screen: no repaint, so a Paint
  // handler that sets backdrops does not start another paint.
  if (picture.Get() == backdrop_.Get()) return;
  backdrop_ = std::move(picture);
  if (QWidget* w = Internal().widget) w->update();
}

// --- Label ----------------------------------------------------------------------

const std::string& Label::Text() const { return Internal().text; }

void Label::SetText(const std::string& text) {
  if (Internal().text == text) return;
  Internal().text = text;
  if (auto* view = qobject_cast<QLabel*>(Internal().widget.data())) view->setText(QString::fromStdString(text));
}

Integer Label::TextAlign() const { return Internal().textAlign; }
void Label::SetTextAlign(Integer code) {
  Internal().textAlign = code;
  SyncLabel(*this);
}

Color Label::TextColor() const { return Internal().textColor; }
void Label::SetTextColor(Color c) {
  Internal().textColor = c;
  SyncLabel(*this);
}

namespace {
void SyncFont(Control& c) {
  if (QWidget* w = c.Internal().widget) w->setFont(internal::FontFor(c.Internal()));
}
}  // namespace

const std::string& Label::TextFont() const { return Internal().textFont; }
void Label::SetTextFont(const std::string& font) {
  Internal().textFont = font;
  SyncFont(*this);
}

float Label::TextSize() const { return Internal().textSize; }
void Label::SetTextSize(float size) {
  Internal().textSize = size;
  SyncFont(*this);
}

bool Label::Bold() const { return Internal().bold; }
void Label::SetBold(bool v) {
  Internal().bold = v;
  SyncFont(*this);
}

bool Label::Italic() const { return Internal().italic; }
void Label::SetItalic(bool v) {
  Internal().italic = v;
  SyncFont(*this);
}

bool Label::Underline() const { return Internal().underline; }
void Label::SetUnderline(bool v) {
  Internal().underline = v;
  SyncFont(*this);
}

void Label::DeclareProperties(PropertyTable& table) {
  RectControl::DeclareProperties(table);
  PublishFont(table);
  using L = Label;
  Publish<L, std::string>(table, "Text", [](L& c) { return c.Text(); },
                          [](L& c, const std::string& v) { c.SetText(v); });
  Publish<L, Integer>(table, "TextAlign", [](L& c) { return c.TextAlign(); },
                      [](L& c, Integer v) { c.SetTextAlign(v); });
  Publish<L, Color>(table, "TextColor", [](L& c) { return c.TextColor(); },
                    [](L& c, Color v) { c.SetTextColor(v); });
  Publish<L, bool>(table, "Multiline", [](L& c) { return c.Internal().multiline; },
                   [](L& c, bool v) {
                     c.Internal().multiline = v;
                     SyncLabel(c);
                   });
  Keep(table, "Selectable", false);
  Keep(table, "DataSource", std::string());
  Keep(table, "DataField", std::string());
}

// --- RadioButton ------------------------------------------------------------------

const std::string& RadioButton::Caption() const { return Internal().text; }

void RadioButton::SetCaption(const std::string& caption) {
  Internal().text = caption;
  if (auto* view = qobject_cast<QRadioButton*>(Internal().widget.data())) {
    view->setText(QString::fromStdString(caption));
  }
}

bool RadioButton::Value() const {
  if (auto* view = qobject_cast<QRadioButton*>(Internal().widget.data())) return view->isChecked();
  return Internal().value;
}

void RadioButton::SetValue(bool on) {
  Internal().value = on;
  if (auto* view = qobject_cast<QRadioButton*>(Internal().widget.data())) SetRadioChecked(view, on);
}

void RadioButton::DeclareProperties(PropertyTable& table) {
  RectControl::DeclareProperties(table);
  PublishFont(table);
  using B = RadioButton;
  Publish<B, std::string>(table, "Caption", [](B& c) { return c.Caption(); },
                          [](B& c, const std::string& v) { c.SetCaption(v); });
  Publish<B, bool>(table, "Value", [](B& c) { return c.Value(); }, [](B& c, bool v) { c.SetValue(v); });
}

// --- GroupBox ----------------------------------------------------------------------

const std::string& GroupBox::Caption() const { return Internal().text; }

void GroupBox::SetCaption(const std::string& caption) {
  Internal().text = caption;
  if (auto* view = qobject_cast<QGroupBox*>(Internal().widget.data())) {
    view->setTitle(QString::fromStdString(caption));
  }
}

void GroupBox::DeclareProperties(PropertyTable& table) {
  RectControl::DeclareProperties(table);
  PublishFont(table);
  using G = GroupBox;
  Publish<G, std::string>(table, "Caption", [](G& c) { return c.Caption(); },
                          [](G& c, const std::string& v) { c.SetCaption(v); });
}

}  // namespace classlib
