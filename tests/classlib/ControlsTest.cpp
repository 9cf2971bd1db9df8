// Controls on a real window: which control the toolkit's routing gives a
// press, radio button groups, controls placed inside other controls, and the
// design properties of the stock controls.
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include "classlib/src/Internal.h"
#include "tests/classlib/WindowSupport.h"

using namespace windowtest;
namespace input = classlib::testing;

namespace {

// Attaches handlers that log every mouse event of a canvas under `name`.
void Record(const Ref<Canvas>& canvas, const std::string& name, bool takes, std::vector<std::string>& log) {
  auto at = [](Integer x, Integer y) { return " " + Str(x) + "," + Str(y); };
  canvas->MouseDown.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) {
    log.push_back(name + " down" + at(x, y));
    return takes;
  });
  canvas->MouseDrag.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) { log.push_back(name + " drag" + at(x, y)); });
  canvas->MouseUp.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) { log.push_back(name + " up" + at(x, y)); });
  canvas->MouseEnter.AddHandler([=, &log](Ref<Canvas>) { log.push_back(name + " enter"); });
  canvas->MouseExit.AddHandler([=, &log](Ref<Canvas>) { log.push_back(name + " exit"); });
  canvas->MouseMove.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y) { log.push_back(name + " move" + at(x, y)); });
  canvas->MouseWheel.AddHandler([=, &log](Ref<Canvas>, Integer x, Integer y, Integer dx, Integer dy) {
    log.push_back(name + " wheel" + at(x, y) + at(dx, dy));
    return takes;
  });
}

using Vec = std::vector<std::string>;

// The press, drag and release entries of a log.
Vec Presses(const Vec& log) {
  Vec presses;
  for (const std::string& entry : log) {
    for (const char* kind : {" down ", " drag ", " up "}) {
      if (entry.find(kind) != std::string::npos) presses.push_back(entry);
    }
  }
  return presses;
}

using MouseRouting = WindowTest;
using RadioButtons = WindowTest;
using ControlPlacement = WindowTest;
using ControlDesign = WindowTest;

}  // namespace

TEST_F(MouseRouting, TakenPressBringsDragAndReleaseRefusedOneGoesBeneath) {
  auto w = OpenWindow([](TestWindow& win) {
    Record(Place<Canvas>(win, "Taker", kNoIndex, 10, 10, 60, 40), "taker", true, win.controlLog);
    Record(Place<Canvas>(win, "Refuser", kNoIndex, 100, 10, 40, 40), "refuser", false, win.controlLog);
  });
  input::PressAt(w, 20, 25);
  input::DragTo(w, 150, 100);  // far outside the canvas: the press still holds
  input::ReleaseAt(w, 150, 100);
  EXPECT_EQ(Presses(w->controlLog), (Vec{"taker down 10,15", "taker drag 140,90", "taker up 140,90"}));
  EXPECT_EQ(w->log, (Vec{"open"}));

  w->controlLog.clear();
  input::PressAt(w, 110, 20);
  input::DragTo(w, 120, 30);
  input::ReleaseAt(w, 120, 30);
  // Refused: its drag and release go to the window beneath.
  EXPECT_EQ(Presses(w->controlLog), (Vec{"refuser down 10,10"}));
  EXPECT_EQ(w->log, (Vec{"open", "down 110,20", "drag 120,30", "up 120,30"}));
}

TEST_F(MouseRouting, LabelsAndGroupBoxesLetPressesThrough) {
  auto w = OpenWindow([](TestWindow& win) {
    Record(Place<Canvas>(win, "Button", 3, 10, 10, 80, 40), "button", true, win.controlLog);
    Place<Label>(win, "Caption", kNoIndex, 20, 20, 40, 20, "Button$3")->SetText("後手");
    Place<GroupBox>(win, "Group", kNoIndex, 100, 10, 80, 60);
  });
  input::ClickAt(w, 30, 25);  // on the caption lying on the button
  EXPECT_EQ(Presses(w->controlLog), (Vec{"button down 20,15", "button up 20,15"}));
  input::ClickAt(w, 150, 50);  // inside the group box
  EXPECT_EQ(w->log, (Vec{"open", "down 150,50", "up 150,50"}));
}

