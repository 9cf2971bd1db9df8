// The message layer on real windows: selectors, classes, the window messages,
// the About window and the help viewer, and receivers it must not touch.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
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

id SharedApplication() {
  return objc_msgSend(NSClassFromString("NSApplication"), sel_registerName("sharedApplication"));
}

// Sends `message` to the shared application and returns the window it shows.
QWidget* Show(const char* message, const char* objectName) {
  EXPECT_EQ(objc_msgSend(SharedApplication(), sel_registerName(message), nullptr), nullptr);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
  }
  return nullptr;
}

bool CloseAndCollect(QWidget* w) {
  QPointer<QWidget> watch(w);
  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return watch.isNull();
}

}  // namespace

TEST(NativeRuntime, SelectorsClassesAndUnknownReceivers) {
  const SEL alpha = sel_registerName("setAlphaValue:");
  EXPECT_EQ(alpha, sel_registerName(std::string("setAlphaValue:").c_str()));
  EXPECT_STREQ(sel_getName(sel_registerName("showHelp:")), "showHelp:");
  EXPECT_EQ(NSClassFromString("NoSuchClass"), nullptr);
  ASSERT_NE(SharedApplication(), nullptr);
  EXPECT_EQ(SharedApplication(), SharedApplication());

  auto window = OpenWindow();
  const id handle = HandleOf(*window);
  QWidget* top = classlib::internal::TopLevelWidget(*window);
  EXPECT_EQ(objc_msgSend(nullptr, alpha, 0.5), nullptr);
  EXPECT_EQ(objc_msgSend(reinterpret_cast<id>(std::intptr_t{0x1234}), alpha, 0.5), nullptr);
  EXPECT_EQ(objc_msgSend(handle, sel_registerName("orderOut:"), nullptr), nullptr);
  EXPECT_EQ(objc_msgSend(SharedApplication(), alpha, 0.5), nullptr);
  // Wrong argument types and a value that is no number change nothing.
  objc_msgSend(handle, alpha, std::int64_t{0});
  objc_msgSend(handle, alpha, std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(top->isVisible());
  EXPECT_NEAR(top->windowOpacity(), 1.0, 0.005);
  window->Close();
  EXPECT_EQ(objc_msgSend(handle, alpha, 0.5), nullptr);  // no longer an open window
}

TEST(NativeWindow, OpacityStyleAndMinimise) {
  auto window = OpenWindow();
  const id handle = HandleOf(*window);
  QWidget* top = classlib::internal::TopLevelWidget(*window);
  objc_msgSend(handle, sel_registerName("setAlphaValue:"), 0.2);
  EXPECT_NEAR(top->windowOpacity(), 0.2, 0.005);
  objc_msgSend(handle, sel_registerName("setAlphaValue:"), 1.0);
  EXPECT_NEAR(top->windowOpacity(), 1.0, 0.005);

  objc_msgSend(handle, sel_registerName("setStyleMask:"), 4);
  EXPECT_TRUE(top->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(top->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(top->windowFlags() & (Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(top->isVisible());

  objc_msgSend(handle, sel_registerName("miniaturize:"), nullptr);
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
  objc_msgSend(HandleOf(*window), setFrame, NSRect{10, screen.height() - 30.0 - 500, 700, 500}, YES, NO);
  EXPECT_EQ(window->Left(), screen.x() + 10);
  EXPECT_EQ(window->Top(), screen.y() + 30);
  EXPECT_EQ(window->Width(), 700);
  EXPECT_EQ(window->Height(), 500);

  objc_msgSend(HandleOf(*window), setFrame, NSRect{0, 0, -5, 100}, YES, NO);  // refused
  EXPECT_EQ(window->Width(), 700);
  window->Close();
}

TEST(NativePanels, AboutAndHelpShowTheBundleFilesAndCloseCleanly) {
  ASSERT_TRUE(classlib::OpenWindows().empty());
  QTemporaryDir dir;
  classlib::SetApplicationBundleResourcesForTesting(dir.path().toStdString());
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  QImage icon(8, 8, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  ASSERT_TRUE(icon.save(dir.filePath("Icon.png")));
  write("Info.txt", "Name=Tovarine\nVersion=1.0.0\nCopyright=(c) the makers\nIcon=Icon.png\nnoise\n");

  QWidget* about = Show("orderFrontStandardAboutPanel:", "AboutPanel");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->findChild<QLabel*>("Version")->text(), QStringLiteral("バージョン 1.0.0"));
  EXPECT_EQ(about->findChild<QLabel*>("Copyright")->text(), QStringLiteral("(c) the makers"));
  bool hasIcon = false;
  for (QLabel* label : about->findChildren<QLabel*>()) hasIcon = hasIcon || !label->pixmap().isNull();
  EXPECT_TRUE(hasIcon);
  EXPECT_TRUE(CloseAndCollect(about));

  // A file that is not text: the defaults, with the application's version.
  auto app = std::make_shared<classlib::Application>();
  app->SetVersionData(2, 3, 4, 0, 0, "", "", "");
  classlib::RuntimeRegisterAppObject(classlib::Ref<classlib::Application>(app));
  write("Info.txt", QByteArray("Name=\xff\xfe\0Broken", 15));
  about = Show("orderFrontStandardAboutPanel:", "AboutPanel");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->findChild<QLabel*>("Name")->text(), QStringLiteral("Tovarine"));
  EXPECT_EQ(about->findChild<QLabel*>("Version")->text(), QStringLiteral("バージョン 2.3.4"));
  classlib::RuntimeRegisterAppObject(nullptr);
  EXPECT_TRUE(CloseAndCollect(about));

  auto* help = qobject_cast<QTextBrowser*>(Show("showHelp:", "HelpViewer"));
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->toPlainText(), QStringLiteral("ヘルプが見つかりません。"));
  EXPECT_TRUE(CloseAndCollect(help));
  ASSERT_TRUE(QDir(dir.path()).mkdir("help"));
  write("help/index.html", "<html><body><h1>Reversi rules</h1></body></html>");
  help = qobject_cast<QTextBrowser*>(Show("showHelp:", "HelpViewer"));
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Reversi rules")));
  EXPECT_TRUE(CloseAndCollect(help));

  const char* resources = std::getenv("TOVARINE_TEST_RESOURCES");
  classlib::SetApplicationBundleResourcesForTesting(resources ? resources : "");
}
