// The canvas class of the window's picture buttons. It adds nothing: the
// window sets and swaps its pictures and handles its mouse events.
#pragma once

#include "classlib/ClassLib.h"

class ButtonCanvas : public classlib::Canvas {
 public:
  std::string ClassName() const override { return "ButtonCanvas"; }
};
