// The main window: the one window of the game and the home of the whole game.
// The board lives in its 64 square controls Box(0) .. Box(63); whose turn it
// is and whether a game is under way are its properties. The game engine's
// methods (engine/) are methods of this class.
//
// The accessor of the one instance bears the class's name, MW(): it hides the
// class name outside the class, so write `class MW` where the type is meant.
#pragma once

#include <array>
#include <string>

#include "classlib/ClassLib.h"
#include "controls/ButtonCanvas.h"
#include "controls/CustomSulider.h"
#include "controls/TessarBox.h"

class MW : public classlib::Window {
 public:
  // Control-set classes: every member of a set is an instance of its set's
  // class and carries its index in the set.
  class GBSet;
  class RBSet;
  class StSet;
  class BoxSet;
  class BCVSet;
  // The class in which the window embeds its slider.
  class CustomSulider1Wrapper;

  // --- Game state -------------------------------------------------------
  // pass[0]: the player had no legal move at the last check; pass[1]: the
  // computer had none at its last turn. A new game does not reset them.
  std::array<bool, 2> pass{false, false};
  classlib::Integer player = 0;  // side to move: 2 the player (Black), 1 the computer (White)
  bool playing = false;          // a game is under way
  classlib::Integer downX = 0;   // last press on the window's surface
  classlib::Integer downY = 0;
  classlib::Integer stone = 0;   // nothing reads it
  double doubleClick = 0.0;      // Ticks at the last press on the window's surface

  MW();
  std::string ClassName() const override { return "MW.MW"; }

  // --- Construction (window/) -------------------------------------------
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  void CreateControls1();
  void CreateControls2();

  // --- Control accessors: looked up anew at every call ------------------
  classlib::Ref<classlib::GroupBox> GB(classlib::Integer index);
  classlib::Ref<classlib::RadioButton> RB(classlib::Integer index);
  classlib::Ref<classlib::Label> St(classlib::Integer index);
  classlib::Ref<TessarBox> Box(classlib::Integer index);
  classlib::Ref<ButtonCanvas> BCV(classlib::Integer index);
  classlib::Ref<CustomSulider> CustomSulider1();

  // --- Control handlers (window/) ---------------------------------------
  void RB_Action(classlib::Ref<classlib::RadioButton> button);
  bool Box_MouseDown(classlib::Ref<TessarBox> box, classlib::Integer x, classlib::Integer y);  // engine/
  bool BCV_MouseDown(classlib::Ref<ButtonCanvas> button, classlib::Integer x, classlib::Integer y);
  void BCV_MouseUp(classlib::Ref<ButtonCanvas> button, classlib::Integer x, classlib::Integer y);
  void BCV_MouseEnter(classlib::Ref<ButtonCanvas> button);
  void BCV_MouseExit(classlib::Ref<ButtonCanvas> button);
  void CustomSulider1_Open(classlib::Ref<CustomSulider> slider);
  void CustomSulider1_ValueChange(classlib::Ref<CustomSulider> slider);

  // --- Menu items of the window's menu bar, found by name ---------------
  classlib::Ref<classlib::MenuItem> HelpMenu();
  classlib::Ref<classlib::ApplicationMenuItem> About();
  classlib::Ref<classlib::MenuItem> VistrelHelp();
  classlib::Ref<classlib::MenuItem> EditMenu();
  classlib::Ref<classlib::MenuItem> UntitledSeparator();
  classlib::Ref<classlib::MenuItem> EditSelectAll();
  classlib::Ref<classlib::MenuItem> EditSeparator2();
  classlib::Ref<classlib::MenuItem> EditClear();
  classlib::Ref<classlib::MenuItem> EditPaste();
  classlib::Ref<classlib::MenuItem> EditCopy();
  classlib::Ref<classlib::MenuItem> EditCut();
  classlib::Ref<classlib::MenuItem> EditSeparator1();
  classlib::Ref<classlib::MenuItem> EditUndo();
  classlib::Ref<classlib::MenuItem> FileMenu();
  classlib::Ref<classlib::QuitMenuItem> FileQuit();
  void AddMenuHandlers(classlib::Ref<classlib::Window> w) override;

  // --- Window events ----------------------------------------------------
  void Event_Open() override;
  void Event_Close() override;
  void Event_Paint(classlib::Ref<classlib::Graphics> g) override;
  bool Event_MouseDown(classlib::Integer x, classlib::Integer y) override;
  void Event_MouseDrag(classlib::Integer x, classlib::Integer y) override;
  void Event_EnableMenuItems() override;

  // --- Menu handlers ----------------------------------------------------
  bool FileNew_Action();
  bool FileQuit_Action();

  // --- Game engine (engine/) --------------------------------------------
  void Change();
  void Count();
  void Initialize();
  std::string Mac0(const std::string& list);
  std::string Mac1(const std::string& list);
  std::string Mac2(const std::string& list);
  std::string Mac5(const std::string& list);
  void RefreshBox();
  std::string ReturnableBox(classlib::Integer x, classlib::Integer y);
  void Score();
  void Stop(classlib::Integer ticks);
  void ThinkMac();
  void ZeroCheck();
};

// The one main window, built at the first call while no window of its class
// is open.
classlib::Ref<class MW> MW();
