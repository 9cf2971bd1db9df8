// The message layer on real windows: selectors, classes, window messages, About and help, receivers it must not touch.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <set>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"
#include "classlib/src/Internal.h"
#include "native/Native.h"

using namespace native;

namespace {

template <class... A>
id Send(id receiver, const char* selector, A... arguments) {
  return objc_msgSend(receiver, sel_registerName(selector), arguments...);
}

// An open window of the test's own and its native window.
class NativeTest : public ::testing::Test {
 protected:
  void SetUp() override { window->Constructor(); }
  void TearDown() override { window->Close(); }
  std::shared_ptr<classlib::Window> window = std::make_shared<classlib::Window>();
  QWidget* top() { return classlib::internal::TopLevelWidget(*window); }
  id handle() { return reinterpret_cast<id>(static_cast<std::intptr_t>(window->Handle())); }
};

}  // namespace

TEST_F(NativeTest, WindowMessagesAndReceiversItMustNotTouch) {
  EXPECT_EQ(NSClassFromString("NoSuchClass"), nullptr);
  // Nothing, a selector the receiver does not know, a value that is no number: nothing happens, nil back.
  EXPECT_EQ(Send(id{}, "setAlphaValue:", 0.5), nullptr);
  EXPECT_EQ(Send(handle(), "orderOut:", nullptr), nullptr);
  EXPECT_EQ(Send(handle(), "setAlphaValue:", std::numeric_limits<double>::quiet_NaN()), nullptr);
  EXPECT_TRUE(top()->isVisible());
  EXPECT_NEAR(top()->windowOpacity(), 1.0, 0.005);
  // The opacity a drag of the slider sets is checked on the main window.
  Send(handle(), "setStyleMask:", 4);
  const Qt::WindowFlags flags = top()->windowFlags();
  EXPECT_TRUE(flags & Qt::FramelessWindowHint && flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & (Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(top()->isVisible());
  const id closed = handle();
  window->Close();
  EXPECT_EQ(Send(closed, "setAlphaValue:", 0.5), nullptr);  // no longer an open window
}

// The frame is the content's, below the window's menu bar; its y runs upwards from the primary screen's bottom.
TEST_F(NativeTest, SetFrameEndsAtTheFrameInTopLeftCoordinates) {
  auto bar = classlib::Ref<classlib::MenuBar>(std::make_shared<classlib::MenuBar>());
  bar->Append(classlib::Ref<classlib::MenuItem>(std::make_shared<classlib::MenuItem>()));
  bar->Item(0)->SetText("File");
  window->SetMenuBar(bar);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  auto frame = [&] { return QRect(window->Left(), window->Top(), window->Width(), window->Height()); };
  // The sizes at which the window is drawn (Paint raised): the animation draws its steps, not freeze and then jump.
  struct Painted : QObject {
    std::set<int> sizes;
    bool eventFilter(QObject* o, QEvent* e) override {
      const QWidget* w = static_cast<QWidget*>(o);
      if (e->type() == QEvent::Paint) sizes.insert(w->width() * 10000 + w->height());
      return false;
    }
  } painted;
  classlib::internal::ContentWidget(*window)->installEventFilter(&painted);
  const int before = window->Width() * 10000 + window->Height();
  const classlib::Integer paints = window->PaintCount();
  // Half the size below the screen, animated, as the red button asks.
  Send(handle(), "setFrame:display:animate:", NSRect{260, -335, 320, 335}, YES, YES);
  EXPECT_EQ(frame(), QRect(screen.x() + 260, screen.y() + screen.height(), 320, 335));
  painted.sizes.erase(before);
  painted.sizes.erase(320 * 10000 + 335);
  EXPECT_GE(painted.sizes.size(), 3u);
  EXPECT_GE(window->PaintCount() - paints, 3);
}

// The shared application's panels: what the window a message shows says (its labels in order, or its text), and that
// closing it by that key deletes it.
static std::string Show(const char* message, QKeyCombination closeKey) {
  EXPECT_EQ(Send(Send(NSClassFromString("NSApplication"), "sharedApplication"), message, nullptr), nullptr);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || (w->objectName() != "AboutPanel" && w->objectName() != "HelpViewer")) continue;
    std::string says;
    if (auto* viewer = qobject_cast<QTextBrowser*>(w)) says = viewer->toPlainText().toStdString();
    for (QLabel* l : w->findChildren<QLabel*>()) says += (l->pixmap().isNull() ? l->text().toStdString() : "icon") + "|";
    QPointer<QWidget> watch(w);
    QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, closeKey.key(), closeKey.keyboardModifiers());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull()) << message;
    return says;
  }
  return "nothing shown";
}

TEST(NativePanels, AboutAndHelpShowTheBundleFilesAndCloseCleanly) {
  QTemporaryDir dir;
  classlib::SetApplicationBundleResourcesForTesting(dir.path().toStdString());
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  QImage icon(8, 8, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  ASSERT_TRUE(icon.save(dir.filePath("Icon.png")));
  write("Info.txt", "Name=Tovarine\nVersion=1.0.0\nCopyright=(c) the makers\nIcon=Icon.png\nnoise\n");
  const QKeyCombination escape(Qt::Key_Escape), ctrlW(Qt::ControlModifier, Qt::Key_W);
  EXPECT_EQ(Show("orderFrontStandardAboutPanel:", escape), "icon|Tovarine|バージョン 1.0.0|(c) the makers|");
  // A file that is not text: the defaults, with the application's version.
  auto app = std::make_shared<classlib::Application>();
  app->SetVersionData(2, 3, 4, 0, 0, "", "", "");
  classlib::RuntimeRegisterAppObject(classlib::Ref<classlib::Application>(app));
  write("Info.txt", QByteArray("Name=\xff\xfe\0Broken", 15));
  EXPECT_EQ(Show("orderFrontStandardAboutPanel:", ctrlW).find("Tovarine|バージョン 2.3.4|"), 0u);
  classlib::RuntimeRegisterAppObject(nullptr);
  EXPECT_EQ(Show("showHelp:", escape), "ヘルプが見つかりません。");
  write("help/index.html", "<html><body><h1>Reversi rules</h1></body></html>");
  EXPECT_EQ(Show("showHelp:", ctrlW), "Reversi rules");
  const char* resources = std::getenv("TOVARINE_TEST_RESOURCES");
  classlib::SetApplicationBundleResourcesForTesting(resources ? resources : "");
}
