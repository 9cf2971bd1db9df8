// The application's one menu bar: File, Edit and Help, built in code.
#pragma once

#include "classlib/ClassLib.h"

class MainMenuBar : public classlib::MenuBar {
 public:
  // Builds the whole tree: Untitled0, Untitled1, Untitled2.
  void Constructor();
  void Untitled0();  // File menu
  void Untitled1();  // Edit menu
  void Untitled2();  // Help menu
  std::string ClassName() const override { return "MainMenuBar"; }
};

// The shared instance, made at the first call. (The function hides the class
// name; write `class MainMenuBar` for the type.)
classlib::Ref<class MainMenuBar> MainMenuBar();
