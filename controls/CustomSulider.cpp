// The opacity slider: track, knob and scale, and the knob's drag.
#include "controls/CustomSulider.h"

#include "shell/Resources.h"
#include "window/Design.h"

using classlib::Canvas;
using classlib::Cast;
using classlib::Delegate;
using classlib::Integer;
using classlib::Ref;

void CustomSulider::Layout() { classlib::SetProperties(*this, Design::SliderContainerStream()); }

void CustomSulider::CreateControls() { CreateControls0(); }

// The parts in the order track, knob, scale label. Each is fetched anew by
// name for every step after its registration.
void CustomSulider::CreateControls0() {
  {
    Ref<Canvas> track = New<Canvas>();
    track->Constructor();
    AddControl("SliderLineCV", track);
  }
  SliderLineCV()->SetBackdrop(::SliderLine());
  classlib::SetProperties(*SliderLineCV(), Design::SliderLineStream());
  SliderLineCV()->Open.AddHandler(Delegate(this, &CustomSulider::SliderLineCV_Open));
  SliderLineCV()->Paint.AddHandler(Delegate(this, &CustomSulider::SliderLineCV_Paint));
  SliderLineCV()->MouseDown.AddHandler(Delegate(this, &CustomSulider::SliderLineCV_MouseDown));

  {
    Ref<Canvas> knob = New<Canvas>();
    knob->Constructor();
    AddControl("SliderHeadCV", knob);
  }
  SliderHeadCV()->SetBackdrop(::SliderHead());
  classlib::SetProperties(*SliderHeadCV(), Design::SliderHeadStream());
  SliderHeadCV()->Paint.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_Paint));
  SliderHeadCV()->Open.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_Open));
  SliderHeadCV()->MouseDown.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseDown));
  SliderHeadCV()->MouseDrag.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseDrag));
  SliderHeadCV()->MouseEnter.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseEnter));
  SliderHeadCV()->MouseExit.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseExit));
  SliderHeadCV()->MouseMove.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseMove));
  SliderHeadCV()->MouseUp.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseUp));
  SliderHeadCV()->MouseWheel.AddHandler(Delegate(this, &CustomSulider::SliderHeadCV_MouseWheel));

  {
    Ref<classlib::Label> scale = New<classlib::Label>();
    scale->Constructor();
    AddControl("Label1", scale);
  }
  classlib::SetProperties(*Label1(), Design::SliderLabelStream());
}

Ref<Canvas> CustomSulider::SliderLineCV() const { return Cast<Canvas>(ControlByName("SliderLineCV")); }
Ref<Canvas> CustomSulider::SliderHeadCV() const { return Cast<Canvas>(ControlByName("SliderHeadCV")); }
Ref<classlib::Label> CustomSulider::Label1() const { return Cast<classlib::Label>(ControlByName("Label1")); }

void CustomSulider::SliderLineCV_Open(Ref<Canvas>) {}
void CustomSulider::SliderLineCV_Paint(Ref<Canvas>, Ref<classlib::Graphics>) {}
// A press on the bare track is refused: it neither moves the knob nor drags.
bool CustomSulider::SliderLineCV_MouseDown(Ref<Canvas>, Integer, Integer) { return false; }
void CustomSulider::SliderHeadCV_Paint(Ref<Canvas>, Ref<classlib::Graphics>) {}
void CustomSulider::SliderHeadCV_Open(Ref<Canvas>) {}

// Remembers where the knob was grabbed and takes the press.
bool CustomSulider::SliderHeadCV_MouseDown(Ref<Canvas>, Integer x, Integer) {
  SliderX = x;
  return true;
}

// Moves the knob by the pointer's travel from the grab point, holds it on the
// track, stores its place and reports it, at every drag event.
void CustomSulider::SliderHeadCV_MouseDrag(Ref<Canvas> knob, Integer x, Integer) {
  knob->SetLeft(knob->Left() + (x - SliderX));
  if (knob->Left() < SliderLineCV()->Left()) {
    knob->SetLeft(SliderLineCV()->Left());
  } else if (SliderLineCV()->Left() + SliderLineCV()->Width() - knob->Width() < knob->Left()) {
    knob->SetLeft(SliderLineCV()->Left() + SliderLineCV()->Width() - knob->Width());
  }
  Value = knob->Left() - SliderLineCV()->Left();
  ValueChange.Raise(classlib::RefTo(this));
}

void CustomSulider::SliderHeadCV_MouseEnter(Ref<Canvas>) {}
void CustomSulider::SliderHeadCV_MouseExit(Ref<Canvas>) {}
void CustomSulider::SliderHeadCV_MouseMove(Ref<Canvas>, Integer, Integer) {}
void CustomSulider::SliderHeadCV_MouseUp(Ref<Canvas>, Integer, Integer) {}
bool CustomSulider::SliderHeadCV_MouseWheel(Ref<Canvas>, Integer, Integer, Integer, Integer) { return false; }

void CustomSulider::SetValue() {}

// The slider's own Integers; its Value replaces any Value of the container.
void CustomSulider::DeclareProperties(classlib::PropertyTable& table) {
  ContainerControl::DeclareProperties(table);
  table.Add("SliderX", &CustomSulider::SliderX);
  table.Add("SliderY", &CustomSulider::SliderY);
  table.Add("Value", &CustomSulider::Value);
}
