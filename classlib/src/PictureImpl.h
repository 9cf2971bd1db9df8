// The image behind a Picture, for the class library's own sources.
#pragma once

#include <QImage>

#include "classlib/Graphics.h"

namespace classlib {

struct Picture::Impl {
  // Premultiplied ARGB, the format the toolkit draws fastest; empty (null)
  // for a picture of no pixels.
  QImage image;
};

}  // namespace classlib
