// The accessors of the bundle's pictures and sounds.
//
// Each accessor keeps its own cache in a function-local static, so the cache
// is set up exactly once, at the first call, and no two accessors share one.
#include "shell/Resources.h"

using classlib::FolderItem;
using classlib::Picture;
using classlib::Ref;
using classlib::Sound;

namespace {

// A picture that failed to load is asked for again at the next call: the
// file may have been put in place since. Once a load succeeds the picture is
// held and the file is never read again.
Ref<Picture> HeldPicture(Ref<Picture>& pic, const char* fileName) {
  if (pic.IsNil()) pic = Picture::OpenFromApp(fileName);
  return pic;
}

struct HeldSound {
  bool loaded = false;
  Ref<Sound> permaSound;
};

// A sound is tried once per run: `loaded` is set before anything is opened,
// so whatever the first call got (a sound or nothing) is what every later
// call returns, without touching the Resources folder again.
Ref<Sound> SoundOnce(HeldSound& held, const char* fileName) {
  if (!held.loaded) {
    held.loaded = true;
    Ref<FolderItem> folder = classlib::GetApplicationBundleResources();
    if (!folder.IsNil()) {
      // A folder that cannot give the item leaves the game silent rather
      // than ending the move that wanted the sound.
      Ref<FolderItem> child = folder->Child(fileName);
      if (!child.IsNil()) held.permaSound = child->OpenAsSound();
    }
  }
  return held.permaSound;
}

}  // namespace

#define TOVARINE_PICTURE(accessor, fileName) \
  Ref<Picture> accessor() {                   \
    static Ref<Picture> pic;                  \
    return HeldPicture(pic, fileName);        \
  }

#define TOVARINE_SOUND(accessor, fileName) \
  Ref<Sound> accessor() {                   \
    static HeldSound held;                  \
    return SoundOnce(held, fileName);       \
  }

TOVARINE_PICTURE(TessarBoard, "TessarBoard.png")
TOVARINE_PICTURE(Black, "Black.png")
TOVARINE_PICTURE(White, "White.png")
TOVARINE_PICTURE(Black1, "Black1.png")
TOVARINE_PICTURE(White1, "White1.png")
TOVARINE_PICTURE(Black2, "Black2.png")
TOVARINE_PICTURE(White2, "White2.png")
TOVARINE_PICTURE(Button, "Button.png")
TOVARINE_PICTURE(ButtonB, "ButtonB.png")
TOVARINE_PICTURE(rButton, "rButton.png")
TOVARINE_PICTURE(rButtonX, "rButtonX.png")
TOVARINE_PICTURE(yButton, "yButton.png")
TOVARINE_PICTURE(yButtonD, "yButtonD.png")
TOVARINE_PICTURE(gButton, "gButton.png")
// The slider's two pictures carry no extension in the bundle.
TOVARINE_PICTURE(SliderHead, "SliderHead")
TOVARINE_PICTURE(SliderLine, "SliderLine")

TOVARINE_SOUND(Crick, "Crick.aiff")
TOVARINE_SOUND(Boo, "Boo.aiff")
TOVARINE_SOUND(Finish, "Finish.aiff")
TOVARINE_SOUND(Bad, "Bad.aiff")

#undef TOVARINE_PICTURE
#undef TOVARINE_SOUND
