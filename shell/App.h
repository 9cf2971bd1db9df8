// The application object and its menu handlers.
#pragma once

#include "classlib/ClassLib.h"

class App : public classlib::Application {
 public:
  void Constructor() {}
  void Event_Open() override;
  void Event_Close() override;
  bool About_Action();
  bool VistrelHelp_Action();
  bool FileQuit_Action();
  std::string ClassName() const override { return "App"; }
};

// The registered application object. (The function hides the class name;
// write `class App` for the type.)
classlib::Ref<class App> App();

// Start-up, in the order the program runs them.
void EarlyStartup();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void LateStartup();
void MakeDefaultView();