TEST_F(MouseRouting, EnterMoveExitAndWheel) {
  auto w = OpenWindow([](TestWindow& win) {
    Record(Place<Canvas>(win, "Over", kNoIndex, 50, 50, 40, 40), "over", true, win.controlLog);
  });
  input::MoveTo(w, 10, 10);
  input::MoveTo(w, 60, 70);
  input::MoveTo(w, 150, 120);
  input::MoveTo(w, 55, 55);
  input::WheelAt(w, 55, 55, -2);
  EXPECT_EQ(w->controlLog, (Vec{"over enter", "over move 10,20", "over exit", "over enter", "over move 5,5",
                      "over wheel 5,5 0,-2"}));

  // An error escaping a mouse handler reaches the unhandled-error routine.
  std::string reported;
  SetUnhandledExceptionHookForTesting([&reported](const std::exception& e) { reported = e.what(); });
  Cast<Canvas>(w->ControlByName("Over"))->MouseDown.AddHandler([](Ref<Canvas>, Integer, Integer) -> bool {
    throw NilObjectException("no square");
  });
  input::ClickAt(w, 60, 60);
  EXPECT_EQ("no square", reported);
}

TEST_F(RadioButtons, ExclusivePerParentAndActionOnlyFromClicks) {
  auto w = OpenWindow([](TestWindow& win) {
    Place<GroupBox>(win, "GB", 0, 5, 5, 190, 60);
    Place<GroupBox>(win, "GB", 1, 5, 80, 190, 60);
    for (Integer i = 0; i < 4; ++i) {
      auto rb = Place<RadioButton>(win, "RB", i, 15 + 90 * (i % 2), i < 2 ? 30 : 105, 80, 20, i < 2 ? "GB$0" : "GB$1");
      rb->SetCaption("石" + Str(i));
      rb->Action.AddHandler([&win](Ref<RadioButton> b) { win.controlLog.push_back("RB" + Str(b->Index())); });
    }
  });
  auto rb = [&w](Integer i) { return Cast<RadioButton>(w->ControlByNameIndex("RB", i)); };
  rb(0)->SetValue(true);
  rb(2)->SetValue(true);
  rb(1)->SetValue(true);
  EXPECT_FALSE(rb(0)->Value());
  EXPECT_TRUE(rb(1)->Value());
  EXPECT_TRUE(rb(2)->Value());  // the other group is untouched
  rb(1)->SetValue(false);       // a button can also be turned off
  EXPECT_FALSE(rb(1)->Value());
  EXPECT_TRUE(w->controlLog.empty());

  input::ClickAt(w, 110, 115);  // on RB(3)
  EXPECT_TRUE(rb(3)->Value());
  EXPECT_FALSE(rb(2)->Value());
  EXPECT_EQ(w->controlLog, (Vec{"RB3"}));
}

TEST_F(ControlPlacement, ChildrenLieAtTheirWindowCoordinates) {
  auto w = OpenWindow([](TestWindow& win) {
    Place<GroupBox>(win, "GB", 0, 30, 40, 120, 60);
    Place<RadioButton>(win, "RB", 0, 44, 62, 40, 19, "GB$0");
    Place<Canvas>(win, "Track", kNoIndex, 10, 110, 100, 20);
    Place<Canvas>(win, "Knob", kNoIndex, 30, 110, 20, 20, "Track");
  });
  QWidget* content = internal::ContentWidget(*w);
  auto group = w->ControlByNameIndex("GB", 0);
  auto radio = Cast<RadioButton>(w->ControlByNameIndex("RB", 0));
  QWidget* radioView = internal::WidgetOf(*radio);
  EXPECT_EQ(radioView->parentWidget(), internal::WidgetOf(*group));
  EXPECT_EQ(QPoint(44, 62), radioView->mapTo(content, QPoint(0, 0)));
  EXPECT_EQ(44, radio->Left());
  EXPECT_EQ(62, radio->Top());
  EXPECT_TRUE(radio->ParentControl() == group);
  radio->SetLeft(50);
  EXPECT_EQ(QPoint(50, 62), radioView->mapTo(content, QPoint(0, 0)));

  // The knob is dragged in window coordinates, inside its track.
  auto knob = Cast<Canvas>(w->ControlByName("Knob"));
  knob->SetLeft(70);
  EXPECT_EQ(QPoint(70, 110), internal::WidgetOf(*knob)->mapTo(content, QPoint(0, 0)));
  EXPECT_EQ(QPoint(60, 0), internal::WidgetOf(*knob)->pos());

  // Set up before it is constructed: it lands where its design says.
  auto late = w->New<RadioButton>();
  late->SetLeft(90);
  late->SetTop(63);
  late->SetInitialParent("GB$0");
  late->Constructor();
  EXPECT_EQ(QPoint(90, 63), internal::WidgetOf(*late)->mapTo(content, QPoint(0, 0)));
  EXPECT_EQ(internal::WidgetOf(*late)->parentWidget(), internal::WidgetOf(*group));

  EXPECT_THROW(radio->SetInitialParent("GB$7"), RuntimeException);
  auto orphan = std::make_shared<Canvas>();
  EXPECT_THROW(orphan->Constructor(), RuntimeException);
  EXPECT_TRUE(orphan->Window().IsNil());
}

