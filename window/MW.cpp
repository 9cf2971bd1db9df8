// The main window: its accessor, its construction (layout and the 85
// controls), the control and menu-item accessors, and the handlers of its
// picture buttons, radio buttons, slider and menu items.
#include "window/MW.h"

#include <string_view>
#include <type_traits>

#include "shell/GrovalModule.h"
#include "shell/MainMenuBar.h"
#include "shell/Resources.h"
#include "window/ControlSets.h"
#include "window/Design.h"
#include "window/SetTraits.h"

using classlib::Cast;
using classlib::Delegate;
using classlib::Integer;
using classlib::Ref;

// --- The one instance -----------------------------------------------------

Ref<class MW> MW() {
  Ref<classlib::Window> window = classlib::GetImplicitWindow("MW.MW");
  if (window.IsNil()) {
    // Window::Constructor registers the window as open before its controls
    // open, so the squares' calls of this accessor find it.
    auto made = std::make_shared<class MW>();
    made->Constructor();
    window = made;
  }
  return Cast<class MW>(window);
}

MW::MW() = default;

// --- Construction -----------------------------------------------------------

void MW::Layout() {
  SetBackdrop(TessarBoard());
  SetMenuBar(::MainMenuBar());
  classlib::SetProperties(*this, Design::WindowStream());
}

void MW::CreateControls() {
  CreateControls0();
  CreateControls1();
  CreateControls2();
}

namespace {

// Creates member `index` of a control set: made by the window, constructed
// with its index, registered, given its design backdrop (if it has one) and
// its design, then wired to the window's handlers. Every step after the
// registration fetches the member anew by set name and index.
template <class Set>
void CreateMember(class MW& window, Integer index) {
  using Traits = SetTraits<Set>;
  using Base = typename Traits::Base;
  auto fetch = [&window, index] { return Cast<Base>(window.ControlByNameIndex(Traits::kName, index)); };
  {
    Ref<Set> made = window.New<Set>();
    made->Constructor(index);
    window.AddControl(Traits::kName, made);
  }
  Ref<Base> member = fetch();
  if constexpr (std::is_base_of_v<classlib::Canvas, Base>) {
    if (PictureAccessor backdrop = Traits::Backdrop(index)) {
      member->SetBackdrop(backdrop());
      member = fetch();
    }
  }
  classlib::SetProperties(*member, Traits::Stream(index));
  Traits::Attach(fetch, [&window] { return classlib::RefTo(&window); });
}

// The slider: the same road under its own name, without an index or backdrop.
void CreateSlider(class MW& window) {
  constexpr const char* kName = "CustomSulider1";
  auto fetch = [&window] { return Cast<CustomSulider>(window.ControlByName(kName)); };
  {
    Ref<MW::CustomSulider1Wrapper> made = window.New<MW::CustomSulider1Wrapper>();
    made->Constructor();
    window.AddControl(kName, made);
  }
  classlib::SetProperties(*fetch(), Design::CustomSulider1Stream());
  fetch()->Open.AddHandler(Delegate(&window, &MW::CustomSulider1_Open));
  fetch()->ValueChange.AddHandler(Delegate(&window, &MW::CustomSulider1_ValueChange));
}

}  // namespace

void MW::CreateControls0() {
  CreateMember<GBSet>(*this, 0);
  CreateMember<RBSet>(*this, 0);
  CreateMember<RBSet>(*this, 2);
  CreateMember<RBSet>(*this, 1);
  for (Integer i : {1, 2, 3, 4, 0}) CreateMember<StSet>(*this, i);
  for (Integer i = 0; i <= 20; ++i) CreateMember<BoxSet>(*this, i);
}

void MW::CreateControls1() {
  for (Integer i = 21; i <= 50; ++i) CreateMember<BoxSet>(*this, i);
}

