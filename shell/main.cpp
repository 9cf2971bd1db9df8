// Process entry: start-up, then the event loop until the application quits.
// The exit code given to Quit is the process's exit code.
#include "classlib/ClassLib.h"
#include "shell/App.h"

int main(int argc, char** argv) {
  classlib::Integer quitCode = 0;
  int status = classlib::RuntimeMain(argc, argv, [&quitCode] {
    EarlyStartup();
    classlib::RunFrameworkInitialization(LateStartup);
    quitCode = classlib::RuntimeRun();
  });
  return status != 0 ? status : static_cast<int>(quitCode);
}
