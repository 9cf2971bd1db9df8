// The message layer on real windows: selectors, classes, the window messages,
// the About window and the help viewer, and receivers it must not touch.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"
#include "native/Native.h"

using namespace native;
using classlib::Window;

namespace {

id HandleOf(const Window& window) {
  return reinterpret_cast<id>(static_cast<std::intptr_t>(window.Handle()));
}

std::shared_ptr<Window> OpenWindow() {
  auto window = std::make_shared<Window>();
  window->Constructor();
  return window;
}

QWidget* ShownTopLevel(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == name && w->isVisible()) return w;
  }
  return nullptr;
}

void CloseAndCollect(QWidget* w) {
  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

id SharedApplication() {
  return objc_msgSend(NSClassFromString("NSApplication"), sel_registerName("sharedApplication"));
}

// Points the bundle's Resources at a folder of the test's own.
class BundleResources {
 public:
  BundleResources() { classlib::SetApplicationBundleResourcesForTesting(dir_.path().toStdString()); }
  ~BundleResources() {
    const char* resources = std::getenv("TOVARINE_TEST_RESOURCES");
    classlib::SetApplicationBundleResourcesForTesting(resources ? resources : "");
  }
  void Write(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

}  // namespace

TEST(NativeRuntime, SelectorsAndClasses) {
  EXPECT_EQ(sel_registerName("setAlphaValue:"), sel_registerName(std::string("setAlphaValue:").c_str()));
  EXPECT_NE(sel_registerName("miniaturize:"), sel_registerName("setAlphaValue:"));
  EXPECT_STREQ(sel_getName(sel_registerName("showHelp:")), "showHelp:");
  EXPECT_EQ(NSClassFromString("NoSuchClass"), nullptr);
  ASSERT_NE(SharedApplication(), nullptr);
  EXPECT_EQ(SharedApplication(), SharedApplication());
  EXPECT_EQ(objc_msgSend(NSClassFromString("NoSuchClass"), sel_registerName("sharedApplication")), nullptr);
}

TEST(NativeWindow, OpacityStyleAndMinimise) {
  auto window = OpenWindow();
  const id handle = HandleOf(*window);
  QWidget* top = classlib::internal::TopLevelWidget(*window);
  const SEL alpha = sel_registerName("setAlphaValue:");

  EXPECT_EQ(objc_msgSend(handle, alpha, 0.2), nullptr);
  EXPECT_NEAR(top->windowOpacity(), 0.2, 0.005);
  objc_msgSend(handle, alpha, 1.0);
  EXPECT_NEAR(top->windowOpacity(), 1.0, 0.005);
  // Wrong argument types and a value that is no number change nothing.
  objc_msgSend(handle, alpha, std::int64_t{0});
  objc_msgSend(handle, alpha, std::numeric_limits<double>::quiet_NaN());
  objc_msgSend(handle, alpha);
  EXPECT_NEAR(top->windowOpacity(), 1.0, 0.005);

  objc_msgSend(handle, sel_registerName("setStyleMask:"), 4);
  const Qt::WindowFlags flags = top->windowFlags();
  EXPECT_TRUE(flags & Qt::FramelessWindowHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & (Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(top->isVisible());

  EXPECT_EQ(objc_msgSend(handle, sel_registerName("miniaturize:"), nullptr), nullptr);
  EXPECT_TRUE(window->IsMinimized());
  window->Close();
}

TEST(NativeWindow, SetFrameEndsAtTheFrameInTopLeftCoordinates) {
  auto window = OpenWindow();
  // The frame is the content's, below the window's menu bar.
  auto bar = classlib::Ref<classlib::MenuBar>(std::make_shared<classlib::MenuBar>());
  bar->Append(classlib::Ref<classlib::MenuItem>(std::make_shared<classlib::MenuItem>()));
  bar->Item(0)->SetText("File");
  window->SetMenuBar(bar);
  window->SetWidth(640);
  window->SetHeight(670);
  window->SetLeft(100);
  window->SetTop(40);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const SEL setFrame = sel_registerName("setFrame:display:animate:");

  // Half the size, same centre, top edge at the bottom of the screen.
  objc_msgSend(HandleOf(*window), setFrame, NSRect{260, -335, 320, 335}, YES, YES);
  EXPECT_EQ(window->Left(), screen.x() + 260);
  EXPECT_EQ(window->Top(), screen.y() + screen.height());
  EXPECT_EQ(window->Width(), 320);
  EXPECT_EQ(window->Height(), 335);

  // Without animation, back on screen and larger than before.
  objc_msgSend(HandleOf(*window), setFrame, NSRect{10, double(screen.height() - 30 - 500), 700, 500}, YES, NO);
  EXPECT_EQ(window->Left(), screen.x() + 10);
  EXPECT_EQ(window->Top(), screen.y() + 30);
  EXPECT_EQ(window->Width(), 700);
  EXPECT_EQ(window->Height(), 500);

  // Refused frames: nothing moves.
  objc_msgSend(HandleOf(*window), setFrame, NSRect{0, 0, -5, 100}, YES, NO);
  objc_msgSend(HandleOf(*window), setFrame, NSRect{0, 0, 100, 100});
  EXPECT_EQ(window->Width(), 700);
  window->Close();
}

TEST(NativeWindow, UnknownReceiversAndSelectorsDoNothing) {
  auto window = OpenWindow();
  const id handle = HandleOf(*window);
  QWidget* top = classlib::internal::TopLevelWidget(*window);
  const SEL alpha = sel_registerName("setAlphaValue:");

  EXPECT_EQ(objc_msgSend(nullptr, alpha, 0.5), nullptr);
  EXPECT_EQ(objc_msgSend(reinterpret_cast<id>(std::intptr_t{0x1234}), alpha, 0.5), nullptr);
  EXPECT_EQ(objc_msgSend(handle, sel_registerName("orderOut:"), nullptr), nullptr);
  EXPECT_EQ(objc_msgSend(handle, static_cast<SEL>(nullptr), 0.5), nullptr);
  EXPECT_EQ(objc_msgSend(SharedApplication(), alpha, 0.5), nullptr);
  EXPECT_TRUE(top->isVisible());
  EXPECT_NEAR(top->windowOpacity(), 1.0, 0.005);

  window->Close();
  EXPECT_EQ(objc_msgSend(handle, alpha, 0.5), nullptr);  // no longer an open window
}

TEST(NativePanels, AboutShowsTheBundleInfoAndClosesCleanly) {
  ASSERT_TRUE(classlib::OpenWindows().empty());
  BundleResources resources;
  QImage icon(8, 8, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  ASSERT_TRUE(icon.save(resources.Path("Icon.png")));
  resources.Write("Info.txt", "Name=Tovarine\nVersion=1.0.0\nCopyright=(c) the makers\nIcon=Icon.png\nnoise\n");

  EXPECT_EQ(objc_msgSend(SharedApplication(), sel_registerName("orderFrontStandardAboutPanel:"), nullptr), nullptr);
  QWidget* about = ShownTopLevel(QStringLiteral("AboutPanel"));
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("Version"))->text(), QStringLiteral("バージョン 1.0.0"));
  EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("Copyright"))->text(), QStringLiteral("(c) the makers"));
  bool hasIcon = false;
  for (QLabel* label : about->findChildren<QLabel*>()) hasIcon = hasIcon || !label->pixmap().isNull();
  EXPECT_TRUE(hasIcon);
  CloseAndCollect(about);
  EXPECT_EQ(ShownTopLevel(QStringLiteral("AboutPanel")), nullptr);

  // A file that is not text: the defaults, the application's version.
  auto app = std::make_shared<classlib::Application>();
  app->SetVersionData(2, 3, 4, 0, 0, "", "", "");
  classlib::RuntimeRegisterAppObject(classlib::Ref<classlib::Application>(app));
  resources.Write("Info.txt", QByteArray("Name=\xff\xfe\0Broken", 15));
  objc_msgSend(SharedApplication(), sel_registerName("orderFrontStandardAboutPanel:"), nullptr);
  about = ShownTopLevel(QStringLiteral("AboutPanel"));
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("Name"))->text(), QStringLiteral("Tovarine"));
  EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("Version"))->text(), QStringLiteral("バージョン 2.3.4"));
  classlib::RuntimeRegisterAppObject(nullptr);
  CloseAndCollect(about);
}

TEST(NativePanels, HelpViewerShowsTheBookOrSaysItIsMissing) {
  BundleResources resources;
  const SEL showHelp = sel_registerName("showHelp:");
  objc_msgSend(SharedApplication(), showHelp, nullptr);
  auto* viewer = qobject_cast<QTextBrowser*>(ShownTopLevel(QStringLiteral("HelpViewer")));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->toPlainText(), QStringLiteral("ヘルプが見つかりません。"));
  CloseAndCollect(viewer);

  ASSERT_TRUE(QDir(resources.Path("")).mkdir(QStringLiteral("help")));
  resources.Write("help/index.html", "<html><body><h1>Reversi rules</h1></body></html>");
  objc_msgSend(SharedApplication(), showHelp, nullptr);
  viewer = qobject_cast<QTextBrowser*>(ShownTopLevel(QStringLiteral("HelpViewer")));
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->toPlainText().contains(QStringLiteral("Reversi rules")));
  CloseAndCollect(viewer);
  EXPECT_EQ(ShownTopLevel(QStringLiteral("HelpViewer")), nullptr);
}
