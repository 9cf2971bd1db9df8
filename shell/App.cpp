// The application object, its menu handlers, and start-up.
#include "shell/App.h"

#include <memory>

#include "shell/GrovalModule.h"
#include "shell/MainMenuBar.h"
#include "window/MW.h"

namespace {

// Sends `message` with nil to the system's shared application object: it
// works with or without a window in front.
void TellSharedApplication(const char* message) {
  native::id applicationClass = GrovalModule::NSClassFromString("NSApplication");
  native::id shared = native::objc_msgSend(applicationClass, native::sel_registerName("sharedApplication"));
  native::objc_msgSend(shared, native::sel_registerName(message), nullptr);
}

}  // namespace

void App::Event_Open() {
  GrovalModule::Randomizer = std::make_shared<classlib::Random>();
  GrovalModule::Randomizer->Seed(static_cast<double>(classlib::Ticks()));
}

void App::Event_Close() {}

bool App::About_Action() {
  TellSharedApplication("orderFrontStandardAboutPanel:");
  return true;
}

bool App::VistrelHelp_Action() {
  TellSharedApplication("showHelp:");
  return true;
}

// Quits after the main window's closing animation.
bool App::FileQuit_Action() {
  GrovalModule::SetFrameDisplayAnimate();
  classlib::Quit(0);
  return true;
}

classlib::Ref<class App> App() { return classlib::Cast<class App>(classlib::GetAppObject()); }

void EarlyStartup() {
  classlib::Application::SetSupportsHiDPI(true);
  NewAppInstance();
  ApplicationAddMenuHandlers();
}

void NewAppInstance() {
  auto app = std::make_shared<class App>();
  app->Constructor();
  app->SetVersionData(1, 0, 0, 0, 0, "", "", "");
  app->SetMenuBar(MainMenuBar());
  classlib::RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {
  App()->AddMenuHandler("About", classlib::Delegate(&*App(), &App::About_Action));
  App()->AddMenuHandler("VistrelHelp", classlib::Delegate(&*App(), &App::VistrelHelp_Action));
  App()->AddMenuHandler("FileQuit", classlib::Delegate(&*App(), &App::FileQuit_Action));
}

void LateStartup() { MakeDefaultView(); }

// Brings the main window into being; the class library keeps it open.
void MakeDefaultView() { MW(); }
