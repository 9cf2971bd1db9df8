// Pictures: blank ones made by size, and ones read from files.
#include "classlib/Graphics.h"

#include <QColor>
#include <QImageReader>
#include <QtGlobal>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <vector>

#include "classlib/Sound.h"
#include "classlib/src/Internal.h"
#include "classlib/src/PictureImpl.h"

namespace classlib {

namespace {

// The toolkit draws on pictures up to 32767 pixels a side; the pixel limit
// keeps a mistaken size from asking for gigabytes.
constexpr Integer kLongestSide = 32767;
constexpr Integer kMostPixels = Integer{1} << 26;  // 256 MiB of ARGB pixels

constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

// Pictures read from files are backdrops of one window and its controls: a
// side longer than this is a wrong file, refused before it is decoded.
constexpr int kLongestFileSide = 2048;

// Why the file is no picture that can be shown, or "" with the image read.
std::string ReadPicture(const std::string& path, QImage& image) {
  const std::string unreadable = internal::WhyUnreadable(path);
  if (!unreadable.empty()) return unreadable;
  // The decoders' complaints, some written straight to stderr (libpng),
  // are taken down: the one line about the file says what went wrong.
  std::string why;
  internal::MessagesTaken taken;
  // The content tells the format, so that names without an extension load.
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);
  // The header gives the size; a format without one in its header is
  // held to the same bound by the decoder's allocation limit.
  reader.setAllocationLimit(kLongestFileSide * kLongestFileSide * 4 / (1024 * 1024) + 1);
  const bool readable = reader.canRead();
  const QSize size = readable ? reader.size() : QSize();
  if (!readable) {
    why = reader.device() && reader.device()->size() == 0 ? "empty (0 bytes), not a picture"
                                                           : "not a picture that can be decoded";
  } else if (size.width() > kLongestFileSide || size.height() > kLongestFileSide) {
    why = "too large (" + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
          " pixels; at most " + std::to_string(kLongestFileSide) + " on a side)";
  } else if (!reader.read(&image) || image.isNull()) {
    why = "not a picture that can be decoded (" + reader.errorString().toStdString() + ")";
  } else if (image.width() > kLongestFileSide || image.height() > kLongestFileSide) {
    why = "too large";
  }
  const std::vector<std::string> messages = taken.Texts();
  if (!why.empty() && why.back() != ')' && !messages.empty()) why += " (" + messages.front() + ")";
  return why;
}

}  // namespace

// --- Graphics -----------------------------------------------------------------

Graphics::Graphics(Picture& owner) : owner_(&owner) {}

void Graphics::FillRect(Integer x, Integer y, Integer width, Integer height) {
  if (owner_ == nullptr) throw NilObjectException("drawing on a picture that no longer exists");
  QImage& image = internal::ImageOf(*owner_);
  if (image.isNull() || width <= 0 || height <= 0) return;
  // Clip in 64-bit arithmetic first, so that no coordinate overflows an int.
  const Integer left = std::max<Integer>(x, 0);
  const Integer top = std::max<Integer>(y, 0);
  const Integer right = std::min<Integer>(image.width(), x > image.width() - width ? image.width() : x + width);
  const Integer bottom =
      std::min<Integer>(image.height(), y > image.height() - height ? image.height() : y + height);
  if (left >= right || top >= bottom) return;
  const Color c = foreColor_;
  QPainter painter(&image);
  painter.fillRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                   static_cast<int>(bottom - top),
                   QColor(static_cast<int>(c.Red()), static_cast<int>(c.Green()), static_cast<int>(c.Blue()),
                          255 - static_cast<int>(c.Alpha())));
}

// --- Picture ------------------------------------------------------------------

Picture::Picture() : impl_(std::make_unique<Impl>()) {}

Picture::Picture(Integer width, Integer height) : Picture() {
  if (width < 0 || height < 0 || width > kLongestSide || height > kLongestSide ||
      width * height > kMostPixels) {
    throw RuntimeException("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels cannot be made");
  }
  if (width == 0 || height == 0) return;
  impl_->image = QImage(static_cast<int>(width), static_cast<int>(height), kFormat);
  if (impl_->image.isNull()) {
    throw RuntimeException("no memory for a picture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels");
  }
  impl_->image.fill(Qt::transparent);
}

Picture::~Picture() {
  // A Graphics someone still holds must not draw on a picture that is gone.
  if (graphics_) graphics_->owner_ = nullptr;
}

Ref<Picture> Picture::OpenFromApp(const std::string& fileName) {
  const Ref<FolderItem> resources = GetApplicationBundleResources();
  const Ref<FolderItem> file = resources ? resources->Child(fileName) : nullptr;
  if (!file) {
    const std::string why = resources ? "is no file name" : "cannot be shown: there is no Resources folder";
    internal::WarnOnce(fileName + "\n" + why, "warning: picture " + fileName + " " + why);
    return nullptr;
  }
  return Open(file->NativePath());
}

Ref<Picture> Picture::Open(const std::string& path) {
  QImage image;
  const std::string why = ReadPicture(path, image);
  if (!why.empty()) {
    // A picture that failed is asked for again at its next use: the same
    // reason is not repeated.
    internal::WarnOnce(path + "\n" + why, "warning: picture " + path + " is " + why + "; its area stays empty");
    return nullptr;
  }
  auto picture = std::shared_ptr<Picture>(new Picture());
  picture->impl_->image = image.convertToFormat(kFormat);
  if (picture->impl_->image.isNull()) return nullptr;
  return Ref<Picture>(picture);
}

Integer Picture::Width() const { return impl_->image.width(); }
Integer Picture::Height() const { return impl_->image.height(); }

Ref<Graphics> Picture::Graph() {
  if (!graphics_) graphics_ = Ref<Graphics>(std::make_shared<Graphics>(*this));
  return graphics_;
}

namespace internal {

QImage& ImageOf(Picture& picture) { return picture.Internal().image; }
const QImage& ImageOf(const Picture& picture) { return picture.Internal().image; }

}  // namespace internal

}  // namespace classlib
