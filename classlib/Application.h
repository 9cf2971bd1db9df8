// The application object, start-up, the event loop and the handling of errors
// that no handler caught.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "classlib/Types.h"

namespace classlib {

class MenuBar;

class Application : public Object {
 public:
  Application();
  ~Application() override;

  virtual void Event_Open() {}
  virtual void Event_Close() {}

  // Version data: major, minor, bug, stage, non-release, and three texts.
  void SetVersionData(Integer major, Integer minor, Integer bug, Integer stage,
                      Integer nonRelease, const std::string& shortVersion,
                      const std::string& longVersion, const std::string& packageInfo);
  // "1.0.0" for version 1, 0, 0.
  std::string VersionText() const;

  Ref<class MenuBar> MenuBar() const;
  void SetMenuBar(Ref<class MenuBar> bar);

  // Binds a handler to the menu item of that Name (see Window::AddMenuHandler).
  void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
  bool HandleMenuCommand(const std::string& itemName);

  // Declares that the application can draw on high-resolution displays.
  static void SetSupportsHiDPI(bool supported);

  std::string ClassName() const override { return "Application"; }

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// The application object of the run.
void RuntimeRegisterAppObject(Ref<Application> app);
Ref<Application> GetAppObject();

// Sends a menu command by item name, as choosing the item would: the front
// window's handlers first, then the application's. True when one handled it.
bool SendMenuCommand(const std::string& itemName);

// Start-up. RuntimeMain prepares the toolkit (without a display it prints one
// line saying how to get one and returns a non-zero code), runs `startup`
// under the library's error handling, and returns the exit code. Inside
// `startup` the program sets itself up and calls RuntimeRun.
int RuntimeMain(int argc, char** argv, const std::function<void()>& startup);
// Runs `lateStartup` once the library has finished its own initialisation,
// then raises the application object's Open.
void RunFrameworkInitialization(const std::function<void()>& lateStartup);
// The event loop: runs until Quit; raises the application object's Close and
// returns the exit code given to Quit.
Integer RuntimeRun();

// An error that escaped the program: writes its class and message to stderr,
// shows a message box and ends the program with a non-zero exit code.
void UnhandledException(const std::exception& error);
// Tests replace the message box and the ending with a hook of their own
// (empty restores them).
void SetUnhandledExceptionHookForTesting(std::function<void(const std::exception&)> hook);

// Prepares the toolkit for tests (offscreen), without an application object.
void RuntimeInitForTesting(int argc, char** argv);

}  // namespace classlib
