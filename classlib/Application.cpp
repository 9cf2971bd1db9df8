// The application object, menu command dispatch, start-up, the event loop and
// the routine for errors that no handler caught.
#include "classlib/Application.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"

namespace classlib {

struct Application::Impl {
  Integer major = 0;
  Integer minor = 0;
  Integer bug = 0;
  Integer stage = 0;
  Integer nonRelease = 0;
  std::string shortVersion;
  std::string longVersion;
  std::string packageInfo;
  Ref<class MenuBar> menuBar;
  std::map<std::string, std::function<bool()>, std::less<>> handlers;
};

Application::Application() : impl_(std::make_unique<Impl>()) {}
Application::~Application() = default;

void Application::SetVersionData(Integer major, Integer minor, Integer bug, Integer stage,
                                 Integer nonRelease, const std::string& shortVersion,
                                 const std::string& longVersion, const std::string& packageInfo) {
  impl_->major = major;
  impl_->minor = minor;
  impl_->bug = bug;
  impl_->stage = stage;
  impl_->nonRelease = nonRelease;
  impl_->shortVersion = shortVersion;
  impl_->longVersion = longVersion;
  impl_->packageInfo = packageInfo;
  if (QCoreApplication::instance()) {
    QCoreApplication::setApplicationVersion(QString::fromStdString(VersionText()));
  }
}

std::string Application::VersionText() const {
  return std::to_string(impl_->major) + "." + std::to_string(impl_->minor) + "." +
         std::to_string(impl_->bug);
}

Ref<MenuBar> Application::MenuBar() const { return impl_->menuBar; }
void Application::SetMenuBar(Ref<class MenuBar> bar) { impl_->menuBar = std::move(bar); }

void Application::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
  impl_->handlers[itemName] = std::move(handler);
}

bool Application::HandleMenuCommand(const std::string& itemName) {
  const auto found = impl_->handlers.find(itemName);
  if (found == impl_->handlers.end() || !found->second) return false;
  // A copy: the handler may bind handlers of its own while it runs.
  const std::function<bool()> handler = found->second;
  return handler();
}

namespace {

bool& HiDPI() {
  static bool supported = false;
  return supported;
}

Ref<Application>& AppObject() {
  static Ref<Application> app;
  return app;
}

std::function<void(const std::exception&)>& UnhandledHook() {
  static std::function<void(const std::exception&)> hook;
  return hook;
}

// Qt does not carry exceptions through its event loop: whatever a handler
// lets escape is caught here, at the last point before Qt, and reported.
class TovarineApplication : public QApplication {
 public:
  TovarineApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      UnhandledException(e);
    }
    return false;
  }
};

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// Whether the X server that DISPLAY names answers. Only local servers are
// tried (their socket under /tmp/.X11-unix); a remote one is left to the
// toolkit.
bool XServerAnswers(const std::string& display) {
  const std::size_t colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  const std::string host = display.substr(0, colon);
  if (!host.empty() && host != "unix") return true;
  std::string number;
  for (std::size_t i = colon + 1; i < display.size() && display[i] >= '0' && display[i] <= '9'; ++i) {
    number += display[i];
  }
  if (number.empty() || number.size() > 6) return false;
  const std::string path = "/tmp/.X11-unix/X" + number;
  for (const bool abstract : {true, false}) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;  // abstract names start with a NUL
    if (path.size() + offset >= sizeof(address.sun_path)) return false;
    path.copy(address.sun_path + offset, path.size());
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    if (connected) return true;
  }
  return false;
}
#endif

}  // namespace

void Application::SetSupportsHiDPI(bool supported) {
  // Qt 6 always draws at the display's scale; the declaration is only kept.
  HiDPI() = supported;
}

void RuntimeRegisterAppObject(Ref<Application> app) { AppObject() = std::move(app); }
Ref<Application> GetAppObject() { return AppObject(); }

bool SendMenuCommand(const std::string& itemName) {
  const std::vector<Ref<Window>> windows = OpenWindows();
  if (!windows.empty() && windows.front()->HandleMenuCommand(itemName)) return true;
  const Ref<Application> app = GetAppObject();
  return app && app->HandleMenuCommand(itemName);
}

