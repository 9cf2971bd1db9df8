// Calls to the native window and application objects, for what the class
// library does not offer: opacity, minimising, the closing animation, and the
// shared application object behind the About box and the help viewer.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/ClassLib.h"
#include "native/Native.h"

namespace GrovalModule {

// Created and seeded by the application's Open; nothing reads it.
extern classlib::Ref<classlib::Random> Randomizer;

native::id NSClassFromString(const std::string& name);
// The native window behind a window's Handle, as the receiver of a message.
inline native::id NativeWindow(classlib::Integer handle) {
  return reinterpret_cast<native::id>(static_cast<std::intptr_t>(handle));
}
// Sets the opacity of the native window `window` (a window's Handle).
void SetAlphaValue(native::id window, double alpha);
// Minimises the main window.
void WindowToDock();
// Shrinks the main window to half its size and moves it below the bottom of
// the screen, animated; returns when done.
void SetFrameDisplayAnimate();

}  // namespace GrovalModule
