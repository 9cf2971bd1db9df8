// Pictures and their drawing surfaces.
#pragma once

#include <memory>
#include <string>

#include "classlib/Types.h"

namespace classlib {

class Picture;

// The drawing surface of a picture. The program only sets its ForeColor.
class Graphics : public Object {
 public:
  explicit Graphics(Picture& owner);
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color c) { foreColor_ = c; }
  // Fills a rectangle of the owning picture with ForeColor (the part that
  // lies inside the picture). Once the picture is gone, drawing raises
  // NilObjectException.
  void FillRect(Integer x, Integer y, Integer width, Integer height);
  std::string ClassName() const override { return "Graphics"; }

 private:
  friend class Picture;
  Picture* owner_;
  Color foreColor_{};
};

class Picture : public Object {
 public:
  // A fully transparent picture of this size.
  Picture(Integer width, Integer height);
  ~Picture() override;

  // The picture of a file in the application bundle's Resources folder, or
  // nothing when the file is absent, cannot be read or decoded, or is larger
  // than 2048 pixels on a side (checked in its header, before decoding); one
  // warning on stderr names the file and the reason, once per reason. The
  // name may carry an extension ("Black.png") or not ("SliderHead"): the
  // file's content, not its name, tells the format.
  static Ref<Picture> OpenFromApp(const std::string& fileName);
  // The picture of a file at a path, or nothing (with the same warning).
  static Ref<Picture> Open(const std::string& path);

  Integer Width() const;
  Integer Height() const;
  Ref<Graphics> Graph();
  std::string ClassName() const override { return "Picture"; }

  struct Impl;
  Impl& Internal() { return *impl_; }
  const Impl& Internal() const { return *impl_; }

 private:
  Picture();
  std::unique_ptr<Impl> impl_;
  Ref<Graphics> graphics_;
};

}  // namespace classlib
