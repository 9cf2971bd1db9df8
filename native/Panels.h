// The shared application object's two panels: the About window and the help
// viewer. Private to the native layer.
#pragma once

class QWidget;

namespace native::detail {

// Shows the About window (name, version, icon and copyright from the bundle's
// Info.txt) without waiting for it; an open one is brought to the front.
QWidget* ShowAboutPanel();
// Shows the help book (help/index.html in the bundle's Resources) in a viewer
// window without waiting for it; an open one is brought to the front.
QWidget* ShowHelpViewer();

}  // namespace native::detail