TEST_F(ControlDesign, StreamsSetEveryPublishedProperty) {
  const std::vector<DesignEntry> rect = {
      {"Name", std::string("St")},   {"Index", Integer{-2147483648LL}}, {"Left", Integer{12}},
      {"Top", Integer{14}},          {"Width", Integer{76}},            {"Height", Integer{27}},
      {"LockLeft", true},            {"LockTop", true},                 {"LockRight", true},
      {"LockBottom", true},          {"TabIndex", Integer{74}},         {"TabPanelIndex", Integer{1}},
      {"TabStop", false},            {"AutoDeactivate", false},         {"Enabled", false},
      {"HelpTag", std::string("後手になります。")}, {"Visible", false}, {"UseFocusRing", false},
      {"AcceptFocus", true},         {"AcceptTabs", true},              {"DoubleBuffer", true},
      {"EraseBackground", false},    {"Transparent", true},             {"InitialParent", std::string()}};
  const std::vector<DesignEntry> font = {{"TextFont", std::string("System")}, {"TextSize", 18.0f},
                                         {"TextUnit", Unit{1}},                {"Bold", true},
                                         {"Italic", true},                     {"Underline", true}};
  auto with = [&rect](std::vector<DesignEntry> own, const std::vector<DesignEntry>& more = {}) {
    own.insert(own.begin(), rect.begin(), rect.end());
    own.insert(own.end(), more.begin(), more.end());
    return own;
  };
  auto w = OpenWindow();
  auto check = [&w](Ref<RectControl> control, const std::vector<DesignEntry>& design) {
    control->Constructor();
    w->AddControl("Design", control);
    SetProperties(*control, EncodeStream(design));
    for (const DesignEntry& e : design) EXPECT_EQ(e.value, GetProperty(*control, e.name)) << e.name;
    EXPECT_EQ("後手になります。", internal::WidgetOf(*control)->toolTip().toStdString());
    EXPECT_FALSE(internal::WidgetOf(*control)->isEnabled());
  };

  auto label = w->New<Label>();
  check(label, with({{"Text", std::string("Player:")}, {"TextAlign", Integer{3}},
                     {"TextColor", Color{0x00FF00FF}}, {"Multiline", true}, {"Selectable", true},
                     {"DataSource", std::string("s")}, {"DataField", std::string("f")}},
                    font));
  auto* labelView = qobject_cast<QLabel*>(internal::WidgetOf(*label));
  EXPECT_EQ("Player:", labelView->text().toStdString());
  EXPECT_TRUE(labelView->alignment() & Qt::AlignRight);
  EXPECT_EQ(QColor(255, 0, 255), labelView->palette().color(QPalette::WindowText));
  EXPECT_EQ(18, labelView->font().pixelSize());
  EXPECT_TRUE(labelView->font().bold() && labelView->font().italic() && labelView->font().underline());

  auto radio = w->New<RadioButton>();
  check(radio, with({{"Caption", std::string("弱")}, {"Value", true}}, font));
  EXPECT_TRUE(qobject_cast<QRadioButton*>(internal::WidgetOf(*radio))->isChecked());

  auto group = w->New<GroupBox>();
  check(group, with({{"Caption", std::string("強さ")}}, font));
  EXPECT_EQ("強さ", qobject_cast<QGroupBox*>(internal::WidgetOf(*group))->title().toStdString());

  check(w->New<Canvas>(), rect);
  check(w->New<ContainerControl>(), with({{"BackColor", Color{0x000000FE}}, {"HasBackColor", true}}));
}
