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

std::string ChoosePlatform(const char* chosen, const char* x11Display, const char* waylandDisplay) {
  auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (set(chosen)) return chosen;
  // Through X (XWayland on a Wayland desktop) the window can be moved by its
  // background, made translucent and animated as it closes; native Wayland
  // clients cannot place their own windows.
  if (set(x11Display)) return "xcb";
  if (set(waylandDisplay)) return "wayland";
  return "";
}

namespace {

// The platforms a QT_QPA_PLATFORM value lists to try in turn ("wayland;xcb"),
// without the options each may carry after a colon.
std::vector<std::string> PlatformNames(const std::string& platforms) {
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

// The one line for a display that cannot be had: each platform of the list
// with the display it would use, and why that one could not be had: a local
// X server that did not answer start-up's own check, or what the toolkit
// complained of when it tried (`byToolkit`).
std::string PlatformsTried(const std::string& platforms, bool byToolkit,
                           const std::vector<std::string>& complaints) {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  auto noPlugin = [&complaints](const std::string& name) {
    for (const std::string& c : complaints) {
      if (c.find("Could not find the Qt platform plugin \"" + name + "\"") != std::string::npos) return true;
    }
    return false;
  };
  std::string tried;
  for (const std::string& name : PlatformNames(platforms)) {
    std::string what;
    if (name == "xcb") {
      what = (x11 && *x11) ? "the X display \"" + std::string(x11) + "\", which " +
                                 (byToolkit ? "cannot be opened" : "does not answer")
                           : "an X display (DISPLAY is not set)";
    } else if (name.rfind("wayland", 0) == 0) {
      what = (wayland && *wayland) ? "the Wayland display \"" + std::string(wayland) + "\""
                                   : "a Wayland display (WAYLAND_DISPLAY is not set)";
      if (noPlugin(name)) {
        what += ", but the toolkit has no Wayland plugin";
      } else if (wayland && *wayland) {
        what += ", which cannot be opened";
      }
    } else {
      what = "the platform \"" + name + "\"" +
             (noPlugin(name) ? ", which the toolkit does not have" : ", which cannot be opened");
    }
    tried += (tried.empty() ? "" : " and ") + what;
  }
  // The toolkit's own reason, when it gave one beyond its advice to reinstall.
  for (const std::string& c : complaints) {
    if (c.rfind("Could not", 0) != 0 && c.rfind("This application failed", 0) != 0 && !c.empty()) {
      tried += " (" + c.substr(0, c.find('\n')) + ")";
      break;
    }
  }
  return "Tovarine needs a graphical display and cannot open one: it tried " + tried +
         ". Start it from a desktop session, or under a virtual display with xvfb-run";
}

std::string RequestedPlatforms() {
  // QT_QPA_PLATFORM may list platforms to try in turn ("wayland;xcb"), each
  // with options after a colon. Unset, the toolkit picks X11 or Wayland.
  const char* listed = std::getenv("QT_QPA_PLATFORM");
  return (listed && *listed) ? listed : "xcb;wayland";
}

// While the toolkit opens its platform, its messages are held back: when no
// platform can be opened it gives up with a fatal message (and would abort),
// which becomes the one line above and exit status 1 instead. When one opens,
// the held messages are passed on as they came.
std::vector<std::pair<QtMsgType, QString>>* heldMessages = nullptr;
QtMessageHandler earlierHandler = nullptr;

void HoldStartupMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    if (heldMessages) heldMessages->emplace_back(type, message);
    return;
  }
  std::vector<std::string> complaints;
  if (heldMessages) {
    for (const auto& held : *heldMessages) complaints.push_back(held.second.toStdString());
  }
  complaints.push_back(message.toStdString());
  std::fprintf(stderr, "%s\n", PlatformsTried(RequestedPlatforms(), true, complaints).c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

std::string MissingDisplayMessage() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  const std::string platforms = RequestedPlatforms();
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  for (const std::string& name : PlatformNames(platforms)) {
    if (name == "xcb") {
      if (x11 && *x11 && XServerAnswers(x11)) return "";
    } else if (name.rfind("wayland", 0) == 0) {
      if (wayland && *wayland) return "";
    } else {
      return "";  // offscreen, vnc, eglfs, ...: left to the toolkit
    }
  }
  return PlatformsTried(platforms, false, {});
#else
  return "";
#endif
}

}  // namespace internal

int RuntimeMain(int argc, char** argv, const std::function<void()>& startup) {
  if (!QCoreApplication::instance()) {
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    const std::string platform =
        internal::ChoosePlatform(chosen, std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (!platform.empty() && !(chosen && platform == chosen)) {
      qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));
    }
    const std::string missing = internal::MissingDisplayMessage();
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
    std::vector<std::pair<QtMsgType, QString>> held;
    internal::heldMessages = &held;
    internal::earlierHandler = qInstallMessageHandler(internal::HoldStartupMessage);
    // Lives until the process ends: windows held by the program's globals
    // are released after RuntimeMain returns and still need it.
    new TovarineApplication(storedArgc, argv);
    qInstallMessageHandler(internal::earlierHandler);
    internal::heldMessages = nullptr;
    for (const auto& [type, message] : held) qt_message_output(type, QMessageLogContext(), message);
    // "--check-display": only whether the window could be opened (0) or not
    // (1, with the line above), for scripts that start the game.
    for (int i = 1; i < storedArgc; ++i) {
      if (std::string(argv[i]) == "--check-display") return 0;
    }
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