namespace internal {

bool HasRealDisplay() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return !platform.isEmpty() && platform != QLatin1String("offscreen") &&
         platform != QLatin1String("minimal");
}

}  // namespace internal

namespace {

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// The platforms the toolkit is asked to try in turn (QT_QPA_PLATFORM takes a
// ";"-separated list): the player's own choice as it stands; else X first
// wherever an X server is offered (XWayland on a Wayland desktop too: through
// X the window can be moved by its background, made translucent and animated
// as it closes, which a native Wayland client cannot do), with Wayland as the
// fallback, so that a dead X display beside a working Wayland one still
// plays; else Wayland where only that is offered; else "", the toolkit's own.
std::string ChosenPlatforms() {
  if (const char* chosen = Env("QT_QPA_PLATFORM")) return chosen;
  if (Env("DISPLAY")) return "xcb;wayland";
  return Env("WAYLAND_DISPLAY") ? "wayland" : "";
}

// The platforms of such a list, without the options each may carry after a
// colon; the toolkit's own choice counts as X, then Wayland.
std::vector<std::string> PlatformNames(std::string platforms) {
  if (platforms.empty()) platforms = "xcb;wayland";
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= platforms.size()) {
    std::size_t end = platforms.find(';', start);
    if (end == std::string::npos) end = platforms.size();
    std::string name = platforms.substr(start, end - start);
    name = name.substr(0, name.find(':'));
    start = end + 1;
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

// The one line for a display that cannot be had: each platform tried (its
// name and why it could not be had) with the display it would use.
std::string PlatformsTried(const std::vector<std::pair<std::string, std::string>>& tried) {
  const char* x11 = Env("DISPLAY");
  const char* wayland = Env("WAYLAND_DISPLAY");
  std::string line;
  std::string lastWhy;
  for (const auto& [name, why] : tried) {
    std::string what;
    if (name == "xcb") {
      what = x11 ? "the X display \"" + std::string(x11) + "\"" : "an X display (DISPLAY is not set)";
    } else if (name.rfind("wayland", 0) == 0) {
      what = wayland ? "the Wayland display \"" + std::string(wayland) + "\""
                     : "a Wayland display (WAYLAND_DISPLAY is not set)";
    } else {
      what = "the platform \"" + name + "\"";
    }
    line += (line.empty() ? "" : lastWhy.empty() ? " and " : ", and ") + what + why;
    lastWhy = why;
  }
  return "Tovarine needs a graphical display and cannot open one: it tried " + line +
         ". Start it from a desktop session, or under a virtual display with xvfb-run";
}

// The toolkit gave up on every platform it tried: the one line, made of what
// it and the libraries under it said meanwhile, and exit status 1 (where the
// toolkit would abort). It ends each platform's messages with "Could not
// load (or find) the Qt platform plugin "NAME"": what came before is why.
[[noreturn]] void NoPlatformOpened(const std::vector<std::string>& messages) {
  std::vector<std::pair<std::string, std::string>> tried;
  std::string why;
  for (const std::string& message : messages) {
    const std::string plugin = "the Qt platform plugin \"";
    const std::size_t at = message.find(plugin);
    if (message.rfind("Could not", 0) == 0 && at != std::string::npos) {
      const std::size_t from = at + plugin.size();
      const bool missing = message.rfind("Could not find", 0) == 0;
      tried.emplace_back(message.substr(from, message.find('"', from) - from),
                         missing ? ", but the toolkit has no plugin for it"
                                 : ", which cannot be opened" + (why.empty() ? "" : " (" + why + ")"));
      why.clear();
    } else if (message.rfind("This application failed", 0) != 0) {
      std::string said = message.substr(0, message.find('\n'));
      if (!said.empty() && said.back() == '.') said.pop_back();
      if (!said.empty()) why += (why.empty() ? "" : "; ") + said;
    }
  }
  if (tried.empty()) {
    for (const std::string& name : PlatformNames(ChosenPlatforms())) {
      tried.emplace_back(name, ", which cannot be opened");
    }
  }
  std::string line = PlatformsTried(tried);
  if (!why.empty()) line += " (" + why + ")";
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

// Start-up's own check before the toolkit starts, along the same list: the
// one line when no platform of it can be had (a local X server that does not
// answer, a display that is not set), "" when one may be or when the toolkit
// is left to judge (a remote X server, another platform).
std::string MissingDisplayMessage() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  std::vector<std::pair<std::string, std::string>> tried;
  for (const std::string& name : PlatformNames(ChosenPlatforms())) {
    if (name == "xcb") {
      const char* x11 = Env("DISPLAY");
      if (x11 && XServerAnswers(x11)) return "";
      tried.emplace_back(name, x11 ? ", which does not answer" : "");
    } else if (name.rfind("wayland", 0) == 0) {
      if (Env("WAYLAND_DISPLAY")) return "";
      tried.emplace_back(name, "");
    } else {
      return "";  // offscreen, vnc, eglfs, ...
    }
  }
  return PlatformsTried(tried);
#else
  return "";
#endif
}

}  // namespace

int RuntimeMain(int argc, char** argv, const std::function<void()>& startup) {
  if (!QCoreApplication::instance()) {
    const std::string platforms = ChosenPlatforms();
    if (!platforms.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platforms));
    const std::string missing = MissingDisplayMessage();
    if (!missing.empty()) {
      std::fprintf(stderr, "%s\n", missing.c_str());
      return 1;
    }
    static char programName[] = "Tovarine";
    static char* fallbackArgv[] = {programName, nullptr};
    static int storedArgc = 0;
    if (argc > 0 && argv && argv[0]) {
      storedArgc = argc;
    } else {
      storedArgc = 1;
      argv = fallbackArgv;
    }
    // While the toolkit opens its platform, what it and the libraries under
    // it say is held back: when no platform opens, it becomes the one line
    // and exit status 1; when one does, it is passed on as it came.
    internal::MessagesTaken startupMessages(NoPlatformOpened);
    // Lives until the process ends: windows held by the program's globals
    // are released after RuntimeMain returns and still need it.
    new TovarineApplication(storedArgc, argv);
    startupMessages.PassOn();
  }
  QCoreApplication::setApplicationName(QStringLiteral("Tovarine"));
  // Closing the last window ends the run only through the program's own Close
  // handler, which asks to Quit.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  try {
    if (startup) startup();
  } catch (const std::exception& e) {
    UnhandledException(e);
    return 1;
  } catch (...) {
    UnhandledException(std::runtime_error("an error of unknown type"));
    return 1;
  }
  return static_cast<int>(internal::QuitExitCode());
}