void MW::CreateControls2() {
  for (Integer i = 51; i <= 63; ++i) CreateMember<BoxSet>(*this, i);
  CreateMember<BCVSet>(*this, 3);
  CreateMember<StSet>(*this, 5);
  CreateMember<BCVSet>(*this, 4);
  CreateMember<StSet>(*this, 6);
  CreateMember<BCVSet>(*this, 0);
  CreateMember<BCVSet>(*this, 1);
  CreateMember<BCVSet>(*this, 2);
  CreateMember<GBSet>(*this, 1);
  CreateMember<RBSet>(*this, 3);
  CreateMember<RBSet>(*this, 4);
  CreateMember<RBSet>(*this, 5);
  CreateSlider(*this);
}

// --- Control accessors ------------------------------------------------------

Ref<classlib::GroupBox> MW::GB(Integer index) { return Cast<classlib::GroupBox>(ControlByNameIndex("GB", index)); }
Ref<classlib::RadioButton> MW::RB(Integer index) {
  return Cast<classlib::RadioButton>(ControlByNameIndex("RB", index));
}
Ref<classlib::Label> MW::St(Integer index) { return Cast<classlib::Label>(ControlByNameIndex("St", index)); }
Ref<TessarBox> MW::Box(Integer index) { return Cast<TessarBox>(ControlByNameIndex("Box", index)); }
Ref<ButtonCanvas> MW::BCV(Integer index) { return Cast<ButtonCanvas>(ControlByNameIndex("BCV", index)); }
Ref<CustomSulider> MW::CustomSulider1() { return Cast<CustomSulider>(ControlByName("CustomSulider1")); }

// --- Radio buttons: the choice is read where it is used ---------------------

void MW::RB_Action(Ref<classlib::RadioButton> button) {
  static_cast<void>(Cast<RBSet>(button)->Index());
}

// --- Picture buttons ----------------------------------------------------------

bool MW::BCV_MouseDown(Ref<ButtonCanvas> button, Integer, Integer) {
  Ref<BCVSet> pressed = Cast<BCVSet>(button);
  switch (pressed->Index()) {
    case 0:  // red: the closing animation, then quit
      GrovalModule::SetFrameDisplayAnimate();
      classlib::Quit(0);
      break;
    case 1:  // yellow: to the Dock
      GrovalModule::WindowToDock();
      break;
    case 3:  // "後手": the computer opens, while no game is under way
      pressed->SetBackdrop(ButtonB());
      pressed->Refresh(true);
      if (playing) return true;
      St(0)->SetText("マックが先手です");
      St(0)->Refresh(true);
      playing = true;
      Stop(60);
      Change();
      ThinkMac();
      break;
    case 4:  // "再ゲーム": a new game, at any time
      pressed->SetBackdrop(ButtonB());
      pressed->Refresh(true);
      Initialize();
      break;
    default:  // green: nothing
      break;
  }
  return true;
}

void MW::BCV_MouseUp(Ref<ButtonCanvas> button, Integer, Integer) {
  Ref<BCVSet> released = Cast<BCVSet>(button);
  Integer index = released->Index();
  if (index == 3 || index == 4) {
    released->SetBackdrop(Button());
    released->Refresh(true);
  }
}

void MW::BCV_MouseEnter(Ref<ButtonCanvas> button) {
  Ref<BCVSet> hovered = Cast<BCVSet>(button);
  Integer index = hovered->Index();
  if (index == 0) hovered->SetBackdrop(rButtonX());
  if (index == 1) hovered->SetBackdrop(yButtonD());
}

void MW::BCV_MouseExit(Ref<ButtonCanvas> button) {
  Ref<BCVSet> left = Cast<BCVSet>(button);
  Integer index = left->Index();
  if (index == 0) left->SetBackdrop(rButton());
  if (index == 1) left->SetBackdrop(yButton());
}

// --- The slider sets the window's opacity -----------------------------------

