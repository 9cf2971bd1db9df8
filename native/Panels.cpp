// The About window and the help viewer of the shared application object. Both
// are ordinary, non-modal windows: asking for them returns at once.
#include "native/Panels.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "classlib/ClassLib.h"

namespace native::detail {
namespace {

// What the About window shows. Info.txt in the bundle's Resources holds lines
// "Key=Value" (Name, Version, Copyright, Icon: a picture file beside it).
struct BundleInfo {
  QString name = QStringLiteral("Tovarine");
  QString version;
  QString copyright;
  QPixmap icon;
};

constexpr qint64 kMaxInfoBytes = 64 * 1024;

QString ApplicationVersion() {
  if (const classlib::Ref<classlib::Application> app = classlib::GetAppObject()) {
    return QString::fromStdString(app->VersionText());
  }
  return QCoreApplication::applicationVersion();
}

BundleInfo ReadBundleInfo() {
  BundleInfo info;
  info.version = ApplicationVersion();
  const classlib::Ref<classlib::FolderItem> resources = classlib::GetApplicationBundleResources();
  if (!resources) return info;
  const classlib::Ref<classlib::FolderItem> file = resources->Child("Info.txt");
  if (!file) return info;
  QFile input(QString::fromStdString(file->NativePath()));
  if (!input.open(QIODevice::ReadOnly) || input.size() > kMaxInfoBytes) return info;
  const QByteArray bytes = input.read(kMaxInfoBytes);
  // A file that is not UTF-8 text is not read at all: defaults throughout.
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder.decode(bytes);
  if (decoder.hasError() || bytes.contains('\0')) return info;

  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0) continue;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (value.isEmpty()) continue;
    if (key == QLatin1String("Name")) {
      info.name = value;
    } else if (key == QLatin1String("Version")) {
      info.version = value;
    } else if (key == QLatin1String("Copyright")) {
      info.copyright = value;
    } else if (key == QLatin1String("Icon")) {
      // Child refuses names that leave the folder.
      if (const auto icon = resources->Child(value.toStdString())) {
        info.icon.load(QString::fromStdString(icon->NativePath()));
      }
    }
  }
  return info;
}

// Escape and Ctrl+W (Cmd+W on macOS) close a panel, as its close button does.
bool IsCloseKey(const QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  return (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) ||
         (event->key() == Qt::Key_W && mods == Qt::ControlModifier);
}

// A panel's window that closes by those keys, whatever its kind of widget.
template <class Base>
class ClosesByKey : public Base {
 protected:
  void keyPressEvent(QKeyEvent* event) override {
    IsCloseKey(event) ? void(this->close()) : Base::keyPressEvent(event);
  }
};

void BringToFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

QWidget* ShowAboutPanel() {
  static QPointer<QDialog> panel;
  if (panel) {
    BringToFront(panel);
    return panel;
  }
  const BundleInfo info = ReadBundleInfo();
  panel = new ClosesByKey<QDialog>();
  panel->setObjectName(QStringLiteral("AboutPanel"));
  panel->setAttribute(Qt::WA_DeleteOnClose);
  panel->setModal(false);
  panel->setWindowTitle(info.name);
  panel->setMinimumWidth(320);

  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(32, 24, 32, 16);
  layout->setSpacing(8);
  if (!info.icon.isNull()) {
    auto* icon = new QLabel(panel);
    icon->setPixmap(info.icon.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
  }
  auto* name = new QLabel(info.name, panel);
  name->setObjectName(QStringLiteral("Name"));
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  name->setFont(bold);
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);
  if (!info.version.isEmpty()) {
    auto* version = new QLabel(QStringLiteral("バージョン %1").arg(info.version), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
  }
  if (!info.copyright.isEmpty()) {
    auto* copyright = new QLabel(info.copyright, panel);
    copyright->setObjectName(QStringLiteral("Copyright"));
    copyright->setAlignment(Qt::AlignCenter);
    copyright->setWordWrap(true);
    layout->addWidget(copyright);
  }
  // Without a window manager there is no title bar to close it from.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, panel);
  buttons->setCenterButtons(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, panel.data(), &QDialog::close);
  layout->addWidget(buttons);

  BringToFront(panel);
  return panel;
}

QWidget* ShowHelpViewer() {
  static QPointer<QTextBrowser> viewer;
  if (viewer) {
    BringToFront(viewer);
    return viewer;
  }
  const BundleInfo info = ReadBundleInfo();
  viewer = new ClosesByKey<QTextBrowser>();
  viewer->setObjectName(QStringLiteral("HelpViewer"));
  viewer->setAttribute(Qt::WA_DeleteOnClose);
  viewer->setWindowTitle(QStringLiteral("%1 ヘルプ").arg(info.name));
  viewer->resize(640, 560);

  QString book;
  if (const auto resources = classlib::GetApplicationBundleResources()) {
    if (const auto folder = resources->Child("help")) {
      if (const auto index = folder->Child("index.html")) {
        book = QString::fromStdString(index->NativePath());
      }
    }
  }
  const QFileInfo bookFile(book);
  if (!book.isEmpty() && bookFile.isFile() && bookFile.isReadable()) {
    viewer->setSource(QUrl::fromLocalFile(bookFile.absoluteFilePath()));
  } else {
    viewer->setPlainText(QStringLiteral("ヘルプが見つかりません。"));
  }
  BringToFront(viewer);
  return viewer;
}

}  // namespace native::detail