void RunFrameworkInitialization(const std::function<void()>& lateStartup) {
  if (lateStartup) lateStartup();
  if (const Ref<Application> app = GetAppObject()) app->Event_Open();
}

Integer RuntimeRun() {
  if (!QuitRequested()) QApplication::exec();
  if (const Ref<Application> app = GetAppObject()) app->Event_Close();
  return internal::QuitExitCode();
}

void UnhandledException(const std::exception& error) {
  const auto* known = dynamic_cast<const RuntimeException*>(&error);
  const std::string className = known ? known->ClassName() : "std::exception";
  std::fprintf(stderr, "Tovarine: unhandled %s: %s\n", className.c_str(), error.what());
  std::fflush(stderr);

  // A test's hook takes the place of the box and the ending.
  if (const auto hook = UnhandledHook()) {
    hook(error);
    return;
  }

  // An error raised while the box is up (a repaint behind it) adds no second box.
  static bool showingBox = false;
  if (!showingBox && internal::HasRealDisplay()) {
    showingBox = true;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tovarine"),
                    QStringLiteral("予期しないエラーが起きたため、Tovarine を終了します。"));
    box.setInformativeText(QString::fromStdString(className + ": " + error.what()));
    box.exec();
    showingBox = false;
  }
  std::fflush(stdout);
  // No static destructors: they could fail on the half-finished state the
  // error left behind.
  std::_Exit(1);
}

void SetUnhandledExceptionHookForTesting(std::function<void(const std::exception&)> hook) {
  UnhandledHook() = std::move(hook);
}

}  // namespace classlib