void MW::CustomSulider1_Open(Ref<CustomSulider> slider) {
  slider->Value = 100;
  native::id window = GrovalModule::NativeWindow(Handle());
  double alpha = static_cast<double>(slider->Value) / 100.0;
  GrovalModule::SetAlphaValue(window, alpha);
  slider->SliderHeadCV()->SetLeft(slider->Value - 20);  // the knob at the right end
}

void MW::CustomSulider1_ValueChange(Ref<CustomSulider> slider) {
  native::id window = GrovalModule::NativeWindow(Handle());
  // 0.2 at the left end, 1.0 at the right: never fully transparent.
  double alpha = static_cast<double>(slider->Value + 20) / 100.0;
  GrovalModule::SetAlphaValue(window, alpha);
}

// --- Menu items and menu handlers --------------------------------------------

namespace {

template <class Item>
Ref<Item> MenuItemNamed(const class MW& window, std::string_view name) {
  Ref<classlib::MenuBar> bar = window.MenuBar();
  if (bar.IsNil()) throw classlib::NilObjectException("the window has no menu bar");
  return Cast<Item>(bar->Lookup(name));
}

}  // namespace

Ref<classlib::MenuItem> MW::HelpMenu() { return MenuItemNamed<classlib::MenuItem>(*this, "HelpMenu"); }
Ref<classlib::ApplicationMenuItem> MW::About() {
  return MenuItemNamed<classlib::ApplicationMenuItem>(*this, "About");
}
Ref<classlib::MenuItem> MW::VistrelHelp() { return MenuItemNamed<classlib::MenuItem>(*this, "VistrelHelp"); }
Ref<classlib::MenuItem> MW::EditMenu() { return MenuItemNamed<classlib::MenuItem>(*this, "EditMenu"); }
Ref<classlib::MenuItem> MW::UntitledSeparator() {
  return MenuItemNamed<classlib::MenuItem>(*this, "UntitledSeparator");
}
Ref<classlib::MenuItem> MW::EditSelectAll() { return MenuItemNamed<classlib::MenuItem>(*this, "EditSelectAll"); }
Ref<classlib::MenuItem> MW::EditSeparator2() { return MenuItemNamed<classlib::MenuItem>(*this, "EditSeparator2"); }
Ref<classlib::MenuItem> MW::EditClear() { return MenuItemNamed<classlib::MenuItem>(*this, "EditClear"); }
Ref<classlib::MenuItem> MW::EditPaste() { return MenuItemNamed<classlib::MenuItem>(*this, "EditPaste"); }
Ref<classlib::MenuItem> MW::EditCopy() { return MenuItemNamed<classlib::MenuItem>(*this, "EditCopy"); }
Ref<classlib::MenuItem> MW::EditCut() { return MenuItemNamed<classlib::MenuItem>(*this, "EditCut"); }
Ref<classlib::MenuItem> MW::EditSeparator1() { return MenuItemNamed<classlib::MenuItem>(*this, "EditSeparator1"); }
Ref<classlib::MenuItem> MW::EditUndo() { return MenuItemNamed<classlib::MenuItem>(*this, "EditUndo"); }
Ref<classlib::MenuItem> MW::FileMenu() { return MenuItemNamed<classlib::MenuItem>(*this, "FileMenu"); }
Ref<classlib::QuitMenuItem> MW::FileQuit() { return MenuItemNamed<classlib::QuitMenuItem>(*this, "FileQuit"); }

void MW::AddMenuHandlers(Ref<classlib::Window> w) {
  Ref<MW> window = Cast<MW>(w);
  AddMenuHandler("FileNew", Delegate(&*window, &MW::FileNew_Action));
  AddMenuHandler("FileQuit", Delegate(&*window, &MW::FileQuit_Action));
}

bool MW::FileNew_Action() {
  Initialize();
  return true;
}

// Quits at once, without the closing animation.
bool MW::FileQuit_Action() {
  classlib::Quit(0);
  return true;
}
