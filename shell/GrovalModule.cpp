// Messages to the native window and application objects. Every call looks its
// selector up anew.
#include "shell/GrovalModule.h"

#include "window/MW.h"

namespace GrovalModule {

classlib::Ref<classlib::Random> Randomizer;

native::id NSClassFromString(const std::string& name) { return native::NSClassFromString(name); }

void SetAlphaValue(native::id window, double alpha) {
  native::SEL selector = native::sel_registerName("setAlphaValue:");
  native::objc_msgSend(window, selector, alpha);
}

void WindowToDock() {
  native::SEL selector = native::sel_registerName("miniaturize:");
  native::id window = NativeWindow(MW()->Handle());
  native::objc_msgSend(window, selector, nullptr);
}

// Half the window's size, the same horizontal centre, the top edge on the
// screen's bottom edge (native coordinates: y upwards from the bottom).
void SetFrameDisplayAnimate() {
  native::NSRect frame;
  double left = static_cast<double>(MW()->Left());
  frame.x = left + static_cast<double>(MW()->Width()) / 4.0;
  frame.y = static_cast<double>(0 - MW()->Height()) / 2.0;
  frame.width = static_cast<double>(MW()->Width()) / 2.0;
  frame.height = static_cast<double>(MW()->Height()) / 2.0;
  native::SEL selector = native::sel_registerName("setFrame:display:animate:");
  native::id window = NativeWindow(MW()->Handle());
  native::objc_msgSend(window, selector, frame, native::YES, native::YES);
}

}  // namespace GrovalModule
